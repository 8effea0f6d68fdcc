#include "platform/base/key_state.h"

#include <array>

namespace plat {

namespace {

constexpr unsigned char kDown = 0x80;
constexpr unsigned char kToggled = 0x01;

// One thread reads and writes it: the UI thread, which delivers every event.
std::array<unsigned char, 256>& Keys() {
    static std::array<unsigned char, 256> keys{};
    return keys;
}

bool InRange(int virtualKey) {
    return virtualKey >= 0 && virtualKey < 256;
}

} // namespace

short GetKeyState(int virtualKey) {
    if (!InRange(virtualKey))
        return 0;
    const unsigned char state = Keys()[static_cast<unsigned>(virtualKey)];
    return static_cast<short>(((state & kDown) ? 0x8000 : 0) | (state & kToggled));
}

void NoteKeyDown(int virtualKey) {
    if (!InRange(virtualKey))
        return;
    unsigned char& state = Keys()[static_cast<unsigned>(virtualKey)];
    // An auto-repeated press does not toggle again.
    if (!(state & kDown))
        state = static_cast<unsigned char>(kDown | ((state & kToggled) ^ kToggled));
}

void NoteKeyUp(int virtualKey) {
    if (InRange(virtualKey))
        Keys()[static_cast<unsigned>(virtualKey)] &= static_cast<unsigned char>(~kDown);
}

void ResetKeyState() {
    Keys().fill(0);
}

} // namespace plat
