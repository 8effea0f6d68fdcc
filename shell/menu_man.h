#pragma once
// XMenuMan ("MenuMan"): the menu service. Screens are opened by their menu identifier, not by
// file: the project's menu file (kind "Menu") lists each screen with its identifier, its
// title and its page, and the screens linked to it. Screen authors open screens with
// "RunID(0101, ...)" actions or "MenuMan.RunByMenuID"; the screen context menu lists the
// linked screens of a frame and opens them the same way.
#include <memory>
#include <string>
#include <vector>

#include "nubra/ixo.h"

class XDO;
class XElement;

class XMenuMan : public IXO {
    ORVO_DISPATCH_MAP()

public:
    struct Entry {
        std::wstring id;
        std::wstring text;
        std::wstring page; // relative to the project's base path, '\' or '/' separated
        std::vector<std::wstring> links;
    };

    static XMenuMan& Instance();

    ORVO_KEY(L"MenuMan")

    // Opens the screen of a menu identifier. Callers pass the identifier first or second,
    // the other being the menu's name ("Main") or, after an identifier, the screen's
    // parameters; parameters and `options` are "Key=Value" pairs separated by "," or ";". A screen
    // already open is brought forward instead, unless "ByCopyFrame" is "True". The opened page's
    // parameters carry "id" and the options. 0 for an identifier no menu lists (the author is told)
    // or a page that does not open.
    int RunByMenuID(const wchar_t* first, const wchar_t* second, const wchar_t* options);
    // The title of a menu identifier; "" when unknown.
    std::wstring GetMenuText(const wchar_t* id);
    // Reads the menu file again.
    int Reload();

    // The entry of an identifier, or null.
    const Entry* Find(std::wstring_view id);
    // The entries linked to an identifier that the menu lists, in their order.
    std::vector<const Entry*> Links(std::wstring_view id);

    // The element a linked screen is opened with (the gather-drag element of the object the
    // user clicked); set around the opening, null otherwise. Not owned.
    int SetLinkData(XElement* element);
    XElement* GetLinkData() const { return m_linkData; }

private:
    void Load();
    // The open frame whose screen has that identifier, or null.
    static XDO* OpenFrameOf(const std::wstring& id);

    bool m_loaded = false;
    std::vector<Entry> m_entries;
    XElement* m_linkData = nullptr;
};
