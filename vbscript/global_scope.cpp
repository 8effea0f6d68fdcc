#include "vbscript/global_scope.h"

#include <vector>

namespace vbs {

std::wstring FoldCase(std::wstring_view name) {
    std::wstring folded(name);
    for (wchar_t& c : folded)
        c = FoldNameChar(c);
    return folded;
}

std::int32_t GlobalScope::DeclareGlobal(std::wstring_view name, bool declare) {
    const auto [global, added] = globalIndex.Add(name);
    const auto index = static_cast<std::size_t>(global);
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
            BindImplicitNames(global);
        }
    }
    return global;
}

std::int32_t GlobalScope::ImplicitGlobal(std::wstring_view name) {
    const std::int32_t index = DeclareGlobal(name, false);
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
        RenameVariable(proc.byValueCode, local, PackVariable(VarKind::Global, global));
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
