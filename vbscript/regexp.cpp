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

// Text arguments are read in place: subjects may be megabytes long.
std::wstring_view TextOf(const Value& value, std::wstring& converted) {
    if (value.Type() == VarType::String)
        return value.AsString();
    converted = ToString(Dereference(value));
    return converted;
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// A replacement read once per Replace: runs of its own text and what each match fills in.
struct Piece {
    enum class Kind : std::uint8_t { Text, Group, Before, After };
    Kind kind;
    std::size_t first; // Text: where the run starts in the replacement; Group: its number
    std::size_t end;   // Text: where it ends
};

// `$n` and `$nn` name a group only when the group exists (two digits first, as in
// JScript); any other `$` is itself. `$$` is the run of its second `$`.
std::vector<Piece> ReadReplacement(std::wstring_view replacement, std::size_t groups) {
    std::vector<Piece> pieces;
    const auto text = [&](std::size_t first, std::size_t end) {
        if (!pieces.empty() && pieces.back().kind == Piece::Kind::Text &&
            pieces.back().end == first)
            pieces.back().end = end;
        else
            pieces.push_back({Piece::Kind::Text, first, end});
    };
    for (std::size_t i = 0; i < replacement.size(); ++i) {
        if (replacement[i] != L'$' || i + 1 == replacement.size()) {
            text(i, i + 1);
            continue;
        }
        const wchar_t next = replacement[i + 1];
        if (next == L'$') {
            text(i + 1, i + 2);
            ++i;
        } else if (next == L'&') {
            pieces.push_back({Piece::Kind::Group, 0, 0});
            ++i;
        } else if (next == L'`') {
            pieces.push_back({Piece::Kind::Before, 0, 0});
            ++i;
        } else if (next == L'\'') {
            pieces.push_back({Piece::Kind::After, 0, 0});
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
                pieces.push_back({Piece::Kind::Group, group, 0});
                i += digits;
            } else {
                text(i, i + 1);
            }
        } else {
            text(i, i + 1);
        }
    }
    return pieces;
}

void AppendReplacement(std::vector<std::wstring_view>& out,
                       const std::vector<Piece>& pieces,
                       std::wstring_view replacement,
                       std::wstring_view subject,
                       const RegexProgram& program) {
    std::size_t matchStart = 0;
    std::size_t matchEnd = 0;
    program.Group(0, matchStart, matchEnd);
    for (const Piece& piece : pieces) {
        switch (piece.kind) {
        case Piece::Kind::Text:
            out.push_back(replacement.substr(piece.first, piece.end - piece.first));
            break;
        case Piece::Kind::Group: {
            std::size_t start = 0;
            std::size_t end = 0;
            if (program.Group(piece.first, start, end)) // an unmatched group adds nothing
                out.push_back(subject.substr(start, end - start));
            break;
        }
        case Piece::Kind::Before:
            out.push_back(subject.substr(0, matchStart));
            break;
        case Piece::Kind::After:
            out.push_back(subject.substr(matchEnd));
            break;
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
    });
    return Value::FromObject(new RegexList(L"IMatchCollection2", std::move(matches)));
}

Value RegExp::Replace(std::wstring_view subject, std::wstring_view replacement) {
    RegexProgram& program = Program();
    const std::vector<Piece> pieces = ReadReplacement(replacement, program.GroupCount());
    // The pieces of the result are gathered first and joined in one allocation: subjects
    // may be megabytes and most pieces a few characters.
    std::vector<std::wstring_view>& out = m_pieces;
    out.clear();
    std::size_t copied = 0;
    ForEachMatch(program, subject, m_global, [&](const RegexProgram& found) {
        std::size_t start = 0;
        std::size_t end = 0;
        found.Group(0, start, end);
        out.push_back(subject.substr(copied, start - copied));
        AppendReplacement(out, pieces, replacement, subject, found);
        copied = end;
    });
    out.push_back(subject.substr(copied));
    Value joined = Value::Joined(out);
    out.clear();
    return joined;
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
    std::wstring subject;
    if (is(L"Test")) {
        ExpectArguments(args, 1);
        return Value::Boolean(Test(TextOf(args[0], subject)));
    }
    if (is(L"Execute")) {
        ExpectArguments(args, 1);
        return Execute(TextOf(args[0], subject));
    }
    if (is(L"Replace")) {
        ExpectArguments(args, 2);
        std::wstring replacement;
        return Replace(TextOf(args[0], subject), TextOf(args[1], replacement));
    }
    RaiseError(err::NoSuchMember);
}

} // namespace vbs
