#pragma once
// CDataLink: one target of a data link, named in a link text ("Price, :Last, Grid.[bid]") and
// resolved once against the screen: a field of the structure in use, a plain object, a field
// of an IO data object, or a visual object or one of its parts. CDataLinks is the list one
// link text gives.
#include <string>
#include <vector>

#include "nubra/ixo_ref.h"

class XDO;
class XMetaIOData;

class CDataLink {
public:
    enum Kind : int {
        UNRESOLVED = 0,
        STRUCT_FIELD = 1, // a field of the structure the caller has in use
        OBJECT = 2,       // read and written through GetData/SetData
        IO_FIELD = 3,     // a field of an IO data object
        VISUAL = 4,       // a visual object, or the part of one
    };

    // `structure` (may be null) is tried first, unless the name starts with ":".
    CDataLink(std::wstring name, XMetaIOData* structure);

    // Resolves an unresolved target from `owner`; a resolved one stays as it is.
    void Resolve(XDO* owner);

    // False for an unresolved target, a gone object or an unreadable cell.
    bool Read(XMetaIOData* inUse, std::wstring& out) const;
    void Write(XMetaIOData* inUse, const std::wstring& value) const;

    Kind GetKind() const { return m_kind; }
    const std::wstring& GetName() const { return m_name; }
    std::vector<int>& Path() { return m_path; }
    const std::vector<int>& Path() const { return m_path; }
    // The visual object written (kind 4), or null.
    XDO* Visual() const;
    XDO* Object() const;

private:
    Kind m_kind = UNRESOLVED;
    std::vector<int> m_path; // STRUCT_FIELD
    orvo::IXORef m_object;   // OBJECT, IO_FIELD, VISUAL: the object named first
    orvo::IXORef m_visual;   // VISUAL: the object or its part
    orvo::IXORef m_ioData;   // IO_FIELD
    std::vector<int> m_ioPath;
    std::wstring m_name; // what is left to resolve
};

class CDataLinks {
public:
    // Splits the text by the object-name rules and makes one target per name.
    void Parse(const std::wstring& text, XMetaIOData* structure);
    void Resolve(XDO* owner);
    void Clear() { m_links.clear(); }

    bool Empty() const { return m_links.empty(); }
    std::size_t Size() const { return m_links.size(); }
    auto begin() { return m_links.begin(); }
    auto end() { return m_links.end(); }
    auto begin() const { return m_links.begin(); }
    auto end() const { return m_links.end(); }
    const CDataLink& operator[](std::size_t i) const { return m_links[i]; }

private:
    std::vector<CDataLink> m_links;
};

namespace orvo {
// `format` with its "%s" replaced by `value` ("%%" gives "%"); any other "%" stays as written,
// so a screen author's text never reads arguments that are not there.
std::wstring WrapWithFormatString(const std::wstring& format, const std::wstring& value);
} // namespace orvo
