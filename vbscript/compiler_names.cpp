#include "vbscript/procedure_compiler.h"

#include <algorithm>

#include "vbscript/constants.h"

namespace vbs::compiling {

void ProcedureCompiler::Hoist(const StmtList& body) {
    for (const Stmt* s : body) {
        if (s->kind == StmtKind::Dim)
            for (const VarDecl& v : static_cast<const DimStmt*>(s)->vars)
                Declare(v.name);
        else if (s->kind == StmtKind::ReDim)
            for (const VarDecl& v : static_cast<const ReDimStmt*>(s)->vars) {
                if (!FindVariable(v.name))
                    DeclareImplicit(v.name);
            }
        else if (s->kind == StmtKind::Const)
            for (const ConstDecl& c : static_cast<const ConstStmt*>(s)->consts) {
                const std::int32_t var = Declare(c.name);
                constants_.emplace_back(&c, var);
                if (globalCode_ && !executed_ &&
                    std::ranges::find(scope_.constants, var) == scope_.constants.end())
                    scope_.constants.push_back(var);
            }
        ForEachNestedBody(s, [&](const StmtList& nested) { Hoist(nested); });
    }
}

void ProcedureCompiler::StoreConstants() {
    for (const auto& [decl, var] : constants_) {
        const std::int32_t begin = Here();
        CompileExpr(decl->value);
        EmitStore(var);
        proc_.statements.push_back(StatementRange{begin, Here(), Here(), decl->value->line});
    }
}

bool ProcedureCompiler::IsConstant(std::int32_t var) const {
    const auto& global = scope_.constants;
    return std::any_of(constants_.begin(),
                       constants_.end(),
                       [&](const auto& c) { return c.second == var; }) ||
           ((var >> kVarKindShift) == static_cast<std::int32_t>(VarKind::Global) &&
            std::find(global.begin(), global.end(), var) != global.end());
}

void ProcedureCompiler::HoistAssigned(const StmtList& body) {
    const auto implicit = [&](const std::wstring& name) {
        if (!FindVariable(name) && !FindProcedure(name) && !ClassMember(name))
            DeclareImplicit(name);
    };
    for (const Stmt* s : body) {
        if (s->kind == StmtKind::Assign || s->kind == StmtKind::Set) {
            const Expr* target = static_cast<const AssignStmt*>(s)->target;
            if (target->kind == ExprKind::Name)
                implicit(static_cast<const NameExpr*>(target)->name);
        } else if (s->kind == StmtKind::For) {
            implicit(static_cast<const ForStmt*>(s)->variable);
        } else if (s->kind == StmtKind::ForEach) {
            implicit(static_cast<const ForEachStmt*>(s)->variable);
        }
        ForEachNestedBody(s, [&](const StmtList& nested) { HoistAssigned(nested); });
    }
}

bool ProcedureCompiler::IsFixed(std::int32_t var) const {
    return std::find(fixed_.begin(), fixed_.end(), var) != fixed_.end() ||
           ((var >> kVarKindShift) == static_cast<std::int32_t>(VarKind::Global) &&
            std::find(scope_.fixedArrays.begin(), scope_.fixedArrays.end(), var) !=
                scope_.fixedArrays.end());
}

const ClassInfo::Member* ProcedureCompiler::ClassMember(const std::wstring& name) const {
    if (!class_)
        return nullptr;
    auto it = class_->members.find(FoldCase(name));
    return it == class_->members.end() ? nullptr : &it->second;
}

std::int32_t ProcedureCompiler::Declare(const std::wstring& name) {
    const std::wstring key = FoldCase(name);
    if (globalCode_ && executed_) { // Execute inside a procedure declares locals of the call
        if (auto found = FindVariable(key);
            found && (*found >> kVarKindShift) != static_cast<std::int32_t>(VarKind::Global))
            return *found;
        return ExecutedLocal(key);
    }
    if (globalCode_)
        return PackVariable(VarKind::Global, scope_.DeclareGlobal(key, true));
    auto it = locals_.find(key);
    if (it != locals_.end())
        return it->second;
    const std::int32_t packed = PackVariable(VarKind::Local, NewTemp(1));
    locals_.emplace(key, packed);
    return packed;
}

std::int32_t ProcedureCompiler::DeclareImplicit(const std::wstring& name) {
    if (globalCode_)
        return Declare(name);
    const std::wstring key = FoldCase(name);
    if (auto it = locals_.find(key); it != locals_.end())
        return it->second;
    const std::int32_t slot = NewTemp(1);
    locals_.emplace(key, PackVariable(VarKind::Local, slot));
    proc_.implicitNames.push_back(Procedure::ImplicitName{scope_.ImplicitGlobal(key), slot});
    return PackVariable(VarKind::Local, slot);
}

std::int32_t ProcedureCompiler::Capture(std::int32_t callerVariable) const {
    auto& captures = proc_.captures;
    auto it = std::find(captures.begin(), captures.end(), callerVariable);
    if (it == captures.end()) {
        captures.push_back(callerVariable);
        proc_.paramByRef.push_back(1);
        it = captures.end() - 1;
    }
    return PackVariable(VarKind::Ref, static_cast<std::int32_t>(it - captures.begin()));
}

std::int32_t ProcedureCompiler::ExecutedLocal(const std::wstring& key) const {
    auto it = std::ranges::find(*executed_, key);
    if (it == executed_->end())
        it = executed_->insert(it, key);
    return Capture(ExecutedLocalCapture(static_cast<std::int32_t>(it - executed_->begin())));
}

std::optional<std::int32_t> ProcedureCompiler::FindVariable(const std::wstring& name) const {
    const std::wstring key = FoldCase(name);
    if (auto it = locals_.find(key); it != locals_.end())
        return it->second;
    if (caller_) {
        if (auto it = caller_->localNames.find(key); it != caller_->localNames.end())
            return Capture(it->second);
    }
    if (executed_ && std::ranges::find(*executed_, key) != executed_->end())
        return ExecutedLocal(key);
    if (class_) {
        if (auto it = class_->members.find(key);
            it != class_->members.end() && it->second.field >= 0)
            return PackVariable(VarKind::Field, it->second.field);
    }
    // A global only some procedure has read is no variable yet: declaring it later
    // rebinds the names that wait for it.
    if (const std::int32_t global = scope_.globalIndex.Find(key);
        global >= 0 && scope_.declared[static_cast<std::size_t>(global)])
        return PackVariable(VarKind::Global, global);
    return std::nullopt;
}

std::int32_t ProcedureCompiler::VariableFor(const std::wstring& name) {
    if (auto found = FindVariable(name))
        return *found;
    if (explicit_) {
        Emit(Op::Raise, 500);
        return PackVariable(VarKind::Local, NewTemp(1));
    }
    return DeclareImplicit(name);
}

bool ProcedureCompiler::IsOwnResult(std::int32_t var) const {
    if (caller_ && (var >> kVarKindShift) == static_cast<std::int32_t>(VarKind::Ref)) {
        // Eval or Execute inside a function: its name still calls it with arguments.
        const auto index = static_cast<std::size_t>(var & ((1 << kVarKindShift) - 1));
        return caller_->isFunction && index < proc_.captures.size() &&
               proc_.captures[index] == PackVariable(VarKind::Local, 0);
    }
    return !globalCode_ && var == PackVariable(VarKind::Local, 0);
}

bool ProcedureCompiler::CallsItself(const std::wstring& name, std::int32_t var) const {
    if (!IsOwnResult(var))
        return false;
    const ClassInfo::Member* member = ClassMember(name);
    return member ? member->method >= 0 || member->get >= 0 : FindProcedure(name).has_value();
}

std::optional<std::int32_t> ProcedureCompiler::FindProcedure(const std::wstring& name) const {
    auto it = scope_.procedureIndex.find(FoldCase(name));
    if (it == scope_.procedureIndex.end())
        return std::nullopt;
    return it->second;
}

std::int32_t ProcedureCompiler::ForwardProcedure(const std::wstring& name) {
    if (auto found = FindProcedure(name))
        return *found;
    auto proc = std::make_unique<Procedure>();
    proc->name = name;
    scope_.procedures.push_back(std::move(proc));
    const auto index = static_cast<std::int32_t>(scope_.procedures.size() - 1);
    scope_.procedureIndex.emplace(FoldCase(name), index);
    return index;
}

std::optional<std::int32_t> ProcedureCompiler::FindBuiltinIndex(const std::wstring& name) {
    const Builtin* builtin = FindBuiltin(name);
    if (!builtin)
        return std::nullopt;
    auto it = std::find(scope_.builtins.begin(), scope_.builtins.end(), builtin);
    if (it == scope_.builtins.end())
        it = scope_.builtins.insert(it, builtin);
    return static_cast<std::int32_t>(it - scope_.builtins.begin());
}

void ProcedureCompiler::EmitLoad(std::int32_t var) {
    static constexpr Op loads[] = {Op::LoadLocal, Op::LoadRef, Op::LoadGlobal, Op::LoadField};
    Emit(loads[var >> kVarKindShift], var & ((1 << kVarKindShift) - 1));
}

void ProcedureCompiler::EmitStore(std::int32_t var) {
    static constexpr Op stores[] = {Op::StoreLocal, Op::StoreRef, Op::StoreGlobal, Op::StoreField};
    Emit(stores[var >> kVarKindShift], var & ((1 << kVarKindShift) - 1));
}

std::int32_t ProcedureCompiler::NameConstant(const std::wstring& name) {
    proc_.constants.push_back(Value::String(FoldCase(name)));
    return static_cast<std::int32_t>(proc_.constants.size() - 1);
}

} // namespace vbs::compiling
