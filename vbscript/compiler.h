#pragma once
// The syntax tree turned into one flat instruction list per procedure. Every variable is
// resolved here to a slot: a local (index in the frame), a ByRef parameter (index in the
// frame's reference table) or a global (index in the engine's global table), so the VM
// never looks a name up while running.
#include <memory>
#include <string>
#include <vector>

#include "vbscript/ast.h"
#include "vbscript/global_scope.h"
#include "vbscript/instructions.h"
#include "vbscript/procedure.h"
#include "vbscript/syntax_error.h"

namespace vbs {

// Compiles a parsed script into `scope`: its procedures are added (replacing any of the
// same name) and its global code is returned as a procedure to run once. False, with
// `error` set, for what the compiler cannot accept.
// With a `caller`, the global code also sees the caller's locals and class (Execute). New
// names it declares are globals, or with `executed` (the names earlier Execute code made in
// the running call of a procedure) locals of that call, added to `executed`.
bool Compile(const Program& program,
             GlobalScope& scope,
             std::unique_ptr<Procedure>& globalCode,
             SyntaxError& error,
             const Procedure* caller = nullptr,
             std::vector<std::wstring>* executed = nullptr);
// Compiles a program from ParseExpression into a procedure returning the expression's value.
bool CompileExpression(const Program& program,
                       GlobalScope& scope,
                       std::unique_ptr<Procedure>& code,
                       SyntaxError& error,
                       const Procedure* caller = nullptr,
                       std::vector<std::wstring>* executed = nullptr);

} // namespace vbs
