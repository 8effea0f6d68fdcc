#include "vbscript/regexp.h"

#include <cstdint>
#include <limits>
#include <vector>

#include "platform/base/nocase.h"
#include "vbscript/coerce.h"
#include "vbscript/regexp_matches.h"
#include "vbscript/script_error.h"

namespace vbs {

namespace {

void ExpectArguments(std::span<Value> args, std::size_t count) {
    if (args.size() != count)
        RaiseError(450);
}

bool IsReading(Access access) {
    return access == Access::Call || access == Access::Get;
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

void AppendGroup(std::wstring& out,
                 std::wstring_view subject,
                 const RegexProgram& program,
                 std::size_t group) {
    std::size_t start = 0;
    std::size_t end = 0;
    if (program.Group(group, start, end))
        out.append(subject.substr(start, end - start));
}

// The replacement for the current match. `$n` and `$nn` name a group only when the group
// exists (two digits first, as in JScript); any other `$` is itself.
void AppendReplacement(std::wstring& out,
                       std::wstring_view replacement,
                       std::wstring_view subject,
                       const RegexProgram& program) {
    std::size_t matchStart = 0;
    std::size_t matchEnd = 0;
    program.Group(0, matchStart, matchEnd);
    const std::size_t groups = program.GroupCount();
    for (std::size_t i = 0; i < replacement.size(); ++i) {
        const wchar_t c = replacement[i];
        if (c != L'$' || i + 1 == replacement.size()) {
            out.push_back(c);
            continue;
        }
        const wchar_t next = replacement[i + 1];
        if (next == L'$') {
            out.push_back(L'$');
            ++i;
        } else if (next == L'&') {
            out.append(subject.substr(matchStart, matchEnd - matchStart));
            ++i;
        } else if (next == L'`') {
            out.append(subject.substr(0, matchStart));
            ++i;
        } else if (next == L'\'') {
            out.append(subject.substr(matchEnd));
            ++i;
        } else if (IsDigit(next)) {
            std::size_t group = static_cast<std::size_t>(next - L'0');
            std::size_t digits = 1;
            if (i + 2 < replacement.size() && IsDigit(replacement[i + 2])) {
                const std::size_t two =
                    group * 10 + static_cast<std::size_t>(replacement[i + 2] - L'0');
                if (two >= 1 && two <= groups) {
                    group = two;
                    digits = 2;
                }
            }
            if (group >= 1 && group <= groups) {
                AppendGroup(out, subject, program, group);
                i += digits;
            } else {
                out.push_back(L'$');
            }
        } else {
            out.push_back(L'$');
        }
    }
}

} // namespace

RegExp::RegExp() = default;
RegExp::~RegExp() = default;

void RegExp::SetPattern(std::wstring_view pattern) {
    if (pattern != m_pattern) {
        m_pattern = pattern;
        m_program.reset();
    }
}

void RegExp::SetIgnoreCase(bool on) {
    if (on != m_options.ignoreCase) {
        m_options.ignoreCase = on;
        m_program.reset();
    }
}

void RegExp::SetMultiline(bool on) {
    if (on != m_options.multiline) {
        m_options.multiline = on;
        m_program.reset();
    }
}

RegexProgram& RegExp::Program() {
    if (!m_program)
        m_program = std::make_unique<RegexProgram>(m_pattern, m_options);
    return *m_program;
}

bool RegExp::Test(std::wstring_view subject) {
    return Program().Search(subject, 0);
}

Value RegExp::Execute(std::wstring_view subject) {
    RegexProgram& program = Program();
    std::vector<Value> matches;
    ForEachMatch(program, subject, m_global, [&](const RegexProgram& found) {
        std::size_t start = 0;
        std::size_t end = 0;
        found.Group(0, start, end);
        std::vector<Value> groups(found.GroupCount());
        for (std::size_t g = 0; g < groups.size(); ++g) {
            std::size_t from = 0;
            std::size_t to = 0;
            if (found.Group(g + 1, from, to))
                groups[g] = Value::String(subject.substr(from, to - from));
        }
        if (start > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
            RaiseError(err::Overflow);
        matches.push_back(
            Value::FromObject(new RegexMatch(std::wstring(subject.substr(start, end - start)),
                                             static_cast<std::int32_t>(start),
                                             std::move(groups))));
        return true;
    });
    return Value::FromObject(new RegexList(L"IMatchCollection2", std::move(matches)));
}

std::wstring RegExp::Replace(std::wstring_view subject, std::wstring_view replacement) {
    RegexProgram& program = Program();
    const bool plain = replacement.find(L'$') == std::wstring_view::npos;
    std::wstring out;
    std::size_t copied = 0;
    ForEachMatch(program, subject, m_global, [&](const RegexProgram& found) {
        std::size_t start = 0;
        std::size_t end = 0;
        found.Group(0, start, end);
        out.append(subject.substr(copied, start - copied));
        if (plain)
            out.append(replacement);
        else
            AppendReplacement(out, replacement, subject, found);
        copied = end;
        return true;
    });
    out.append(subject.substr(copied));
    return out;
}

Value RegExp::Invoke(std::wstring_view name, Access access, std::span<Value> args) {
    const auto is = [name](std::wstring_view member) { return plat::EqualsNoCase(name, member); };
    const bool reading = IsReading(access);
    if (is(L"Pattern")) {
        if (reading) {
            ExpectArguments(args, 0);
            return Value::String(m_pattern);
        }
        ExpectArguments(args, 1);
        SetPattern(ToString(Dereference(args[0])));
        return Value();
    }
    if (is(L"IgnoreCase") || is(L"Global") || is(L"Multiline")) {
        if (reading) {
            ExpectArguments(args, 0);
            return Value::Boolean(is(L"IgnoreCase") ? m_options.ignoreCase
                                  : is(L"Global")   ? m_global
                                                    : m_options.multiline);
        }
        ExpectArguments(args, 1);
        const bool on = ToBoolean(Dereference(args[0]));
        if (is(L"IgnoreCase"))
            SetIgnoreCase(on);
        else if (is(L"Global"))
            SetGlobal(on);
        else
            SetMultiline(on);
        return Value();
    }
    if (!reading) {
        if (is(L"Test") || is(L"Execute") || is(L"Replace"))
            RaiseError(450);
        RaiseError(err::NoSuchMember);
    }
    if (is(L"Test")) {
        ExpectArguments(args, 1);
        return Value::Boolean(Test(ToString(Dereference(args[0]))));
    }
    if (is(L"Execute")) {
        ExpectArguments(args, 1);
        return Execute(ToString(Dereference(args[0])));
    }
    if (is(L"Replace")) {
        ExpectArguments(args, 2);
        return Value::String(
            Replace(ToString(Dereference(args[0])), ToString(Dereference(args[1]))));
    }
    RaiseError(err::NoSuchMember);
}

} // namespace vbs
