#pragma once
// MessageBox for the screen, and its stand-in when there is no screen: headless, the text
// goes to stderr as one UTF-8 line and the default button answers at once, so nothing ever
// waits for a user who is not there.
#include <string>
#include <string_view>

namespace plat {

class Window;

// The MB_* style bits that matter here.
enum MessageBoxStyle : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_TYPEMASK = 0xF,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_ICONMASK = 0xF0,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
    MB_DEFMASK = 0xF00,
};

enum MessageBoxAnswer : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDABORT = 3,
    IDRETRY = 4,
    IDIGNORE = 5,
    IDYES = 6,
    IDNO = 7,
};

// True when windows can be shown: a QApplication exists and its platform is not one that
// draws nowhere ("offscreen", "minimal").
bool HasDisplay();

// The answer of the default button of `style`: the first button, or the second or third with
// MB_DEFBUTTON2 / MB_DEFBUTTON3 when the style has that many. Unknown types count as MB_OK.
int DefaultAnswer(unsigned style);

// "caption: text" on one line, line breaks turned into blanks; just the text without a
// caption.
std::string HeadlessMessageLine(std::wstring_view caption, std::wstring_view text);

// A modal QMessageBox over `owner` (may be null or dead) when there is a display; otherwise
// the headless line on stderr and DefaultAnswer(style).
int MessageBox(Window* owner, std::wstring_view text, std::wstring_view caption, unsigned style);

} // namespace plat
