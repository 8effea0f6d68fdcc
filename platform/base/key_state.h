#pragma once
// GetKeyState for the UI thread: which keys and mouse buttons are down and which toggle keys
// are on, as the window events seen so far tell it (Qt offers no query of the keyboard).
namespace plat {

// The high bit (0x8000, so the value is negative) while the key is down; bit 0 toggles at
// each press, as Caps Lock's light does. 0 for a key never seen or a code outside 0..255.
short GetKeyState(int virtualKey);

// Fed by the windows' key and mouse events; codes outside 0..255 are ignored.
void NoteKeyDown(int virtualKey);
void NoteKeyUp(int virtualKey);
// Every key up and every toggle off, as at start-up.
void ResetKeyState();

} // namespace plat
