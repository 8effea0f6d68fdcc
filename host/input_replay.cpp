#include "host/input_replay.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "core/scr_man.h"
#include "core/xdo.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "shell/input_player.h"

namespace kestrel {

namespace {

// The object a dotted path of names (or a "ptr:" text) names in any opened page: the first
// name is looked for near the page's root, each next one below the one before.
XDO* FindObject(const std::wstring& address) {
    if (address.rfind(L"ptr:", 0) == 0)
        return PtrToXdo(address);
    std::vector<std::wstring> names;
    std::wstring_view rest = address;
    while (true) {
        const std::size_t dot = rest.find(L'.');
        names.emplace_back(rest.substr(0, dot));
        if (dot == std::wstring_view::npos)
            break;
        rest.remove_prefix(dot + 1);
    }
    for (XDO* page : XScrMan::Instance().OpenedPages()) {
        XDO* found = FindLink(page, names.front());
        for (std::size_t i = 1; found && i < names.size(); ++i)
            found = names[i].empty() ? nullptr : found->GetObjByNameDown(names[i].c_str());
        if (found)
            return found;
    }
    return nullptr;
}

} // namespace

int WatchedPresenter::Confirm(const std::wstring& text, unsigned type, unsigned helpId) {
    m_seen += text + L"\n";
    return m_shown.Confirm(text, type, helpId);
}

void WatchedPresenter::Show(const orvo::NoticeRecord& record) {
    m_seen += record.text + L"\n";
    m_shown.Show(record);
}

bool WatchedPresenter::Saw(const std::wstring& part) const {
    return m_seen.find(part) != std::wstring::npos;
}

bool ReplayInput(const std::wstring& file, const WatchedPresenter& messages, std::wstring& error) {
    std::ifstream in(plat::ToFsPath(file), std::ios::binary);
    if (!in) {
        error = file + L": cannot be read";
        return false;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::vector<orvo::InputStep> steps;
    std::wstring reason;
    orvo::InputPlayer player(FindObject,
                             [&messages](const std::wstring& text) { return messages.Saw(text); });
    if (!orvo::InputScript::Parse(plat::FromUtf8(bytes.str()), steps, reason) ||
        !player.Run(steps, reason)) {
        // "line N: why" becomes "FILE:N: why", as compilers say it.
        const std::wstring prefix = L"line ";
        if (reason.rfind(prefix, 0) == 0)
            reason = file + L":" + reason.substr(prefix.size());
        else
            reason = file + L": " + reason;
        error = reason;
        return false;
    }
    return true;
}

} // namespace kestrel
