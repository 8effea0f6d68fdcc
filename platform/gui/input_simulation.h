#pragma once
// Input as a user gives it, delivered to windows the way Qt delivers real input, for replaying
// scripted input against live screens.
#include <string_view>

#include "platform/base/geometry.h"
#include "platform/gui/window.h"
#include "platform/gui/window_events.h"

namespace plat {

// A press, release or double click of `button` (VK_LBUTTON or VK_RBUTTON), or a move holding
// the MK_* buttons `held`, at a client point of `window`. The cursor goes there first, as
// hover tracking reads it.
void SimulateMouse(
    Window& window, MouseAction action, int button, CPoint client, unsigned held = 0);
// Presses and releases the key in the focused window, with Shift held when asked; false when
// no window has the focus or the key has no Qt equivalent.
bool SimulateKeyPress(int virtualKey, bool shift = false);
// Types `text` into the focused window: characters a keyboard types as key presses, others
// (Korean) as text the input method commits. False when no window has the focus.
bool SimulateTyping(std::wstring_view text);
// Runs the loop for `ms` milliseconds.
void ProcessFor(int ms);

} // namespace plat
