// The dispatch loop and the frame operations it inlines. The loop keeps the small, frequent
// instructions and the fast forms; the larger or rarer bodies are member functions beside
// it, one theme a file: vm_calls.cpp (built-ins, a class's own methods, frames for calls made
// by instructions), vm_operators.cpp (operators without a fast form), vm_for_each.cpp,
// vm_error_statements.cpp (On Error, Err), vm_objects.cpp (members, classes, default
// properties, operands that are objects), vm_arrays.cpp (subscripts, element instructions
// beyond their fast forms, ReDim, Erase), vm_dynamic_code.cpp (Eval, Execute, GetRef),
// vm_run.cpp (runs from the host, errors and recovery). What stays inline is measured:
// moving code out of this function changes how the compiler keeps the loop's state in
// registers, so each move was kept only where the script benchmarks did not slow down.
#include "vbscript/vm.h"

#include "vbscript/coerce.h"
#include "vbscript/operators.h"
#include "vbscript/script_error.h"
#include "vbscript/vm_frames.h"
#include "vbscript/vm_values.h"

namespace vbs {

using namespace vm_values;

namespace {

bool ConvertsToText(const Value& v) {
    return v.Type() != VarType::Object && v.Type() != VarType::Array && v.Type() != VarType::Error;
}

} // namespace

void Vm::PushFrame(Procedure& proc, Value* args, ArgPlace* places, std::size_t argc, bool consume) {
    std::size_t poolMark = 0;
    Value* locals = m_pool.Allocate(static_cast<std::size_t>(proc.localCount), poolMark);
    const std::size_t refBase = m_refs.size();
    const std::size_t lockBase = m_locks.size();
    for (std::size_t i = 0; i < argc; ++i) {
        Value& slot = locals[1 + i];
        if (places && proc.paramByRef[i] && places[i].ref) {
            m_refs.push_back(places[i].ref);
            if (places[i].lock)
                m_locks.push_back(std::move(places[i].lock));
            continue;
        }
        if (consume)
            slot = std::move(args[i]);
        else
            slot = args[i];
        if (proc.paramByRef[i])
            m_refs.push_back(&slot);
    }
    ++proc.running;
    Frame& frame = m_frames.Push();
    frame.proc = &proc;
    frame.pc = 0;
    frame.locals = locals;
    frame.poolMark = poolMark;
    frame.refBase = refBase;
    frame.stackBase = 0;
    frame.argRefBase = 0;
    frame.lockBase = lockBase;
    frame.resumeNext = false;
    frame.discardResult = false;
}

// kFast false leaves out every fast form (whole-number arithmetic and comparisons decided
// here, in-place adds, one-subscript element access, the Long counter of For): each
// instruction then takes the general path, against which the fast ones can be checked.
template <bool kFast> void Vm::Execute(std::size_t baseDepth) {
    Frame* f = &m_frames.back();
    const Instr* code = f->proc->code.data();
    const Value* constants = f->proc->constants.data();
    Value* locals = f->locals;
    std::int32_t pc = f->pc;
    const auto enter = [&]() __attribute__((always_inline)) {
        f = &m_frames.back();
        code = f->proc->code.data();
        constants = f->proc->constants.data();
        locals = f->locals;
        pc = f->pc;
    };
    // Before a call that may run script code or fail: where this frame stands.
    const auto leave = [&]() __attribute__((always_inline)) {
        f->pc = pc;
    };
    // Where a store may have released the last reference to an instance, its
    // Class_Terminate runs before the next statement.
    const auto safePoint = [&]() __attribute__((always_inline)) {
        if (!m_terminating->empty()) {
            f->pc = pc;
            if (StartTerminate(baseDepth))
                enter();
        }
    };
    // After an instruction handed out of the loop.
    const auto after = [&](StepEnd end) __attribute__((always_inline)) {
        if (end == StepEnd::FramePushed)
            enter();
        else if (end == StepEnd::SafePoint)
            safePoint();
    };
    // A script class instance used as a value becomes its default property's value.
    const auto resolve = [&](Value & v) __attribute__((always_inline)) {
        if (v.Type() == VarType::Object) [[unlikely]]
            ResolveValues(std::span<Value>(&v, 1), *f, pc);
    };
    const auto let = [&](Value & v) __attribute__((always_inline)) {
        resolve(v);
        LetValue(v);
    };
    // The value on top of the stack taken off as the condition of a jump.
    const auto popCondition = [&]() __attribute__((always_inline)) {
        resolve(m_stack.back());
        const bool truth = IsTrue(m_stack.back());
        m_stack.pop_back();
        return truth;
    };
    // The two operands on top of the stack become `operation`'s result.
    const auto binary = [&](auto operation) __attribute__((always_inline)) {
        Value* operands = m_stack.end() - 2;
        if (operands[0].Type() == VarType::Object || operands[1].Type() == VarType::Object)
            [[unlikely]]
            ResolveValues(std::span<Value>(operands, 2), *f, pc);
        Value& left = m_stack[m_stack.size() - 2];
        left = operation(left, m_stack.back());
        m_stack.pop_back();
    };
    // Every loop passes a jump and every recursion a call, so counting those bounds the run.
    const auto tick = [&]() __attribute__((always_inline)) {
        if (--m_stepsLeft < 0) [[unlikely]]
            StepLimitReached();
    };
    // A variable operand; locals come straight from the register copy of the frame's slots.
    const auto variable = [&](std::int32_t packed) __attribute__((always_inline))->Value& {
        if (packed < (1 << kVarKindShift)) [[likely]]
            return locals[packed];
        return Variable(*f, packed);
    };
    const auto operand = [&](std::int32_t packed) __attribute__((always_inline))->const Value& {
        if (packed < (1 << kVarKindShift)) [[likely]]
            return locals[packed];
        if ((packed >> kVarKindShift) == static_cast<std::int32_t>(VarKind::Constant))
            return constants[packed & ((1 << kVarKindShift) - 1)];
        return Variable(*f, packed);
    };
    try {
        for (;;) {
            const Instr& in = code[pc++];
            switch (in.op) {
            // Variables and constants.
            case Op::PushConst:
                m_stack.push_back(constants[in.a]);
                break;
            case Op::Pop:
                m_stack.pop_back();
                safePoint();
                break;
            case Op::LoadLocal:
                m_stack.push_back(locals[in.a]);
                break;
            case Op::StoreLocal:
                let(m_stack.back());
                locals[in.a] = std::move(m_stack.back());
                m_stack.pop_back();
                safePoint();
                break;
            case Op::LoadRef:
                m_stack.push_back(*m_refs[f->refBase + static_cast<std::size_t>(in.a)]);
                break;
            case Op::StoreRef:
                let(m_stack.back());
                *m_refs[f->refBase + static_cast<std::size_t>(in.a)] = std::move(m_stack.back());
                m_stack.pop_back();
                safePoint();
                break;
            case Op::LoadGlobal:
                m_stack.push_back(m_scope.globals[static_cast<std::size_t>(in.a)]);
                break;
            case Op::StoreGlobal:
                let(m_stack.back());
                m_scope.globals[static_cast<std::size_t>(in.a)] = std::move(m_stack.back());
                m_stack.pop_back();
                safePoint();
                break;
            case Op::LoadField:
                m_stack.push_back(static_cast<ClassInstance*>(f->me.AsObject())->Field(in.a));
                break;
            case Op::StoreField:
                let(m_stack.back());
                static_cast<ClassInstance*>(f->me.AsObject())->Field(in.a) =
                    std::move(m_stack.back());
                m_stack.pop_back();
                safePoint();
                break;
            case Op::LoadChecked:
                if (!m_scope.declared[static_cast<std::size_t>(in.a)])
                    RaiseError(500);
                m_stack.push_back(m_scope.globals[static_cast<std::size_t>(in.a)]);
                break;
            case Op::SetVar: {
                if (in.b == 0 && m_stack.back().Type() != VarType::Object)
                    RaiseError(err::ObjectRequired);
                variable(in.a) = std::move(m_stack.back());
                m_stack.pop_back();
                safePoint();
                break;
            }
            case Op::Move: {
                const Value& source = operand(in.b);
                if (source.Type() == VarType::Object) [[unlikely]] {
                    leave();
                    after(MoveDefaultValue(in, *f));
                    break;
                }
                Value& target = variable(in.a);
                const bool heldCounted =
                    target.Type() == VarType::Object || target.Type() == VarType::Array;
                target = source;
                if (heldCounted)
                    safePoint();
                break;
            }
            case Op::Erase:
                EraseVariable(variable(in.a), in.b != 0);
                safePoint();
                break;

            // Objects.
            case Op::RequireObject:
                if (m_stack.back().Type() != VarType::Object)
                    RaiseError(err::ObjectRequired);
                break;
            case Op::LoadMe:
                if (f->me.IsEmpty())
                    RaiseError(err::ObjectRequired);
                m_stack.push_back(f->me);
                break;
            case Op::Member:
            case Op::StoreMember:
                tick();
                leave();
                after(MemberInstruction(in, *f, baseDepth));
                break;
            case Op::New:
                leave();
                if (New(std::wstring(constants[in.a].AsString()), baseDepth))
                    enter();
                break;

            // Code made while running.
            case Op::Eval:
            case Op::Execute:
                leave();
                RunCodeText(in, *f);
                break;
            case Op::GetRef:
                m_stack.back() = ProcedureRefTo(m_stack.back());
                break;

            // Arrays.
            case Op::LoadElement1: {
                const Value& target = variable(in.a);
                const Value& subscript = operand(in.b);
                // Other subscripts convert outside the loop, where an object's default
                // property may run while no array is held.
                if (kFast && IsWhole(subscript) && target.Type() == VarType::Array &&
                    target.AsArray()->Dimensions() == 1) {
                    const Array& array = *target.AsArray();
                    m_stack.push_back(array.At(OneIndex(array, Whole(subscript))));
                    break;
                }
                leave();
                after(LoadElement1(in, *f, baseDepth));
                break;
            }
            case Op::LoadElement: {
                if (kFast && in.b == 1 && IsWhole(m_stack.back())) {
                    const Value& target = variable(in.a);
                    if (target.Type() == VarType::Array && target.AsArray()->Dimensions() == 1) {
                        const Array& array = *target.AsArray();
                        m_stack.back() = array.At(OneIndex(array, Whole(m_stack.back())));
                        break;
                    }
                }
                leave();
                after(LoadElement(in, *f, baseDepth));
                break;
            }
            case Op::StoreElement:
            case Op::SetElement:
                leave();
                after(StoreElement<kFast>(in, *f, baseDepth));
                break;
            case Op::DimArray:
                DimArray(variable(in.a), in.b);
                break;
            case Op::ReDim:
                ReDim(variable(in.a), in.b, in.c != 0);
                break;

            // Arguments, calls and returns.
            case Op::ArgRef: {
                Value& place = variable(in.a);
                m_stack.push_back(place);
                m_argRefs.push_back(ArgPlace{&place, {}});
                break;
            }
            case Op::ArgElement:
                leave();
                after(ArgElement(in, *f, baseDepth));
                break;
            case Op::ArgValue:
                m_argRefs.emplace_back();
                break;
            case Op::Call:
                tick();
                leave();
                CallProcedure(in, baseDepth);
                enter();
                break;
            case Op::CallMe:
                tick();
                leave();
                CallOwnMethod(in, *f, baseDepth);
                enter();
                break;
            case Op::CallBuiltin:
                leave();
                CallBuiltin(in, *f);
                break;
            case Op::Return: {
                Value result = std::move(locals[0]);
                const bool discard = f->discardResult;
                PopFrame();
                if (!discard)
                    m_stack.push_back(std::move(result));
                if (m_frames.size() == baseDepth)
                    return;
                enter();
                safePoint();
                break;
            }

            // Jumps and loops.
            case Op::Jump:
                tick();
                pc = in.a;
                break;
            case Op::JumpIfFalse:
                tick();
                if (!popCondition())
                    pc = in.a;
                break;
            case Op::JumpIfTrue:
                tick();
                if (popCondition())
                    pc = in.a;
                break;
            case Op::CompareJump: {
                tick();
                const Value& left = operand(in.b);
                const Value& right = operand(in.c);
                const auto cmp = static_cast<Comparison>(in.x & 0x0F);
                const OperandOrigin origin{(in.x & kLeftLiteral) != 0, (in.x & kRightLiteral) != 0};
                bool truth;
                if (left.Type() == VarType::Object || right.Type() == VarType::Object)
                    [[unlikely]] {
                    leave();
                    truth = CompareWithObjects(cmp, left, right, origin);
                } else
                    truth = ComparisonTrue<kFast>(cmp, left, right, origin);
                if (truth == ((in.x & kJumpWhenTrue) != 0))
                    pc = in.a;
                break;
            }
            case Op::ForStart:
                if (!ForContinues<kFast>(variable(in.a), locals[in.b], locals[in.b + 1]))
                    pc = in.c;
                break;
            case Op::ForNext: {
                tick();
                Value& counter = variable(in.a);
                const Value& limit = locals[in.b];
                const Value& step = locals[in.b + 1];
                if (kFast && counter.Type() == VarType::Long && IsWhole(step) && IsWhole(limit)) {
                    // The usual counter: stays a Long while it fits.
                    const std::int64_t next = std::int64_t{counter.AsLong()} + Whole(step);
                    if (next >= INT32_MIN && next <= INT32_MAX) {
                        counter.SetLong(static_cast<std::int32_t>(next));
                        if (Whole(step) >= 0 ? next <= Whole(limit) : next >= Whole(limit))
                            pc = in.c;
                        break;
                    }
                }
                if (step.Type() == VarType::Error) [[unlikely]] {
                    leave();
                    RaiseError(err::ForNotInitialized);
                }
                counter = AddOrSubtract<kFast>(counter, step, 1);
                if (ForContinues<kFast>(counter, limit, step))
                    pc = in.c;
                break;
            }
            case Op::ForEachStart:
                leave();
                if (!StartForEach(in, *f))
                    pc = in.c;
                break;
            case Op::ForEachNext:
                tick();
                leave();
                if (NextForEach(in, *f))
                    pc = in.c;
                break;

            // Operators: the ones with fast forms here, the others out of the loop.
            case Op::BinaryPush:
            case Op::BinaryTo: {
                const Value& left = operand(in.b);
                const Value& right = operand(in.c);
                if (left.Type() == VarType::Object || right.Type() == VarType::Object)
                    [[unlikely]] {
                    leave();
                    after(FusedWithObjects(in, *f));
                    break;
                }
                if (kFast && in.op == Op::BinaryTo &&
                    static_cast<FusedOp>(in.x) != FusedOp::Multiply) {
                    // Releasing an object or array would need a safe point: not here.
                    Value& target = variable(in.a);
                    if (target.Type() != VarType::Object && target.Type() != VarType::Array &&
                        AddInto(target,
                                left,
                                right,
                                static_cast<FusedOp>(in.x) == FusedOp::Add ? 1 : -1))
                        break;
                }
                Value result = Fused<kFast>(static_cast<FusedOp>(in.x), left, right);
                if (in.op == Op::BinaryPush) {
                    m_stack.push_back(std::move(result));
                } else {
                    Value& target = variable(in.a);
                    const bool heldCounted =
                        target.Type() == VarType::Object || target.Type() == VarType::Array;
                    target = std::move(result);
                    if (heldCounted)
                        safePoint();
                }
                break;
            }
            case Op::Add:
                binary(
                    [](const Value& a, const Value& b) { return AddOrSubtract<kFast>(a, b, 1); });
                break;
            case Op::Subtract:
                binary(
                    [](const Value& a, const Value& b) { return AddOrSubtract<kFast>(a, b, -1); });
                break;
            case Op::Multiply:
                binary([](const Value& a, const Value& b) { return Multiply(a, b); });
                break;
            case Op::Compare: {
                const OperandOrigin origin{(in.b & 1) != 0, (in.b & 2) != 0};
                binary([&](const Value& a, const Value& b) {
                    return CompareValues<kFast>(static_cast<Comparison>(in.a), a, b, origin);
                });
                break;
            }
            case Op::Negate:
            case Op::Not:
            case Op::Divide:
            case Op::IntDivide:
            case Op::Mod:
            case Op::Power:
            case Op::Concat:
            case Op::And:
            case Op::Or:
            case Op::Xor:
            case Op::Eqv:
            case Op::Imp:
            case Op::Is:
                leave();
                ApplyOperator(in.op, *f);
                break;
            case Op::AppendStart:
                locals[in.b] = variable(in.a);
                break;
            case Op::AppendTo: {
                Value& target = variable(in.a);
                const std::size_t first = m_stack.size() - static_cast<std::size_t>(in.b);
                // In place when every value converts to text without running code and the
                // code the operands ran left the variable as it was (c: the slot AppendStart
                // kept it in, -1 when the operands run none).
                bool inPlace =
                    ConvertsToText(target) && (in.c < 0 || locals[in.c].IsSameAs(target));
                for (std::size_t i = first; i < m_stack.size(); ++i)
                    inPlace = inPlace && ConvertsToText(m_stack[i]);
                if (!inPlace) [[unlikely]] {
                    leave();
                    after(AppendInOrder(in, *f));
                    break;
                }
                if (in.c >= 0)
                    locals[in.c] = Value(); // the variable's text is its own again
                for (std::size_t i = first; i < m_stack.size(); ++i)
                    target = Concatenate(std::move(target), m_stack[i]);
                m_stack.resize(first);
                break;
            }

            // Errors.
            case Op::OnErrorResumeNext:
            case Op::OnErrorGoto0:
            case Op::ErrNumber:
            case Op::ErrDescription:
            case Op::ErrSource:
            case Op::ErrClear:
            case Op::LoadErr:
            case Op::Raise:
                leave();
                ErrorStatement(in, *f);
                break;
            }
        }
    } catch (...) {
        m_frames.back().pc = pc;
        throw;
    }
}

template void Vm::Execute<true>(std::size_t baseDepth);
template void Vm::Execute<false>(std::size_t baseDepth);

} // namespace vbs
