// Opening the demo's quote board to its first painted window, against building the same page
// without painting it. Both run on the demo project with its services started as kestrel
// starts them, on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include <cstdlib>
#include <memory>

#include "core/object_lifetime.h"
#include "core/scr_man.h"
#include "nubra/paths.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "ratio_main.h"
#include "shell/frame_shell.h"
#include "ui/xframe.h"

namespace {

// "Cfg" names the demo's settings file.
class Application : public IXO {
    ORVO_DISPATCH_MAP()

public:
    int GetValue(const wchar_t*, std::wstring& out) {
        out = L"Kestrel.ini";
        return 1;
    }
};

ORVO_DISPATCH_INLINE(Application, IXO, ORVO_METHOD(GetValue))

int CallService(const wchar_t* service, const wchar_t* method) {
    IXO* obj = IXO::FindInstance(service);
    auto fn = obj ? obj->GetFunction<int()>(method) : orvo::BoundMethod<int()>{};
    return fn ? fn() : 0;
}

// The demo project with every service it needs, once per process.
bool StartDemo() {
    static const bool started = [] {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "first_paint_bench";
        static char* argv[] = {name, nullptr};
        static QApplication application(argc, argv);
        static Application app;
        IXO::Register(L"Application", &app);
        SetWorkPath(plat::ResolvePath(plat::FromUtf8(ORVO_DEMO_DIR)));
        if (!CallService(L"Project", L"InitializeIXO"))
            return false;
        for (const wchar_t* service : {L"MainMan",
                                       L"attributeset",
                                       L"metaset",
                                       L"structureset",
                                       L"trset",
                                       L"Color",
                                       L"ResMan",
                                       L"ThemeMan",
                                       L"LangMan"})
            CallService(service, L"InitializeIXO");
        return true;
    }();
    return started;
}

XDO* OpenBoard() {
    static const std::wstring page =
        plat::JoinPath(plat::FromUtf8(ORVO_DEMO_DIR), L"screen/QuoteBoard.xml");
    return XScrMan::Instance().OpenPage(page.c_str(), nullptr, nullptr);
}

void BM_BuildBoard(benchmark::State& state) {
    if (!StartDemo())
        return state.SkipWithError("the demo project does not start");
    XScrMan::Instance().InstallShell(nullptr);
    for (auto _ : state) {
        XDO* page = OpenBoard();
        if (!page)
            return state.SkipWithError("the quote board does not open");
        orvo::DestroyObject(page);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_BuildBoard)->Unit(benchmark::kMillisecond);

void BM_OpenBoardToFirstPaint(benchmark::State& state) {
    if (!StartDemo())
        return state.SkipWithError("the demo project does not start");
    orvo::FrameShell shell;
    XScrMan::Instance().InstallShell(&shell);
    for (auto _ : state) {
        XDO* page = OpenBoard();
        auto* frame = page ? dynamic_cast<XFrame*>(page->GetXDODown(L"Frame")) : nullptr;
        plat::Window* window = frame ? frame->GetNativeWindow() : nullptr;
        if (!window)
            return state.SkipWithError("the quote board has no window");
        const QImage painted = window->RenderImage();
        benchmark::DoNotOptimize(painted.pixel(10, 10));
        orvo::DestroyObject(page);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    XScrMan::Instance().InstallShell(nullptr);
}
BENCHMARK(BM_OpenBoardToFirstPaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return orvo::bench::RunWithRatios(argc, argv, {{"BM_OpenBoardToFirstPaint", "BM_BuildBoard"}});
}
