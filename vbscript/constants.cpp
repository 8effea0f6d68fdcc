#include "vbscript/constants.h"

#include <string>
#include <unordered_map>

#include "vbscript/global_scope.h"

namespace vbs {

namespace {

struct Whole {
    const wchar_t* name;
    std::int32_t value;
};

constexpr Whole kWhole[] = {
    // MsgBox buttons, icons, defaults, modality and answers.
    {L"vbOKOnly", 0},
    {L"vbOKCancel", 1},
    {L"vbAbortRetryIgnore", 2},
    {L"vbYesNoCancel", 3},
    {L"vbYesNo", 4},
    {L"vbRetryCancel", 5},
    {L"vbCritical", 16},
    {L"vbQuestion", 32},
    {L"vbExclamation", 48},
    {L"vbInformation", 64},
    {L"vbDefaultButton1", 0},
    {L"vbDefaultButton2", 256},
    {L"vbDefaultButton3", 512},
    {L"vbDefaultButton4", 768},
    {L"vbApplicationModal", 0},
    {L"vbSystemModal", 4096},
    {L"vbOK", 1},
    {L"vbCancel", 2},
    {L"vbAbort", 3},
    {L"vbRetry", 4},
    {L"vbIgnore", 5},
    {L"vbYes", 6},
    {L"vbNo", 7},
    // Comparison.
    {L"vbUseSystem", 0},
    {L"vbBinaryCompare", 0},
    {L"vbTextCompare", 1},
    {L"vbDatabaseCompare", 2},
    // Tristate.
    {L"vbUseDefault", -2},
    {L"vbTrue", -1},
    {L"vbFalse", 0},
    // VarType.
    {L"vbEmpty", 0},
    {L"vbNull", 1},
    {L"vbInteger", 2},
    {L"vbLong", 3},
    {L"vbSingle", 4},
    {L"vbDouble", 5},
    {L"vbCurrency", 6},
    {L"vbDate", 7},
    {L"vbString", 8},
    {L"vbObject", 9},
    {L"vbError", 10},
    {L"vbBoolean", 11},
    {L"vbVariant", 12},
    {L"vbDataObject", 13},
    {L"vbDecimal", 14},
    {L"vbByte", 17},
    {L"vbArray", 8192},
    // Days and weeks.
    {L"vbSunday", 1},
    {L"vbMonday", 2},
    {L"vbTuesday", 3},
    {L"vbWednesday", 4},
    {L"vbThursday", 5},
    {L"vbFriday", 6},
    {L"vbSaturday", 7},
    {L"vbUseSystemDayOfWeek", 0},
    {L"vbFirstJan1", 1},
    {L"vbFirstFourDays", 2},
    {L"vbFirstFullWeek", 3},
    // FormatDateTime.
    {L"vbGeneralDate", 0},
    {L"vbLongDate", 1},
    {L"vbShortDate", 2},
    {L"vbLongTime", 3},
    {L"vbShortTime", 4},
    // Errors.
    {L"vbObjectError", -2147221504},
};

// Longs whatever their value, as RGB answers them.
constexpr Whole kColors[] = {
    {L"vbBlack", 0x000000},
    {L"vbRed", 0x0000FF},
    {L"vbGreen", 0x00FF00},
    {L"vbYellow", 0x00FFFF},
    {L"vbBlue", 0xFF0000},
    {L"vbMagenta", 0xFF00FF},
    {L"vbCyan", 0xFFFF00},
    {L"vbWhite", 0xFFFFFF},
};

struct Text {
    const wchar_t* name;
    std::wstring_view value;
};

constexpr Text kText[] = {
    {L"vbCr", L"\r"},
    {L"vbLf", L"\n"},
    {L"vbCrLf", L"\r\n"},
    {L"vbNewLine", L"\r\n"},
    {L"vbTab", L"\t"},
    {L"vbFormFeed", L"\f"},
    {L"vbVerticalTab", L"\v"},
    {L"vbNullString", L""},
    {L"vbNullChar", std::wstring_view(L"\0", 1)},
    {L"vbBack", L"\b"},
};

const std::unordered_map<std::wstring, Value>& Table() {
    static const auto* table = [] {
        auto* t = new std::unordered_map<std::wstring, Value>();
        for (const Whole& c : kWhole)
            t->emplace(FoldCase(c.name),
                       c.value >= INT16_MIN && c.value <= INT16_MAX
                           ? Value::Integer(static_cast<std::int16_t>(c.value))
                           : Value::Long(c.value));
        for (const Whole& c : kColors)
            t->emplace(FoldCase(c.name), Value::Long(c.value));
        for (const Text& c : kText)
            t->emplace(FoldCase(c.name), Value::String(c.value));
        return t;
    }();
    return *table;
}

} // namespace

const Value* FindConstant(std::wstring_view name) {
    const auto& table = Table();
    auto it = table.find(FoldCase(name));
    return it == table.end() ? nullptr : &it->second;
}

} // namespace vbs
