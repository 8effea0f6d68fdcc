#pragma once
// XWindowHandler ("WindowHandler"): a visual object whose window an outside module makes.
// "Window" names the module and its function, "module, function"; the function makes a child
// of the host window and keeps it. Layout places that window on the object's inner rectangle.
#include <string>

#include "platform/base/module.h"
#include "platform/gui/window.h"
#include "ui/xui.h"

class XWindowHandler : public XUI {
public:
    // Makes the object's window inside `host`; `param` is the object's "Param" text.
    using MakeWindow = plat::Window* (*)(XDO* object, plat::Window* host, const wchar_t* param);

    ORVO_KEY(L"WindowHandler")

    int SetElement(XElement* e) override;
    // After the visual object's creation, asks the module for the window; a module or
    // function that cannot be found leaves the object without one.
    int CreateInstance() override;
    // Lays the object out, then moves its window onto the inner rectangle.
    using XUI::Recalc;
    int Recalc(XRect* parent) override;
    // The window the module made; null without one or once it is gone.
    plat::Window* GetMadeWindow() const { return m_window.Get(); }

protected:
    ~XWindowHandler() override = default;

private:
    void PlaceWindow();

    std::wstring m_module;
    std::wstring m_function;
    plat::WindowRef m_window;
    // Declared last, so it is released after everything that may point into it.
    plat::Module m_library;
};
