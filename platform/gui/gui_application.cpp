#include "platform/gui/gui_application.h"

#include <QApplication>
#include <QIcon>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace plat {

namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// QT_QPA_PLATFORM, DISPLAY or WAYLAND_DISPLAY promise a platform that can open; without
// them only the offscreen platform will.
bool DisplayReachable() {
    return Set("QT_QPA_PLATFORM") || Set("DISPLAY") || Set("WAYLAND_DISPLAY");
}

// Qt wants a private runtime folder and complains on every start when none is named (a
// service account, a container); it is made as Qt would make it, without the complaint.
void EnsureRuntimeFolder() {
    if (Set("XDG_RUNTIME_DIR"))
        return;
    const std::string folder = "/tmp/runtime-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

} // namespace

GuiApplication::GuiApplication(int& argc, char** argv, bool headless) {
    EnsureRuntimeFolder();
    // Without this Qt aborts the process when no display answers.
    if (headless || !DisplayReachable()) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // Drawing into memory, windows are never raised and never grab the mouse; Qt's
        // warnings that it cannot would only bury the terminal's own messages.
        s_previousHandler = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                if (type == QtWarningMsg &&
                    message.startsWith(QLatin1String("This plugin does not support")))
                    return;
                if (s_previousHandler)
                    s_previousHandler(type, context, message);
            });
    }
    m_application = std::make_unique<QApplication>(argc, argv);
    // A blinking text cursor would make two pictures of the same screen differ.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        QApplication::setCursorFlashTime(0);
    // Windows closing never ends the loop on their own: the host decides when it ends.
    QApplication::setQuitOnLastWindowClosed(false);
}

GuiApplication::~GuiApplication() {
    m_application.reset();
    if (s_previousHandler) {
        qInstallMessageHandler(s_previousHandler);
        s_previousHandler = nullptr;
    }
}

void GuiApplication::ProcessPending() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool GuiApplication::SetIcon(const std::wstring& file) {
    const QIcon icon(QString::fromStdWString(file));
    if (icon.availableSizes().isEmpty())
        return false;
    QApplication::setWindowIcon(icon);
    return true;
}

int GuiApplication::Run() {
    return QApplication::exec();
}

void GuiApplication::Quit() {
    QCoreApplication::quit();
}

} // namespace plat
