#include "vbscript/global_scope.h"

#include <cwctype>

namespace vbs {

std::wstring FoldCase(std::wstring_view name) {
    std::wstring folded(name);
    for (wchar_t& c : folded)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return folded;
}

std::int32_t GlobalScope::DeclareGlobal(const std::wstring& folded, bool declare) {
    auto [it, added] = globalIndex.try_emplace(folded, static_cast<std::int32_t>(globals.size()));
    if (added) {
        globals.emplace_back();
        declared.push_back(false);
    }
    if (declare)
        declared[static_cast<std::size_t>(it->second)] = true;
    return it->second;
}

} // namespace vbs
