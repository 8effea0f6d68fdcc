// A module that makes a "WindowHandler" object's window, as outside modules do
// ("OrvoTestWindowMaker.dll, MakeChildWindow"): a shown child of the host window, kept here
// until the module is released. The window code comes from the test program.
#include <memory>

#include "platform/gui/window.h"

class XDO;

namespace {
std::unique_ptr<plat::Window> g_made;
} // namespace

extern "C" __attribute__((visibility("default"))) plat::Window*
MakeChildWindow(XDO*, plat::Window* host, const wchar_t*) {
    if (!host)
        return nullptr;
    g_made = std::make_unique<plat::Window>(plat::WindowKind::Child, host);
    g_made->Show();
    return g_made.get();
}
