#include "vbscript/builtins.h"

#include <algorithm>
#include <vector>

namespace vbs {

// Each group of functions lists its own entries; the lookup merges them once.
std::span<const Builtin> StringBuiltins();
std::span<const Builtin> ConvertBuiltins();
std::span<const Builtin> MathBuiltins();
std::span<const Builtin> ArrayBuiltins();
std::span<const Builtin> DateBuiltins();
std::span<const Builtin> FormatBuiltins();
std::span<const Builtin> ObjectBuiltins();
std::span<const Builtin> EngineBuiltins();

namespace {

// Built-in names are ASCII, so folding ASCII letters is enough.
wchar_t FoldAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool LessNoCase(std::wstring_view a, std::wstring_view b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
            return FoldAscii(x) < FoldAscii(y);
        });
}

std::vector<const Builtin*> SortedTable() {
    std::vector<const Builtin*> table;
    for (auto group : {StringBuiltins(),
                       ConvertBuiltins(),
                       MathBuiltins(),
                       ArrayBuiltins(),
                       DateBuiltins(),
                       FormatBuiltins(),
                       ObjectBuiltins(),
                       EngineBuiltins()}) {
        for (const Builtin& entry : group)
            table.push_back(&entry);
    }
    std::sort(table.begin(), table.end(), [](const Builtin* x, const Builtin* y) {
        return LessNoCase(x->name, y->name);
    });
    return table;
}

} // namespace

const Builtin* FindBuiltin(std::wstring_view name) {
    static const std::vector<const Builtin*> table = SortedTable();
    const auto it = std::lower_bound(
        table.begin(), table.end(), name, [](const Builtin* entry, std::wstring_view key) {
            return LessNoCase(entry->name, key);
        });
    if (it == table.end() || LessNoCase(name, (*it)->name))
        return nullptr;
    return *it;
}

} // namespace vbs
