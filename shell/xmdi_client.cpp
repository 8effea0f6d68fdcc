#include "shell/xmdi_client.h"

#include "nubra/ixo_ref.h"
#include "platform/base/colorref.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XMdiClient>();

// The application workspace colour behind child frames.
constexpr COLORREF kWorkspace = RGB(0x80, 0x80, 0x80);

orvo::IXORef& CurrentRef() {
    static orvo::IXORef current;
    return current;
}

} // namespace

XMdiClient::XMdiClient() = default;

int XMdiClient::CreateInstance() {
    if (!XWnd::CreateInstance())
        return 0;
    if (plat::Window* window = GetNativeWindow())
        window->SetBackgroundColour(kWorkspace);
    CurrentRef() = WeakRef();
    return 1;
}

XMdiClient* XMdiClient::Current() {
    return static_cast<XMdiClient*>(CurrentRef().Get());
}

void XMdiClient::Teardown() {
    if (CurrentRef() == WeakRef())
        CurrentRef() = {};
    XWnd::Teardown();
}
