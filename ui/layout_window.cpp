#include "ui/layout_window.h"

namespace orvo {

namespace {
LayoutWindow* g_desktop = nullptr;
} // namespace

LayoutWindow* DesktopWindow() {
    return g_desktop;
}

void SetDesktopWindow(LayoutWindow* window) {
    g_desktop = window;
}

} // namespace orvo
