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
#include <string>

#include "core/element.h"
#include "core/lib.h"
#include "core/loader.h"
#include "core/xdo.h"
#include "shell/menu_man.h"
#include "shell/user_functions.h"
#include "shell/user_parameters.h"

using orvo::RefuseUserCall;
using orvo::UserParameters;

namespace {

constexpr int kFirstItem = 1;

// The message or event element "Name, items" describes; null after telling the author.
std::unique_ptr<XElement> NamedElement(const wchar_t* function,
                                       XDO* caller,
                                       const UserParameters& parameters,
                                       bool resolveData) {
    if (!orvo::IsUsableCaller(caller)) {
        RefuseUserCall(function, parameters, L"the calling object is gone");
        return nullptr;
    }
    if (!parameters.IsBalanced()) {
        RefuseUserCall(function, parameters, L"parentheses or quotes do not close");
        return nullptr;
    }
    if (parameters.At(0).empty()) {
        RefuseUserCall(function, parameters, L"no message name");
        return nullptr;
    }
    auto element = std::make_unique<XElement>(parameters.At(0).c_str());
    std::wstring why;
    if (!parameters.ItemsFrom(kFirstItem, *element, why, resolveData ? caller : nullptr)) {
        RefuseUserCall(function, parameters, why);
        return nullptr;
    }
    return element;
}

XLib* NearestLibrary(XDO* caller) {
    return dynamic_cast<XLib*>(caller->GetXDO(XDO_STYLE_SCREEN, 0));
}

int OpenByMenu(const wchar_t* function, XDO* caller, const wchar_t* parameter, bool asOpener) {
    const UserParameters parameters(parameter);
    if (!orvo::IsUsableCaller(caller))
        return RefuseUserCall(function, parameters, L"the calling object is gone");
    if (!parameters.IsBalanced())
        return RefuseUserCall(function, parameters, L"parentheses or quotes do not close");
    if (parameters.At(0).empty())
        return RefuseUserCall(function, parameters, L"no menu identifier");
    XElement items(L"param", nullptr);
    std::wstring why;
    if (!parameters.ItemsFrom(kFirstItem, items, why, asOpener ? caller : nullptr))
        return RefuseUserCall(function, parameters, why);
    if (asOpener)
        items.SetValue(L"__Opener", XdoToPtr(caller));
    // The menu service reports identifiers it does not list itself.
    return XMenuMan::Instance().RunByMenuID(
        parameters.At(0).c_str(), items.MakeString().c_str(), L"");
}

} // namespace

extern "C" int PostMsg(XDO* caller, const wchar_t* parameter) {
    const UserParameters parameters(parameter);
    auto message = NamedElement(L"PostMsg", caller, parameters, false);
    if (!message)
        return 0;
    caller->PostMsg(message.get(), caller, 0);
    return 1;
}

extern "C" int BroadcastMsg(XDO* caller, const wchar_t* parameter) {
    const UserParameters parameters(parameter);
    auto message = NamedElement(L"BroadcastMsg", caller, parameters, true);
    if (!message)
        return 0;
    caller->SendMsg(0, message.get(), nullptr, caller);
    return 1;
}

extern "C" int LibNotifyEvent(XDO* caller, const wchar_t* parameter) {
    const UserParameters parameters(parameter);
    auto event = NamedElement(L"LibNotifyEvent", caller, parameters, false);
    if (!event)
        return 0;
    XLib* library = NearestLibrary(caller);
    if (!library)
        return RefuseUserCall(L"LibNotifyEvent", parameters, L"no library above the caller");
    // Undeclared names and libraries outside a loader answer 0, as the library decides.
    return library->NotifyEvent(parameters.At(0).c_str(), event->MakeString().c_str());
}

extern "C" int LibRelayEvent(XDO* caller, const wchar_t* parameter) {
    const UserParameters parameters(parameter);
    if (!orvo::IsUsableCaller(caller))
        return RefuseUserCall(L"LibRelayEvent", parameters, L"the calling object is gone");
    XLib* library = NearestLibrary(caller);
    if (!library)
        return RefuseUserCall(L"LibRelayEvent", parameters, L"no library above the caller");
    return library->RelayEvent();
}

extern "C" int LoaderRunMethod(XDO* caller, const wchar_t* parameter) {
    constexpr const wchar_t* kName = L"LoaderRunMethod";
    const UserParameters parameters(parameter);
    if (!orvo::IsUsableCaller(caller))
        return RefuseUserCall(kName, parameters, L"the calling object is gone");
    if (!parameters.IsBalanced())
        return RefuseUserCall(kName, parameters, L"parentheses or quotes do not close");
    if (parameters.Count() < 2 || parameters.At(1).empty())
        return RefuseUserCall(kName, parameters, L"expected loader, method[, key=value ...]");
    XDO* found = orvo::FindUserTarget(caller, parameters.At(0));
    auto* loader =
        orvo::HasStyle(found, XDO_STYLE_LOADER) ? dynamic_cast<XLoader*>(found) : nullptr;
    if (!loader)
        return RefuseUserCall(kName, parameters, L"no loader " + parameters.At(0));
    auto* library = dynamic_cast<XLib*>(loader->child());
    if (!library || !library->GetMethod(parameters.At(1)))
        return RefuseUserCall(
            kName, parameters, L"the loaded page has no method " + parameters.At(1));
    XElement items(L"param", nullptr);
    std::wstring why;
    if (!parameters.ItemsFrom(2, items, why))
        return RefuseUserCall(kName, parameters, why);
    orvo::DispVariant result;
    return library->RunMethod(parameters.At(1), &items, &result);
}

extern "C" int RunByMenuID(XDO* caller, const wchar_t* parameter) {
    return OpenByMenu(L"RunByMenuID", caller, parameter, false);
}

extern "C" int RunByMenuIDX(XDO* caller, const wchar_t* parameter) {
    return OpenByMenu(L"RunByMenuIDX", caller, parameter, true);
}
