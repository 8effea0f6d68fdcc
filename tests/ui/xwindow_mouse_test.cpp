// Mouse routing of the window host: clicks, capture, dragging, hover, auto-repeat, and
// objects or screens that go while they hold the mouse.
#include <gtest/gtest.h>

#include "platform/gui/input_simulation.h"
#include "platform/gui/virtual_key.h"
#include "support/scoped_registration.h"
#include "xwindow_fixture.h"

namespace orvo::test {
namespace {

using Log = std::vector<std::wstring>;

const char* const kTwoProbes = R"x(<Probe Name="a" Rect="0,0,50,50"/>
                                  <Probe Name="b" Rect="100,0,50,50"/>)x";

TEST_F(XWindowTest, AClickGivesDownUpClickAndOverToTheSameObject) {
    OpenWindow(kTwoProbes);
    Press({10, 10});
    EXPECT_EQ(plat::Window::GetCapture(), Native());
    EXPECT_EQ(Win()->GetPressedCode(), XWindow::MOUSE_LDOWN);
    EXPECT_EQ(UI(L"a")->GetPressPoint(), CPoint(10, 10));
    Release({12, 12});
    EXPECT_EQ(Probe::log, (Log{L"a:4", L"a:256", L"a:16", L"a:1"}));
    EXPECT_EQ(plat::Window::GetCapture(), nullptr);
    EXPECT_EQ(Win()->GetPressedCode(), XWindow::MOUSE_NONE);

    Probe::log.clear();
    Press({110, 10}, Button::Right);
    Release({110, 10}, Button::Right);
    EXPECT_EQ(Probe::log, (Log{L"a:-1", L"b:8", L"b:512", L"b:32", L"b:1"}));

    Probe::log.clear();
    DoubleClick({10, 10});
    EXPECT_EQ(Probe::log, (Log{L"b:-1", L"a:64"}));
    EXPECT_EQ(Win()->GetPressedCode(), XWindow::MOUSE_LDOWN);
}

TEST_F(XWindowTest, AReleaseOverAnotherObjectIsAnUpWithoutAClick) {
    OpenWindow(kTwoProbes);
    Press({10, 10});
    Release({110, 10});
    EXPECT_EQ(Probe::log, (Log{L"a:4", L"a:-1", L"b:256", L"b:1"}));
    EXPECT_EQ(Win()->GetTracked(), UI(L"b"));
}

TEST_F(XWindowTest, TheLogicalXShiftsEveryMousePoint) {
    OpenWindow(R"x(<Probe Name="a" Rect="0,0,50,50"/><Probe Name="b" Rect="50,0,50,50"/>)x");
    DispVariant result;
    std::vector<DispVariant> x{DispVariant(50)};
    ASSERT_EQ(Win()->Invoke(L"SetLogX", InvokeMethod, x, result), DispStatus::Ok);
    Press({10, 10});
    EXPECT_EQ(Probe::log, Log{L"b:4"});
    EXPECT_EQ(UI(L"b")->GetPressPoint(), CPoint(60, 10));
}

TEST_F(XWindowTest, MessagesTheScreenManagerTakesNeverReachTheObjects) {
    OpenWindow(kTwoProbes);
    paintShell.swallow = WM_LBUTTONDOWN;
    Press({10, 10});
    EXPECT_TRUE(Probe::log.empty());
    EXPECT_EQ(paintShell.translated.back(), WM_LBUTTONDOWN);

    // Keys pass by the screen manager too, with the key code.
    Native()->Activate();
    Native()->SetFocus();
    paintShell.translated.clear();
    ASSERT_TRUE(plat::SimulateKeyPress(plat::VK_ESCAPE));
    EXPECT_EQ(paintShell.translated, (std::vector<unsigned>{WM_KEYDOWN, WM_KEYUP}));
}

// Gates stand-ins: every object carries a "Drag" element and takes drops; drops are logged.
struct GateStandIns {
    GateStandIns() {
        gathered = 0;
        drops.clear();
        GateDragHooks hooks;
        hooks.findGatherDrag = [](XDO*) {
            ++gathered;
            return new XElement(L"Drag");
        };
        hooks.findDropGate = [](XDO*) { return 1; };
        hooks.dropGateTrigger = [](XDO* object, XElement* element) {
            drops.push_back(dynamic_cast<XUI*>(object)->GetName() + L"<" + element->GetTagName());
            return 1;
        };
        XWindow::SetGateDragHooks(hooks);
    }
    ~GateStandIns() { XWindow::SetGateDragHooks({}); }
    static inline int gathered = 0;
    static inline Log drops;
};

TEST_F(XWindowTest, AGateElementStartsADragFromThreePixelsOn) {
    OpenWindow(kTwoProbes);
    {
        const GateStandIns gates;
        Press({10, 10});
        Move({12, 12}, Button::Left);
        EXPECT_FALSE(Win()->IsDragging()) << "2 pixels";
        EXPECT_EQ(GateStandIns::gathered, 0);
        Move({10, 13}, Button::Left);
        EXPECT_TRUE(Win()->IsDragging()) << "3 pixels in y";
        ASSERT_NE(XWindow::s_pDragElem, nullptr);
        EXPECT_EQ(XWindow::s_pDragElem->GetTagName(), L"Drag");
        EXPECT_EQ(Native()->GetCursor(), plat::CursorShape::Hand);
        EXPECT_FALSE(Win()->TimerRunning(XWindow::TIMER_HOVER)) << "no hover while dragging";
        Release({40, 40});
        EXPECT_FALSE(Win()->IsDragging());
        EXPECT_EQ(XWindow::s_pDragElem, nullptr);
        EXPECT_EQ(Native()->GetCursor(), plat::CursorShape::Arrow);
    }
    Press({10, 10});
    Move({20, 10}, Button::Left);
    EXPECT_FALSE(Win()->IsDragging()) << "nothing to carry";
    Release({20, 10});
}

TEST_F(XWindowTest, AGateDragDropsOnlyOnAnotherTopLevelWindow) {
    const GateStandIns gates;
    auto other = ParseMarkup(R"x(<RecordingWnd Name="other" Rect="0,0,200,100">
                                   <Probe Name="target" Rect="0,0,50,50"/>
                                 </RecordingWnd>)x");
    XDOPtr otherPage(XScrMan::Instance().OpenPageMem(other.release(), nullptr, nullptr));
    auto* otherWin = dynamic_cast<XWindow*>(otherPage.get());
    ASSERT_TRUE(otherWin && otherWin->GetNativeWindow());
    otherWin->GetNativeWindow()->Move(CRect(400, 100, 600, 200));
    otherWin->GetNativeWindow()->Show();
    OpenWindow(kTwoProbes);

    Press({10, 10});
    Cursor({110, 10}); // over this window's own "b": the same root
    Move({110, 10}, Button::Left);
    ASSERT_TRUE(Win()->IsDragging());
    Move({111, 10}, Button::Left);
    EXPECT_EQ(Native()->GetCursor(), plat::CursorShape::No);
    SetCursorScreenPos(otherWin->GetNativeWindow()->ClientToScreen(CPoint(10, 10)));
    Move({310, 10}, Button::Left);
    EXPECT_EQ(Native()->GetCursor(), plat::CursorShape::Hand);
    Release({310, 10});
    EXPECT_EQ(GateStandIns::drops, Log{L"target<Drag"});

    GateStandIns::drops.clear();
    Press({10, 10});
    Cursor({110, 10});
    Move({110, 10}, Button::Left);
    Release({110, 10});
    EXPECT_TRUE(GateStandIns::drops.empty()) << "a drop on its own window";
    EXPECT_EQ(otherWin->XGateDrop(nullptr, nullptr), 0) << "no element being dragged";
}

TEST_F(XWindowTest, ADragWithoutAnElementReportsItsMovesAndItsEnd) {
    OpenWindow(R"x(<Probe Name="a" Rect="0,0,50,50">
                    <this.Event Trigger="Mouse.Down" Action="Sys.Dragging(4)"/>
                  </Probe>)x");
    Press({10, 10});
    EXPECT_TRUE(Win()->IsDragging());
    Move({30, 20}, Button::Left);
    EXPECT_EQ(UI(L"a")->GetCurrentPoint(), CPoint(30, 20));
    Release({35, 25});
    EXPECT_EQ(Probe::log, (Log{L"a:4", L"a!7", L"a!8", L"a:256", L"a:16", L"a:1"}));
    EXPECT_EQ(UI(L"a")->GetCurrentPoint(), CPoint(35, 25));
    EXPECT_FALSE(Win()->IsDragging());
}

TEST_F(XWindowTest, HoverTicksFollowTheCursorAndLeaveTheWindow) {
    OpenWindow(kTwoProbes);
    Cursor({10, 10});
    Move({10, 10});
    EXPECT_EQ(Win()->TimerPeriod(XWindow::TIMER_HOVER), XWindow::kHoverPeriodMs);
    Win()->XOnTimer(XWindow::TIMER_HOVER);
    EXPECT_EQ(Probe::log, Log{L"a:1"});
    Win()->XOnTimer(XWindow::TIMER_HOVER);
    EXPECT_EQ(Probe::log, Log{L"a:1"}) << "not moved since";

    Cursor({110, 10});
    Move({110, 10});
    Win()->XOnTimer(XWindow::TIMER_HOVER);
    EXPECT_EQ(Probe::log, (Log{L"a:1", L"a:2", L"a:-1", L"b:1"}));

    Probe::log.clear();
    SetCursorScreenPos(CPoint(0, 0)); // beside the window
    Win()->XOnTimer(XWindow::TIMER_HOVER);
    EXPECT_EQ(Probe::log, Log{L"b:-1"});
    EXPECT_FALSE(Win()->TimerRunning(XWindow::TIMER_HOVER));
    EXPECT_EQ(Win()->GetTracked(), nullptr);
}

TEST_F(XWindowTest, ARightClickOpensTheScreenMenuWhenTheFrameAllowsIt) {
    OpenWindow(kTwoProbes, "", "ContextFrame");
    {
        MenuChoice choice(L"화면 인쇄");
        Cursor({110, 10});
        Press({110, 10}, Button::Right);
        Release({110, 10}, Button::Right);
        EXPECT_EQ(Probe::log, (Log{L"b:8", L"b:512", L"b:32", L"b:1"}));
        EXPECT_EQ(
            choice.shown,
            (Log{L"화면 다시 열기", L"화면 인쇄", L"화면을 그림으로 저장", L"-", L"연결화면 편집"}))
            << "no Excel item outside a grid";
        EXPECT_EQ(ContextFrame::calls, Log{L"SaveOrPrint:PRINT"});
    }
    {
        MenuChoice choice(L"화면 다시 열기");
        Press({110, 10}, Button::Right);
        Release({60, 60}, Button::Right);
        EXPECT_TRUE(choice.shown.empty()) << "released elsewhere";
        ContextFrame::allow = 0;
        Press({110, 10}, Button::Right);
        Release({110, 10}, Button::Right);
        EXPECT_TRUE(choice.shown.empty()) << "the frame refuses";
        ContextFrame::allow = 1;
        Press({110, 10}, Button::Left);
        Release({110, 10}, Button::Left);
        EXPECT_TRUE(choice.shown.empty()) << "a left click";
        EXPECT_EQ(ContextFrame::calls, Log{L"SaveOrPrint:PRINT"});
    }
}

// The shell's list of linked screens: two rows for the frame "0101", none for others.
class StandInLinks : public XDO {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"LinkMenuData")
    int SetElement(XElement* e) override {
        attributes.clear();
        for (const wchar_t* key : {L"Menu", L"MenuID", L"sys", L"user"})
            attributes.push_back(e->FindValue(key) ? *e->FindValue(key) : L"?");
        return XDO::SetElement(e);
    }
    int GetRowCount() { return attributes.size() > 1 && attributes[1] == L"0101" ? 2 : 0; }
    std::wstring GetRowText(int row) { return row == 0 ? L"주문" : L"체결"; }
    std::wstring GetRowMenuID(int row) { return row == 0 ? L"0201" : L"0202"; }
    static inline std::vector<std::wstring> attributes;
};

ORVO_DISPATCH_INLINE(
    StandInLinks, XDO, ORVO_METHOD(GetRowCount), ORVO_METHOD(GetRowText), ORVO_METHOD(GetRowMenuID))

// The menu service: logs each opening with the link data it holds at that moment.
class StandInMenus : public IXO {
    ORVO_DISPATCH_MAP()

public:
    int RunByMenuID(const wchar_t* id, const wchar_t* menu, const wchar_t* options) {
        calls.push_back(std::wstring(id) + L"|" + menu + L"|" + options + L"|" +
                        (linkData ? linkData->GetTagName() : L"none"));
        return 1;
    }
    int SetLinkData(XElement* element) {
        linkData = element;
        return 1;
    }
    XElement* linkData = nullptr;
    std::vector<std::wstring> calls;
};

ORVO_DISPATCH_INLINE(StandInMenus, IXO, ORVO_METHOD(RunByMenuID), ORVO_METHOD(SetLinkData))

TEST_F(XWindowTest, TheScreenMenuOpensLinkedScreensWithTheClickedObjectsData) {
    RegisterFactory<StandInLinks>();
    StandInMenus menus;
    ScopedRegistration registration(L"MenuMan", &menus);
    GateDragHooks hooks;
    hooks.findGatherDrag = [](XDO* object) {
        return new XElement((dynamic_cast<XUI*>(object)->GetName() + L"Drag").c_str());
    };
    XWindow::SetGateDragHooks(hooks);
    OpenWindow(kTwoProbes, "", "ContextFrame");
    MenuChoice choice(L"체결");
    Cursor({110, 10});
    Press({110, 10}, Button::Right);
    Release({110, 10}, Button::Right);
    XWindow::SetGateDragHooks({});
    EXPECT_EQ(StandInLinks::attributes, (Log{L"Main", L"0101", L"CfgOptionSys", L"CfgOptionUser"}));
    EXPECT_EQ(choice.shown,
              (Log{L"화면 다시 열기",
                   L"화면 인쇄",
                   L"화면을 그림으로 저장",
                   L"-",
                   L"연결화면 편집",
                   L"주문",
                   L"체결"}));
    EXPECT_EQ(menus.calls, Log{L"0202|Main|ByLinkFrame=True|bDrag"});
    EXPECT_EQ(menus.linkData, nullptr) << "released once the screen is open";
}

TEST_F(XWindowTest, AutoRepeatRunsAtOnceThenEveryDelayWhileHeldOnTheObject) {
    OpenWindow(R"x(<Probe Name="r" Rect="0,0,50,50">
                    <this.Event Trigger="Mouse.Down" Action="Sys.Repeat(50,20)"/>
                  </Probe>
                  <Probe Name="d" Rect="100,0,50,50">
                    <this.Event Trigger="Mouse.Down" Action="Sys.Repeat()"/>
                  </Probe>)x");
    Cursor({10, 10});
    Press({10, 10});
    EXPECT_EQ(Probe::log, (Log{L"r:4", L"r!9"}));
    EXPECT_TRUE(Win()->IsRepeating());
    EXPECT_EQ(Win()->TimerPeriod(XWindow::TIMER_REPEAT), 50);
    Win()->XOnTimer(XWindow::TIMER_REPEAT);
    EXPECT_EQ(Win()->TimerPeriod(XWindow::TIMER_REPEAT), 20);
    Cursor({110, 10}); // off the object: the period goes on, the event does not
    Win()->XOnTimer(XWindow::TIMER_REPEAT);
    EXPECT_EQ(Win()->TimerPeriod(XWindow::TIMER_REPEAT), 20) << "past the list";
    EXPECT_EQ(Probe::log, (Log{L"r:4", L"r!9", L"r!9"}));
    Release({110, 10});
    EXPECT_FALSE(Win()->IsRepeating());
    EXPECT_FALSE(Win()->TimerRunning(XWindow::TIMER_REPEAT));

    Cursor({110, 10});
    Press({110, 10});
    EXPECT_EQ(Win()->TimerPeriod(XWindow::TIMER_REPEAT), XWindow::kRepeatPeriodMs);
    Release({110, 10});
}

TEST_F(XWindowTest, AnObjectDestroyedWhileItHoldsTheMouseIsForgotten) {
    OpenWindow(kTwoProbes);
    Cursor({10, 10});
    Press({10, 10});
    DestroyObject(UI(L"a"));
    EXPECT_EQ(Win()->GetTracked(), nullptr);
    Move({30, 30}, Button::Left);
    Win()->XOnTimer(XWindow::TIMER_HOVER);
    Release({30, 30});
    EXPECT_EQ(Probe::log, Log{L"a:4"});
    EXPECT_EQ(plat::Window::GetCapture(), nullptr);
}

TEST_F(XWindowTest, AScreenMayCloseFromItsOwnMouseHandler) {
    OpenWindow(R"x(<Closer Name="c" Rect="0,0,50,50"/>)x");
    XDO* screen = page.release();
    Press({10, 10});
    EXPECT_TRUE(IsLiveXdo(screen));
    Release({10, 10});
    EXPECT_FALSE(IsLiveXdo(screen));
    EXPECT_EQ(plat::Window::GetCapture(), nullptr);
    Pump(3);
}

} // namespace
} // namespace orvo::test
