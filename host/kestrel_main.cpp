// kestrel: the terminal host. It registers the host's own objects, starts the framework's
// services in order, opens the project's start page and runs the event loop.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>

#include "core/main_man.h"
#include "core/notice_man.h"
#include "core/project.h"
#include "core/scr_man.h"
#include "flow/xgate.h"
#include "host/back_end.h"
#include "host/host_objects.h"
#include "host/input_replay.h"
#include "host/object_dump.h"
#include "host/screenshots.h"
#include "nubra/paths.h"
#include "platform/base/event_loop.h"
#include "platform/base/heap_policy.h"
#include "platform/base/ini_file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/gui/gui_application.h"
#include "platform/gui/input_simulation.h"
#include "platform/gui/qt_event_loop.h"
#include "platform/gui/test_clock.h"
#include "shell/frame_shell.h"
#include "ui/screen_notice_presenter.h"
#include "ui/xclass.h"
#include "ui/xframe.h"
#include "ui/xres_man.h"
#include "ui/xtheme_man.h"
#include "ui/xwindow.h"

namespace {

constexpr const char* kVersion = "kestrel 0.1.0";

struct Options {
    std::wstring project = L".";
    std::wstring ini;
    std::wstring user;
    std::wstring backEnd = L"sim";
    std::wstring screenshotDir;
    std::wstring inputFile;
    bool dumpTree = false;
    bool headless = false;
    long quitAfterMs = -1;
};

void Usage(std::FILE* out) {
    std::fputs(
        "usage: kestrel [--project DIR] [--ini FILE] [--user NAME] [--backend NAME] [--dump-tree] "
        "[--quit-after MS]\n"
        "               [--headless] [--input FILE] [--screenshot DIR] [--version]\n"
        "  --project DIR    the project folder (default: the current folder)\n"
        "  --ini FILE       the settings file, relative to the project (default: Kestrel.ini)\n"
        "  --user NAME      the signed-in user (default: none, seen as Guest)\n"
        "  --backend NAME   the communication back end: sim (the default, a simulated exchange) or "
        "none\n"
        "  --dump-tree      open the start page, print the object tree of every opened page, exit\n"
        "  --quit-after MS  leave the event loop after MS milliseconds\n"
        "  --headless       draw into memory only: no windows, message boxes answer at once\n"
        "  --input FILE     replay the user input written in FILE once the start page is open\n"
        "                   (click, dblclick, rclick, hover, drag, type, key, wait, expect), on a\n"
        "                   test clock that only waits advance, then exit\n"
        "  --screenshot DIR once the start page is painted (and after --quit-after), write each\n"
        "                   frame's window to DIR/<frame name>.png and exit\n",
        out);
}

// 0 on success, 1 to exit successfully at once (--version, --help), 2 on a usage error.
int ParseArguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::wstring& into) {
            if (i + 1 >= argc)
                return false;
            into = plat::FromUtf8(argv[++i]);
            return true;
        };
        if (arg == "--version") {
            std::puts(kVersion);
            return 1;
        }
        if (arg == "--help") {
            Usage(stdout);
            return 1;
        }
        bool ok = true;
        if (arg == "--project")
            ok = value(options.project);
        else if (arg == "--ini")
            ok = value(options.ini);
        else if (arg == "--user")
            ok = value(options.user);
        else if (arg == "--backend")
            ok = value(options.backEnd) && !options.backEnd.empty();
        else if (arg == "--dump-tree")
            options.dumpTree = true;
        else if (arg == "--headless")
            options.headless = true;
        else if (arg == "--screenshot")
            ok = value(options.screenshotDir) && !options.screenshotDir.empty();
        else if (arg == "--input")
            ok = value(options.inputFile) && !options.inputFile.empty();
        else if (arg == "--quit-after") {
            std::wstring ms;
            ok = value(ms);
            char* end = nullptr;
            std::string text = plat::ToUtf8(ms);
            options.quitAfterMs = ok ? std::strtol(text.c_str(), &end, 10) : -1;
            ok = ok && end && *end == '\0' && options.quitAfterMs >= 0;
        } else
            ok = false;
        if (!ok) {
            Usage(stderr);
            return 2;
        }
    }
    return 0;
}

// Calls a service's method `int()` by name; 0 when the service or method is missing.
int CallService(const wchar_t* service, const wchar_t* method) {
    IXO* obj = IXO::FindInstance(service);
    auto fn = obj ? obj->GetFunction<int()>(method) : orvo::BoundMethod<int()>{};
    return fn ? fn() : 0;
}

// The icon of every window: setting Icon in section Init, relative to the project.
void SetTerminalIcon() {
    const XProject& project = XProject::Instance();
    const std::wstring icon = plat::IniGet(project.GetINIFile(), L"Init", L"Icon", L"");
    if (icon.empty())
        return;
    const std::wstring file = plat::ResolvePath(plat::JoinPath(project.GetBasePath(), icon));
    if (!plat::GuiApplication::SetIcon(file))
        std::fprintf(stderr, "kestrel: no icon in %s\n", plat::ToUtf8(file).c_str());
}

// The services that paint: colour names, the images (before the theme, whose draw events
// take them by name), the theme, the language and its fonts. Each says why it failed through
// the framework's messages; a terminal without them still runs.
void StartPaintServices() {
    CallService(L"Color", L"InitializeIXO");
    // Without a resource file images still load on request from the image folder.
    CallService(L"ResMan", L"InitializeIXO");
    if (!CallService(L"ThemeMan", L"InitializeIXO"))
        std::fputs("kestrel: no theme loaded (setting Theme in section Init); screens are drawn "
                   "without styles\n",
                   stderr);
    CallService(L"LangMan", L"InitializeIXO");
    SetTerminalIcon();
}

// Whether a frame of an opened page shows a window of its own.
bool AnyFrameShown() {
    for (XDO* object : XScrMan::Instance().Frames()) {
        auto* frame = dynamic_cast<XFrame*>(object);
        plat::Window* window = frame ? frame->GetNativeWindow() : nullptr;
        if (window && window->Kind() != plat::WindowKind::Child && window->IsVisible())
            return true;
    }
    return false;
}

// The screens of the start page: input replayed, screenshots taken, or the loop run until
// the main frame closes. The exit status.
int RunScreens(const Options& options,
               plat::GuiApplication& gui,
               plat::QtEventLoop& loop,
               const kestrel::WatchedPresenter& messages) {
    // What opening asked to paint is painted before anything looks at the screens.
    plat::GuiApplication::ProcessPending();
    if (!options.inputFile.empty()) {
        std::wstring error;
        if (!kestrel::ReplayInput(options.inputFile, messages, error)) {
            std::fprintf(stderr, "kestrel: %s\n", plat::ToUtf8(error).c_str());
            return 1;
        }
    }
    if (!options.screenshotDir.empty()) {
        if (options.quitAfterMs > 0 && plat::TestClock::Running())
            plat::TestClock::Advance(static_cast<int>(options.quitAfterMs));
        else if (options.quitAfterMs > 0)
            plat::ProcessFor(static_cast<int>(options.quitAfterMs));
        plat::GuiApplication::ProcessPending();
        int written = 0;
        std::wstring error;
        if (!kestrel::WriteScreenshots(options.screenshotDir, written, error)) {
            std::fprintf(stderr, "kestrel: %s\n", plat::ToUtf8(error).c_str());
            return 1;
        }
        std::printf("kestrel: %d screenshot(s) in %s\n",
                    written,
                    plat::ToUtf8(options.screenshotDir).c_str());
        return written > 0 ? 0 : 1;
    }
    // Replayed input ran on the test clock, which the loop cannot run on.
    if (!options.inputFile.empty())
        return 0;
    if (options.quitAfterMs >= 0)
        loop.SetTimer(static_cast<unsigned>(options.quitAfterMs),
                      [] { plat::GuiApplication::Quit(); });
    else if (!AnyFrameShown()) {
        std::fputs("kestrel: the start page shows no window (it needs a Frame with a FrameStyle)\n",
                   stderr);
        return 1;
    }
    gui.Run();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    plat::SetHeapPolicy();
    Options options;
    if (int parsed = ParseArguments(argc, argv, options))
        return parsed == 1 ? 0 : 2;

    std::wstring projectDir = plat::ResolvePath(options.project);
    if (!plat::IsDirectory(projectDir)) {
        std::fprintf(
            stderr, "kestrel: no project folder %s\n", plat::ToUtf8(options.project).c_str());
        return 1;
    }
    SetWorkPath(projectDir);
    std::wstring ini = options.ini.empty() ? L"Kestrel.ini" : options.ini;
    if (!plat::IsRegularFile(plat::JoinPath(projectDir, ini))) {
        std::fprintf(stderr,
                     "kestrel: no settings file %s in %s\n",
                     plat::ToUtf8(ini).c_str(),
                     plat::ToUtf8(projectDir).c_str());
        return 1;
    }

    // Before any service: fonts, images and windows need the application.
    plat::GuiApplication gui(argc, argv, options.headless || options.dumpTree);
    kestrel::Application application(ini);
    kestrel::SystemDb systemDb(options.user);
    IXO::Register(L"Application", &application);
    IXO::Register(L"systemdb", &systemDb);
    orvo::ScreenNoticePresenter presenter;
    kestrel::WatchedPresenter watched(presenter);
    XNoticeMan::Instance().SetPresenter(&watched);
    // Frames open through the shell; the terminal ends with its main frame.
    orvo::FrameShell shell;
    shell.OnMainFrameClosed([] { plat::GuiApplication::Quit(); });
    XScrMan::Instance().InstallShell(&shell);
    // Drags between windows, and screens opened by link, carry what the gates gather.
    XWindow::SetGateDragHooks(
        {[](XDO* object) { return XGate::FindGatherDrag(object); },
         [](XDO* object) { return XGate::FindDropGate(object) ? 1 : 0; },
         &XGate::DropGateTrigger,
         [](XElement* element) { XGate::SetLinkElement(std::unique_ptr<XElement>(element)); }});
    // Objects of user libraries read the gate element in their events as gates apply.
    XClass::SetGateRegistrar(&XGate::RegisterApplyIXO);

    plat::QtEventLoop loop;
    plat::EventLoop::Install(&loop);
    // Replayed input runs on the test clock from the start, so every timer of the screens and
    // of the back end ticks the same on any machine.
    if (!options.inputFile.empty())
        plat::TestClock::Start();
    // Ends before the loop goes: its shutdown kills its timers.
    auto backEnd = std::make_unique<kestrel::BackEnd>();

    int status = 0;
    // The project first: every other service finds its files through it.
    if (!CallService(L"Project", L"InitializeIXO")) {
        std::fprintf(stderr,
                     "kestrel: the project in %s could not be read\n",
                     plat::ToUtf8(projectDir).c_str());
        status = 1;
    } else {
        CallService(L"MainMan", L"InitializeIXO");
        CallService(L"attributeset", L"InitializeIXO");
        CallService(L"metaset", L"InitializeIXO");
        CallService(L"structureset", L"InitializeIXO");
        // Transactions declare their records with the shared structures (basename).
        CallService(L"trset", L"InitializeIXO");
        // Communication before the start page, whose requests go out as it opens.
        std::wstring error;
        if (!backEnd->Start(options.backEnd, error))
            std::fprintf(stderr,
                         "kestrel: running without communication: %s\n",
                         plat::ToUtf8(error).c_str());
        StartPaintServices();
        CallService(L"Project", L"Start");
        plat::GuiApplication::ProcessPending();
        auto pages = XScrMan::Instance().OpenedPages();
        const XProject& project = XProject::Instance();
        if (project.GetStartPage().empty()) {
            std::fputs(
                "kestrel: the project names no start page (attribute StartPage of <Project>)\n",
                stderr);
            status = 1;
        } else if (pages.empty()) {
            // Why is told above, by the framework's own messages.
            std::wstring page = plat::JoinPath(project.GetBasePath(), project.GetStartPage());
            std::fprintf(
                stderr, "kestrel: the start page %s did not open\n", plat::ToUtf8(page).c_str());
            status = 1;
        } else if (options.dumpTree) {
            for (XDO* page : pages)
                std::fputs(plat::ToUtf8(kestrel::DumpObjects(page)).c_str(), stdout);
            // The definitions the pages build on.
            if (backEnd->IsRunning())
                std::printf("backend %s: running\n", plat::ToUtf8(backEnd->Name()).c_str());
            if (const XTheme* theme = XThemeMan::Instance().CurrentTheme())
                std::printf("theme: %zu styles\n", theme->GetStyles().size());
            for (const std::wstring& image : XResMan::Instance().GetImageNames())
                std::printf("image %s\n", plat::ToUtf8(image).c_str());
            for (const wchar_t* set : {L"structureset", L"trset"}) {
                if (auto* definitions = dynamic_cast<XDO*>(IXO::FindInstance(set)))
                    std::fputs(plat::ToUtf8(kestrel::DumpObjects(definitions)).c_str(), stdout);
            }
        } else {
            status = RunScreens(options, gui, loop, watched);
        }
        for (XDO* page : XScrMan::Instance().OpenedPages())
            orvo::DestroyObject(page);
    }

    backEnd.reset();
    XScrMan::Instance().InstallShell(nullptr);
    plat::EventLoop::Install(nullptr);
    XNoticeMan::Instance().SetPresenter(nullptr);
    IXO::Unregister(L"systemdb");
    IXO::Unregister(L"Application");
    return status;
}
