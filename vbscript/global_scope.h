#pragma once
// What every script of one engine shares: the global variables, procedures and classes by
// name.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "vbscript/builtins.h"
#include "vbscript/name_index.h"
#include "vbscript/procedure.h"
#include "vbscript/value.h"

namespace vbs {

// Everything that outlives one AddCode.
struct GlobalScope {
    NameIndex globalIndex;      // a global's number is its index in `globals`
    std::deque<Value> globals;  // a deque so ByRef addresses stay valid as it grows
    std::deque<bool> declared;  // per global: Dim'd, assigned in global code, or a named item
    std::deque<bool> namedItem; // per global: the host put an object there by name
    std::unordered_map<std::wstring, std::int32_t> procedureIndex;
    std::vector<std::unique_ptr<Procedure>> procedures;
    // Procedures a later script replaced: a running frame may still use their code.
    std::vector<std::unique_ptr<Procedure>> retired;
    std::unordered_map<std::wstring, std::shared_ptr<ClassInfo>> classes;
    std::vector<const Builtin*> builtins;
    std::vector<std::int32_t> fixedArrays; // globals Dim'd with bounds
    std::vector<std::int32_t> constants;   // globals declared by Const
    // False: code is compiled to the plain general instructions only and the VM takes its
    // general paths, for comparing the fast ones against them.
    bool fastPaths = true;

    // The global named `name`, made on first use. Declaring it (a Dim, an assignment in
    // global code, a named item) also moves the procedures that use the name without
    // declaring it from their local onto the global.
    std::int32_t DeclareGlobal(std::wstring_view name, bool declare);
    // The global a procedure's undeclared name will become once it is declared.
    std::int32_t ImplicitGlobal(std::wstring_view name);

private:
    void BindImplicitNames(std::int32_t global);
    std::deque<bool> m_usedImplicitly; // per global: some procedure has an ImplicitName
};

// Names are compared without case: every table holds them folded.
std::wstring FoldCase(std::wstring_view name);

} // namespace vbs
