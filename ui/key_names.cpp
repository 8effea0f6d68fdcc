#include "ui/key_names.h"

#include <array>

#include "platform/base/nocase.h"

namespace orvo {

namespace {

struct KeyName {
    const wchar_t* name;
    int code;
};

constexpr std::array kNamedKeys{
    KeyName{L"BACK", 8},      KeyName{L"TAB", 9},         KeyName{L"CLEAR", 12},
    KeyName{L"RETURN", 13},   KeyName{L"SHIFT", 16},      KeyName{L"CONTROL", 17},
    KeyName{L"MENU", 18},     KeyName{L"PAUSE", 19},      KeyName{L"CAPITAL", 20},
    KeyName{L"ESCAPE", 27},   KeyName{L"SPACE", 32},      KeyName{L"PRIOR", 33},
    KeyName{L"NEXT", 34},     KeyName{L"END", 35},        KeyName{L"HOME", 36},
    KeyName{L"LEFT", 37},     KeyName{L"UP", 38},         KeyName{L"RIGHT", 39},
    KeyName{L"DOWN", 40},     KeyName{L"SELECT", 41},     KeyName{L"PRINT", 42},
    KeyName{L"EXECUTE", 43},  KeyName{L"SNAPSHOT", 44},   KeyName{L"INSERT", 45},
    KeyName{L"DELETE", 46},   KeyName{L"HELP", 47},       KeyName{L"MULTIPLY", 106},
    KeyName{L"ADD", 107},     KeyName{L"SEPARATOR", 108}, KeyName{L"SUBTRACT", 109},
    KeyName{L"DECIMAL", 110}, KeyName{L"DIVIDE", 111},    KeyName{L"NUMLOCK", 144},
    KeyName{L"SCROLL", 145},
};

// The number after `prefix` in `name` when it lies in [low, high]; -1 otherwise.
int Numbered(std::wstring_view name, std::wstring_view prefix, int low, int high) {
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 2 ||
        !plat::EqualsNoCase(name.substr(0, prefix.size()), prefix))
        return -1;
    int number = 0;
    for (wchar_t c : name.substr(prefix.size())) {
        if (c < L'0' || c > L'9')
            return -1;
        number = number * 10 + (c - L'0');
    }
    // "F01" is not a key name.
    if (name.size() == prefix.size() + 2 && name[prefix.size()] == L'0')
        return -1;
    return number >= low && number <= high ? number : -1;
}

} // namespace

int VirtualKeyOfName(std::wstring_view name) {
    for (const KeyName& key : kNamedKeys) {
        if (plat::EqualsNoCase(name, key.name))
            return key.code;
    }
    if (int n = Numbered(name, L"NUMPAD", 0, 9); n >= 0)
        return 96 + n;
    if (int n = Numbered(name, L"F", 1, 19); n >= 0)
        return 111 + n;
    return 0;
}

} // namespace orvo
