#include "vbscript/instructions.h"

namespace vbs {

namespace {

// Which operands of an instruction hold a packed variable. Kept as a switch without a
// default, so a new instruction does not compile until it is listed here.
struct VariableOperands {
    bool a = false;
    bool b = false;
    bool c = false;
};

VariableOperands OperandsOf(Op op) {
    switch (op) {
    case Op::LoadElement:
    case Op::StoreElement:
    case Op::DimArray:
    case Op::ReDim:
    case Op::ArgRef:
    case Op::ArgElement:
    case Op::ForStart:
    case Op::ForNext:
    case Op::ForEachStart:
    case Op::ForEachNext:
    case Op::AppendStart:
    case Op::AppendTo:
    case Op::SetVar:
    case Op::SetElement:
    case Op::Erase:
        return {true, false, false};
    case Op::BinaryPush:
    case Op::CompareJump:
        return {false, true, true};
    case Op::CompareTopJump:
        return {false, false, true};
    case Op::BinaryTo:
    case Op::UpdateVar:
        return {true, true, true};
    case Op::Move:
    case Op::LoadElement1:
        return {true, true, false};
    case Op::PushConst:
    case Op::Pop:
    case Op::LoadLocal: // plain slots: renamed with their opcode below
    case Op::StoreLocal:
    case Op::LoadRef:
    case Op::StoreRef:
    case Op::LoadGlobal:
    case Op::StoreGlobal:
    case Op::LoadField:
    case Op::StoreField:
    case Op::ArgValue:
    case Op::Call:
    case Op::CallBuiltin:
    case Op::Return:
    case Op::Jump:
    case Op::JumpIfFalse:
    case Op::JumpIfTrue:
    case Op::Negate:
    case Op::Not:
    case Op::Add:
    case Op::Subtract:
    case Op::Multiply:
    case Op::Divide:
    case Op::IntDivide:
    case Op::Mod:
    case Op::Power:
    case Op::Concat:
    case Op::Compare:
    case Op::And:
    case Op::Or:
    case Op::Xor:
    case Op::Eqv:
    case Op::Imp:
    case Op::Is:
    case Op::OnErrorResumeNext:
    case Op::OnErrorGoto0:
    case Op::ErrNumber:
    case Op::ErrDescription:
    case Op::ErrSource:
    case Op::ErrClear:
    case Op::LoadErr:
    case Op::Raise:
    case Op::Member:
    case Op::StoreMember:
    case Op::RequireObject:
    case Op::LoadMe:
    case Op::CallMe:
    case Op::New:
    case Op::LoadChecked:
    case Op::Eval:
    case Op::Execute:
    case Op::GetRef:
        return {};
    }
    return {};
}

constexpr std::int32_t kIndexMask = (1 << kVarKindShift) - 1;

} // namespace

void RenameVariable(std::span<Instr> code, std::int32_t from, std::int32_t to) {
    static constexpr Op loads[] = {Op::LoadLocal, Op::LoadRef, Op::LoadGlobal, Op::LoadField};
    static constexpr Op stores[] = {Op::StoreLocal, Op::StoreRef, Op::StoreGlobal, Op::StoreField};
    const auto fromKind = static_cast<std::size_t>(from >> kVarKindShift);
    const auto toKind = static_cast<std::size_t>(to >> kVarKindShift);
    for (Instr& instr : code) {
        if (fromKind < 4 && (instr.op == loads[fromKind] || instr.op == stores[fromKind]) &&
            instr.a == (from & kIndexMask)) {
            instr.op = instr.op == loads[fromKind] ? loads[toKind] : stores[toKind];
            instr.a = to & kIndexMask;
            continue;
        }
        const VariableOperands operands = OperandsOf(instr.op);
        if (operands.a && instr.a == from)
            instr.a = to;
        if (operands.b && instr.b == from)
            instr.b = to;
        if (operands.c && instr.c == from)
            instr.c = to;
    }
}

} // namespace vbs
