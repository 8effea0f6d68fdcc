#include "shell/input_player.h"

#include "core/xdo.h"
#include "platform/base/format.h"
#include "platform/gui/gui_application.h"
#include "platform/gui/input_simulation.h"
#include "platform/gui/test_clock.h"
#include "platform/gui/virtual_key.h"
#include "ui/xwindow.h"

namespace orvo {

namespace {

// Where a user would point at an object: the centre of what it shows, in the client
// coordinates of the window it is painted in.
struct Spot {
    plat::Window* window = nullptr;
    CPoint point;
};

bool Locate(XDO* object, Spot& spot, std::wstring& reason, const std::wstring& address) {
    auto* ui = dynamic_cast<XUI*>(object);
    auto* host = ui ? dynamic_cast<XWindow*>(ui->GetXDO(XDO_STYLE_WINDOWHOST, 0)) : nullptr;
    spot.window = host ? host->GetNativeWindow() : nullptr;
    if (!spot.window || !spot.window->IsVisible() || !ui->IsShow()) {
        reason = plat::Format(L"\"%s\" is not a visual object shown in a window", address);
        return false;
    }
    // A window host is pointed at in its own window; others at their place in the host's.
    const CRect rect = ui == host ? spot.window->GetClientRect() : static_cast<CRect>(*ui);
    spot.point = rect.CenterPoint();
    if (ui != host)
        spot.point.x -= host->GetLogX();
    return true;
}

void Click(const Spot& at, int button, bool twice) {
    using plat::MouseAction;
    plat::SimulateMouse(*at.window, MouseAction::Move, 0, at.point);
    plat::SimulateMouse(*at.window, MouseAction::ButtonDown, button, at.point);
    plat::SimulateMouse(*at.window, MouseAction::ButtonUp, button, at.point);
    if (twice) {
        plat::SimulateMouse(*at.window, MouseAction::DoubleClick, button, at.point);
        plat::SimulateMouse(*at.window, MouseAction::ButtonUp, button, at.point);
    }
}

// Press on `from`, move there in steps past the drag threshold, release over `to`: the
// window pressed in gets every event, as it holds the mouse.
void Drag(const Spot& from, const Spot& to) {
    using plat::MouseAction;
    plat::Window& pressed = *from.window;
    const CPoint end = pressed.ScreenToClient(to.window->ClientToScreen(to.point));
    plat::SimulateMouse(pressed, MouseAction::Move, 0, from.point);
    plat::SimulateMouse(pressed, MouseAction::ButtonDown, plat::VK_LBUTTON, from.point);
    constexpr int kSteps = 8;
    for (int i = 1; i <= kSteps; ++i) {
        const CPoint p(from.point.x + (end.x - from.point.x) * i / kSteps,
                       from.point.y + (end.y - from.point.y) * i / kSteps);
        plat::SimulateMouse(pressed, MouseAction::Move, 0, p, plat::MK_LBUTTON);
        plat::GuiApplication::ProcessPending();
    }
    plat::SimulateMouse(pressed, MouseAction::ButtonUp, plat::VK_LBUTTON, end);
}

} // namespace

bool InputPlayer::Run(const std::vector<InputStep>& steps, std::wstring& error) {
    for (const InputStep& step : steps) {
        std::wstring reason;
        if (!RunStep(step, reason)) {
            error = plat::Format(L"line %d: %s", step.line, reason);
            return false;
        }
        plat::GuiApplication::ProcessPending();
    }
    return true;
}

bool InputPlayer::RunStep(const InputStep& step, std::wstring& reason) {
    using Kind = InputStep::Kind;
    auto locate = [&](const std::wstring& address, Spot& spot) {
        XDO* object = m_find(address);
        if (!object) {
            reason = plat::Format(L"no object \"%s\"", address);
            return false;
        }
        return Locate(object, spot, reason, address);
    };
    Spot spot, drop;
    switch (step.kind) {
    case Kind::Click:
    case Kind::DoubleClick:
    case Kind::RightClick:
        if (!locate(step.target, spot))
            return false;
        Click(spot,
              step.kind == Kind::RightClick ? plat::VK_RBUTTON : plat::VK_LBUTTON,
              step.kind == Kind::DoubleClick);
        return true;
    case Kind::Hover:
        if (!locate(step.target, spot))
            return false;
        plat::SimulateMouse(*spot.window, plat::MouseAction::Move, 0, spot.point);
        return true;
    case Kind::Drag:
        if (!locate(step.target, spot) || !locate(step.dropOn, drop))
            return false;
        Drag(spot, drop);
        return true;
    case Kind::Type:
        if (!plat::SimulateTyping(step.target)) {
            reason = L"no window has the keyboard focus to type into";
            return false;
        }
        return true;
    case Kind::Key:
        if (!plat::SimulateKeyPress(step.value, step.shift)) {
            reason = L"no window has the keyboard focus for the key";
            return false;
        }
        return true;
    case Kind::Wait:
        // On the test clock the wait takes no time and ticks the same timers on any machine.
        if (plat::TestClock::Running())
            plat::TestClock::Advance(step.value);
        else
            plat::ProcessFor(step.value);
        return true;
    case Kind::Expect:
        if (!m_messages(step.target)) {
            reason = plat::Format(L"no message containing \"%s\" was shown", step.target);
            return false;
        }
        return true;
    }
    return true;
}

} // namespace orvo
