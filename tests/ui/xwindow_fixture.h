#pragma once
// Screens in a real window for the window host's tests: a "RecordingWnd" page over probes
// that log their mouse states and object events, a shell that records delayed painting and
// can swallow messages, and mouse input sent to the window as Qt delivers it.
#include <string>
#include <vector>

#include "gui/pump.h"
#include "support/window_input.h"
#include "ui/window_message.h"
#include "ui/xwnd.h"
#include "xui_fixture.h"

namespace orvo::test {

// Logs "name:code" for each mouse state and "name!event" for drag, repeat and timer events.
class Probe : public XUI {
public:
    ORVO_KEY(L"Probe")
    void SetEvent(int event, int notify) override {
        log.push_back(GetName() + L":" + std::to_wstring(event));
        XUI::SetEvent(event, notify);
    }
    int RunObjectEvent(int id) override {
        if (id == EVT_DRAGGING || id == XWindow::kEvtDragEnd || id == EVT_REPEAT || id == EVT_TIMER)
            log.push_back(GetName() + L"!" + std::to_wstring(id));
        return XUI::RunObjectEvent(id);
    }
    static inline std::vector<std::wstring> log;
};

// Closes its whole screen from its own click or timer.
class Closer : public XUI {
public:
    ORVO_KEY(L"Closer")
    void SetEvent(int event, int notify) override {
        XUI::SetEvent(event, notify);
        if (event == XWindow::MOUSE_LCLICK)
            DestroyObject(GetTopParent());
    }
    int RunObjectEvent(int id) override {
        if (id == EVT_TIMER)
            DestroyObject(GetTopParent());
        return XUI::RunObjectEvent(id);
    }
};

// A "Window" that records what it invalidates and the messages offered to it first.
class RecordingWnd : public XWnd {
public:
    ORVO_KEY(L"RecordingWnd")
    int OnPreTranslateMsg(MSG* msg) override {
        pretranslated.push_back(*msg);
        return XWnd::OnPreTranslateMsg(msg);
    }
    std::vector<CRect> invalidations; // an empty rectangle for the whole window
    std::vector<MSG> pretranslated;

protected:
    void InvalidateWindow(const CRect* rect) override {
        invalidations.push_back(rect ? *rect : CRect());
        XWnd::InvalidateWindow(rect);
    }
};

// A frame that allows the screen menu or not and logs what the menu asks of it.
class ContextFrame : public XDO {
    ORVO_DISPATCH_MAP()

public:
    ContextFrame() { m_nStyle |= XDO_STYLE_FRAME; }
    ORVO_KEY(L"ContextFrame")
    int HasContextMenu(const wchar_t*) { return allow; }
    int CopyFrame() { return Log(L"CopyFrame"); }
    int SaveOrPrintScrImg(const wchar_t* mode) { return Log(std::wstring(L"SaveOrPrint:") + mode); }
    int OpenLinkEditDlg() { return Log(L"OpenLinkEditDlg"); }
    std::wstring GetFrameID() { return L"0101"; }

    static inline int allow = 1;
    static inline std::vector<std::wstring> calls;

private:
    int Log(const std::wstring& call) {
        calls.push_back(call);
        return 1;
    }
};

ORVO_DISPATCH_INLINE(ContextFrame,
                     XDO,
                     ORVO_PROVIDE(contract::FrameHasContextMenu, HasContextMenu),
                     ORVO_PROVIDE(contract::FrameCopyFrame, CopyFrame),
                     ORVO_PROVIDE(contract::FrameSaveOrPrintScrImg, SaveOrPrintScrImg),
                     ORVO_PROVIDE(contract::FrameOpenLinkEditDlg, OpenLinkEditDlg),
                     ORVO_PROVIDE(contract::FrameGetFrameID, GetFrameID))

class PaintShell : public ShellHooks {
public:
    int RegPaint(XDO* host) override {
        registered.push_back(host);
        return 1;
    }
    int UnregPaint(XDO* host) override {
        unregistered.push_back(host);
        return 1;
    }
    // Like the application shell, the window's own watchers see the message next.
    int TranslateMsg(MSG* msg, XDO* owner) override {
        translated.push_back(msg->message);
        return msg->message == swallow || (owner && owner->OnPreTranslateMsg(msg));
    }
    std::vector<XDO*> registered, unregistered;
    std::vector<unsigned> translated;
    unsigned swallow = 0;
};

class XWindowTest : public XUITest {
protected:
    void SetUp() override {
        XUITest::SetUp();
        RegisterFactory<Probe>();
        RegisterFactory<RecordingWnd>();
        RegisterFactory<Closer>();
        RegisterFactory<ContextFrame>();
        ContextFrame::allow = 1;
        ContextFrame::calls.clear();
        XScrMan::Instance().InstallShell(&paintShell);
        Probe::log.clear();
    }
    void TearDown() override {
        page.reset();
        Pump(2);
        XUITest::TearDown();
    }

    // A 200x100 top-level "RecordingWnd" named "win" over `body`, shown at (100, 100); inside an
    // element of the tag `around` when one is given.
    void OpenWindow(const std::string& body,
                    const std::string& attributes = "",
                    const std::string& around = "") {
        std::string markup = "<RecordingWnd Name=\"win\" Rect=\"0,0,200,100\" " + attributes + ">" +
                             body + "</RecordingWnd>";
        if (!around.empty())
            markup = "<" + around + ">" + markup + "</" + around + ">";
        auto root = ParseMarkup(markup);
        ASSERT_TRUE(root);
        page.reset(XScrMan::Instance().OpenPageMem(root.release(), nullptr, nullptr));
        ASSERT_TRUE(page);
        win = dynamic_cast<RecordingWnd*>(around.empty() ? page.get() : page->child());
        ASSERT_TRUE(win);
        native = Win()->GetNativeWindow();
        ASSERT_TRUE(native);
        Native()->Move(CRect(100, 100, 300, 200));
        Native()->Show();
        Pump(2);
        // What showing the window asked for is painted before the test begins.
        Win()->XOnTimer(XWindow::TIMER_PAINT);
        Win()->invalidations.clear();
        paintShell.registered.clear();
        Probe::log.clear();
    }
    RecordingWnd* Win() { return win; }
    // Kept apart from the page, which a test may give away.
    plat::Window* Native() { return native; }

    void Press(CPoint at, Button button = Button::Left) {
        SendMouse(*Native(), MouseInput::Press, at, button);
    }
    void Release(CPoint at, Button button = Button::Left) {
        SendMouse(*Native(), MouseInput::Release, at, button);
    }
    void DoubleClick(CPoint at, Button button = Button::Left) {
        SendMouse(*Native(), MouseInput::DoubleClick, at, button);
    }
    void Move(CPoint at, Button held = Button::None) {
        SendMouse(*Native(), MouseInput::Move, at, Button::None, held);
    }
    // Puts the cursor over a client point of the window; the hover and repeat ticks read it.
    void Cursor(CPoint client) { SetCursorScreenPos(Native()->ClientToScreen(client)); }

    PaintShell paintShell;
    RecordingWnd* win = nullptr;
    plat::Window* native = nullptr;
};

} // namespace orvo::test
