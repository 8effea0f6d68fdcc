#include "vbscript/procedure_compiler.h"

#include <algorithm>

#include "vbscript/constants.h"
#include "vbscript/script_error.h"

namespace vbs::compiling {

bool ProcedureCompiler::CompileEngineFunction(const std::wstring& name,
                                              const std::vector<Expr*>& args,
                                              bool wantResult) {
    const std::wstring key = FoldCase(name);
    Op op;
    if (key == L"eval")
        op = Op::Eval;
    else if (key == L"execute" || key == L"executeglobal")
        op = Op::Execute;
    else if (key == L"getref")
        op = Op::GetRef;
    else
        return false;
    if (args.size() != 1 || !args[0]) {
        Emit(Op::Raise, 450);
        EmitConst(Value());
    } else {
        CompileExpr(args[0]);
        if (key == L"execute" && !globalCode_ && proc_.executedLocals < 0)
            proc_.executedLocals = NewTemp(1);
        Emit(op, key == L"execute" ? 1 : 0);
        if (op == Op::Execute)
            EmitConst(Value());
    }
    if (!wantResult)
        Emit(Op::Pop);
    return true;
}

void ProcedureCompiler::CompileCall(const Expr* callee,
                                    const std::vector<Expr*>& args,
                                    bool wantResult) {
    if (callee->kind == ExprKind::Member)
        return CompileMember(static_cast<const MemberExpr*>(callee), args, wantResult);
    const auto argc = static_cast<std::int32_t>(args.size());
    const bool isMe = class_ && callee->kind == ExprKind::Name &&
                      FoldCase(static_cast<const NameExpr*>(callee)->name) == L"me" &&
                      !FindVariable(L"me");
    if (callee->kind != ExprKind::Name || isMe) {
        // f(1)(2), obj.Items()(0), Me(0): the default member (or element) of a value
        CompileExpr(callee);
        for (const Expr* arg : args)
            CompileArgument(arg);
        Emit(Op::Member, NameConstant(L""), argc, static_cast<std::int32_t>(Access::Get));
        if (!wantResult)
            Emit(Op::Pop);
        return;
    }
    const std::wstring& name = static_cast<const NameExpr*>(callee)->name;
    auto var = FindVariable(name);
    if (var && CallsItself(name, *var))
        var.reset();
    const ClassInfo::Member* member = var ? nullptr : ClassMember(name);
    if (var) {
        if (argc == 1 && args[0] && IsSimple(args[0])) {
            Emit(Op::LoadElement1, *var, SimpleOperand(args[0]));
        } else {
            CompileValues(args);
            Emit(Op::LoadElement, *var, argc);
        }
    } else if (member && (member->method >= 0 || member->get >= 0)) {
        for (const Expr* arg : args)
            CompileArgument(arg);
        Emit(Op::CallMe, member->method >= 0 ? member->method : member->get, argc);
    } else if (!FindProcedure(name) && CompileEngineFunction(name, args, wantResult)) {
        return;
    } else if (auto builtin = FindBuiltinIndex(name); builtin && !FindProcedure(name)) {
        CompileValues(args);
        Emit(Op::CallBuiltin, *builtin, argc);
    } else {
        const std::int32_t proc = ForwardProcedure(name);
        // When every argument goes by value the call takes no argument places.
        const bool byValue = scope_.fastPaths && std::ranges::all_of(args, [&](const Expr* arg) {
                                 return KindOf(arg) == ArgumentKind::Value;
                             });
        for (const Expr* arg : args)
            CompileArgument(arg, !byValue);
        Emit(Op::Call, proc, argc, byValue ? 1 : 0);
    }
    if (!wantResult)
        Emit(Op::Pop);
}

ProcedureCompiler::ArgumentKind ProcedureCompiler::KindOf(const Expr* arg) const {
    if (arg && arg->kind == ExprKind::Call) {
        const auto* call = static_cast<const CallExpr*>(arg);
        if (call->callee->kind == ExprKind::Name && !call->args.empty() &&
            std::ranges::none_of(call->args, [](const Expr* a) { return a == nullptr; })) {
            const std::wstring& name = static_cast<const NameExpr*>(call->callee)->name;
            if (auto var = FindVariable(name); var && !CallsItself(name, *var))
                return ArgumentKind::Element;
        }
    }
    if (arg && arg->kind == ExprKind::Name) {
        const std::wstring& name = static_cast<const NameExpr*>(arg)->name;
        if (FindVariable(name))
            return ArgumentKind::Variable;
        // A name seen first as an argument is a new variable the callee may fill in.
        if (!explicit_ && !FindProcedure(name) && !ClassMember(name) && !FindBuiltin(name) &&
            !FindConstant(name) && FoldCase(name) != L"me" && FoldCase(name) != L"err")
            return ArgumentKind::NewVariable;
    }
    return ArgumentKind::Value;
}

void ProcedureCompiler::CompileArgument(const Expr* arg, bool marked) {
    switch (KindOf(arg)) {
    case ArgumentKind::Element: {
        const auto* call = static_cast<const CallExpr*>(arg);
        CompileValues(call->args);
        Emit(Op::ArgElement,
             *FindVariable(static_cast<const NameExpr*>(call->callee)->name),
             static_cast<std::int32_t>(call->args.size()));
        return;
    }
    case ArgumentKind::Variable:
        Emit(Op::ArgRef, *FindVariable(static_cast<const NameExpr*>(arg)->name));
        return;
    case ArgumentKind::NewVariable:
        Emit(Op::ArgRef, DeclareImplicit(static_cast<const NameExpr*>(arg)->name));
        return;
    case ArgumentKind::Value:
        break;
    }
    if (arg)
        CompileExpr(arg);
    else
        EmitConst(Value());
    if (marked)
        Emit(Op::ArgValue);
}

void ProcedureCompiler::CompileObject(const MemberExpr* member) {
    if (member->object) {
        CompileExpr(member->object);
        return;
    }
    // ".name" outside With compiles; it fails when it runs.
    if (withTemps_.empty()) {
        Emit(Op::Raise, err::UnqualifiedReference);
        EmitConst(Value());
        return;
    }
    Emit(Op::LoadLocal, withTemps_.back());
}

void ProcedureCompiler::CompileMember(const MemberExpr* member,
                                      const std::vector<Expr*>& args,
                                      bool wantResult) {
    if (IsErrObject(member->object) && !FindVariable(L"err"))
        return CompileErrMember(member, args, wantResult);
    CompileObject(member);
    for (const Expr* arg : args)
        CompileArgument(arg);
    Emit(Op::Member,
         NameConstant(member->name),
         static_cast<std::int32_t>(args.size()),
         static_cast<std::int32_t>(wantResult ? Access::Get : Access::Call));
    if (!wantResult)
        Emit(Op::Pop);
}

// The frequent reads and Clear are single instructions; everything else (Raise, HelpFile,
// a wrong argument count ...) goes through the Err object like any member call.
void ProcedureCompiler::CompileErrMember(const MemberExpr* member,
                                         const std::vector<Expr*>& args,
                                         bool wantResult) {
    const std::wstring name = FoldCase(member->name);
    Op op = Op::LoadErr;
    if (name == L"number")
        op = Op::ErrNumber;
    else if (name == L"description")
        op = Op::ErrDescription;
    else if (name == L"source")
        op = Op::ErrSource;
    else if (name == L"clear")
        op = Op::ErrClear;
    if (op == Op::LoadErr || !args.empty()) {
        Emit(Op::LoadErr);
        for (const Expr* arg : args)
            CompileArgument(arg);
        Emit(Op::Member,
             NameConstant(member->name),
             static_cast<std::int32_t>(args.size()),
             static_cast<std::int32_t>(wantResult ? Access::Get : Access::Call));
    } else if (op == Op::ErrClear) {
        Emit(op);
        if (wantResult)
            EmitConst(Value());
        return;
    } else {
        Emit(op);
    }
    if (!wantResult)
        Emit(Op::Pop);
}

} // namespace vbs::compiling
