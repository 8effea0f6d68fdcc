// The operators the loop has no fast form for: their operands are on top of the stack and
// their result takes the operands' place.
#include "vbscript/operators.h"
#include "vbscript/vm.h"

namespace vbs {

namespace {

Value Binary(Op op, Value left, const Value& right) {
    switch (op) {
    case Op::Divide:
        return Divide(left, right);
    case Op::IntDivide:
        return IntegerDivide(left, right);
    case Op::Mod:
        return Modulo(left, right);
    case Op::Power:
        return Power(left, right);
    case Op::Concat:
        return Concatenate(std::move(left), right);
    case Op::And:
        return And(left, right);
    case Op::Or:
        return Or(left, right);
    case Op::Xor:
        return Xor(left, right);
    case Op::Eqv:
        return Eqv(left, right);
    case Op::Imp:
        return Imp(left, right);
    default: // Is, the only other one the loop hands out
        return Is(left, right);
    }
}

} // namespace

void Vm::ApplyOperator(Op op, Frame& frame) {
    if (op == Op::Negate || op == Op::Not) {
        Value& operand = m_stack.back();
        if (operand.Type() == VarType::Object)
            ResolveValues(std::span<Value>(&operand, 1), frame, frame.pc);
        operand = op == Op::Negate ? Negate(operand) : Not(operand);
        return;
    }
    Value* operands = m_stack.end() - 2;
    // Is compares the objects themselves; the others use their default values.
    if (op != Op::Is &&
        (operands[0].Type() == VarType::Object || operands[1].Type() == VarType::Object))
        ResolveValues(std::span<Value>(operands, 2), frame, frame.pc);
    Value& left = m_stack[m_stack.size() - 2];
    left = Binary(op, std::move(left), m_stack.back());
    m_stack.pop_back();
}

} // namespace vbs
