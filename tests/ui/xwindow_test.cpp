// The window host's painting, timers and windows.
#include <gtest/gtest.h>

#include "ui/xwindow_handler.h"
#include "xwindow_fixture.h"

namespace orvo::test {
namespace {

TEST_F(XWindowTest, RequestsWithinThePaintDelayBecomeOneInvalidationOfTheirUnion) {
    OpenWindow("", "PaintDelay=\"100\"");
    for (int i = 0; i < 10; ++i)
        Win()->RegPaint(CRect(10 * i, i, 10 * i + 5, i + 5));
    EXPECT_TRUE(Win()->invalidations.empty());
    EXPECT_TRUE(paintShell.registered.empty());
    EXPECT_EQ(Win()->TimerPeriod(XWindow::TIMER_PAINT), 100);
    Win()->XOnTimer(XWindow::TIMER_PAINT);
    EXPECT_EQ(Win()->invalidations, std::vector<CRect>{CRect(0, 0, 95, 14)});
    EXPECT_FALSE(Win()->TimerRunning(XWindow::TIMER_PAINT));
    EXPECT_TRUE(Win()->GetDirtyRect().IsRectEmpty());
}

TEST_F(XWindowTest, WithoutADelayTheScreenManagerPaintsOrElseTheWindowAtOnce) {
    OpenWindow("");
    Win()->SetLogX(50);
    Win()->RegPaint(CRect(70, 20, 60, 10)); // inverted
    Win()->RegPaint(CRect(5, 5, 5, 30));    // empty
    EXPECT_EQ(paintShell.registered, std::vector<XDO*>{Win()});
    EXPECT_EQ(Win()->GetDirtyRect(), CRect(10, 10, 20, 20)) << "normalised, minus the logical x";
    EXPECT_TRUE(Win()->invalidations.empty());
    Win()->DoPaint();
    EXPECT_EQ(Win()->invalidations, std::vector<CRect>{CRect(10, 10, 20, 20)});

    Win()->ToggleRegPaint();
    Win()->RegPaint(CRect(0, 0, 9, 9));
    Win()->ToggleRegPaint();
    EXPECT_TRUE(Win()->GetDirtyRect().IsRectEmpty()) << "registration switched off";

    XScrMan::Instance().InstallShell(nullptr);
    Win()->RegPaint(CRect(50, 0, 60, 10));
    EXPECT_EQ(Win()->invalidations.back(), CRect(0, 0, 10, 10));
}

void RepaintOnPaintEnd(CDC*, XUI* ui) {
    ui->Repaint(nullptr);
}

TEST_F(XWindowTest, PaintsDoubleBufferedShiftedByTheLogicalXAndDropsRequestsMeanwhile) {
    OpenWindow(R"x(<Cell Name="c" Rect="60,0,20,20"/>)x");
    UI(L"c")->SetOnPaintEnd(&RepaintOnPaintEnd);
    Win()->SetLogX(50);
    paintShell.registered.clear();
    const auto image = Native()->RenderImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(PixelAt(image, 15, 5), kBlue);
    EXPECT_EQ(PixelAt(image, 65, 5), kWhite);
    EXPECT_TRUE(paintShell.registered.empty()) << "a request while painting";
    EXPECT_TRUE(Win()->GetDirtyRect().IsRectEmpty());

    UI(L"c")->SetOnPaintEnd(nullptr);
    Win()->SetShow(false);
    Win()->SetLogX(0);
    EXPECT_EQ(PixelAt(Native()->RenderImage(), 65, 5), kWhite) << "a hidden host paints nothing";
}

TEST_F(XWindowTest, ATimerWithACountRunsThatOftenAndIsGone) {
    OpenWindow(R"x(<Script/>
                  <Probe Name="t"><this.Event Trigger="Object.Timer" Action="Script.OnTimer"/></Probe>
                  <Probe Name="u"/>)x");
    XUI* t = UI(L"t");
    ASSERT_EQ(Win()->RegTimer(t, 0, 3), 1);
    ASSERT_EQ(Win()->RegTimer(UI(L"u"), 0, 0), 1);
    EXPECT_TRUE(PumpUntil([] { return RecordingScript::runs.size() == 3; }));
    Pump(5);
    EXPECT_EQ(RecordingScript::runs, (std::vector<std::wstring>(3, L"OnTimer:t")));
    EXPECT_EQ(Win()->UnRegTimer(t), 0);
    EXPECT_EQ(Win()->ObjectTimerCount(), 1u) << "a count of 0 never ends";
    EXPECT_EQ(Win()->UnRegTimer(UI(L"u")), 1);
    EXPECT_EQ(Win()->ObjectTimerCount(), 0u);
}

TEST_F(XWindowTest, ObjectsReachTheirHostsTimersThroughTheCoreAndMayDieInThem) {
    OpenWindow(R"x(<Script/>
                  <Probe Name="k"><this.Event Trigger="Object.Timer" Action="Script.Kill"/></Probe>)x");
    XDO* k = UI(L"k");
    ASSERT_TRUE(k->SetTimerVB(0, 0));
    EXPECT_TRUE(PumpUntil([k] { return !IsLiveXdo(k); }));
    EXPECT_EQ(Win()->ObjectTimerCount(), 0u);
    Pump(3);
    EXPECT_EQ(RecordingScript::runs, std::vector<std::wstring>{L"Kill:k"});
}

TEST_F(XWindowTest, AScreenMayCloseFromItsOwnTimer) {
    OpenWindow(R"x(<Closer Name="c"/>)x");
    XDO* screen = page.release();
    ASSERT_TRUE(screen->GetObjByNameDown(L"c")->SetTimerVB(0, 0));
    EXPECT_TRUE(PumpUntil([screen] { return !IsLiveXdo(screen); }));
    EXPECT_EQ(paintShell.unregistered, std::vector<XDO*>{screen});
}

TEST_F(XWindowTest, InnerWindowsAreChildrenThatInheritThePaintDelay) {
    OpenWindow(R"x(<Window Name="mid" Rect="10,10,150,80" PaintDelay="-5">
                    <Window Name="in" Rect="5,5,40,30"><Probe Name="p" Rect="0,0,9,9"/></Window>
                    <Window Name="off" Rect="60,5,40,30" PaintDelay="0"/>
                    <Window Name="hid" Rect="60,40,10,10" flag="Hide"/>
                  </Window>
                  <ProxyWindow Name="proxy" Rect="170,0,20,20"/>
                  <ProxyWindow Name="popup" Rect="0,0,20,20" Popup="True"/>
                  <Probe Name="q" Rect="0,0,9,9"/>)x",
               "PaintDelay=\"70\"");
    auto* in = dynamic_cast<XWindow*>(UI(L"in"));
    ASSERT_TRUE(in && in->GetNativeWindow());
    EXPECT_EQ(in->GetPaintDelay(), 70) << "the negative delay between is passed over";
    EXPECT_EQ(dynamic_cast<XWindow*>(UI(L"mid"))->GetPaintDelay(), -5);
    EXPECT_EQ(dynamic_cast<XWindow*>(UI(L"off"))->GetPaintDelay(), 0);
    EXPECT_EQ(in->GetNativeWindow()->Kind(), plat::WindowKind::Child);
    EXPECT_EQ(in->GetNativeWindow()->GetWindowRect(), CRect(5, 5, 45, 35));
    EXPECT_TRUE(in->GetNativeWindow()->IsVisible());
    EXPECT_FALSE(dynamic_cast<XWindow*>(UI(L"hid"))->GetNativeWindow()->IsVisible());
    plat::Window* proxy = dynamic_cast<XWindow*>(UI(L"proxy"))->GetNativeWindow();
    ASSERT_TRUE(proxy);
    EXPECT_EQ(proxy->Kind(), plat::WindowKind::Child);
    EXPECT_TRUE(proxy->IsVisible());
    plat::Window* popup = dynamic_cast<XWindow*>(UI(L"popup"))->GetNativeWindow();
    ASSERT_TRUE(popup);
    EXPECT_EQ(popup->Kind(), plat::WindowKind::Popup);
    EXPECT_FALSE(popup->IsVisible()) << "a popup waits to be shown";

    // The update countdown stays out of child windows.
    UI(L"q")->SetUpdateCount(2);
    UI(L"p")->SetUpdateCount(2);
    Win()->XOnTimer(XWindow::TIMER_UPDATE);
    EXPECT_EQ(UI(L"q")->GetUpdateCount(), 1);
    EXPECT_EQ(UI(L"p")->GetUpdateCount(), 2);
}

// An inner window's own rectangle is its place in the window above; it paints itself and
// takes the mouse in its own client area.
TEST_F(XWindowTest, AnInnerWindowAwayFromTheCornerIsHitAndPaintedInItsOwnClientArea) {
    OpenWindow(R"x(<Window Name="in" Rect="50,40,100,50" Style="cell">
                     <Probe Name="p" Rect="60,30,20,10"/>
                   </Window>)x");
    auto* in = dynamic_cast<XWindow*>(UI(L"in"));
    plat::Window* inner = in->GetNativeWindow();
    ASSERT_TRUE(inner);
    // The window above lays out again: the inner window's rectangle is its place once more.
    Win()->RecalcRect();
    ASSERT_EQ(static_cast<const CRect&>(*in), CRect(50, 40, 150, 90));

    SendMouse(*inner, MouseInput::Press, {5, 5}, Button::Left);
    EXPECT_EQ(in->GetTracked(), in);
    SendMouse(*inner, MouseInput::Release, {5, 5}, Button::Left);
    SendMouse(*inner, MouseInput::Press, {65, 35}, Button::Left);
    EXPECT_EQ(in->GetTracked(), UI(L"p"));
    EXPECT_EQ(Probe::log.front(), L"p:4");
    SendMouse(*inner, MouseInput::Release, {120, 70}, Button::Left);
    EXPECT_EQ(in->GetTracked(), nullptr) << "outside the window, under the mouse capture";

    const QImage image = inner->RenderImage();
    EXPECT_EQ(PixelAt(image, 5, 5), kBlue);
    EXPECT_EQ(PixelAt(image, 95, 45), kBlue);
}

TEST_F(XWindowTest, ScriptsMoveTheWindow) {
    OpenWindow("");
    DispVariant result;
    std::vector<DispVariant> deltas{
        DispVariant(-10), DispVariant(0), DispVariant(10), DispVariant(5)};
    ASSERT_EQ(Win()->Invoke(L"OffsetWindow", InvokeMethod, deltas, result), DispStatus::Ok);
    EXPECT_EQ(Native()->GetWindowRect(), CRect(90, 100, 310, 205));
    EXPECT_TRUE(Win()->invalidations.empty()) << "growing needs no repaint";
    std::vector<DispVariant> rect{DispVariant(0), DispVariant(0), DispVariant(50), DispVariant(40)};
    ASSERT_EQ(Win()->Invoke(L"MoveWindow", InvokeMethod, rect, result), DispStatus::Ok);
    EXPECT_EQ(Native()->GetWindowRect(), CRect(0, 0, 50, 40));
    EXPECT_EQ(Win()->invalidations.size(), 1u);
}

TEST_F(XWindowTest, AHostWithoutAWindowRegistersNothingAndMovesNothing) {
    auto root =
        ParseMarkup(R"x(<XWindow Name="plain" PaintDelay="100"><Probe Name="p"/></XWindow>)x");
    page.reset(XScrMan::Instance().OpenPageMem(root.release(), nullptr, nullptr));
    auto* plain = dynamic_cast<XWindow*>(page.get());
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->GetNativeWindow(), nullptr);
    plain->RegPaint(CRect(0, 0, 10, 10));
    EXPECT_FALSE(plain->TimerRunning(XWindow::TIMER_PAINT));
    EXPECT_EQ(plain->RegTimer(page->GetObjByNameDown(L"p"), 10, 1), 0);
    EXPECT_EQ(plain->ObjectTimerCount(), 0u);
    EXPECT_FALSE(plain->MoveWindow(0, 0, 10, 10));
    EXPECT_FALSE(plain->OffsetWindow(0, 0, 1, 1));
    EXPECT_FALSE(plain->LockWindowUpdate());
    CPoint cursor;
    EXPECT_FALSE(plain->GetLogCursorPos(&cursor));
}

} // namespace
} // namespace orvo::test

namespace orvo::test {
namespace {

TEST_F(XWindowTest, AHiddenObjectParksTheWindowsInsideItUntilShown) {
    OpenWindow(
        R"x(<Cell Name="box" Rect="0,0,100,100"><Window Name="inner" Rect="5,5,20,20"/></Cell>
                   <Cell Name="bare" Rect="0,0,9,9"/>
                   <Cell Name="late" Rect="100,0,50,50" flag="Hide">
                     <Window Name="held" Rect="5,5,20,20"/>
                   </Cell>
                   <Probe Name="after" Rect="0,60,9,9"/>)x");
    auto windowOf = [this](const wchar_t* name) {
        return dynamic_cast<XWindow*>(UI(name))->GetNativeWindow();
    };
    XUI* late = UI(L"late");
    ASSERT_TRUE(late->parent() && late->parent() != Win()) << "hidden at creation: parked";
    auto* park = dynamic_cast<XWindow*>(late->parent());
    ASSERT_TRUE(park && park->GetNativeWindow());
    EXPECT_EQ(windowOf(L"held")->Parent(), park->GetNativeWindow());
    EXPECT_FALSE(windowOf(L"held")->IsVisible());
    EXPECT_GE(UI(L"after")->GetCreateState(), 2) << "the objects after a parked one are created";

    XUI* box = UI(L"box");
    plat::Window* inner = windowOf(L"inner");
    ASSERT_EQ(inner->Parent(), Native());
    EXPECT_TRUE(inner->IsVisible());
    box->SetShow(false);
    ASSERT_NE(box->parent(), Win());
    EXPECT_EQ(inner->Parent(), dynamic_cast<XWindow*>(box->parent())->GetNativeWindow());
    EXPECT_FALSE(inner->IsVisible());
    EXPECT_EQ(box->next(), nullptr);
    box->SetShow(true);
    EXPECT_EQ(box->parent(), Win());
    EXPECT_EQ(box->next(), UI(L"bare")) << "back in its place";
    EXPECT_EQ(inner->Parent(), Native());
    EXPECT_TRUE(inner->IsVisible());

    UI(L"bare")->SetShow(false);
    EXPECT_EQ(UI(L"bare")->parent(), Win()) << "nothing to park";
    late->SetShow(true);
    EXPECT_EQ(late->parent(), Win());
    EXPECT_EQ(windowOf(L"held")->Parent(), Native());
}

TEST_F(XWindowTest, AParkedObjectShownAfterTheHostResizedTakesTheNewLayout) {
    OpenWindow(R"x(<Cell Name="box" Rect="0,0,50%,50%">
                     <Window Name="inner" Rect="10,10,50%,50%"><Cell Name="fill"/></Window>
                   </Cell>)x");
    XUI* box = UI(L"box");
    auto* inner = dynamic_cast<XWindow*>(UI(L"inner"));
    ASSERT_EQ(inner->GetNativeWindow()->GetWindowRect(), CRect(10, 10, 60, 35));
    box->SetShow(false);
    ASSERT_NE(box->parent(), Win());
    Native()->Move(CRect(100, 100, 500, 300));
    Pump(2);
    ASSERT_EQ(Win()->GetInner().rect, CRect(0, 0, 400, 200));
    box->SetShow(true);
    Pump(2);
    EXPECT_EQ(static_cast<const CRect&>(*box), CRect(0, 0, 200, 100));
    EXPECT_EQ(inner->GetNativeWindow()->GetWindowRect(), CRect(10, 10, 110, 60));
    EXPECT_EQ(static_cast<const CRect&>(*UI(L"fill")), CRect(0, 0, 100, 50))
        << "the inner window lays out its own objects in its new size";
}

} // namespace
} // namespace orvo::test

namespace orvo::test {
namespace {

TEST_F(XWindowTest, AWindowHandlerPlacesTheWindowItsModuleMakes) {
    OpenWindow(R"x(<WindowHandler Name="made" Rect="10,20,50,30" Margin="2,3,4,5"
                                  Window="OrvoTestWindowMaker.dll, MakeChildWindow"/>
                   <WindowHandler Name="nomodule" Window="NoSuchModule.dll, MakeChildWindow"/>
                   <WindowHandler Name="nofunction" Window="OrvoTestWindowMaker.dll, NoSuch"/>)x");
    auto* made = dynamic_cast<XWindowHandler*>(UI(L"made"));
    ASSERT_TRUE(made);
    plat::Window* window = made->GetMadeWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->Parent(), Native());
    EXPECT_EQ(window->GetWindowRect(), made->GetInner().rect);
    EXPECT_NE(made->GetInner().rect, static_cast<const CRect&>(*made)) << "the margins count";
    EXPECT_EQ(dynamic_cast<XWindowHandler*>(UI(L"nomodule"))->GetMadeWindow(), nullptr);
    EXPECT_EQ(dynamic_cast<XWindowHandler*>(UI(L"nofunction"))->GetMadeWindow(), nullptr);
}

TEST_F(XWindowTest, WithoutAFunctionTheAttachedMakerMakesTheWindow) {
    struct ChildMaker : WindowMaker {
        plat::Window* MakeWindow(XWindowHandler& object, plat::Window& host) override {
            asked.push_back(&object);
            made = std::make_unique<plat::Window>(plat::WindowKind::Child, &host);
            return made.get();
        }
        std::vector<XWindowHandler*> asked;
        std::unique_ptr<plat::Window> made;
    };
    OpenWindow(R"x(<WindowHandler Name="bare" Rect="10,20,50,30"/>
                   <WindowHandler Name="modonly" Rect="0,0,5,5" Window="OrvoTestWindowMaker.dll"/>)x");
    auto* bare = dynamic_cast<XWindowHandler*>(UI(L"bare"));
    auto* moduleOnly = dynamic_cast<XWindowHandler*>(UI(L"modonly"));
    ASSERT_TRUE(bare && moduleOnly);
    EXPECT_EQ(bare->GetMadeWindow(), nullptr);

    auto maker = std::make_shared<ChildMaker>();
    bare->AttachMaker(maker);
    ASSERT_EQ(maker->asked, std::vector<XWindowHandler*>{bare}) << "a created object asks at once";
    EXPECT_EQ(bare->GetMadeWindow(), maker->made.get());
    EXPECT_EQ(maker->made->Parent(), Native());
    EXPECT_EQ(maker->made->GetWindowRect(), bare->GetInner().rect);
    bare->AttachMaker(maker);
    EXPECT_EQ(maker->asked.size(), 1u) << "an object with a window keeps it";

    auto second = std::make_shared<ChildMaker>();
    moduleOnly->AttachMaker(second);
    EXPECT_EQ(moduleOnly->GetMadeWindow(), second->made.get()) << "a module without a function";
    second->made.reset();
    EXPECT_EQ(moduleOnly->GetMadeWindow(), nullptr) << "a window its maker destroyed is gone";
}

TEST_F(XWindowTest, AProxyWindowOffersItsMessagesToTheParentsHost) {
    OpenWindow(R"x(<ProxyWindow Name="proxy" Rect="40,30,50,40"/>)x");
    auto* proxy = dynamic_cast<XWindow*>(UI(L"proxy"));
    ASSERT_TRUE(proxy && proxy->GetNativeWindow());
    MSG msg;
    msg.hwnd = proxy->GetNativeWindow();
    msg.message = WM_LBUTTONDOWN;
    msg.wParam = 1;
    msg.pt = CPoint(5, 6);
    EXPECT_EQ(proxy->OnPreTranslateMsg(&msg), 0);
    ASSERT_EQ(Win()->pretranslated.size(), 1u);
    const MSG& seen = Win()->pretranslated.front();
    EXPECT_EQ(seen.hwnd, Native());
    EXPECT_EQ(seen.message, WM_LBUTTONDOWN);
    EXPECT_EQ(seen.wParam, 1u);
    EXPECT_EQ(seen.pt, CPoint(45, 36)) << "in the parent window's client coordinates";
    EXPECT_EQ(msg.hwnd, proxy->GetNativeWindow()) << "the original message is left alone";

    Win()->pretranslated.clear();
    EXPECT_EQ(Win()->OnPreTranslateMsg(&msg), 0);
    EXPECT_EQ(Win()->pretranslated.size(), 1u);
}

} // namespace
} // namespace orvo::test
