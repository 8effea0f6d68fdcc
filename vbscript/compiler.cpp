#include "vbscript/compiler.h"

#include <algorithm>
#include <functional>

#include "vbscript/procedure_compiler.h"
#include "vbscript/script_error.h"

namespace vbs {

namespace compiling {

void ProcedureCompiler::CompileProcedure(const ProcedureStmt& stmt) {
    proc_.isFunction =
        stmt.procKind == ProcedureKind::Function || stmt.procKind == ProcedureKind::PropertyGet;
    proc_.localCount = 1 + static_cast<int>(stmt.params.size());
    int refCount = 0;
    for (std::size_t i = 0; i < stmt.params.size(); ++i) {
        const Param& p = stmt.params[i];
        proc_.paramByRef.push_back(p.byRef);
        const std::int32_t slot = static_cast<std::int32_t>(1 + i);
        locals_[FoldCase(p.name)] =
            p.byRef ? PackVariable(VarKind::Ref, refCount++) : PackVariable(VarKind::Local, slot);
    }
    if (proc_.isFunction)
        locals_[FoldCase(stmt.name)] = PackVariable(VarKind::Local, 0);
    Hoist(stmt.body);
    if (!explicit_)
        HoistAssigned(stmt.body);
    StoreConstants();
    CompileBody(stmt.body);
    Finish();
}

void ProcedureCompiler::CompileExpression(const Expr* expr) {
    proc_.isFunction = true;
    proc_.localCount = 1;
    CompileExpr(expr);
    Emit(Op::SetVar, PackVariable(VarKind::Local, 0), 1);
    Finish();
}

void ProcedureCompiler::CompileGlobalCode(const StmtList& statements) {
    proc_.localCount = 1;
    Hoist(statements);
    StoreConstants();
    CompileBody(statements);
    Finish();
}

void ProcedureCompiler::Finish() {
    if (caller_)
        proc_.localCount = std::max(proc_.localCount, 1 + static_cast<int>(proc_.captures.size()));
    else if (!globalCode_)
        proc_.localNames = locals_;
    const auto end = Here();
    for (std::size_t at : exitProcedure_)
        proc_.code[at].a = end;
    Emit(Op::Return);
    // A jump to a return (the end of an If branch in a function) returns at once.
    for (Instr& instr : proc_.code) {
        if (scope_.fastPaths && instr.op == Op::Jump &&
            proc_.code[static_cast<std::size_t>(instr.a)].op == Op::Return)
            instr.op = Op::Return;
    }
    if (scope_.fastPaths && !globalCode_ && !caller_)
        MakeByValueCode();
    std::sort(proc_.statements.begin(),
              proc_.statements.end(),
              [](const StatementRange& x, const StatementRange& y) { return x.begin < y.begin; });
}

void ProcedureCompiler::MakeByValueCode() {
    const bool runsCodeText = std::ranges::any_of(
        proc_.code, [](const Instr& in) { return in.op == Op::Eval || in.op == Op::Execute; });
    if (runsCodeText || std::ranges::find(proc_.paramByRef, 1) == proc_.paramByRef.end())
        return;
    proc_.byValueCode = proc_.code;
    std::int32_t ref = 0;
    for (std::size_t i = 0; i < proc_.paramByRef.size(); ++i) {
        if (proc_.paramByRef[i])
            RenameVariable(proc_.byValueCode,
                           PackVariable(VarKind::Ref, ref++),
                           PackVariable(VarKind::Local, static_cast<std::int32_t>(1 + i)));
    }
}

} // namespace compiling

namespace {

using compiling::CompileFailure;
using compiling::ProcedureCompiler;

// The module's statements where procedures are declared: the top level and, within it, the
// bodies of If blocks at any depth.
void ForEachDeclarationSite(const StmtList& statements,
                            const std::function<void(const Stmt*)>& fn) {
    for (const Stmt* s : statements) {
        fn(s);
        if (s->kind != StmtKind::If)
            continue;
        const auto* st = static_cast<const IfStmt*>(s);
        for (const IfClause& clause : st->clauses)
            ForEachDeclarationSite(clause.body, fn);
        ForEachDeclarationSite(st->elseBody, fn);
    }
}

// Installs a compiled procedure in its slot; the one it replaces stays alive while a frame
// still runs its code.
void Install(GlobalScope& scope, std::int32_t slot, std::unique_ptr<Procedure> proc) {
    std::unique_ptr<Procedure>& current = scope.procedures[static_cast<std::size_t>(slot)];
    if (current && current->running > 0)
        scope.retired.push_back(std::move(current));
    current = std::move(proc);
}

} // namespace

bool Compile(const Program& program,
             GlobalScope& scope,
             std::unique_ptr<Procedure>& globalCode,
             SyntaxError& error,
             const Procedure* caller,
             std::vector<std::wstring>* executed) {
    const bool optionExplicit = compiling::HasOptionExplicit(program);
    try {
        // Procedures are known by name before any body compiles, so calls may come first.
        std::vector<std::pair<const ProcedureStmt*, std::unique_ptr<Procedure>>> compiled;
        std::vector<std::pair<std::shared_ptr<ClassInfo>, std::vector<const ProcedureStmt*>>>
            classes;
        ForEachDeclarationSite(program.statements, [&](const Stmt* s) {
            if (s->kind == StmtKind::Class) {
                std::vector<const ProcedureStmt*> bodies;
                auto info = compiling::DeclareClass(*static_cast<const ClassStmt*>(s), bodies);
                classes.emplace_back(std::move(info), std::move(bodies));
                return;
            }
            if (s->kind != StmtKind::Procedure)
                return;
            auto* st = static_cast<const ProcedureStmt*>(s);
            if (st->procKind != ProcedureKind::Sub && st->procKind != ProcedureKind::Function)
                throw CompileFailure{s, L"Property outside a class"};
            auto proc = std::make_unique<Procedure>();
            proc->name = st->name;
            proc->defined = true;
            compiled.emplace_back(st, std::move(proc));
        });
        std::vector<std::int32_t> slots;
        for (auto& [st, proc] : compiled) {
            // An undefined placeholder stands in until this AddCode succeeds.
            auto [it, added] = scope.procedureIndex.try_emplace(
                FoldCase(st->name), static_cast<std::int32_t>(scope.procedures.size()));
            if (added)
                scope.procedures.push_back(std::make_unique<Procedure>());
            slots.push_back(it->second);
        }
        auto global = std::make_unique<Procedure>();
        global->defined = true;
        ProcedureCompiler globalCompiler(
            scope, *global, true, optionExplicit, caller ? caller->owner : nullptr, caller);
        globalCompiler.SeeExecutedLocals(executed);
        globalCompiler.CompileGlobalCode(program.statements);
        for (auto& [st, proc] : compiled)
            ProcedureCompiler(scope, *proc, false, optionExplicit).CompileProcedure(*st);
        for (auto& [info, bodies] : classes) {
            for (const ProcedureStmt* st : bodies) {
                auto proc = std::make_unique<Procedure>();
                proc->name = st->name;
                proc->defined = true;
                ProcedureCompiler(scope, *proc, false, optionExplicit, info.get())
                    .CompileProcedure(*st);
                info->procedures.push_back(std::move(proc));
            }
        }
        for (std::size_t i = 0; i < compiled.size(); ++i)
            Install(scope, slots[i], std::move(compiled[i].second));
        for (auto& [info, bodies] : classes)
            scope.classes[FoldCase(info->name)] = info;
        globalCode = std::move(global);
        return true;
    } catch (const CompileFailure& failure) {
        error.number = syntax_errors::kSyntaxError;
        error.description = failure.what;
        error.line = failure.node ? failure.node->line : 0;
        error.column = failure.node ? failure.node->column : 0;
        return false;
    } catch (const ScriptError& e) { // a literal that does not convert
        error.number = e.number;
        error.description = e.description;
        return false;
    }
}

bool CompileExpression(const Program& program,
                       GlobalScope& scope,
                       std::unique_ptr<Procedure>& code,
                       SyntaxError& error,
                       const Procedure* caller,
                       std::vector<std::wstring>* executed) {
    try {
        auto proc = std::make_unique<Procedure>();
        proc->defined = true;
        const auto* st = static_cast<const AssignStmt*>(program.statements.front());
        ProcedureCompiler compiler(
            scope, *proc, false, false, caller ? caller->owner : nullptr, caller);
        compiler.SeeExecutedLocals(executed);
        compiler.CompileExpression(st->value);
        code = std::move(proc);
        return true;
    } catch (const CompileFailure& failure) {
        error.number = syntax_errors::kSyntaxError;
        error.description = failure.what;
        error.line = failure.node ? failure.node->line : 0;
        error.column = failure.node ? failure.node->column : 0;
        return false;
    } catch (const ScriptError& e) {
        error.number = e.number;
        error.description = e.description;
        return false;
    }
}

} // namespace vbs
