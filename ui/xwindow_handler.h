#pragma once
// XWindowHandler ("WindowHandler"): a visual object whose window an outside module makes.
// "Window" names the module and its function, "module, function"; the function makes a child
// of the host window and keeps it. Without a function, a window maker the host program
// attached makes it. Layout places that window on the object's inner rectangle.
#include <memory>
#include <string>

#include "platform/base/module.h"
#include "platform/gui/window.h"
#include "ui/xui.h"

class XWindowHandler;

// What a program attaches to a "WindowHandler" to make its window, instead of a module.
class WindowMaker {
public:
    virtual ~WindowMaker() = default;
    // A child of `host` that the maker keeps; null for none.
    virtual plat::Window* MakeWindow(XWindowHandler& object, plat::Window& host) = 0;
};

class XWindowHandler : public XUI {
public:
    // Makes the object's window inside `host`; `param` is the object's "Param" text.
    using MakeWindowFunction = plat::Window* (*)(XDO* object,
                                                 plat::Window* host,
                                                 const wchar_t* param);

    ORVO_KEY(L"WindowHandler")

    int SetElement(XElement* e) override;
    // After the visual object's creation, asks the module for the window, or without a
    // function the attached maker; a module or function that cannot be found leaves the
    // object without one.
    int CreateInstance() override;
    // Attaches the maker; an object already created without a window asks it at once.
    void AttachMaker(std::shared_ptr<WindowMaker> maker);
    // Lays the object out, then moves its window onto the inner rectangle.
    using XUI::Recalc;
    int Recalc(XRect* parent) override;
    // The window the module made; null without one or once it is gone.
    plat::Window* GetMadeWindow() const { return m_window.Get(); }

protected:
    ~XWindowHandler() override = default;

private:
    plat::Window* HostWindow() const;
    // Asks the module's function, or else the attached maker, for the window.
    void MakeWindow();
    void PlaceWindow();

    std::wstring m_module;
    std::wstring m_function;
    std::shared_ptr<WindowMaker> m_maker;
    bool m_created = false;
    plat::WindowRef m_window;
    // Declared last, so it is released after everything that may point into it.
    plat::Module m_library;
};
