// Exported user functions that open screens, tell the user something and act on a screen's
// frame, focus, timers and paint state.
//
//   OpenFrame        "alias, page, key=value, ..."  the page under a project path alias
//   OpenFrameDirect  "path, key=value, ..."         a page file named by its own path
//   MsgBox           "text"                         a confirmation; "Data(...)" resolved
//   DisplayMsg       "text"                         a trading notice; "Data(...)" resolved
//   SetTextCaption   "text"                         the title of the caller's frame
//   SetFocusUI       "object"                       XDO::SetFocus of the object
//   SetObjTimer      "object, period[, count]"      the window host's timer; period 0 stops
//   SetUserState     "object, state[, active]"      the paint state "User.<state>"
//
// Opened pages get the items as parameters and the caller as "__Opener", so their "opener."
// addresses and script "Opener" reach the screen that opened them.
#include <string>

#include "core/contracts.h"
#include "core/element.h"
#include "core/notice_messages.h"
#include "core/scr_man.h"
#include "core/xdo.h"
#include "platform/base/lenient.h"
#include "platform/base/path.h"
#include "shell/user_functions.h"
#include "shell/user_parameters.h"
#include "ui/xui.h"

using orvo::RefuseUserCall;
using orvo::UserParameters;

namespace {

constexpr const wchar_t* kUnbalanced = L"parentheses or quotes do not close";
constexpr const wchar_t* kGone = L"the calling object is gone";

// Opens `path` with the items from `firstItem` and the caller as opener.
int OpenWithOpener(const wchar_t* function,
                   XDO* caller,
                   const UserParameters& parameters,
                   const std::wstring& path,
                   std::size_t firstItem) {
    XElement items(L"param", nullptr);
    std::wstring why;
    if (!parameters.ItemsFrom(firstItem, items, why, caller))
        return RefuseUserCall(function, parameters, why);
    items.SetValue(L"__Opener", XdoToPtr(caller));
    // The screen manager tells the author about files that do not exist or do not parse.
    return XScrMan::Instance().OpenPage(path.c_str(), nullptr, &items) ? 1 : 0;
}

// The text of a one-piece parameter with "Data(...)" read from the screen.
std::wstring ResolvedText(XDO* caller, const UserParameters& parameters) {
    return FindData(caller, parameters.Text());
}

// The first piece as an object; null after telling the author.
XDO* NamedTarget(const wchar_t* function, XDO* caller, const UserParameters& parameters) {
    if (!orvo::IsUsableCaller(caller)) {
        RefuseUserCall(function, parameters, kGone);
        return nullptr;
    }
    if (!parameters.IsBalanced()) {
        RefuseUserCall(function, parameters, kUnbalanced);
        return nullptr;
    }
    XDO* target = orvo::FindUserTarget(caller, parameters.At(0));
    if (!target)
        RefuseUserCall(function, parameters, L"no object " + parameters.At(0));
    return target;
}

} // namespace

extern "C" int OpenFrame(XDO* caller, const wchar_t* parameter) {
    constexpr const wchar_t* kName = L"OpenFrame";
    const UserParameters parameters(parameter);
    if (!orvo::IsUsableCaller(caller))
        return RefuseUserCall(kName, parameters, kGone);
    if (!parameters.IsBalanced())
        return RefuseUserCall(kName, parameters, kUnbalanced);
    if (parameters.Count() < 2 || parameters.At(0).empty() || parameters.At(1).empty())
        return RefuseUserCall(kName, parameters, L"expected alias, page[, key=value ...]");
    static orvo::ContractCall<orvo::contract::ProjectGetPath> s_getPath;
    std::wstring folder;
    auto getPath = s_getPath.Get();
    if (!getPath || !getPath(parameters.At(0).c_str(), &folder))
        return RefuseUserCall(kName, parameters, L"no project path " + parameters.At(0));
    return OpenWithOpener(kName, caller, parameters, plat::JoinPath(folder, parameters.At(1)), 2);
}

extern "C" int OpenFrameDirect(XDO* caller, const wchar_t* parameter) {
    constexpr const wchar_t* kName = L"OpenFrameDirect";
    const UserParameters parameters(parameter);
    if (!orvo::IsUsableCaller(caller))
        return RefuseUserCall(kName, parameters, kGone);
    if (!parameters.IsBalanced())
        return RefuseUserCall(kName, parameters, kUnbalanced);
    if (parameters.At(0).empty())
        return RefuseUserCall(kName, parameters, L"expected path[, key=value ...]");
    return OpenWithOpener(kName, caller, parameters, parameters.At(0), 1);
}

extern "C" int MsgBox(XDO* caller, const wchar_t* parameter) {
    const UserParameters parameters(parameter);
    if (!orvo::IsUsableCaller(caller))
        return RefuseUserCall(L"MsgBox", parameters, kGone);
    return ConfirmMsg(ResolvedText(caller, parameters), 0, 0);
}

extern "C" int DisplayMsg(XDO* caller, const wchar_t* parameter) {
    const UserParameters parameters(parameter);
    if (!orvo::IsUsableCaller(caller))
        return RefuseUserCall(L"DisplayMsg", parameters, kGone);
    NoticeMsg(ResolvedText(caller, parameters));
    return 1;
}

extern "C" int SetTextCaption(XDO* caller, const wchar_t* parameter) {
    const UserParameters parameters(parameter);
    if (!orvo::IsUsableCaller(caller))
        return RefuseUserCall(L"SetTextCaption", parameters, kGone);
    XDO* frame = caller->GetXDO(XDO_STYLE_FRAME, 0);
    if (!frame)
        return RefuseUserCall(L"SetTextCaption", parameters, L"the caller is in no frame");
    // Through the shell, which knows whether the title is the window's or a child frame's
    // caption.
    if (!XScrMan::Instance().SetFrameText(frame, ResolvedText(caller, parameters).c_str()))
        return RefuseUserCall(L"SetTextCaption", parameters, L"the frame has no window");
    return 1;
}

extern "C" int SetFocusUI(XDO* caller, const wchar_t* parameter) {
    const UserParameters parameters(parameter);
    XDO* target = NamedTarget(L"SetFocusUI", caller, parameters);
    if (!target)
        return 0;
    // SetFocus answers whether the object is one of its screen's tab stops; the focus moves
    // either way.
    target->SetFocus();
    return 1;
}

extern "C" int SetObjTimer(XDO* caller, const wchar_t* parameter) {
    constexpr const wchar_t* kName = L"SetObjTimer";
    const UserParameters parameters(parameter);
    XDO* target = NamedTarget(kName, caller, parameters);
    if (!target)
        return 0;
    if (parameters.Count() < 2)
        return RefuseUserCall(kName, parameters, L"expected object, period[, count]");
    const int period = plat::_wtoi(parameters.At(1));
    if (period <= 0)
        return target->KillTimerVB() ? 1 : 0;
    const int count = parameters.Count() > 2 ? plat::_wtoi(parameters.At(2)) : 0;
    if (!target->SetTimerVB(period, count))
        return RefuseUserCall(
            kName, parameters, L"no window host runs timers for " + parameters.At(0));
    return 1;
}

extern "C" int SetUserState(XDO* caller, const wchar_t* parameter) {
    constexpr const wchar_t* kName = L"SetUserState";
    const UserParameters parameters(parameter);
    XDO* found = NamedTarget(kName, caller, parameters);
    if (!found)
        return 0;
    auto* target = dynamic_cast<XUI*>(found);
    if (!target)
        return RefuseUserCall(kName, parameters, parameters.At(0) + L" is not a visual object");
    if (parameters.Count() < 2)
        return RefuseUserCall(kName, parameters, L"expected object, state[, active]");
    const bool active = parameters.Count() < 3 || plat::_wtoi(parameters.At(2)) != 0;
    target->SetUserState(plat::_wtoi(parameters.At(1)), active ? 1 : 0);
    return 1;
}
