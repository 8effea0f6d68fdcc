#pragma once
// XMLParser: the process-wide markup parser, registered as "Parser". It reads a file with
// libxml2 and turns the DOM into an XElement tree: element, text and attribute nodes make
// the tree; comments, processing instructions and CDATA make nothing; an element whose tag
// starts with "_" adds its attributes to its parent instead of becoming a child.
#include <string>
#include <string_view>

#include "core/element.h"
#include "nubra/ixo.h"

class XMLParser : public IXO {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"Parser")

    // Parses the file at `path` (either separator, any letter case). On success stores a new
    // tree the caller owns and returns non-zero; 0 when the file is missing or malformed.
    int DoParse(const wchar_t* path, XElement** root);
    // The same from bytes already in memory.
    int ParseMemory(std::string_view bytes, XElement** root);
    // Why the last parse failed ("there is no such file", "line 3, column 7: ..."); empty
    // after a success.
    std::wstring LastError() const { return m_lastError; }

private:
    int Fail(std::wstring reason);

    std::wstring m_lastError;
};
