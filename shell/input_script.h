#pragma once
// Input scripts: user input written down line by line, for screen authors to drive their
// screens in tests (`kestrel --input FILE`). One step per line, "#" starts a comment:
//
//   click ADDRESS        dblclick ADDRESS        rclick ADDRESS        hover ADDRESS
//   drag ADDRESS ADDRESS     press on the first object, move, release on the second
//   type TEXT                the rest of the line, typed into the focused window
//   key NAME                 a key by name: RETURN, TAB, ESCAPE, F5, A, 7 ...; SHIFT+NAME
//                            holds Shift
//   wait MS                  let the screens run for MS milliseconds (0 to 600000): on the
//                            test clock when it runs (platform/gui/test_clock.h)
//   expect TEXT              a message containing TEXT has been shown
//
// Commands are compared without case. An ADDRESS is an object's name, a dotted path of names
// or a "ptr:" text.
#include <string>
#include <string_view>
#include <vector>

namespace orvo {

struct InputStep {
    enum class Kind { Click, DoubleClick, RightClick, Hover, Drag, Type, Key, Wait, Expect };
    Kind kind = Kind::Click;
    int line = 0;
    std::wstring target; // the object, or the text to type or expect
    std::wstring dropOn; // the second object of a drag
    int value = 0;       // the virtual key or the milliseconds
    bool shift = false;  // a key pressed with Shift held
};

class InputScript {
public:
    static constexpr int kMaxWaitMs = 600000;

    // False with a message "line N: ..." at the first line that is not a step.
    static bool Parse(std::wstring_view text, std::vector<InputStep>& steps, std::wstring& error);
};

} // namespace orvo
