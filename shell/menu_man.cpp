#include "shell/menu_man.h"

#include <memory>

#include "core/element.h"
#include "core/notice_messages.h"
#include "core/scr_man.h"
#include "nubra/trim_blanks.h"
#include "platform/base/nocase.h"
#include "ui/contracts.h"
#include "ui/xframe.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterInstance(&XMenuMan::Instance());

constexpr std::wstring_view kMainMenu = L"Main";
// The command a frame's "OpenLinkEditDlg" runs.
constexpr std::wstring_view kLinkEditor = L"LinkEdit";

std::wstring Attribute(const XElement& e, std::wstring_view key) {
    const std::wstring* value = e.FindValue(key);
    return value ? std::wstring(orvo::TrimBlanks(*value)) : std::wstring();
}

// Every "Item" below `e`, at any depth, so that authors may group them.
void CollectItems(const XElement& e, std::vector<XMenuMan::Entry>& out) {
    for (const XElement* c = e.GetFirstChild(); c; c = c->GetNextSibling()) {
        if (plat::EqualsNoCase(c->GetTagName(), L"Item")) {
            XMenuMan::Entry entry{
                Attribute(*c, L"ID"), Attribute(*c, L"Text"), Attribute(*c, L"Page"), {}};
            for (const XElement* link = c->GetFirstChild(); link; link = link->GetNextSibling()) {
                if (plat::EqualsNoCase(link->GetTagName(), L"Link"))
                    entry.links.push_back(Attribute(*link, L"ID"));
            }
            if (!entry.id.empty())
                out.push_back(std::move(entry));
        }
        CollectItems(*c, out);
    }
}

// "Key=Value" pairs separated by "," or ";" as attributes of `e`; pieces without "=" are
// skipped.
void AddOptions(XElement& e, std::wstring_view options) {
    while (!options.empty()) {
        const std::size_t end = options.find_first_of(L",;");
        const std::wstring_view piece = options.substr(0, end);
        options = end == std::wstring_view::npos ? std::wstring_view() : options.substr(end + 1);
        const std::size_t equals = piece.find(L'=');
        if (equals == std::wstring_view::npos)
            continue;
        const std::wstring_view key = orvo::TrimBlanks(piece.substr(0, equals));
        if (!key.empty())
            e.SetValue(key, orvo::TrimBlanks(piece.substr(equals + 1)));
    }
}

} // namespace

XMenuMan& XMenuMan::Instance() {
    // Never destroyed: frames closing at exit may still ask for their links.
    static XMenuMan* const instance = new XMenuMan();
    return *instance;
}

ORVO_DISPATCH(XMenuMan,
              IXO,
              ORVO_PROVIDE(orvo::contract::MenuManRunByMenuID, RunByMenuID),
              ORVO_PROVIDE(orvo::contract::MenuManSetLinkData, SetLinkData),
              ORVO_METHOD(GetMenuText),
              ORVO_METHOD(Reload))

void XMenuMan::Load() {
    if (m_loaded)
        return;
    m_loaded = true;
    m_entries.clear();
    static orvo::ContractCall<orvo::contract::ProjectGetFile> s_getFile;
    std::wstring file;
    auto getFile = s_getFile.Get();
    if (!getFile || !getFile(L"Menu", file))
        return;
    const std::unique_ptr<XElement> menu(XScrMan::Instance().LoadPage(file.c_str()));
    if (menu)
        CollectItems(*menu, m_entries);
}

int XMenuMan::Reload() {
    m_loaded = false;
    Load();
    return 1;
}

const XMenuMan::Entry* XMenuMan::Find(std::wstring_view id) {
    Load();
    const std::wstring_view wanted = orvo::TrimBlanks(id);
    for (const Entry& entry : m_entries) {
        if (!wanted.empty() && plat::EqualsNoCase(entry.id, wanted))
            return &entry;
    }
    return nullptr;
}

std::vector<const XMenuMan::Entry*> XMenuMan::Links(std::wstring_view id) {
    std::vector<const Entry*> links;
    if (const Entry* entry = Find(id)) {
        for (const std::wstring& link : entry->links) {
            if (const Entry* linked = Find(link))
                links.push_back(linked);
        }
    }
    return links;
}

std::wstring XMenuMan::GetMenuText(const wchar_t* id) {
    const Entry* entry = Find(id ? id : L"");
    return entry ? entry->text : std::wstring();
}

int XMenuMan::SetLinkData(XElement* element) {
    m_linkData = element;
    return 1;
}

XDO* XMenuMan::OpenFrameOf(const std::wstring& id) {
    for (XDO* frame : XScrMan::Instance().Frames()) {
        if (auto* f = dynamic_cast<XFrame*>(frame); f && plat::EqualsNoCase(f->GetFrameID(), id))
            return f;
    }
    return nullptr;
}

int XMenuMan::RunByMenuID(const wchar_t* first, const wchar_t* second, const wchar_t* options) {
    const Entry* entry = Find(first ? first : L"");
    const bool idFirst = entry != nullptr;
    if (!entry)
        entry = Find(second ? second : L"");
    if (!entry) {
        // The menu's name beside an unknown number says nothing to the user.
        const std::wstring_view a = orvo::TrimBlanks(first ? first : L"");
        const std::wstring_view b = orvo::TrimBlanks(second ? second : L"");
        const std::wstring_view shown = a.empty() || plat::EqualsNoCase(a, kMainMenu) ? b : a;
        if (plat::EqualsNoCase(shown, kLinkEditor))
            ConfirmMsg(L"연결화면 편집은 아직 제공되지 않습니다.");
        else
            ConfirmMsg(L"메뉴에 없는 화면 번호입니다: [" + std::wstring(shown) + L"]");
        return 0;
    }
    auto parameters = std::make_unique<XElement>(L"param");
    if (idFirst)
        AddOptions(*parameters, second ? second : L"");
    AddOptions(*parameters, options ? options : L"");
    const std::wstring* copy = parameters->FindValue(L"ByCopyFrame");
    if (!(copy && plat::EqualsNoCase(*copy, L"True"))) {
        if (XDO* open = OpenFrameOf(entry->id)) {
            XScrMan::Instance().ActivateFrame(open);
            return 1;
        }
    }
    parameters->SetValue(L"id", entry->id);
    // Pages are relative to the project's base path. Copied: the entry may go if a handler of
    // the new screen reloads the menu.
    static orvo::ContractCall<orvo::contract::ProjectGetPath> s_getPath;
    std::wstring path;
    if (auto getPath = s_getPath.Get(); !getPath || !getPath(nullptr, &path))
        path.clear();
    path += entry->page;
    return XScrMan::Instance().OpenPage(path.c_str(), nullptr, parameters.get()) ? 1 : 0;
}
