// Frames in the shell: placement, styles, the multiple-document client, opening, activation,
// the close protocol and dialogs.
#include "gui/pump.h"
#include "platform/base/key_state.h"
#include "platform/gui/image_output.h"
#include "platform/gui/input_simulation.h"
#include "platform/gui/qt_event_loop.h"
#include "platform/gui/virtual_key.h"
#include "shell/frame_shell.h"
#include "shell/xmdi_client.h"
#include "support/temp_dir.h"
#include "support/window_input.h"
#include "ui/frame_caption.h"
#include "ui/key_names.h"
#include "ui/window_message.h"
#include "ui/xframe.h"
#include "ui/xui_fixture.h"

namespace orvo::test {
namespace {

// Logs the events a frame sends itself as "name" or "name:key=value"; refuses closing while
// `refuse` is set.
class LogFrame : public XFrame {
public:
    ORVO_KEY(L"LogFrame")
    void SendEvent(XElement* evt, XDO* sender) override {
        std::wstring entry = evt->GetTagName();
        if (const auto* attributes = evt->GetAttributes()) {
            for (const auto& [key, value] : *attributes)
                entry += L":" + key + L"=" + value;
        }
        log.push_back(entry);
        if (refuse && evt->GetTagName() == L"OnCloseFrame")
            CancelCloseFrame();
        XFrame::SendEvent(evt, sender);
    }
    int OnPreTranslateMsg(MSG* msg) override {
        messages.push_back(msg->message);
        return 0;
    }
    static inline std::vector<std::wstring> log;
    static inline std::vector<unsigned> messages;
    static inline bool refuse = false;
};

// A screen library that counts the times it is asked to give the focus back.
class FocusLib : public XDO {
    ORVO_DISPATCH_MAP()

public:
    FocusLib() { m_nStyle |= XDO_STYLE_SCREEN; }
    ORVO_KEY(L"FocusLib")
    int GiveFocus() { return ++given; }
    static inline int given = 0;
};

ORVO_DISPATCH_INLINE(FocusLib, XDO, ORVO_METHOD(GiveFocus))

class FrameTest : public XUITest {
protected:
    void SetUp() override {
        XUITest::SetUp();
        RegisterFactory<LogFrame>();
        RegisterFactory<FocusLib>();
        FocusLib::given = 0;
        LogFrame::log.clear();
        LogFrame::refuse = false;
        XScrMan::Instance().InstallShell(&frames);
        frames.OnMainFrameClosed([this] { ++mainClosed; });
    }
    void TearDown() override {
        pages.clear();
        Pump(2);
        XUITest::TearDown();
    }

    XDO* OpenMarkup(const std::string& markup) {
        auto root = ParseMarkup(markup);
        EXPECT_TRUE(root) << markup;
        XDO* page =
            root ? XScrMan::Instance().OpenPageMem(root.release(), nullptr, nullptr) : nullptr;
        if (page)
            pages.emplace_back(page->WeakRef());
        return page;
    }
    // A frame page of that style and attributes, the frame itself.
    LogFrame* OpenFrame(const std::string& attributes, const std::string& body = "") {
        return dynamic_cast<LogFrame*>(
            OpenMarkup("<LogFrame Name=\"f\" " + attributes + ">" + body + "</LogFrame>"));
    }
    XFrame* OpenMain() {
        return dynamic_cast<XFrame*>(OpenMarkup(R"(<Frame Name="main" FrameStyle="MDIMain"
            Rect="0,0,400,300"><MDIClient Name="client" Rect="0,0,400,300"/></Frame>)"));
    }

    struct PageRef {
        explicit PageRef(IXORef r) : ref(std::move(r)) {}
        ~PageRef() { DestroyObject(static_cast<XDO*>(ref.Get())); }
        PageRef(PageRef&&) = default;
        IXORef ref;
    };
    FrameShell frames;
    std::vector<PageRef> pages;
    int mainClosed = 0;
};

TEST_F(FrameTest, TheRectIsRewrittenBySizeAndReferenceRectangle) {
    struct Case {
        const char* attributes;
        CRect expected; // the window's place on the screen
    };
    const Case cases[] = {
        {R"(Rect="10,20,300,200" Width="500")", CRect(10, 20, 510, 220)},
        {R"(Rect="10,20,300,200" Height="1")", CRect(10, 20, 310, 21)},
        {R"(RefRect="100,100,200,150" Rect="0,0,80,40")", CRect(100, 150, 180, 190)},
        {R"(RefRect="100,100,200,150" Rect="0,0,80,40" RefAlign="top")", CRect(100, 60, 180, 100)},
        {R"(RefRect="100,100,200,150" Rect="0,0,80,40" RefAlign="LEFT")", CRect(20, 100, 100, 140)},
        {R"(RefRect="100,100,200,150" Rect="0,0,80,40" RefAlign="Right")",
         CRect(200, 100, 280, 140)},
        // Malformed reference rectangles leave "Rect" as it is.
        {R"(RefRect="100,100,200" Rect="5,6,80,40")", CRect(5, 6, 85, 46)},
        {R"(RefRect="1,2,3,4x" Rect="5,6,80,40")", CRect(5, 6, 85, 46)},
        {R"(RefRect="100,100,200,150" Rect="0,0,80,40" RefAlign="Middle")",
         CRect(100, 150, 180, 190)},
    };
    for (const Case& c : cases) {
        LogFrame* frame = OpenFrame(
            std::string("FrameStyle=\"PopupFrame\" InitActivate=\"False\" ") + c.attributes);
        ASSERT_TRUE(frame) << c.attributes;
        ASSERT_TRUE(frame->GetNativeWindow());
        EXPECT_EQ(frame->GetNativeWindow()->GetWindowRect(), c.expected) << c.attributes;
        pages.clear();
    }
}

TEST_F(FrameTest, TrackSizesNeedValidNumbers) {
    LogFrame* frame = OpenFrame(R"(FrameStyle="PopupFrame" Rect="0,0,300,200"
        MinTrackSize="0,0" MaxTrackSize="0,100")");
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->GetMinTrackSize(), CSize(0, 0));
    EXPECT_EQ(frame->GetMaxTrackSize(), CSize(-1, -1)) << "a zero side leaves the limit off";

    frame = OpenFrame(R"(FrameStyle="PopupFrame" Rect="0,0,300,200"
        MinTrackSize="120,80" MaxTrackSize="640,480")");
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->GetNativeWindow()->GetMinTrackSize(), CSize(120, 80));
    EXPECT_EQ(frame->GetNativeWindow()->GetMaxTrackSize(), CSize(640, 480));
    frame->GetNativeWindow()->Move(CRect(0, 0, 2000, 10));
    const CRect placed = frame->GetNativeWindow()->GetWindowRect();
    EXPECT_EQ(placed.Width(), 640);
    EXPECT_EQ(placed.Height(), 80);

    for (const char* bad :
         {"MinTrackSize=\"-1,5\"", "MinTrackSize=\"a,b\"", "MaxTrackSize=\"5\""}) {
        frame = OpenFrame(std::string("FrameStyle=\"PopupFrame\" ") + bad);
        ASSERT_TRUE(frame) << bad;
        EXPECT_EQ(frame->GetMinTrackSize(), CSize(-1, -1)) << bad;
        EXPECT_EQ(frame->GetMaxTrackSize(), CSize(-1, -1)) << bad;
    }
}

TEST_F(FrameTest, StylesMakeTheirWindowsAndAnUnknownStyleKeepsThePageClosed) {
    EXPECT_EQ(XFrame::FrameStyleOf(L"mdi"), XFrame::FRAME_MAIN);
    EXPECT_EQ(XFrame::FrameStyleOf(L"MDIMAIN"), XFrame::FRAME_MAIN);
    EXPECT_EQ(XFrame::FrameStyleOf(L"popup"), XFrame::FRAME_POPUP);
    EXPECT_EQ(XFrame::FrameStyleOf(L"Dialogue"), XFrame::FRAME_NONE);

    EXPECT_FALSE(OpenFrame(R"(FrameStyle="Window")"));
    EXPECT_FALSE(OpenFrame(""));
    EXPECT_TRUE(XScrMan::Instance().Frames().empty());

    LogFrame* popup = OpenFrame(R"(FrameStyle="Popup" Rect="10,10,100,50")");
    ASSERT_TRUE(popup);
    EXPECT_EQ(popup->GetNativeWindow()->Kind(), plat::WindowKind::Popup);
    EXPECT_TRUE(popup->GetNativeWindow()->IsVisible()) << "popups show when made";
    EXPECT_TRUE(HasStyle(popup, XDO_STYLE_FRAME));
    EXPECT_EQ(XScrMan::Instance().Frames(), std::vector<XDO*>{popup});
}

TEST_F(FrameTest, ChildFramesLiveInTheClientAndBecomePopupFramesWithoutOne) {
    LogFrame* orphan = OpenFrame(R"(FrameStyle="MDIChild" Rect="0,0,100,80")");
    ASSERT_TRUE(orphan);
    EXPECT_EQ(orphan->GetFrameStyle(), XFrame::FRAME_POPUPFRAME);
    EXPECT_EQ(orphan->GetNativeWindow()->Kind(), plat::WindowKind::TopLevel);

    XFrame* main = OpenMain();
    ASSERT_TRUE(main);
    EXPECT_EQ(XScrMan::Instance().GetMainFrame(), main);
    EXPECT_TRUE(main->GetNativeWindow()->IsVisible());
    EXPECT_EQ(frames.GetMDI(), 1);
    LogFrame* child = OpenFrame(R"(FrameStyle="MDIChild" Rect="20,30,100,80")",
                                R"(<this.Caption Text="관심종목"/>)");
    ASSERT_TRUE(child);
    EXPECT_EQ(child->GetFrameStyle(), XFrame::FRAME_CHILD);
    // The frame's window sits under the title strip of its caption window in the client.
    FrameCaption* caption = child->GetCaptionWindow();
    ASSERT_TRUE(caption);
    plat::Window& outer = caption->Window();
    EXPECT_EQ(outer.Parent(), XMdiClient::Current()->GetNativeWindow());
    EXPECT_EQ(outer.GetWindowRect(), CRect(20, 30, 126, 135));
    EXPECT_EQ(caption->Title(), L"관심종목");
    plat::Window* window = child->GetNativeWindow();
    EXPECT_EQ(window->Parent(), &outer);
    EXPECT_EQ(window->GetWindowRect(), CRect(3, 22, 103, 102));
    EXPECT_TRUE(window->IsVisible());
    frames.SetFrameText(child, L"Watch list");
    EXPECT_EQ(caption->Title(), L"Watch list");

    // Opening made it the active child; a second child takes over when pressed.
    EXPECT_EQ(frames.GetActiveChildFrame(), child);
    LogFrame* second = OpenFrame(R"(FrameStyle="MDIChild" Rect="40,40,100,80")");
    ASSERT_TRUE(second);
    EXPECT_EQ(frames.GetActiveChildFrame(), second);
    LogFrame::log.clear();
    SendMouse(*window, MouseInput::Press, {10, 10}, Button::Left);
    SendMouse(*window, MouseInput::Release, {10, 10}, Button::Left);
    EXPECT_EQ(frames.GetActiveChildFrame(), child);
    EXPECT_EQ(LogFrame::log, (std::vector<std::wstring>{L"OnInactivate", L"OnActivate"}));

    // The strip drags the frame; the borders resize it, no smaller than the close box needs;
    // the close box closes it.
    SendMouse(outer, MouseInput::Press, {30, 10}, Button::Left);
    SendMouse(outer, MouseInput::Move, {45, 15}, Button::None, Button::Left);
    SendMouse(outer, MouseInput::Release, {45, 15}, Button::Left);
    EXPECT_EQ(outer.GetWindowRect(), CRect(35, 35, 141, 140));
    SendMouse(outer, MouseInput::Move, {105, 104}, Button::None, Button::None);
    EXPECT_EQ(outer.GetCursor(), plat::CursorShape::SizeNWSE);
    SendMouse(outer, MouseInput::Press, {105, 104}, Button::Left);
    SendMouse(outer, MouseInput::Move, {125, 114}, Button::None, Button::Left);
    SendMouse(outer, MouseInput::Release, {125, 114}, Button::Left);
    EXPECT_EQ(window->GetWindowRect(), CRect(3, 22, 123, 112));
    SendMouse(outer, MouseInput::Press, {1, 50}, Button::Left);
    SendMouse(outer, MouseInput::Move, {400, 50}, Button::None, Button::Left);
    SendMouse(outer, MouseInput::Release, {400, 50}, Button::Left);
    EXPECT_EQ(outer.GetWindowRect(), CRect(95, 35, 161, 150));
    EXPECT_EQ(window->GetWindowRect().Width(), 60);
    const IXORef alive = child->WeakRef();
    SendMouse(outer, MouseInput::Press, {outer.GetClientRect().right - 10, 10}, Button::Left);
    Pump(2);
    EXPECT_FALSE(alive.Alive());

    // Popup frames and popups stay above the main window, which owns them.
    LogFrame* ticket = OpenFrame(R"(FrameStyle="PopupFrame")");
    ASSERT_TRUE(ticket);
    EXPECT_EQ(ticket->GetNativeWindow()->Owner(), main->GetNativeWindow());
    EXPECT_EQ(orphan->GetNativeWindow()->Owner(), nullptr) << "opened before the main window";
    LogFrame* popup = OpenFrame(R"(FrameStyle="Popup")");
    ASSERT_TRUE(popup);
    EXPECT_EQ(popup->GetNativeWindow()->Owner(), main->GetNativeWindow());

    // Without the multiple-document mode a child frame is a popup frame again.
    frames.SetMDI(0);
    LogFrame* single = OpenFrame(R"(FrameStyle="MDIChild")");
    ASSERT_TRUE(single);
    EXPECT_EQ(single->GetFrameStyle(), XFrame::FRAME_POPUPFRAME);
}

TEST_F(FrameTest, RunAsSdiTurnsTheMultipleDocumentModeOff) {
    ASSERT_TRUE(OpenMarkup(R"(<Frame FrameStyle="MDI" RunAsSDI="True">
        <MDIClient Rect="0,0,10,10"/></Frame>)"));
    EXPECT_EQ(frames.GetMDI(), 0);
}

TEST_F(FrameTest, CloseHandlersMayRefuseUntilTheApplicationExits) {
    LogFrame* frame = OpenFrame(R"(FrameStyle="PopupFrame")");
    ASSERT_TRUE(frame);
    const IXORef alive = frame->WeakRef();
    LogFrame::refuse = true;
    EXPECT_FALSE(frame->GetNativeWindow()->Close());
    EXPECT_FALSE(frame->GetNativeWindow()->Close());
    ASSERT_TRUE(alive.Alive());
    EXPECT_TRUE(frame->GetNativeWindow()->IsVisible());
    EXPECT_EQ(
        LogFrame::log,
        (std::vector<std::wstring>{L"OnCloseFrame:exitproc=False", L"OnCloseFrame:exitproc=False"}))
        << "each request asks again";

    // The application exits: handlers are heard but closing goes on.
    LogFrame::log.clear();
    frames.SetExitProc(L"Logout");
    EXPECT_TRUE(frame->GetNativeWindow()->Close());
    Pump(1);
    EXPECT_FALSE(alive.Alive()) << "closing ends the frame's screen";
    EXPECT_EQ(LogFrame::log, std::vector<std::wstring>{L"OnCloseFrame:exitproc=True"});
}

TEST_F(FrameTest, TheExportedUserFunctionsTouchOnlyFrames) {
    LogFrame* frame = OpenFrame(R"(FrameStyle="PopupFrame")");
    ASSERT_TRUE(frame);
    const IXORef alive = frame->WeakRef();
    XDO* notAFrame = OpenMarkup("<lib/>");
    EXPECT_EQ(ConfirmCloseFrame(notAFrame, L""), 1);
    EXPECT_EQ(CancelCloseFrame(nullptr, nullptr), 1);
    EXPECT_EQ(ConfirmCloseFrame(frame, L""), 1);
    LogFrame::refuse = true;
    EXPECT_TRUE(frame->GetNativeWindow()->Close()) << "confirmed before: no handler asked";
    EXPECT_TRUE(LogFrame::log.empty());
    Pump(1);
    EXPECT_FALSE(alive.Alive());
}

TEST_F(FrameTest, CloseFrameAsksOnTheNextPassAndForceCloseOverridesARefusal) {
    LogFrame* frame = OpenFrame(R"(FrameStyle="PopupFrame")");
    ASSERT_TRUE(frame);
    const IXORef alive = frame->WeakRef();
    LogFrame::refuse = true;
    EXPECT_TRUE(frame->CloseFrame());
    EXPECT_TRUE(LogFrame::log.empty()) << "posted, not sent";
    Pump(2);
    EXPECT_TRUE(alive.Alive());
    EXPECT_EQ(LogFrame::log.size(), 1u);

    EXPECT_TRUE(frame->ForceCloseFrame());
    Pump(2);
    EXPECT_FALSE(alive.Alive());
}

TEST_F(FrameTest, ClosingTheMainFrameTellsTheHost) {
    XFrame* main = OpenMain();
    ASSERT_TRUE(main);
    EXPECT_TRUE(main->GetNativeWindow()->Close());
    Pump(1);
    EXPECT_EQ(mainClosed, 1);
    EXPECT_EQ(frames.GetMainFrame(), nullptr);
    EXPECT_EQ(XMdiClient::Current(), nullptr);
}

TEST_F(FrameTest, ADialogRunsModallyAndItsPageIsGoneWhenTheOpeningCallReturns) {
    IXORef dialog;
    bool wasModal = false;
    bool othersDisabled = false;
    XFrame* main = OpenMain();
    ASSERT_TRUE(main);
    // Runs inside the dialog's modal loop.
    plat::QtEventLoop loop;
    loop.Post([&] {
        for (XDO* f : XScrMan::Instance().Frames()) {
            auto* frame = dynamic_cast<XFrame*>(f);
            if (frame && frame->GetFrameStyle() == XFrame::FRAME_DIALOG) {
                dialog = frame->WeakRef();
                wasModal = frame->GetNativeWindow()->IsModal();
                othersDisabled = !main->GetNativeWindow()->IsEnabled();
                frame->CloseFrame();
            }
        }
    });
    XDO* page = OpenMarkup(R"(<lib><LogFrame FrameStyle="Dialog" Rect="0,0,200,100"/></lib>)");
    EXPECT_EQ(page, nullptr);
    EXPECT_TRUE(wasModal);
    EXPECT_TRUE(othersDisabled);
    EXPECT_FALSE(dialog.Alive());
    EXPECT_TRUE(main->GetNativeWindow()->IsEnabled()) << "enabled again";
    // The dialog was the active window while it ran.
    auto& log = LogFrame::log;
    EXPECT_EQ(std::count(log.begin(), log.end(), L"OnCloseFrame:exitproc=False"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), L"OnActivate"), 1);
}

TEST_F(FrameTest, PopupsCloseOnceAndTheMainFrameRestoresFromMinimised) {
    LogFrame* popup = OpenFrame(R"(FrameStyle="Popup")");
    ASSERT_TRUE(popup);
    const IXORef alive = popup->WeakRef();
    EXPECT_TRUE(popup->ClosePopup());
    Pump(1);
    EXPECT_FALSE(alive.Alive());
    LogFrame::log.clear();

    LogFrame* main = OpenFrame(R"(FrameStyle="MDIMain")");
    ASSERT_TRUE(main);
    main->OnShowStateWindow(plat::ShowState::Maximized, plat::ShowState::Normal);
    main->OnShowStateWindow(plat::ShowState::Minimized, plat::ShowState::Normal);
    main->OnActivateApp(false);
    EXPECT_EQ(LogFrame::log,
              (std::vector<std::wstring>{L"OnRestoreFrame:from=MINIMIZE", L"OnInactivateApp"}));
}

TEST_F(FrameTest, KeyNamesAndTheContextMenuOption) {
    EXPECT_EQ(VirtualKeyOfName(L"delete"), 46);
    EXPECT_EQ(VirtualKeyOfName(L"F1"), 112);
    EXPECT_EQ(VirtualKeyOfName(L"f19"), 130);
    EXPECT_EQ(VirtualKeyOfName(L"F20"), 0);
    EXPECT_EQ(VirtualKeyOfName(L"F01"), 0);
    EXPECT_EQ(VirtualKeyOfName(L"NumPad9"), 105);
    EXPECT_EQ(VirtualKeyOfName(L"NUMPAD10"), 0);
    EXPECT_EQ(VirtualKeyOfName(L""), 0);

    LogFrame* frame = OpenFrame(R"(FrameStyle="PopupFrame")");
    ASSERT_TRUE(frame);
    plat::ResetKeyState();
    plat::NoteKeyDown(46);
    EXPECT_TRUE(frame->IsKeyDown(L"DELETE"));
    EXPECT_TRUE(frame->IsKeyDown(L"delete"));
    EXPECT_FALSE(frame->IsKeyDown(L"F20"));
    EXPECT_TRUE(frame->IsKeyToggle(L"Delete")) << "one press turns the toggle on";
    plat::NoteKeyUp(46);
    EXPECT_FALSE(frame->IsKeyDown(L"DELETE"));
    plat::ResetKeyState();

    // The screen menu needs a frame identifier.
    EXPECT_FALSE(frame->HasContextMenuVB(L""));
    auto root = ParseMarkup(R"(<LogFrame FrameStyle="PopupFrame"/>)");
    auto parameters = ParseMarkup(R"(<param id="0101"/>)");
    XDO* page = XScrMan::Instance().OpenPageMem(root.release(), nullptr, parameters.get());
    ASSERT_TRUE(page);
    pages.emplace_back(page->WeakRef());
    auto* identified = dynamic_cast<XFrame*>(page);
    EXPECT_EQ(identified->GetFrameID(), L"0101");
    EXPECT_TRUE(identified->HasContextMenuVB(L""));
}

TEST_F(FrameTest, APictureOfTheFrameGoesToTheFileTheUserPicks) {
    EXPECT_EQ(plat::QtFileFilter(L"Bitmap Files (*.bmp)|*.bmp|All Files (*.*)|*.*||"),
              L"Bitmap Files (*.bmp);;All Files (*.*)");
    LogFrame* frame = OpenFrame(R"(FrameStyle="PopupFrame" Rect="0,0,120,80")");
    ASSERT_TRUE(frame);
    ::TempDir dir;
    std::wstring answer = plat::FromFsPath(dir.Path() / "screen");
    const auto previous =
        plat::SetSaveFileAsker([&](std::wstring_view extension, std::wstring_view) {
            EXPECT_EQ(extension, L"BMP");
            return answer;
        });
    EXPECT_EQ(frame->SaveOrPrintScrImg(L"SAVE"), 1);
    const QImage saved(QString::fromStdString((dir.Path() / "screen.BMP").string()));
    EXPECT_EQ(saved.size(), QSize(120, 80)) << "the default extension was added";
    answer.clear();
    EXPECT_EQ(frame->SaveOrPrintScrImg(L""), 0) << "cancelled";
    EXPECT_EQ(frame->SaveOrPrintScrImg(L"print"), 0) << "no printer without a display";
    plat::SetSaveFileAsker(previous);
}

TEST_F(FrameTest, BadShapesDoNotCrash) {
    // A frame inside a frame: the inner one is a window of its own.
    XDO* nested = OpenMarkup(R"(<Frame FrameStyle="PopupFrame">
        <Frame Name="inner" FrameStyle="PopupFrame"/></Frame>)");
    ASSERT_TRUE(nested);
    EXPECT_EQ(XScrMan::Instance().Frames().size(), 2u);
    pages.clear();
    Pump(1);
    EXPECT_TRUE(XScrMan::Instance().Frames().empty());
    // A frame destroyed while it holds the capture.
    LogFrame* frame = OpenFrame(R"(FrameStyle="PopupFrame")");
    ASSERT_TRUE(frame);
    frame->GetNativeWindow()->SetCapture();
    pages.clear();
    EXPECT_EQ(plat::Window::GetCapture(), nullptr);
}

TEST_F(FrameTest, AFrameOfAHundredThousandObjectsOpensPaintsAndCloses) {
    std::string body;
    body.reserve(6'000'000);
    for (int i = 0; i < 100'000; ++i) {
        const int x = (i % 400) * 2, y = (i / 400) * 2;
        body += "<Cell Rect=\"" + std::to_string(x) + "," + std::to_string(y) + ",2,2\"/>";
    }
    LogFrame* frame = OpenFrame(R"(FrameStyle="PopupFrame" Rect="0,0,800,500")", body);
    ASSERT_TRUE(frame);
    const IXORef alive = frame->WeakRef();
    const QImage painted = frame->GetNativeWindow()->RenderImage();
    EXPECT_EQ(painted.pixel(1, 1), qRgb(0, 0, 255)) << "cells paint blue";
    XUI* tracked = frame->GetXUIFromPoint(CPoint(301, 201));
    ASSERT_TRUE(tracked);
    EXPECT_EQ(static_cast<CRect>(*tracked), CRect(300, 200, 302, 202));
    EXPECT_TRUE(frame->GetNativeWindow()->Close());
    Pump(1);
    EXPECT_FALSE(alive.Alive());
}

TEST_F(FrameTest, RegisteredHostsPaintOnceTheLoopIsFree) {
    plat::QtEventLoop loop;
    plat::EventLoop::Install(&loop);
    XFrame* frame = dynamic_cast<XFrame*>(OpenMarkup(R"(<Frame FrameStyle="PopupFrame"
        Rect="0,0,100,100"/>)"));
    ASSERT_TRUE(frame);
    Pump(2);
    frame->RegPaint(CRect(0, 0, 10, 10));
    frame->RegPaint(CRect(20, 20, 30, 30));
    EXPECT_EQ(frame->GetDirtyRect(), CRect(0, 0, 30, 30)) << "waiting for the loop";
    Pump(2);
    EXPECT_TRUE(frame->GetDirtyRect().IsRectEmpty());
    plat::EventLoop::Install(nullptr);
}

TEST_F(FrameTest, AnActivatedFrameHasItsLibraryGiveTheFocusBack) {
    XDO* page = OpenMarkup(R"(<FocusLib Name="screen"><Frame Name="f" FrameStyle="PopupFrame"
        Rect="0,0,90,60" InitActivate="False"><FocusLib Name="inner"/></Frame></FocusLib>)");
    ASSERT_TRUE(page);
    auto* frame = dynamic_cast<XFrame*>(page->GetObjByNameDown(L"f"));
    ASSERT_TRUE(frame);
    frame->OnActivateWindow(true);
    EXPECT_EQ(FocusLib::given, 0) << "no focus record yet";
    XDO* inner = page->GetObjByNameDown(L"inner");
    page->SetFocusRecord(inner);
    frame->OnActivateWindow(true);
    EXPECT_EQ(FocusLib::given, 1);
    frame->OnActivateWindow(false);
    EXPECT_EQ(FocusLib::given, 1) << "only on activation";
    page->SetFocusRecord(frame);
    frame->OnActivateWindow(true);
    EXPECT_EQ(FocusLib::given, 1) << "a record that is no screen library";
}

TEST_F(FrameTest, AWindowHostSeesItsWindowsMessagesFirst) {
    LogFrame* frame = OpenFrame(R"(FrameStyle="PopupFrame" Rect="0,0,100,100")");
    ASSERT_TRUE(frame && frame->GetNativeWindow());
    Pump(2);
    LogFrame::messages.clear();
    plat::SimulateMouse(
        *frame->GetNativeWindow(), plat::MouseAction::ButtonDown, plat::VK_LBUTTON, CPoint(5, 5));
    EXPECT_EQ(LogFrame::messages, std::vector<unsigned>{WM_LBUTTONDOWN});
}

} // namespace
} // namespace orvo::test
