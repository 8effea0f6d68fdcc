#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

#include "gui/pump.h"
#include "platform/base/key_state.h"
#include "platform/gui/dc.h"
#include "platform/gui/gui_application.h"
#include "platform/gui/virtual_key.h"
#include "platform/gui/window.h"
#include "support/temp_dir.h"

using plat::CursorShape;
using plat::MouseAction;
using plat::Window;
using plat::WindowKind;

namespace {

// Records what reaches it; paints a blue rectangle when asked to.
struct Recorder : plat::WindowHandler {
    std::vector<plat::MouseEvent> mice;
    std::vector<plat::KeyEvent> keys;
    std::vector<CSize> sizes;
    std::vector<CRect> paints;
    std::vector<CRect> clipBoxes;
    std::vector<int> timers;
    std::vector<unsigned> messages;
    int closes = 0;
    bool keepOpen = false;
    bool handleKeys = true;
    CRect blueRect;

    bool OnMouse(Window&, const plat::MouseEvent& event) override {
        mice.push_back(event);
        return true;
    }
    bool OnKey(Window&, const plat::KeyEvent& event) override {
        keys.push_back(event);
        return handleKeys;
    }
    bool OnSize(Window&, CSize size) override {
        sizes.push_back(size);
        return true;
    }
    bool OnPaint(Window&, CDC& dc, const CRect& invalid) override {
        paints.push_back(invalid);
        CRect clip;
        dc.GetClipBox(&clip);
        clipBoxes.push_back(clip);
        if (!blueRect.IsRectEmpty())
            dc.FillSolidRect(blueRect, RGB(0, 0, 255));
        return true;
    }
    bool OnClose(Window&) override {
        ++closes;
        return keepOpen;
    }
    bool OnTimer(Window&, int id) override {
        timers.push_back(id);
        return true;
    }
    bool OnMessage(Window&,
                   unsigned message,
                   std::uintptr_t wParam,
                   std::intptr_t lParam,
                   std::intptr_t& result) override {
        messages.push_back(message);
        result = static_cast<std::intptr_t>(wParam) + lParam;
        return true;
    }
};

void SendMouse(Window& window,
               QEvent::Type type,
               QPoint at,
               Qt::MouseButton button,
               Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(at), QPointF(at), button, buttons, modifiers);
    QApplication::sendEvent(window.NativeWidget(), &event);
}

void SendKey(Window& window, QEvent::Type type, int key, const QString& text = {}) {
    QKeyEvent event(type, key, Qt::NoModifier, text);
    QApplication::sendEvent(window.NativeWidget(), &event);
}

QRgb Rgb(COLORREF colour) {
    return qRgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

} // namespace

TEST(Window, MovesAndResizesWithinClampedBounds) {
    Recorder recorder;
    Window window(WindowKind::TopLevel);
    window.SetHandler(&recorder);
    window.Move(CRect(10, 20, 110, 70));
    window.Show();
    EXPECT_EQ(window.GetWindowRect(), CRect(10, 20, 110, 70));
    EXPECT_EQ(window.GetClientRect(), CRect(0, 0, 100, 50));
    ASSERT_FALSE(recorder.sizes.empty());
    EXPECT_EQ(recorder.sizes.back(), CSize(100, 50));

    window.Move(CRect(200, 150, 40, 30)); // reversed corners
    EXPECT_EQ(window.GetWindowRect(), CRect(40, 30, 200, 150));
    EXPECT_EQ(recorder.sizes.back(), CSize(160, 120));

    window.Hide(); // a shown window this large would get a backing store of 4 GB
    window.Move(CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    const CRect huge = window.GetClientRect();
    EXPECT_EQ(huge.Width(), Window::kMaxSide);
    EXPECT_EQ(huge.Height(), Window::kMaxSide);
    EXPECT_TRUE(window.RenderImage().isNull()); // beyond any bitmap
}

TEST(Window, ShowsWithoutActivatingUnlessAsked) {
    Window main(WindowKind::TopLevel);
    Window popup(WindowKind::Popup);
    Window tool(WindowKind::TopLevel);
    EXPECT_FALSE(main.IsVisible());
    main.Show(true);
    Pump();
    EXPECT_EQ(QApplication::activeWindow(), main.NativeWidget());
    popup.Show();
    Pump();
    EXPECT_TRUE(popup.IsVisible());
    EXPECT_EQ(QApplication::activeWindow(), main.NativeWidget());
    EXPECT_TRUE(popup.NativeWidget()->windowFlags().testFlag(Qt::FramelessWindowHint));
    // The offscreen platform activates every top-level window it shows; a window manager
    // honours the request, which is all a test without one can see.
    tool.Show();
    EXPECT_TRUE(tool.NativeWidget()->testAttribute(Qt::WA_ShowWithoutActivating));
    main.Hide();
    EXPECT_FALSE(main.IsVisible());
}

TEST(Window, PaintsTheInvalidRectangleClippedToIt) {
    Recorder recorder;
    Window window(WindowKind::TopLevel);
    window.SetHandler(&recorder);
    window.Move(CRect(0, 0, 120, 80));
    window.Show();
    Pump();
    recorder.paints.clear();
    recorder.clipBoxes.clear();

    const CRect dirty(10, 20, 50, 40);
    window.Invalidate(&dirty);
    window.UpdateWindow();
    ASSERT_EQ(recorder.paints.size(), 1u);
    EXPECT_EQ(recorder.paints[0], dirty);
    EXPECT_EQ(recorder.clipBoxes[0], dirty);

    // Nothing invalid, nothing painted; a rectangle outside the client area is dropped.
    window.UpdateWindow();
    const CRect outside(500, 500, 600, 600);
    window.Invalidate(&outside);
    window.UpdateWindow();
    EXPECT_EQ(recorder.paints.size(), 1u);
    // One spanning the whole int range is the client area.
    const CRect everything(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    window.Invalidate(&everything);
    window.UpdateWindow();
    ASSERT_EQ(recorder.paints.size(), 2u);
    EXPECT_EQ(recorder.paints[1], window.GetClientRect());

    // Through the loop, the whole client area when no rectangle is given.
    window.Invalidate();
    ASSERT_TRUE(PumpUntil([&] { return recorder.paints.size() > 2; }));
    EXPECT_EQ(recorder.paints.back(), window.GetClientRect());
}

TEST(Window, RendersItsContentAndShownChildrenOffscreen) {
    Recorder parentPainter;
    parentPainter.blueRect = CRect(10, 10, 30, 20);
    Recorder childPainter;
    childPainter.blueRect = CRect(0, 0, 5, 5);
    Window parent(WindowKind::TopLevel);
    parent.SetHandler(&parentPainter);
    parent.SetBackgroundColour(RGB(0, 255, 0));
    parent.Move(CRect(0, 0, 100, 60));
    Window child(WindowKind::Child, &parent);
    child.SetHandler(&childPainter);
    child.SetBackgroundColour(RGB(255, 0, 0));
    child.Move(CRect(60, 30, 80, 50));
    child.Show();

    const QImage image = parent.RenderImage();
    ASSERT_EQ(image.size(), QSize(100, 60));
    EXPECT_EQ(image.pixel(0, 0), Rgb(RGB(0, 255, 0)));
    EXPECT_EQ(image.pixel(10, 10), Rgb(RGB(0, 0, 255)));
    EXPECT_EQ(image.pixel(29, 19), Rgb(RGB(0, 0, 255)));
    EXPECT_EQ(image.pixel(30, 19), Rgb(RGB(0, 255, 0))); // right edge excluded
    EXPECT_EQ(image.pixel(60, 30), Rgb(RGB(0, 0, 255))); // the child's own drawing
    EXPECT_EQ(image.pixel(79, 49), Rgb(RGB(255, 0, 0)));
    EXPECT_EQ(image.pixel(80, 50), Rgb(RGB(0, 255, 0)));

    child.Hide();
    EXPECT_EQ(parent.RenderImage().pixel(79, 49), Rgb(RGB(0, 255, 0)));
}

TEST(Window, MouseEventsCarryClientPointButtonsAndKeyState) {
    plat::ResetKeyState();
    Recorder recorder;
    Window window(WindowKind::TopLevel);
    window.SetHandler(&recorder);
    window.Move(CRect(0, 0, 100, 100));

    SendMouse(window,
              QEvent::MouseButtonPress,
              {12, 34},
              Qt::LeftButton,
              Qt::LeftButton,
              Qt::ShiftModifier);
    ASSERT_EQ(recorder.mice.size(), 1u);
    EXPECT_EQ(recorder.mice[0].action, MouseAction::ButtonDown);
    EXPECT_EQ(recorder.mice[0].button, plat::VK_LBUTTON);
    EXPECT_EQ(recorder.mice[0].point, CPoint(12, 34));
    EXPECT_EQ(recorder.mice[0].keys, unsigned(plat::MK_LBUTTON | plat::MK_SHIFT));
    EXPECT_LT(plat::GetKeyState(plat::VK_LBUTTON), 0);

    SendMouse(window, QEvent::MouseMove, {13, 35}, Qt::NoButton, Qt::LeftButton);
    SendMouse(window, QEvent::MouseButtonRelease, {14, 36}, Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(recorder.mice.size(), 3u);
    EXPECT_EQ(recorder.mice[1].action, MouseAction::Move);
    EXPECT_EQ(recorder.mice[1].button, 0);
    EXPECT_EQ(recorder.mice[2].action, MouseAction::ButtonUp);
    EXPECT_EQ(recorder.mice[2].keys, 0u);
    EXPECT_GE(plat::GetKeyState(plat::VK_LBUTTON), 0);
}

TEST(Window, KeysReachTheHandlerUpdateKeyStateAndBubbleWhenUnhandled) {
    plat::ResetKeyState();
    Recorder parentRecorder;
    Recorder childRecorder;
    childRecorder.handleKeys = false;
    Window parent(WindowKind::TopLevel);
    parent.SetHandler(&parentRecorder);
    Window child(WindowKind::Child, &parent);
    child.SetHandler(&childRecorder);

    SendKey(child, QEvent::KeyPress, Qt::Key_A, QStringLiteral("a"));
    ASSERT_EQ(childRecorder.keys.size(), 1u);
    EXPECT_EQ(childRecorder.keys[0].virtualKey, 'A');
    EXPECT_EQ(childRecorder.keys[0].text, L"a");
    EXPECT_TRUE(childRecorder.keys[0].down);
    ASSERT_EQ(parentRecorder.keys.size(), 1u); // the child left it
    EXPECT_LT(plat::GetKeyState('A'), 0);
    EXPECT_EQ(plat::GetKeyState('A') & 1, 1);

    SendKey(child, QEvent::KeyRelease, Qt::Key_A);
    EXPECT_GE(plat::GetKeyState('A'), 0);
    EXPECT_EQ(plat::GetKeyState('A') & 1, 1); // toggled until the next press
    SendKey(child, QEvent::KeyPress, Qt::Key_A);
    SendKey(child, QEvent::KeyRelease, Qt::Key_A);
    EXPECT_EQ(plat::GetKeyState('A'), 0);

    childRecorder.handleKeys = true;
    SendKey(child, QEvent::KeyPress, Qt::Key_F5);
    EXPECT_EQ(childRecorder.keys.back().virtualKey, plat::VK_F1 + 4);
    EXPECT_EQ(parentRecorder.keys.size(), 4u); // four A events came up; F5 stopped at the child

    EXPECT_EQ(plat::GetKeyState(-1), 0);
    EXPECT_EQ(plat::GetKeyState(1000), 0);

    // Tab is the handler's before Qt's focus chain, and reaches it once either way; Shift+Tab
    // is Tab with Shift down.
    const std::size_t before = childRecorder.keys.size();
    SendKey(child, QEvent::KeyPress, Qt::Key_Tab);
    EXPECT_EQ(childRecorder.keys.size(), before + 1);
    EXPECT_EQ(childRecorder.keys.back().virtualKey, plat::VK_TAB);
    childRecorder.handleKeys = false;
    QKeyEvent backTab(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier);
    QApplication::sendEvent(child.NativeWidget(), &backTab);
    EXPECT_EQ(childRecorder.keys.size(), before + 2) << "an unhandled Tab is not told twice";
    EXPECT_EQ(childRecorder.keys.back().virtualKey, plat::VK_TAB);
    EXPECT_LT(plat::GetKeyState(plat::VK_SHIFT), 0);
    SendKey(child, QEvent::KeyRelease, Qt::Key_Tab);
    EXPECT_GE(plat::GetKeyState(plat::VK_SHIFT), 0);
}

TEST(Window, TimersTickByIdUntilKilled) {
    struct SelfKilling : Recorder {
        bool OnTimer(Window& window, int id) override {
            Recorder::OnTimer(window, id);
            if (id == 2 && std::count(timers.begin(), timers.end(), 2) == 2)
                window.KillTimer(2);
            return true;
        }
    } recorder;
    Window window(WindowKind::TopLevel);
    window.SetHandler(&recorder);
    EXPECT_TRUE(window.SetTimer(1, 0));
    EXPECT_TRUE(window.SetTimer(2, 0));
    ASSERT_TRUE(PumpUntil(
        [&] { return std::count(recorder.timers.begin(), recorder.timers.end(), 1) >= 5; }));
    EXPECT_EQ(std::count(recorder.timers.begin(), recorder.timers.end(), 2), 2);
    EXPECT_FALSE(window.KillTimer(2));
    EXPECT_FALSE(window.KillTimer(99));
    EXPECT_TRUE(window.KillTimer(1));
    const std::size_t ticks = recorder.timers.size();
    Pump();
    EXPECT_EQ(recorder.timers.size(), ticks);
}

TEST(Window, SentMessagesAnswerAtOncePostedOnesOnALaterPass) {
    Recorder recorder;
    Window window(WindowKind::TopLevel);
    EXPECT_EQ(window.SendMessage(0x400, 1, 2), 0); // no handler: 0
    window.SetHandler(&recorder);
    EXPECT_EQ(window.SendMessage(0x400, 40, 2), 42);
    EXPECT_TRUE(window.PostMessage(0x401, 0, 0));
    EXPECT_TRUE(window.PostMessage(0x402, 0, 0));
    EXPECT_EQ(recorder.messages, (std::vector<unsigned>{0x400}));
    Pump();
    EXPECT_EQ(recorder.messages, (std::vector<unsigned>{0x400, 0x401, 0x402}));

    // Posted to a window that dies before delivery: dropped.
    auto doomed = std::make_unique<Window>(WindowKind::TopLevel);
    doomed->SetHandler(&recorder);
    doomed->PostMessage(0x403, 0, 0);
    doomed.reset();
    Pump();
    EXPECT_EQ(recorder.messages.size(), 3u);
}

TEST(Window, MapsPointsToTheScreenAndFindsTheWindowUnderOne) {
    Window parent(WindowKind::TopLevel);
    parent.Move(CRect(100, 50, 300, 250));
    Window child(WindowKind::Child, &parent);
    child.Move(CRect(20, 30, 80, 90));
    parent.Show();
    child.Show();
    Pump();
    const CPoint origin = parent.ClientToScreen(CPoint());
    EXPECT_EQ(child.ClientToScreen(CPoint(1, 2)), CPoint(origin.x + 21, origin.y + 32));
    EXPECT_EQ(child.ScreenToClient(CPoint(origin.x + 21, origin.y + 32)), CPoint(1, 2));
    EXPECT_EQ(Window::FromScreenPoint(CPoint(origin.x + 25, origin.y + 35)), &child);
    EXPECT_EQ(Window::FromScreenPoint(CPoint(origin.x + 5, origin.y + 5)), &parent);
    EXPECT_EQ(Window::FromScreenPoint(CPoint(origin.x - 5, origin.y)), nullptr);
    QCursor::setPos(origin.x + 7, origin.y + 9);
    EXPECT_EQ(Window::CursorPos(), CPoint(origin.x + 7, origin.y + 9));

    EXPECT_FALSE(parent.IsTopmost());
    parent.SetTopmost(true);
    EXPECT_TRUE(parent.IsTopmost());
    EXPECT_TRUE(parent.IsVisible()) << "changing the band shows the window again";
    child.SetTopmost(true);
    EXPECT_FALSE(child.IsTopmost()) << "only top-level windows";
}

TEST(Window, AChildMovesToAnotherParentKeepingItsPlaceAndVisibility) {
    Window first(WindowKind::TopLevel);
    Window second(WindowKind::TopLevel);
    first.Show();
    second.Show();
    Window child(WindowKind::Child, &first);
    child.Move(CRect(3, 4, 23, 34));
    child.Show();
    Window hidden(WindowKind::Child, &first);
    hidden.Hide();
    EXPECT_EQ(child.Parent(), &first);
    EXPECT_EQ(first.Parent(), nullptr);
    EXPECT_TRUE(child.SetParent(&second));
    EXPECT_EQ(child.Parent(), &second);
    EXPECT_EQ(child.GetWindowRect(), CRect(3, 4, 23, 34));
    EXPECT_TRUE(child.IsVisible());
    EXPECT_TRUE(hidden.SetParent(&second));
    EXPECT_FALSE(hidden.IsVisible());
    EXPECT_FALSE(first.SetParent(&second)) << "only children change parent";
    EXPECT_FALSE(child.SetParent(&child));
    EXPECT_EQ(child.Root(), &second);
}

TEST(Window, CaptureFocusAndCursor) {
    Window window(WindowKind::TopLevel);
    window.Move(CRect(0, 0, 50, 50));
    {
        Window other(WindowKind::TopLevel);
        EXPECT_EQ(Window::GetCapture(), nullptr);
        other.SetCapture();
        EXPECT_EQ(Window::GetCapture(), &other);
    }
    EXPECT_EQ(Window::GetCapture(), nullptr); // the captor died
    window.Show();
    window.SetCapture();
    EXPECT_EQ(Window::GetCapture(), &window);
    Window::ReleaseCapture();
    EXPECT_EQ(Window::GetCapture(), nullptr);

    window.Show(true);
    window.SetFocus();
    Pump();
    EXPECT_TRUE(window.HasFocus());

    window.SetCursor(CursorShape::IBeam);
    EXPECT_EQ(window.GetCursor(), CursorShape::IBeam);
    EXPECT_EQ(window.NativeWidget()->cursor().shape(), Qt::IBeamCursor);
    window.SetCursor(CursorShape::SizeWE);
    EXPECT_EQ(window.NativeWidget()->cursor().shape(), Qt::SizeHorCursor);
}

TEST(Window, CloseHidesUnlessTheHandlerKeepsItOpen) {
    Recorder recorder;
    Window window(WindowKind::TopLevel);
    window.SetHandler(&recorder);
    window.Show();
    recorder.keepOpen = true;
    window.NativeWidget()->close();
    EXPECT_EQ(recorder.closes, 1);
    EXPECT_TRUE(window.IsVisible());
    recorder.keepOpen = false;
    window.NativeWidget()->close();
    EXPECT_EQ(recorder.closes, 2);
    EXPECT_FALSE(window.IsVisible());
}

TEST(Window, DeadWindowsAnswerEmptyAndIgnoreCommands) {
    auto parent = std::make_unique<Window>(WindowKind::TopLevel);
    Window child(WindowKind::Child, parent.get());
    const plat::WindowRef parentRef = parent->Ref();
    EXPECT_EQ(parentRef.Get(), parent.get());
    EXPECT_TRUE(child.IsAlive());
    parent.reset(); // takes the child's widget with it
    EXPECT_EQ(parentRef.Get(), nullptr);
    EXPECT_FALSE(child.IsAlive());
    child.Show();
    child.Move(CRect(0, 0, 10, 10));
    child.Invalidate();
    child.UpdateWindow();
    child.SetFocus();
    child.SetCapture();
    EXPECT_FALSE(child.IsVisible());
    EXPECT_EQ(child.GetWindowRect(), CRect());
    EXPECT_TRUE(child.RenderImage().isNull());
    EXPECT_FALSE(child.SetTimer(1, 10));
    EXPECT_FALSE(child.PostMessage(0x400, 0, 0));
    EXPECT_EQ(Window::GetCapture(), nullptr);

    Window orphan(WindowKind::Child, nullptr); // no parent: a top-level window
    EXPECT_EQ(orphan.Kind(), WindowKind::TopLevel);
    EXPECT_TRUE(orphan.NativeWidget()->isWindow());
}

TEST(Window, AHandlerMayDestroyItsWindowOrTheParent) {
    struct Destroyer : plat::WindowHandler {
        std::unique_ptr<Window>* victim = nullptr;
        bool OnMouse(Window&, const plat::MouseEvent&) override {
            victim->reset();
            return true;
        }
    };
    auto parent = std::make_unique<Window>(WindowKind::TopLevel);
    auto child = std::make_unique<Window>(WindowKind::Child, parent.get());
    Destroyer destroyer;
    destroyer.victim = &parent;
    child->SetHandler(&destroyer);
    SendMouse(*child, QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(parent, nullptr);
    Pump(); // the widgets go now
    EXPECT_FALSE(child->IsAlive());

    auto self = std::make_unique<Window>(WindowKind::TopLevel);
    destroyer.victim = &self;
    self->SetHandler(&destroyer);
    QWidget* widget = self->NativeWidget();
    SendMouse(*self, QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(self, nullptr);
    EXPECT_FALSE(widget->isVisible());
    Pump();
}

namespace {

TEST(Window, TheApplicationIconComesFromAnImageFile) {
    const TempDir dir;
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(QString::fromStdWString(dir.Wide() + L"/icon.png")));
    EXPECT_FALSE(plat::GuiApplication::SetIcon(dir.Write("text.ico", "not an icon")));
    EXPECT_FALSE(plat::GuiApplication::SetIcon(dir.Wide() + L"/missing.ico"));
    ASSERT_TRUE(plat::GuiApplication::SetIcon(dir.Wide() + L"/icon.png"));
    const QImage shown = QApplication::windowIcon().pixmap(16, 16).toImage();
    EXPECT_EQ(shown.pixelColor(8, 8), QColor(Qt::red));
    QApplication::setWindowIcon(QIcon());
}

} // namespace
