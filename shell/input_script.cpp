#include "shell/input_script.h"

#include <array>

#include "nubra/trim_blanks.h"
#include "platform/base/format.h"
#include "platform/base/nocase.h"
#include "ui/key_names.h"

namespace orvo {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r';
}

// The first word of `text`; `text` keeps what follows it, trimmed.
std::wstring_view NextWord(std::wstring_view& text) {
    std::size_t end = 0;
    while (end < text.size() && !IsBlank(text[end]))
        ++end;
    const std::wstring_view word = text.substr(0, end);
    text = TrimBlanks(text.substr(end));
    return word;
}

// A key name as scripts know it, or a single letter or digit.
int KeyOf(std::wstring_view name) {
    if (name.size() == 1) {
        const wchar_t c = name[0];
        if (c >= L'0' && c <= L'9')
            return c;
        if ((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'))
            return c & ~0x20;
    }
    return VirtualKeyOfName(name);
}

bool ParseMs(std::wstring_view text, int& ms) {
    if (text.empty() || text.size() > 6)
        return false;
    ms = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return false;
        ms = ms * 10 + (c - L'0');
    }
    return ms <= InputScript::kMaxWaitMs;
}

struct Command {
    const wchar_t* name;
    InputStep::Kind kind;
};

constexpr std::array kCommands{
    Command{L"click", InputStep::Kind::Click},
    Command{L"dblclick", InputStep::Kind::DoubleClick},
    Command{L"rclick", InputStep::Kind::RightClick},
    Command{L"hover", InputStep::Kind::Hover},
    Command{L"drag", InputStep::Kind::Drag},
    Command{L"type", InputStep::Kind::Type},
    Command{L"key", InputStep::Kind::Key},
    Command{L"wait", InputStep::Kind::Wait},
    Command{L"expect", InputStep::Kind::Expect},
};

// Fills `step` from the words after its command; the reason when they do not fit.
std::wstring ReadArguments(InputStep& step, std::wstring_view rest, std::wstring_view command) {
    using Kind = InputStep::Kind;
    switch (step.kind) {
    case Kind::Click:
    case Kind::DoubleClick:
    case Kind::RightClick:
    case Kind::Hover:
        step.target = NextWord(rest);
        if (step.target.empty() || !rest.empty())
            return plat::Format(L"%s takes one object address", std::wstring(command).c_str());
        return {};
    case Kind::Drag:
        step.target = NextWord(rest);
        step.dropOn = NextWord(rest);
        if (step.dropOn.empty() || !rest.empty())
            return L"drag takes two object addresses: where it starts and where it drops";
        return {};
    case Kind::Type:
    case Kind::Expect:
        step.target = rest;
        if (step.target.empty())
            return plat::Format(L"%s needs a text", std::wstring(command).c_str());
        return {};
    case Kind::Key:
        if (constexpr std::wstring_view shift = L"SHIFT+";
            rest.size() > shift.size() && plat::StartsWithNoCase(rest, shift)) {
            step.shift = true;
            rest.remove_prefix(shift.size());
        }
        step.value = KeyOf(rest);
        if (step.value == 0)
            return plat::Format(L"unknown key \"%s\"", std::wstring(rest).c_str());
        return {};
    case Kind::Wait:
        if (!ParseMs(rest, step.value))
            return plat::Format(L"wait takes a number of milliseconds from 0 to %d",
                                InputScript::kMaxWaitMs);
        return {};
    }
    return {};
}

} // namespace

bool InputScript::Parse(std::wstring_view text,
                        std::vector<InputStep>& steps,
                        std::wstring& error) {
    steps.clear();
    int line = 0;
    while (!text.empty() || line == 0) {
        ++line;
        const std::size_t end = text.find(L'\n');
        std::wstring_view rest = TrimBlanks(text.substr(0, end));
        text = end == std::wstring_view::npos ? std::wstring_view() : text.substr(end + 1);
        if (rest.empty() || rest.front() == L'#') {
            if (text.empty())
                break;
            continue;
        }
        const std::wstring_view command = NextWord(rest);
        InputStep step;
        step.line = line;
        bool known = false;
        for (const Command& c : kCommands) {
            if (plat::EqualsNoCase(command, c.name)) {
                step.kind = c.kind;
                known = true;
            }
        }
        const std::wstring reason =
            known ? ReadArguments(step, rest, command)
                  : plat::Format(L"unknown command \"%s\"", std::wstring(command).c_str());
        if (!reason.empty()) {
            error = plat::Format(L"line %d: %s", line, reason.c_str());
            steps.clear();
            return false;
        }
        steps.push_back(std::move(step));
        if (text.empty())
            break;
    }
    return true;
}

} // namespace orvo
