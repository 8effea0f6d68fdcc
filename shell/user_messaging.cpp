// Exported user functions that send messages and events, raise events to a screen's loader,
// run a loaded page's methods and open screens by menu identifier.
//
//   PostMsg          "Name, key=value, ..."           posted from the caller
//   BroadcastMsg     "Name, key=value, ..."           sent now; "Data(...)" values resolved
//   LibNotifyEvent   "Name, key=value, ..."           the nearest library's NotifyEvent
//   LibRelayEvent    ""                               the nearest library's RelayEvent
//   LoaderRunMethod  "loader, method, key=value, ..." a method of the loader's page
//   RunByMenuID      "id, key=value, ..."             "MenuMan" opens the screen
//   RunByMenuIDX     "id, key=value, ..."             the same, values resolved, caller as opener
#include <memory>
#include <string>

#include "core/element.h"
#include "core/lib.h"
#include "core/loader.h"
#include "shell/menu_man.h"
#include "shell/user_call.h"
#include "shell/user_functions.h"

using orvo::UserCall;

namespace {

// The message or event element "Name, key=value, ..." describes; null after telling the
// author.
std::unique_ptr<XElement> NamedElement(const UserCall& call, bool resolveData) {
    if (!call.Check(0, L""))
        return nullptr;
    if (call.At(0).empty()) {
        call.Refuse(L"no message name");
        return nullptr;
    }
    auto element = std::make_unique<XElement>(call.At(0).c_str());
    return call.Items(1, *element, resolveData) ? std::move(element) : nullptr;
}

XLib* NearestLibrary(const UserCall& call) {
    auto* library = dynamic_cast<XLib*>(call.Caller()->GetXDO(XDO_STYLE_SCREEN, 0));
    if (!library)
        call.Refuse(L"no library above the caller");
    return library;
}

int OpenByMenu(const UserCall& call, bool asOpener) {
    if (!call.Check(0, L""))
        return 0;
    if (call.At(0).empty())
        return call.Refuse(L"no menu identifier");
    XElement items(L"param", nullptr);
    if (!call.Items(1, items, asOpener))
        return 0;
    if (asOpener)
        items.SetValue(L"__Opener", XdoToPtr(call.Caller()));
    // The menu service tells the author about identifiers it does not list.
    return XMenuMan::Instance().RunByMenuID(call.At(0).c_str(), items.MakeString().c_str(), L"");
}

} // namespace

extern "C" int PostMsg(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"PostMsg", caller, parameter);
    auto message = NamedElement(call, false);
    if (!message)
        return 0;
    caller->PostMsg(message.get(), caller, 0);
    return 1;
}

extern "C" int BroadcastMsg(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"BroadcastMsg", caller, parameter);
    auto message = NamedElement(call, true);
    if (!message)
        return 0;
    caller->SendMsg(0, message.get(), nullptr, caller);
    return 1;
}

extern "C" int LibNotifyEvent(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"LibNotifyEvent", caller, parameter);
    auto event = NamedElement(call, false);
    XLib* library = event ? NearestLibrary(call) : nullptr;
    // Undeclared names and libraries outside a loader answer 0, as the library decides.
    return library ? library->NotifyEvent(call.At(0).c_str(), event->MakeString().c_str()) : 0;
}

extern "C" int LibRelayEvent(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"LibRelayEvent", caller, parameter);
    XLib* library = call.Check(0, L"") ? NearestLibrary(call) : nullptr;
    return library ? library->RelayEvent() : 0;
}

extern "C" int LoaderRunMethod(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"LoaderRunMethod", caller, parameter);
    if (!call.Check(2, L"loader, method[, key=value ...]"))
        return 0;
    auto* loader = call.TargetAs<XLoader>(0, L"a loader");
    if (!loader)
        return 0;
    auto* library = dynamic_cast<XLib*>(loader->child());
    if (!library || !library->GetMethod(call.At(1)))
        return call.Refuse(L"the loaded page has no method " + call.At(1));
    XElement items(L"param", nullptr);
    if (!call.Items(2, items, false))
        return 0;
    orvo::DispVariant result;
    return library->RunMethod(call.At(1), &items, &result);
}

extern "C" int RunByMenuID(XDO* caller, const wchar_t* parameter) {
    return OpenByMenu(UserCall(L"RunByMenuID", caller, parameter), false);
}

extern "C" int RunByMenuIDX(XDO* caller, const wchar_t* parameter) {
    return OpenByMenu(UserCall(L"RunByMenuIDX", caller, parameter), true);
}
