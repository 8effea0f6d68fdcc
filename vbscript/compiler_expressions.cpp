#include "vbscript/procedure_compiler.h"

#include "vbscript/constants.h"

namespace vbs::compiling {

void ProcedureCompiler::CompileExpr(const Expr* e) {
    switch (e->kind) {
    case ExprKind::Literal:
        EmitConst(LiteralValue(*static_cast<const LiteralExpr*>(e)));
        return;
    case ExprKind::Name:
        CompileName(static_cast<const NameExpr*>(e)->name);
        return;
    case ExprKind::Paren:
        CompileExpr(static_cast<const ParenExpr*>(e)->inner);
        return;
    case ExprKind::Call: {
        auto* call = static_cast<const CallExpr*>(e);
        CompileCall(call->callee, call->args, true);
        return;
    }
    case ExprKind::Member:
        CompileMember(static_cast<const MemberExpr*>(e), {}, true);
        return;
    case ExprKind::New:
        Emit(Op::New, NameConstant(static_cast<const NewExpr*>(e)->className));
        return;
    case ExprKind::Unary: {
        auto* u = static_cast<const UnaryExpr*>(e);
        CompileExpr(u->operand);
        if (u->op == UnaryOp::Negate)
            Emit(Op::Negate);
        else if (u->op == UnaryOp::Not)
            Emit(Op::Not);
        return;
    }
    case ExprKind::Binary: {
        auto* b = static_cast<const BinaryExpr*>(e);
        if (auto fused = FusableArithmetic(e)) {
            const std::int32_t left = SimpleOperand(b->left);
            const std::int32_t right = SimpleOperand(b->right);
            EmitFused(Op::BinaryPush, static_cast<std::uint8_t>(*fused), 0, left, right);
            return;
        }
        CompileExpr(b->left);
        CompileExpr(b->right);
        if (auto cmp = ComparisonOf(b->op))
            Emit(Op::Compare,
                 static_cast<std::int32_t>(*cmp),
                 (IsLiteral(b->left) ? 1 : 0) | (IsLiteral(b->right) ? 2 : 0));
        else
            Emit(BinaryOpcode(b->op));
        return;
    }
    }
}

void ProcedureCompiler::CompileName(const std::wstring& name) {
    if (auto var = FindVariable(name))
        return EmitLoad(*var);
    if (const ClassInfo::Member* member = ClassMember(name)) {
        const std::int32_t proc = member->method >= 0 ? member->method : member->get;
        if (proc >= 0) {
            Emit(Op::CallMe, proc, 0);
            return;
        }
    }
    if (auto proc = FindProcedure(name)) {
        Emit(Op::Call, *proc, 0);
        return;
    }
    const std::wstring key = FoldCase(name);
    if (key == L"err") {
        Emit(Op::LoadErr);
        return;
    }
    if (key == L"me" && class_) {
        Emit(Op::LoadMe);
        return;
    }
    if (const Value* constant = FindConstant(name)) {
        EmitConst(*constant);
        return;
    }
    if (auto builtin = FindBuiltinIndex(name)) {
        Emit(Op::CallBuiltin, *builtin, 0);
        return;
    }
    // Unknown here: a global another script or the host (a named item) may provide.
    if (explicit_)
        Emit(Op::LoadChecked, scope_.DeclareGlobal(key, false));
    else
        EmitLoad(DeclareImplicit(name));
}

void ProcedureCompiler::CompileValues(const std::vector<Expr*>& args) {
    for (const Expr* arg : args) {
        if (arg)
            CompileExpr(arg);
        else
            EmitConst(Value());
    }
}

} // namespace vbs::compiling
