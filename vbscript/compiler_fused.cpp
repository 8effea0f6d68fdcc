#include "vbscript/procedure_compiler.h"

#include <algorithm>

#include "vbscript/constants.h"

namespace vbs::compiling {

bool ProcedureCompiler::IsSimple(const Expr* e) const {
    if (!scope_.fastPaths) // every fused instruction needs simple operands
        return false;
    if (e->kind == ExprKind::Literal)
        return static_cast<const LiteralExpr*>(e)->literal != LiteralKind::Date;
    return e->kind == ExprKind::Name && FindVariable(static_cast<const NameExpr*>(e)->name);
}

std::int32_t ProcedureCompiler::SimpleOperand(const Expr* e) {
    if (e->kind == ExprKind::Literal) {
        proc_.constants.push_back(LiteralValue(*static_cast<const LiteralExpr*>(e)));
        return PackVariable(VarKind::Constant,
                            static_cast<std::int32_t>(proc_.constants.size() - 1));
    }
    return *FindVariable(static_cast<const NameExpr*>(e)->name);
}

std::optional<FusedOp> ProcedureCompiler::FusedOf(BinaryOp op) {
    switch (op) {
    case BinaryOp::Add:
        return FusedOp::Add;
    case BinaryOp::Subtract:
        return FusedOp::Subtract;
    case BinaryOp::Multiply:
        return FusedOp::Multiply;
    default:
        return std::nullopt;
    }
}

std::optional<FusedOp> ProcedureCompiler::FusableArithmetic(const Expr* e) const {
    if (e->kind != ExprKind::Binary)
        return std::nullopt;
    auto* b = static_cast<const BinaryExpr*>(e);
    auto op = FusedOf(b->op);
    if (!op || !IsSimple(b->left) || !IsSimple(b->right))
        return std::nullopt;
    return op;
}

bool ProcedureCompiler::EmitCompareJump(const Expr* condition,
                                        bool jumpWhenTrue,
                                        std::int32_t target,
                                        std::size_t* at) {
    if (condition->kind != ExprKind::Binary)
        return false;
    auto* b = static_cast<const BinaryExpr*>(condition);
    auto cmp = ComparisonOf(b->op);
    if (!cmp || !IsSimple(b->right))
        return false;
    const auto x =
        static_cast<std::uint8_t>(static_cast<int>(*cmp) | (IsLiteral(b->left) ? kLeftLiteral : 0) |
                                  (b->right->kind == ExprKind::Literal ? kRightLiteral : 0) |
                                  (jumpWhenTrue ? kJumpWhenTrue : 0));
    std::size_t emitted = 0;
    if (IsSimple(b->left)) {
        const std::int32_t left = SimpleOperand(b->left);
        emitted = EmitFused(Op::CompareJump, x, target, left, SimpleOperand(b->right));
    } else {
        // The right operand is read in place after the left one ran, as it would be pushed.
        CompileExpr(b->left);
        emitted = EmitFused(Op::CompareTopJump, x, target, 0, SimpleOperand(b->right));
    }
    if (at)
        *at = emitted;
    return true;
}

bool ProcedureCompiler::CompileAppend(std::int32_t var,
                                      const std::wstring& name,
                                      const Expr* value) {
    if (!scope_.fastPaths)
        return false;
    std::vector<const Expr*> operands;
    const Expr* e = value;
    while (e->kind == ExprKind::Binary &&
           static_cast<const BinaryExpr*>(e)->op == BinaryOp::Concat) {
        operands.push_back(static_cast<const BinaryExpr*>(e)->right);
        e = static_cast<const BinaryExpr*>(e)->left;
    }
    if (operands.empty() || e->kind != ExprKind::Name ||
        FoldCase(static_cast<const NameExpr*>(e)->name) != FoldCase(name))
        return false;
    const std::wstring key = FoldCase(name);
    for (const Expr* operand : operands)
        if (Mentions(operand, key))
            return false;
    // All operands are evaluated before the first append, where the language appends each
    // before evaluating the next: only the first may run code or fail to convert with
    // effects that would then come in another order.
    for (std::size_t i = 0; i + 1 < operands.size(); ++i)
        if (!IsQuiet(operands[i]))
            return false;
    // When the first may run code, which may change the variable, its value is kept first.
    std::int32_t kept = -1;
    if (!IsQuiet(operands.back())) {
        kept = NewTemp(1);
        Emit(Op::AppendStart, var, kept);
    }
    for (auto it = operands.rbegin(); it != operands.rend(); ++it)
        CompileExpr(*it);
    Emit(Op::AppendTo, var, static_cast<std::int32_t>(operands.size()), kept);
    return true;
}

bool ProcedureCompiler::IsQuiet(const Expr* e) const {
    if (e->kind == ExprKind::Literal)
        return true;
    if (e->kind == ExprKind::Paren)
        return IsQuiet(static_cast<const ParenExpr*>(e)->inner);
    if (e->kind != ExprKind::Name)
        return false;
    const std::wstring& name = static_cast<const NameExpr*>(e)->name;
    return FindVariable(name) || (!FindProcedure(name) && !ClassMember(name) && FindConstant(name));
}

bool ProcedureCompiler::Mentions(const Expr* e, const std::wstring& key) {
    if (!e)
        return false;
    switch (e->kind) {
    case ExprKind::Name:
        return FoldCase(static_cast<const NameExpr*>(e)->name) == key;
    case ExprKind::Paren:
        return Mentions(static_cast<const ParenExpr*>(e)->inner, key);
    case ExprKind::Unary:
        return Mentions(static_cast<const UnaryExpr*>(e)->operand, key);
    case ExprKind::Binary:
        return Mentions(static_cast<const BinaryExpr*>(e)->left, key) ||
               Mentions(static_cast<const BinaryExpr*>(e)->right, key);
    case ExprKind::Call: {
        auto* call = static_cast<const CallExpr*>(e);
        return Mentions(call->callee, key) ||
               std::any_of(call->args.begin(), call->args.end(), [&](const Expr* arg) {
                   return Mentions(arg, key);
               });
    }
    case ExprKind::Member:
        return Mentions(static_cast<const MemberExpr*>(e)->object, key);
    default:
        return false;
    }
}

} // namespace vbs::compiling
