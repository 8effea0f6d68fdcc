// The text functions. Positions count from 1 as the language does; a Null text gives Null
// where the language documents it, and counts or positions out of range raise Error 5.
#include <algorithm>
#include <cwctype>
#include <span>
#include <string>

#include "vbscript/builtins.h"
#include "vbscript/coerce.h"
#include "vbscript/script_error.h"

namespace vbs {
namespace {

// Texts longer than this are refused before anything is allocated for them.
constexpr std::int64_t MaxBuiltLength = std::int64_t{1} << 28;

bool Given(std::span<Value> args, std::size_t index) {
    return args.size() > index;
}

std::int32_t NonNegative(const Value& v) {
    const std::int32_t n = ToLong(v);
    if (n < 0)
        RaiseError(err::InvalidCall);
    return n;
}

std::int32_t Position(const Value& v) {
    const std::int32_t n = ToLong(v);
    if (n < 1)
        RaiseError(err::InvalidCall);
    return n;
}

// vbBinaryCompare (0) compares code units; vbTextCompare (1) and vbDatabaseCompare (2)
// compare without case.
bool TextCompare(std::span<Value> args, std::size_t index) {
    if (!Given(args, index))
        return false;
    const std::int32_t mode = ToLong(args[index]);
    if (mode < 0 || mode > 2)
        RaiseError(err::InvalidCall);
    return mode != 0;
}

wchar_t Fold(wchar_t c) {
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

bool SameAt(std::wstring_view text, std::size_t at, std::wstring_view part, bool noCase) {
    if (at + part.size() > text.size())
        return false;
    for (std::size_t i = 0; i < part.size(); ++i) {
        const wchar_t a = text[at + i], b = part[i];
        if (a != b && (!noCase || Fold(a) != Fold(b)))
            return false;
    }
    return true;
}

std::size_t Find(std::wstring_view text, std::wstring_view part, std::size_t from, bool noCase) {
    for (std::size_t at = from; at + part.size() <= text.size(); ++at) {
        if (SameAt(text, at, part, noCase))
            return at;
    }
    return std::wstring_view::npos;
}

Value Text(std::wstring_view text) {
    return Value::String(text);
}

Value Len(Runtime*, std::span<Value> a) {
    if (a[0].IsNull())
        return Value::Null();
    return Value::Long(static_cast<std::int32_t>(ToString(a[0]).size()));
}

Value Left(Runtime*, std::span<Value> a) {
    const std::size_t n = static_cast<std::size_t>(NonNegative(a[1]));
    if (a[0].IsNull())
        return Value::Null();
    const std::wstring s = ToString(a[0]);
    return Text(std::wstring_view(s).substr(0, n));
}

Value Right(Runtime*, std::span<Value> a) {
    const std::size_t n = static_cast<std::size_t>(NonNegative(a[1]));
    if (a[0].IsNull())
        return Value::Null();
    const std::wstring s = ToString(a[0]);
    return Text(std::wstring_view(s).substr(s.size() - std::min(n, s.size())));
}

Value Mid(Runtime*, std::span<Value> a) {
    const std::size_t start = static_cast<std::size_t>(Position(a[1]));
    const std::size_t count =
        Given(a, 2) ? static_cast<std::size_t>(NonNegative(a[2])) : std::wstring::npos;
    if (a[0].IsNull())
        return Value::Null();
    const std::wstring s = ToString(a[0]);
    if (start > s.size())
        return Text(L"");
    return Text(std::wstring_view(s).substr(start - 1, count));
}

// InStr([start,] string1, string2 [, compare]): the start is there when three or more
// arguments are.
Value InStr(Runtime*, std::span<Value> a) {
    const bool hasStart = a.size() >= 3;
    const std::size_t start = hasStart ? static_cast<std::size_t>(Position(a[0])) : 1;
    const Value& haystack = a[hasStart ? 1 : 0];
    const Value& needle = a[hasStart ? 2 : 1];
    const bool noCase = TextCompare(a, 3);
    if (haystack.IsNull() || needle.IsNull())
        return Value::Null();
    const std::wstring text = ToString(haystack), part = ToString(needle);
    if (start > text.size())
        return Value::Long(0);
    if (part.empty())
        return Value::Long(static_cast<std::int32_t>(start));
    const std::size_t at = Find(text, part, start - 1, noCase);
    return Value::Long(at == std::wstring::npos ? 0 : static_cast<std::int32_t>(at + 1));
}

// InStrRev(string1, string2 [, start [, compare]]): start -1 is the end of string1.
Value InStrRev(Runtime*, std::span<Value> a) {
    std::int32_t start = Given(a, 2) ? ToLong(a[2]) : -1;
    if (start == 0 || start < -1)
        RaiseError(err::InvalidCall);
    const bool noCase = TextCompare(a, 3);
    // Unlike InStr, Null text is an error, not a Null answer.
    if (a[0].IsNull() || a[1].IsNull())
        RaiseError(err::InvalidUseOfNull);
    const std::wstring text = ToString(a[0]), part = ToString(a[1]);
    if (start == -1)
        start = static_cast<std::int32_t>(text.size());
    if (static_cast<std::size_t>(start) > text.size())
        return Value::Long(0);
    if (part.empty())
        return Value::Long(start);
    for (std::int64_t at =
             static_cast<std::int64_t>(start) - static_cast<std::int64_t>(part.size());
         at >= 0;
         --at) {
        if (SameAt(text, static_cast<std::size_t>(at), part, noCase))
            return Value::Long(static_cast<std::int32_t>(at + 1));
    }
    return Value::Long(0);
}

template <class Change> Value Mapped(const Value& v, Change change) {
    if (v.IsNull())
        return Value::Null();
    std::wstring s = ToString(v);
    std::transform(s.begin(), s.end(), s.begin(), [&](wchar_t c) {
        return static_cast<wchar_t>(change(static_cast<wint_t>(c)));
    });
    return Text(s);
}

Value LCase(Runtime*, std::span<Value> a) {
    return Mapped(a[0], [](wint_t c) { return std::towlower(c); });
}

Value UCase(Runtime*, std::span<Value> a) {
    return Mapped(a[0], [](wint_t c) { return std::towupper(c); });
}

// Only spaces are trimmed; tabs and line breaks stay.
Value Trimmed(const Value& v, bool front, bool back) {
    if (v.IsNull())
        return Value::Null();
    const std::wstring s = ToString(v);
    std::wstring_view view = s;
    while (front && !view.empty() && view.front() == L' ')
        view.remove_prefix(1);
    while (back && !view.empty() && view.back() == L' ')
        view.remove_suffix(1);
    return Text(view);
}

Value LTrim(Runtime*, std::span<Value> a) {
    return Trimmed(a[0], true, false);
}
Value RTrim(Runtime*, std::span<Value> a) {
    return Trimmed(a[0], false, true);
}
Value Trim(Runtime*, std::span<Value> a) {
    return Trimmed(a[0], true, true);
}

Value Repeated(const Value& count, wchar_t c) {
    const std::int32_t n = NonNegative(count);
    if (n > MaxBuiltLength)
        RaiseError(7);
    return Text(std::wstring(static_cast<std::size_t>(n), c));
}

Value Space(Runtime*, std::span<Value> a) {
    if (a[0].IsNull())
        RaiseError(err::InvalidUseOfNull);
    return Repeated(a[0], L' ');
}

// String(number, character): a number is a character code (taken modulo 256, as the
// language does), a text gives its first character.
Value StringOf(Runtime*, std::span<Value> a) {
    if (a[0].IsNull() || a[1].IsNull())
        return Value::Null();
    wchar_t c = 0;
    if (a[1].Type() == VarType::String) {
        if (a[1].AsString().empty())
            RaiseError(err::InvalidCall);
        c = a[1].AsString().front();
    } else {
        c = static_cast<wchar_t>(static_cast<std::uint32_t>(ToLong(a[1])) & 0xFF);
    }
    return Repeated(a[0], c);
}

Value StrReverse(Runtime*, std::span<Value> a) {
    std::wstring s = ToString(a[0]);
    std::reverse(s.begin(), s.end());
    return Text(s);
}

Value StrComp(Runtime*, std::span<Value> a) {
    const bool noCase = TextCompare(a, 2);
    if (a[0].IsNull() || a[1].IsNull())
        return Value::Null();
    const std::wstring p = ToString(a[0]), q = ToString(a[1]);
    const std::size_t common = std::min(p.size(), q.size());
    for (std::size_t i = 0; i < common; ++i) {
        const wchar_t x = noCase ? Fold(p[i]) : p[i];
        const wchar_t y = noCase ? Fold(q[i]) : q[i];
        if (x != y)
            return Value::Integer(x < y ? -1 : 1);
    }
    return Value::Integer(p.size() == q.size() ? 0 : (p.size() < q.size() ? -1 : 1));
}

// Replace(expression, find, with [, start [, count [, compare]]]): the text before `start`
// is left out of the result, as the language documents.
Value Replace(Runtime*, std::span<Value> a) {
    const std::size_t start = Given(a, 3) ? static_cast<std::size_t>(Position(a[3])) : 1;
    const std::int32_t count = Given(a, 4) ? ToLong(a[4]) : -1;
    if (count < -1)
        RaiseError(err::InvalidCall);
    const bool noCase = TextCompare(a, 5);
    if (a[0].IsNull())
        RaiseError(err::InvalidUseOfNull);
    const std::wstring text = ToString(a[0]), find = ToString(a[1]), with = ToString(a[2]);
    if (start > text.size())
        return Text(L"");
    std::wstring result;
    std::size_t at = start - 1;
    std::int32_t done = 0;
    while (!find.empty() && (count < 0 || done < count)) {
        const std::size_t hit = Find(text, find, at, noCase);
        if (hit == std::wstring::npos)
            break;
        result.append(text, at, hit - at).append(with);
        at = hit + find.size();
        ++done;
    }
    result.append(text, at);
    return Text(result);
}

Value StringArray(std::span<const std::wstring> items) {
    const Array::Bound bound{0, static_cast<std::int32_t>(items.size())};
    Value result = Value::FromArray(Array::Create({&bound, 1}));
    Array* array = result.MutableArray();
    for (std::size_t i = 0; i < items.size(); ++i)
        array->At(i) = Text(items[i]);
    return result;
}

// Split(expression [, delimiter [, count [, compare]]]): an empty expression gives an
// empty array; an empty delimiter gives the whole expression as the only element.
Value Split(Runtime*, std::span<Value> a) {
    const std::wstring delimiter = Given(a, 1) ? ToString(a[1]) : L" ";
    const std::int32_t count = Given(a, 2) ? ToLong(a[2]) : -1;
    if (count < -1)
        RaiseError(err::InvalidCall);
    const bool noCase = TextCompare(a, 3);
    const std::wstring text = ToString(a[0]);
    std::vector<std::wstring> parts;
    if (text.empty() || count == 0)
        return StringArray(parts);
    std::size_t at = 0;
    while (!delimiter.empty() &&
           (count < 0 || parts.size() + 1 < static_cast<std::size_t>(count))) {
        const std::size_t hit = Find(text, delimiter, at, noCase);
        if (hit == std::wstring::npos)
            break;
        parts.push_back(text.substr(at, hit - at));
        at = hit + delimiter.size();
    }
    parts.push_back(text.substr(at));
    return StringArray(parts);
}

const Array& OneDimensional(const Value& v) {
    if (v.IsNull())
        RaiseError(err::InvalidUseOfNull);
    if (v.Type() != VarType::Array || v.AsArray()->Dimensions() != 1)
        RaiseError(err::TypeMismatch);
    return *v.AsArray();
}

Value Join(Runtime*, std::span<Value> a) {
    const Array& list = OneDimensional(a[0]);
    const std::wstring delimiter = Given(a, 1) ? ToString(a[1]) : L" ";
    std::wstring result;
    for (std::size_t i = 0; i < list.Size(); ++i) {
        if (i)
            result += delimiter;
        result += ToString(list.At(i));
    }
    return Text(result);
}

// Filter(strings, value [, include [, compare]]): the elements that contain (or, with
// include False, do not contain) the value.
Value Filter(Runtime*, std::span<Value> a) {
    const Array& list = OneDimensional(a[0]);
    const std::wstring part = ToString(a[1]);
    const bool include = Given(a, 2) ? ToBoolean(a[2]) : true;
    const bool noCase = TextCompare(a, 3);
    std::vector<std::wstring> kept;
    for (std::size_t i = 0; i < list.Size(); ++i) {
        std::wstring item = ToString(list.At(i));
        if ((Find(item, part, 0, noCase) != std::wstring::npos) == include)
            kept.push_back(std::move(item));
    }
    return StringArray(kept);
}

wchar_t FirstCharacter(const Value& v) {
    const std::wstring s = ToString(v);
    if (s.empty())
        RaiseError(err::InvalidCall);
    return s.front();
}

Value AscW(Runtime*, std::span<Value> a) {
    return Value::Integer(
        static_cast<std::int16_t>(static_cast<std::uint16_t>(FirstCharacter(a[0]))));
}

Value Chr(Runtime*, std::span<Value> a) {
    const std::int32_t code = ToLong(a[0]);
    if (code < 0 || code > 255)
        RaiseError(err::InvalidCall);
    return Text(std::wstring(1, static_cast<wchar_t>(code)));
}

// ChrW takes -32768 to 65535; a negative code is the same UTF-16 unit as code + 65536.
Value ChrW(Runtime*, std::span<Value> a) {
    const std::int32_t code = ToLong(a[0]);
    if (code < -32768 || code > 65535)
        RaiseError(err::InvalidCall);
    return Text(std::wstring(1, static_cast<wchar_t>(code < 0 ? code + 65536 : code)));
}

// Text is Unicode throughout, so Asc answers the character code as AscW does.
const Builtin stringBuiltins[] = {
    {L"Asc", AscW, 1, 1},          {L"AscW", AscW, 1, 1},
    {L"Chr", Chr, 1, 1},           {L"ChrW", ChrW, 1, 1},
    {L"Filter", Filter, 2, 4},     {L"InStr", InStr, 2, 4},
    {L"InStrRev", InStrRev, 2, 4}, {L"Join", Join, 1, 2},
    {L"LCase", LCase, 1, 1},       {L"LTrim", LTrim, 1, 1},
    {L"Left", Left, 2, 2},         {L"Len", Len, 1, 1},
    {L"Mid", Mid, 2, 3},           {L"RTrim", RTrim, 1, 1},
    {L"Replace", Replace, 3, 6},   {L"Right", Right, 2, 2},
    {L"Space", Space, 1, 1},       {L"Split", Split, 1, 4},
    {L"StrComp", StrComp, 2, 3},   {L"StrReverse", StrReverse, 1, 1},
    {L"String", StringOf, 2, 2},   {L"Trim", Trim, 1, 1},
    {L"UCase", UCase, 1, 1},
};

} // namespace

std::span<const Builtin> StringBuiltins() {
    return stringBuiltins;
}

} // namespace vbs
