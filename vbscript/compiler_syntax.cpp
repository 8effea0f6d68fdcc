#include "vbscript/procedure_compiler.h"

#include <algorithm>

#include "vbscript/coerce.h"
#include "vbscript/global_scope.h"

namespace vbs::compiling {

bool IsLiteral(const Expr* e) {
    if (e->kind == ExprKind::Unary && static_cast<const UnaryExpr*>(e)->op != UnaryOp::Not)
        e = static_cast<const UnaryExpr*>(e)->operand;
    return e->kind == ExprKind::Literal;
}

Value LiteralValue(const LiteralExpr& lit) {
    switch (lit.literal) {
    case LiteralKind::Integer:
        if (lit.form != IntegerForm::Decimal) {
            // Four digits or fewer are an Integer's bits; a trailing & reads them unsigned but
            // keeps an Integer when the value fits one.
            const auto pattern = static_cast<std::uint32_t>(lit.integer);
            if (lit.longSuffix ? pattern <= 0x7FFF : pattern <= 0xFFFF)
                return Value::Integer(static_cast<std::int16_t>(pattern));
            return Value::Long(static_cast<std::int32_t>(pattern));
        }
        if (lit.integer >= -32768 && lit.integer <= 32767 && !lit.longSuffix)
            return Value::Integer(static_cast<std::int16_t>(lit.integer));
        if (lit.integer >= INT32_MIN && lit.integer <= INT32_MAX)
            return Value::Long(static_cast<std::int32_t>(lit.integer));
        return Value::Double(static_cast<double>(lit.integer));
    case LiteralKind::Double:
        return Value::Double(lit.number);
    case LiteralKind::String:
        return Value::String(lit.text);
    case LiteralKind::Date: {
        double date = 0;
        if (!ParseDate(lit.text, date))
            throw CompileFailure{&lit, L"Invalid date literal"};
        return Value::Date(date);
    }
    case LiteralKind::True:
        return Value::Boolean(true);
    case LiteralKind::False:
        return Value::Boolean(false);
    case LiteralKind::Nothing:
        return Value::Nothing();
    case LiteralKind::Empty:
        return Value();
    case LiteralKind::Null:
        return Value::Null();
    }
    return Value();
}

Op BinaryOpcode(BinaryOp op) {
    switch (op) {
    case BinaryOp::Power:
        return Op::Power;
    case BinaryOp::Multiply:
        return Op::Multiply;
    case BinaryOp::Divide:
        return Op::Divide;
    case BinaryOp::IntDivide:
        return Op::IntDivide;
    case BinaryOp::Mod:
        return Op::Mod;
    case BinaryOp::Add:
        return Op::Add;
    case BinaryOp::Subtract:
        return Op::Subtract;
    case BinaryOp::Concat:
        return Op::Concat;
    case BinaryOp::Is:
        return Op::Is;
    case BinaryOp::And:
        return Op::And;
    case BinaryOp::Or:
        return Op::Or;
    case BinaryOp::Xor:
        return Op::Xor;
    case BinaryOp::Eqv:
        return Op::Eqv;
    case BinaryOp::Imp:
        return Op::Imp;
    default:
        return Op::Compare;
    }
}

std::optional<Comparison> ComparisonOf(BinaryOp op) {
    switch (op) {
    case BinaryOp::Equal:
        return Comparison::Equal;
    case BinaryOp::NotEqual:
        return Comparison::NotEqual;
    case BinaryOp::Less:
        return Comparison::Less;
    case BinaryOp::Greater:
        return Comparison::Greater;
    case BinaryOp::LessEqual:
        return Comparison::LessEqual;
    case BinaryOp::GreaterEqual:
        return Comparison::GreaterEqual;
    default:
        return std::nullopt;
    }
}

bool IsErrObject(const Expr* e) {
    return e && e->kind == ExprKind::Name &&
           FoldCase(static_cast<const NameExpr*>(e)->name) == L"err";
}

Value ConstantValue(const Expr* e) {
    bool negate = false;
    if (e->kind == ExprKind::Unary && static_cast<const UnaryExpr*>(e)->op != UnaryOp::Not) {
        negate = static_cast<const UnaryExpr*>(e)->op == UnaryOp::Negate;
        e = static_cast<const UnaryExpr*>(e)->operand;
    }
    if (e->kind != ExprKind::Literal)
        throw CompileFailure{e, L"Expected literal constant"};
    Value v = LiteralValue(*static_cast<const LiteralExpr*>(e));
    return negate ? Negate(v) : v;
}

bool HasOptionExplicit(const Program& program) {
    return std::any_of(program.statements.begin(), program.statements.end(), [](const Stmt* s) {
        return s->kind == StmtKind::OptionExplicit;
    });
}

} // namespace vbs::compiling
