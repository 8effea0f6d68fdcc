// The dispatch loop and the frame operations it inlines. Cold instruction groups live
// beside it: vm_objects.cpp (members, classes, default properties), vm_arrays.cpp
// (subscripts, element instructions beyond their fast forms, ReDim, Erase, For Each
// snapshots), vm_dynamic_code.cpp (Eval, Execute, GetRef), vm_run.cpp (runs from the host,
// errors and recovery). What stays inline is measured: moving code out of this function
// changes how the compiler keeps the loop's state in registers, so each move was kept only
// where the scripts' instruction counts did not grow by more than 2%.
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

// Built-ins that ask about the value itself rather than use it.
bool InspectsObjects(const Builtin& builtin) {
    for (const wchar_t* name : {L"TypeName", L"IsObject", L"IsEmpty", L"IsNull", L"IsArray"}) {
        if (std::wstring_view(builtin.name) == name)
            return true;
    }
    return false;
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

void Vm::EnterCall(Procedure& proc,
                   std::size_t argc,
                   bool withRefs,
                   Value me,
                   bool discard,
                   std::size_t baseDepth) {
    if (!proc.defined)
        throw ScriptError{err::TypeMismatch, L"Type mismatch: '" + proc.name + L"'"};
    if (argc != proc.paramByRef.size())
        RaiseError(450);
    if (m_frames.size() - baseDepth >= static_cast<std::size_t>(m_limits.maxDepth))
        RaiseError(28);
    if (!withRefs)
        m_argRefs.resize(m_argRefs.size() + argc);
    PushFrame(proc,
              m_stack.data() + (m_stack.size() - argc),
              m_argRefs.data() + (m_argRefs.size() - argc),
              argc,
              true);
    m_stack.resize(m_stack.size() - argc);
    m_argRefs.resize(m_argRefs.size() - argc);
    Frame& frame = m_frames.back();
    frame.stackBase = m_stack.size();
    frame.argRefBase = m_argRefs.size();
    frame.me = std::move(me);
    frame.discardResult = discard;
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
    // Around calls that may run script code: where this frame stands, then the frame that
    // runs next when the call pushed one.
    const auto leave = [&]() __attribute__((always_inline)) {
        f->pc = pc;
    };
    const auto resume = [&](bool pushed) __attribute__((always_inline)) {
        if (pushed)
            enter();
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
    const auto binaryOn = [&](auto operation) __attribute__((always_inline)) {
        Value& left = m_stack[m_stack.size() - 2];
        left = operation(left, m_stack.back());
        m_stack.pop_back();
    };
    const auto binary = [&](auto operation) __attribute__((always_inline)) {
        Value* operands = m_stack.end() - 2;
        if (operands[0].Type() == VarType::Object || operands[1].Type() == VarType::Object)
            [[unlikely]]
            ResolveValues(std::span<Value>(operands, 2), *f, pc);
        binaryOn(operation);
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
            case Op::RequireObject:
                if (m_stack.back().Type() != VarType::Object)
                    RaiseError(err::ObjectRequired);
                break;
            case Op::LoadMe:
                if (f->me.IsEmpty())
                    RaiseError(err::ObjectRequired);
                m_stack.push_back(f->me);
                break;
            case Op::CallMe: {
                tick();
                const auto& info = static_cast<ClassInstance*>(f->me.AsObject())->Info();
                f->pc = pc;
                EnterCall(*info.procedures[static_cast<std::size_t>(in.a)],
                          static_cast<std::size_t>(in.b),
                          true,
                          f->me,
                          false,
                          baseDepth);
                enter();
                break;
            }
            // A member that stored into a field or took arguments may have let the last
            // reference to an instance go: its Class_Terminate runs before the next step.
            case Op::Member: {
                tick();
                leave();
                const bool pushed = MemberCall(constants[in.a].AsString(),
                                               static_cast<Access>(in.c),
                                               static_cast<std::size_t>(in.b),
                                               baseDepth);
                resume(pushed);
                if (!pushed)
                    safePoint();
                break;
            }
            case Op::StoreMember: {
                tick();
                leave();
                const bool pushed = MemberStore(constants[in.a].AsString(),
                                                static_cast<Access>(in.c),
                                                static_cast<std::size_t>(in.b),
                                                baseDepth);
                resume(pushed);
                if (!pushed)
                    safePoint();
                break;
            }
            case Op::New:
                f->pc = pc;
                if (New(std::wstring(constants[in.a].AsString()), baseDepth))
                    enter();
                break;
            case Op::Erase:
                EraseVariable(variable(in.a), in.b != 0);
                safePoint();
                break;
            case Op::Eval: {
                Value text = std::move(m_stack.back());
                m_stack.pop_back();
                leave();
                Value result = EvalText(text, *f);
                resume(false);
                m_stack.push_back(std::move(result));
                break;
            }
            case Op::Execute: {
                Value text = std::move(m_stack.back());
                m_stack.pop_back();
                leave();
                ExecuteText(text, in.a != 0 ? f : nullptr);
                resume(false);
                break;
            }
            case Op::GetRef:
                m_stack.back() = ProcedureRefTo(m_stack.back());
                break;
            case Op::BinaryPush:
            case Op::BinaryTo: {
                const Value& left = operand(in.b);
                const Value& right = operand(in.c);
                if (left.Type() == VarType::Object || right.Type() == VarType::Object)
                    [[unlikely]] {
                    leave();
                    Value result = FusedWithObjects(static_cast<FusedOp>(in.x), left, right);
                    resume(false);
                    if (in.op == Op::BinaryPush) {
                        m_stack.push_back(std::move(result));
                        break;
                    }
                    variable(in.a) = std::move(result);
                    safePoint();
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
            case Op::Move: {
                const Value& source = operand(in.b);
                if (source.Type() == VarType::Object) [[unlikely]] {
                    leave();
                    Value value = LetValueOf(source);
                    resume(false);
                    variable(in.a) = std::move(value);
                    safePoint();
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
            case Op::CompareJump: {
                tick();
                const Value& left = operand(in.b);
                const Value& right = operand(in.c);
                const auto cmp = static_cast<Comparison>(in.x & 0x0F);
                bool truth;
                if (left.Type() == VarType::Object || right.Type() == VarType::Object)
                    [[unlikely]] {
                    leave();
                    truth = CompareWithObjects(
                        cmp,
                        left,
                        right,
                        OperandOrigin{(in.x & kLeftLiteral) != 0, (in.x & kRightLiteral) != 0});
                    resume(false);
                } else if (kFast && IsWhole(left) && IsWhole(right))
                    truth = ComparisonHolds(
                        cmp, (Whole(left) > Whole(right)) - (Whole(left) < Whole(right)));
                else
                    truth = IsTrue(Compare(
                        cmp,
                        left,
                        right,
                        OperandOrigin{(in.x & kLeftLiteral) != 0, (in.x & kRightLiteral) != 0}));
                if (truth == ((in.x & kJumpWhenTrue) != 0))
                    pc = in.a;
                break;
            }
            case Op::LoadElement1: {
                const Value& target = variable(in.a);
                if (kFast && target.Type() == VarType::Array &&
                    target.AsArray()->Dimensions() == 1) {
                    const Array& array = *target.AsArray();
                    const Value& subscript = operand(in.b);
                    m_stack.push_back(array.At(OneIndex(
                        array, IsWhole(subscript) ? Whole(subscript) : ToLong(subscript))));
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
            case Op::CallBuiltin: {
                const Builtin& builtin = *m_scope.builtins[static_cast<std::size_t>(in.a)];
                if (in.b < builtin.minArgs || (builtin.maxArgs >= 0 && in.b > builtin.maxArgs))
                    RaiseError(450);
                const std::size_t first = m_stack.size() - static_cast<std::size_t>(in.b);
                for (std::size_t i = first; i < m_stack.size(); ++i) {
                    if (m_stack[i].Type() == VarType::Object && !InspectsObjects(builtin))
                        resolve(m_stack[i]);
                }
                Value result = builtin.function(
                    &m_runtime,
                    std::span<Value>(m_stack.data() + first, static_cast<std::size_t>(in.b)));
                m_stack.resize(first);
                m_stack.push_back(std::move(result));
                break;
            }
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
            case Op::Jump:
                tick();
                pc = in.a;
                break;
            case Op::JumpIfFalse: {
                tick();
                resolve(m_stack.back());
                const bool truth = IsTrue(m_stack.back());
                m_stack.pop_back();
                if (!truth)
                    pc = in.a;
                break;
            }
            case Op::JumpIfTrue: {
                tick();
                resolve(m_stack.back());
                const bool truth = IsTrue(m_stack.back());
                m_stack.pop_back();
                if (truth)
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
                counter = AddOrSubtract<kFast>(counter, step, 1);
                if (ForContinues<kFast>(counter, limit, step))
                    pc = in.c;
                break;
            }
            case Op::ForEachStart: {
                Value collection = std::move(m_stack.back());
                m_stack.pop_back();
                if (collection.Type() != VarType::Array) {
                    leave();
                    collection = ForEachSnapshot(std::move(collection));
                    resume(false);
                }
                const bool empty = collection.AsArray()->Size() == 0;
                if (!empty)
                    variable(in.a) = collection.AsArray()->At(0);
                locals[in.b] = std::move(collection);
                locals[in.b + 1] = Value::Long(1);
                if (empty)
                    pc = in.c;
                break;
            }
            case Op::ForEachNext: {
                tick();
                // Not an array only when ForEachStart failed under On Error Resume Next.
                if (locals[in.b].Type() != VarType::Array)
                    break;
                const Array& array = *locals[in.b].AsArray();
                const auto next = static_cast<std::size_t>(locals[in.b + 1].AsLong());
                if (next < array.Size()) {
                    variable(in.a) = array.At(next);
                    locals[in.b + 1] = Value::Long(static_cast<std::int32_t>(next + 1));
                    pc = in.c;
                }
                break;
            }
            case Op::Negate:
                resolve(m_stack.back());
                m_stack.back() = Negate(m_stack.back());
                break;
            case Op::Not:
                resolve(m_stack.back());
                m_stack.back() = Not(m_stack.back());
                break;
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
            case Op::Divide:
                binary(Divide);
                break;
            case Op::IntDivide:
                binary(IntegerDivide);
                break;
            case Op::Mod:
                binary(Modulo);
                break;
            case Op::Power:
                binary(Power);
                break;
            case Op::Concat: {
                resolve(m_stack[m_stack.size() - 2]);
                resolve(m_stack.back());
                Value& left = m_stack[m_stack.size() - 2];
                left = Concatenate(std::move(left), m_stack.back());
                m_stack.pop_back();
                break;
            }
            case Op::AppendStart:
                locals[in.b] = variable(in.a);
                break;
            case Op::AppendTo: {
                Value& target = variable(in.a);
                const std::size_t first = m_stack.size() - static_cast<std::size_t>(in.b);
                // In place when every value converts to text without running code and the
                // code the operands ran left the variable as it was (c: the slot AppendStart
                // kept it in, -1 when the operands run none). Otherwise the kept value is
                // appended to in the language's order, and a failure leaves the variable.
                bool inPlace =
                    ConvertsToText(target) && (in.c < 0 || locals[in.c].IsSameAs(target));
                for (std::size_t i = first; i < m_stack.size(); ++i)
                    inPlace = inPlace && ConvertsToText(m_stack[i]);
                if (!inPlace) [[unlikely]] {
                    Value before = in.c < 0 ? target : std::move(locals[in.c]);
                    leave();
                    Value result = AppendedTo(std::move(before), first);
                    resume(false);
                    variable(in.a) = std::move(result);
                    safePoint();
                    break;
                }
                if (in.c >= 0)
                    locals[in.c] = Value(); // the variable's text is its own again
                for (std::size_t i = first; i < m_stack.size(); ++i)
                    target = Concatenate(std::move(target), m_stack[i]);
                m_stack.resize(first);
                break;
            }
            case Op::Compare: {
                const OperandOrigin origin{(in.b & 1) != 0, (in.b & 2) != 0};
                binary([&](const Value& a, const Value& b) {
                    return CompareValues<kFast>(static_cast<Comparison>(in.a), a, b, origin);
                });
                break;
            }
            case Op::And:
                binary(And);
                break;
            case Op::Or:
                binary(Or);
                break;
            case Op::Xor:
                binary(Xor);
                break;
            case Op::Eqv:
                binary(Eqv);
                break;
            case Op::Imp:
                binary(Imp);
                break;
            case Op::Is:
                binaryOn(Is);
                break;
            case Op::OnErrorResumeNext:
                f->resumeNext = true;
                m_runtime.ClearErr();
                break;
            case Op::OnErrorGoto0:
                f->resumeNext = false;
                m_runtime.ClearErr();
                break;
            case Op::ErrNumber:
                m_stack.push_back(Value::Long(m_runtime.Err().number));
                break;
            case Op::ErrDescription:
                m_stack.push_back(Value::String(m_runtime.Err().description));
                break;
            case Op::ErrSource:
                m_stack.push_back(Value::String(m_runtime.Err().source));
                break;
            case Op::ErrClear:
                m_runtime.ClearErr();
                break;
            case Op::ErrRaise:
                RaiseFromStack(in.b);
            case Op::Raise:
                RaiseError(in.a);
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
