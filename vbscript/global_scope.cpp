#include "vbscript/global_scope.h"

#include <cwctype>
#include <vector>

namespace vbs {

std::wstring FoldCase(std::wstring_view name) {
    std::wstring folded(name);
    for (wchar_t& c : folded)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return folded;
}

std::int32_t GlobalScope::DeclareGlobal(const std::wstring& folded, bool declare) {
    auto [it, added] = globalIndex.try_emplace(folded, static_cast<std::int32_t>(globals.size()));
    const auto index = static_cast<std::size_t>(it->second);
    if (added) {
        globals.emplace_back();
        declared.push_back(false);
        namedItem.push_back(false);
        m_usedImplicitly.push_back(false);
    }
    if (declare && !declared[index]) {
        declared[index] = true;
        if (m_usedImplicitly[index]) {
            m_usedImplicitly[index] = false;
            BindImplicitNames(it->second);
        }
    }
    return it->second;
}

std::int32_t GlobalScope::ImplicitGlobal(const std::wstring& folded) {
    const std::int32_t index = DeclareGlobal(folded, false);
    m_usedImplicitly[static_cast<std::size_t>(index)] = true;
    return index;
}

namespace {

void Bind(Procedure& proc, std::int32_t global) {
    std::erase_if(proc.implicitNames, [&](const Procedure::ImplicitName& name) {
        if (name.global != global)
            return false;
        const std::int32_t local = PackVariable(VarKind::Local, name.slot);
        RenameVariable(proc.code, local, PackVariable(VarKind::Global, global));
        // Eval and Execute inside the procedure find the global by name from now on.
        std::erase_if(proc.localNames, [&](const auto& entry) { return entry.second == local; });
        return true;
    });
}

} // namespace

// Code is rewritten in place, so a frame running it (a host call registering an object
// from inside a procedure) goes on with the global from its next instruction.
void GlobalScope::BindImplicitNames(std::int32_t global) {
    for (const auto& proc : procedures)
        Bind(*proc, global);
    for (const auto& proc : retired)
        Bind(*proc, global);
    for (const auto& [name, info] : classes)
        for (const auto& proc : info->procedures)
            Bind(*proc, global);
}

} // namespace vbs
