// Exported user functions that open screens, tell the user something and act on a screen's
// frame, focus, timers and paint state.
//
//   OpenFrame        "alias, page, key=value, ..."  the page under a project path alias
//   OpenFrameDirect  "path, key=value, ..."         a page file named by its own path
//   MsgBox           "text"                         a confirmation; "Data(...)" resolved
//   DisplayMsg       "text"                         a trading notice; "Data(...)" resolved
//   SetTextCaption   "text"                         the title of the caller's frame
//   TopmostStyle     "" | "Clear" | "Toggle"        the caller's frame kept on top, or not
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
#include "platform/base/nocase.h"
#include "platform/base/path.h"
#include "shell/user_call.h"
#include "shell/user_functions.h"
#include "ui/xui.h"
#include "ui/xwindow.h"

using orvo::UserCall;

namespace {

// Opens `path` with the items from `firstItem` and the caller as opener.
int OpenWithOpener(const UserCall& call, const std::wstring& path, std::size_t firstItem) {
    XElement items(L"param", nullptr);
    if (!call.Items(firstItem, items, true))
        return 0;
    items.SetValue(L"__Opener", XdoToPtr(call.Caller()));
    // The screen manager tells the author about files that do not exist or do not parse.
    return XScrMan::Instance().OpenPage(path.c_str(), nullptr, &items) ? 1 : 0;
}

// The whole parameter text, or the data of the object it names as "Data(...)".
std::wstring ResolvedText(const UserCall& call) {
    return FindData(call.Caller(), call.Parameters().Text());
}

} // namespace

extern "C" int OpenFrame(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"OpenFrame", caller, parameter);
    if (!call.Check(2, L"alias, page[, key=value ...]"))
        return 0;
    if (call.At(0).empty() || call.At(1).empty())
        return call.Refuse(L"expected alias, page[, key=value ...]");
    static orvo::ContractCall<orvo::contract::ProjectGetPath> s_getPath;
    std::wstring folder;
    auto getPath = s_getPath.Get();
    if (!getPath || !getPath(call.At(0).c_str(), &folder))
        return call.Refuse(L"no project path " + call.At(0));
    return OpenWithOpener(call, plat::JoinPath(folder, call.At(1)), 2);
}

extern "C" int OpenFrameDirect(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"OpenFrameDirect", caller, parameter);
    if (!call.Check(1, L"path[, key=value ...]"))
        return 0;
    if (call.At(0).empty())
        return call.Refuse(L"expected path[, key=value ...]");
    return OpenWithOpener(call, call.At(0), 1);
}

extern "C" int MsgBox(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"MsgBox", caller, parameter);
    return call.Check(0, L"") ? ConfirmMsg(ResolvedText(call), 0, 0) : 0;
}

extern "C" int DisplayMsg(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"DisplayMsg", caller, parameter);
    if (!call.Check(0, L""))
        return 0;
    NoticeMsg(ResolvedText(call));
    return 1;
}

extern "C" int SetTextCaption(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"SetTextCaption", caller, parameter);
    if (!call.Check(0, L""))
        return 0;
    XDO* frame = caller->GetXDO(XDO_STYLE_FRAME, 0);
    if (!frame)
        return call.Refuse(L"the caller is in no frame");
    // Through the shell, which knows whether the title is the window's or a child frame's
    // caption.
    if (!XScrMan::Instance().SetFrameText(frame, ResolvedText(call).c_str()))
        return call.Refuse(L"the frame has no window");
    return 1;
}

extern "C" int TopmostStyle(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"TopmostStyle", caller, parameter);
    if (!call.Check(0, L""))
        return 0;
    auto* frame = dynamic_cast<XWindow*>(caller->GetXDO(XDO_STYLE_FRAME, 0));
    plat::Window* window = frame ? frame->GetNativeWindow() : nullptr;
    if (!window)
        return call.Refuse(L"the caller is in no frame with a window");
    const std::wstring& how = call.At(0);
    bool topmost = true;
    if (plat::EqualsNoCase(how, L"Clear"))
        topmost = false;
    else if (plat::EqualsNoCase(how, L"Toggle"))
        topmost = !window->IsTopmost();
    else if (!how.empty())
        return call.Refuse(L"expected nothing, Clear or Toggle");
    window->SetTopmost(topmost);
    // A child frame lives inside the main window and cannot stay above other windows.
    if (window->IsTopmost() != topmost)
        return call.Refuse(L"the frame's window cannot stay on top");
    return 1;
}

extern "C" int SetFocusUI(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"SetFocusUI", caller, parameter);
    XDO* target = call.Check(1, L"object") ? call.Target(0) : nullptr;
    if (!target)
        return 0;
    // SetFocus answers whether the object is one of its screen's tab stops; the focus moves
    // either way.
    target->SetFocus();
    return 1;
}

extern "C" int SetObjTimer(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"SetObjTimer", caller, parameter);
    XDO* target = call.Check(2, L"object, period[, count]") ? call.Target(0) : nullptr;
    int period = 0;
    int count = 0;
    if (!target || !call.Integer(1, period) || (call.Count() > 2 && !call.Integer(2, count)))
        return 0;
    if (period <= 0) {
        target->KillTimerVB();
        return 1;
    }
    if (!target->SetTimerVB(period, count))
        return call.Refuse(L"no window host runs timers for " + call.At(0));
    return 1;
}

extern "C" int SetUserState(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"SetUserState", caller, parameter);
    auto* target = call.Check(2, L"object, state[, active]")
                       ? call.TargetAs<XUI>(0, L"a visual object")
                       : nullptr;
    int state = 0;
    int active = 1;
    if (!target || !call.Integer(1, state) || (call.Count() > 2 && !call.Integer(2, active)))
        return 0;
    target->SetUserState(state, active != 0 ? 1 : 0);
    return 1;
}
