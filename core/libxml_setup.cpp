#include "core/libxml_setup.h"

#include <libxml/encoding.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <string>

#include "platform/base/format.h"
#include "platform/base/text.h"

namespace orvo {

namespace {

thread_local std::wstring t_firstError;

void KeepFirst(void*, xmlErrorPtr error) {
    if (!error || !t_firstError.empty())
        return;
    std::string message = error->message ? error->message : "malformed markup";
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    t_firstError =
        plat::Format(L"line %d, column %d: %s", error->line, error->int2, plat::FromUtf8(message));
}

void IgnoreGeneric(void*, const char*, ...) {}

} // namespace

void EnsureLibxmlReady() {
    static const bool ready = [] {
        xmlInitParser();
        // EUC-KR files from Windows routinely carry CP949 extension characters, so every
        // Korean name decodes as CP949, its superset.
        for (const char* alias : {"EUC-KR",
                                  "EUCKR",
                                  "KS_C_5601-1987",
                                  "KS_C_5601",
                                  "KSC5601",
                                  "X-WINDOWS-949",
                                  "WINDOWS-949",
                                  "UHC",
                                  "MS949"})
            xmlAddEncodingAlias("CP949", alias);
        return true;
    }();
    (void)ready;
    // Error handlers are per thread in libxml2; setting them is cheap.
    t_firstError.clear();
    xmlSetStructuredErrorFunc(nullptr, KeepFirst);
    xmlSetGenericErrorFunc(nullptr, IgnoreGeneric);
}

std::wstring FirstLibxmlError() {
    return t_firstError;
}

} // namespace orvo
