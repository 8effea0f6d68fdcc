#pragma once
// The GUI side of a process: one QApplication, on the screen when one is reachable and
// drawing nowhere otherwise, so a host runs the same code with a display, on a server and in
// CI. Fonts, images and windows need it to exist first.
#include <QtGlobal>

#include <memory>
#include <string>

class QApplication;

namespace plat {

class GuiApplication {
public:
    // Headless (or with no X11 or Wayland display to be found) the application draws into
    // memory only: windows are never shown and message boxes answer their default button.
    // A platform chosen with QT_QPA_PLATFORM is kept unless headless is asked for.
    GuiApplication(int& argc, char** argv, bool headless);
    ~GuiApplication();
    GuiApplication(const GuiApplication&) = delete;
    GuiApplication& operator=(const GuiApplication&) = delete;

    // Delivers what is waiting (posted tasks, due timers, window events) and returns.
    static void ProcessPending();
    // Every window's icon, from an image file (.ico, .png, .bmp ...); false when the file
    // gives no image, and the icon is left as it was.
    static bool SetIcon(const std::wstring& file);
    // Runs the loop until Quit().
    int Run();
    static void Quit();

private:
    std::unique_ptr<QApplication> m_application;
    static inline QtMessageHandler s_previousHandler = nullptr;
};

} // namespace plat
