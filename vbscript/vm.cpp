// The dispatch loop (threaded: each instruction jumps straight to the next one's code) and the
// frame operations it inlines. The loop keeps the small, frequent
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

// Where each operation's code starts in Vm::Execute<kFast>, filled by Execute itself. Kept
// inside this file so that the loop reaches it directly rather than through the symbol table.
template <bool kFast> struct DispatchTargets {
    static inline const void* entries[256] = {};
};

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
    OpenFrame(proc, proc.code.data(), locals, poolMark, refBase, lockBase);
}

// kFast false leaves out every fast form (whole-number arithmetic and comparisons decided
// here, in-place adds, one-subscript element access, the Long counter of For): each
// instruction then takes the general path, against which the fast ones can be checked.
template <bool kFast> void Vm::Execute(std::size_t baseDepth) {
    Frame* f = &m_frames.back();
    const Instr* code = f->code;
    const Value* constants = f->proc->constants.data();
    Value* locals = f->locals;
    std::int32_t pc = f->pc;
    // The loop's state lives in these locals rather than behind lambdas capturing them by
    // reference: the compiler kept such captured variables in memory, reloading the code and
    // slot pointers on every instruction. Entering a frame loads them from it.
#define ORVO_VM_ENTER()                                                                            \
    do {                                                                                           \
        f = &m_frames.back();                                                                      \
        code = f->code;                                                                            \
        constants = f->proc->constants.data();                                                     \
        locals = f->locals;                                                                        \
        pc = f->pc;                                                                                \
    } while (false)
    // Before a call that may run script code or fail: where this frame stands.
#define ORVO_VM_LEAVE() (f->pc = pc)
    // Where a store may have released the last reference to an instance, its
    // Class_Terminate runs before the next statement.
#define ORVO_VM_SAFE_POINT()                                                                       \
    do {                                                                                           \
        if (!m_terminating->empty()) {                                                             \
            f->pc = pc;                                                                            \
            if (StartTerminate(baseDepth))                                                         \
                ORVO_VM_ENTER();                                                                   \
        }                                                                                          \
    } while (false)
    // After an instruction handed out of the loop.
#define ORVO_VM_AFTER(stepEnd)                                                                     \
    do {                                                                                           \
        const StepEnd end = (stepEnd);                                                             \
        if (end == StepEnd::FramePushed)                                                           \
            ORVO_VM_ENTER();                                                                       \
        else if (end == StepEnd::SafePoint)                                                        \
            ORVO_VM_SAFE_POINT();                                                                  \
    } while (false)
    // A script class instance used as a value becomes its default property's value.
    const auto resolve = [&](Value & v) __attribute__((always_inline)) {
        if (v.Type() == VarType::Object) [[unlikely]]
            ResolveValues(std::span<Value>(&v, 1), *f, pc);
    };
    // Only objects have anything to convert: other values never leave the loop.
    const auto let = [&](Value & v) __attribute__((always_inline)) {
        if (v.Type() == VarType::Object) [[unlikely]] {
            ResolveValues(std::span<Value>(&v, 1), *f, pc);
            LetValue(v);
        }
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
        // Threaded dispatch: each instruction ends by jumping to the next one's code, so the
        // processor predicts every jump from where it is made. The table is filled once, by
        // operation, so its order never depends on the order of the enumeration; a code
        // without a line here is skipped, as the switch it replaced skipped it.
        auto& dispatch = DispatchTargets<kFast>::entries;
        [[maybe_unused]] static const bool filled = ({
            for (const void*& target : dispatch)
                target = &&L_Unknown;
            dispatch[static_cast<std::uint8_t>(Op::PushConst)] = &&L_PushConst;
            dispatch[static_cast<std::uint8_t>(Op::Pop)] = &&L_Pop;
            dispatch[static_cast<std::uint8_t>(Op::LoadLocal)] = &&L_LoadLocal;
            dispatch[static_cast<std::uint8_t>(Op::StoreLocal)] = &&L_StoreLocal;
            dispatch[static_cast<std::uint8_t>(Op::LoadRef)] = &&L_LoadRef;
            dispatch[static_cast<std::uint8_t>(Op::StoreRef)] = &&L_StoreRef;
            dispatch[static_cast<std::uint8_t>(Op::LoadGlobal)] = &&L_LoadGlobal;
            dispatch[static_cast<std::uint8_t>(Op::StoreGlobal)] = &&L_StoreGlobal;
            dispatch[static_cast<std::uint8_t>(Op::LoadField)] = &&L_LoadField;
            dispatch[static_cast<std::uint8_t>(Op::StoreField)] = &&L_StoreField;
            dispatch[static_cast<std::uint8_t>(Op::LoadElement)] = &&L_LoadElement;
            dispatch[static_cast<std::uint8_t>(Op::StoreElement)] = &&L_StoreElement;
            dispatch[static_cast<std::uint8_t>(Op::DimArray)] = &&L_DimArray;
            dispatch[static_cast<std::uint8_t>(Op::ReDim)] = &&L_ReDim;
            dispatch[static_cast<std::uint8_t>(Op::ArgRef)] = &&L_ArgRef;
            dispatch[static_cast<std::uint8_t>(Op::ArgValue)] = &&L_ArgValue;
            dispatch[static_cast<std::uint8_t>(Op::ArgElement)] = &&L_ArgElement;
            dispatch[static_cast<std::uint8_t>(Op::Call)] = &&L_Call;
            dispatch[static_cast<std::uint8_t>(Op::CallBuiltin)] = &&L_CallBuiltin;
            dispatch[static_cast<std::uint8_t>(Op::Return)] = &&L_Return;
            dispatch[static_cast<std::uint8_t>(Op::Jump)] = &&L_Jump;
            dispatch[static_cast<std::uint8_t>(Op::JumpIfFalse)] = &&L_JumpIfFalse;
            dispatch[static_cast<std::uint8_t>(Op::JumpIfTrue)] = &&L_JumpIfTrue;
            dispatch[static_cast<std::uint8_t>(Op::ForStart)] = &&L_ForStart;
            dispatch[static_cast<std::uint8_t>(Op::ForNext)] = &&L_ForNext;
            dispatch[static_cast<std::uint8_t>(Op::ForEachStart)] = &&L_ForEachStart;
            dispatch[static_cast<std::uint8_t>(Op::ForEachNext)] = &&L_ForEachNext;
            dispatch[static_cast<std::uint8_t>(Op::Negate)] = &&L_Negate;
            dispatch[static_cast<std::uint8_t>(Op::Not)] = &&L_Not;
            dispatch[static_cast<std::uint8_t>(Op::Add)] = &&L_Add;
            dispatch[static_cast<std::uint8_t>(Op::Subtract)] = &&L_Subtract;
            dispatch[static_cast<std::uint8_t>(Op::Multiply)] = &&L_Multiply;
            dispatch[static_cast<std::uint8_t>(Op::Divide)] = &&L_Divide;
            dispatch[static_cast<std::uint8_t>(Op::IntDivide)] = &&L_IntDivide;
            dispatch[static_cast<std::uint8_t>(Op::Mod)] = &&L_Mod;
            dispatch[static_cast<std::uint8_t>(Op::Power)] = &&L_Power;
            dispatch[static_cast<std::uint8_t>(Op::Concat)] = &&L_Concat;
            dispatch[static_cast<std::uint8_t>(Op::AppendStart)] = &&L_AppendStart;
            dispatch[static_cast<std::uint8_t>(Op::AppendTo)] = &&L_AppendTo;
            dispatch[static_cast<std::uint8_t>(Op::Compare)] = &&L_Compare;
            dispatch[static_cast<std::uint8_t>(Op::And)] = &&L_And;
            dispatch[static_cast<std::uint8_t>(Op::Or)] = &&L_Or;
            dispatch[static_cast<std::uint8_t>(Op::Xor)] = &&L_Xor;
            dispatch[static_cast<std::uint8_t>(Op::Eqv)] = &&L_Eqv;
            dispatch[static_cast<std::uint8_t>(Op::Imp)] = &&L_Imp;
            dispatch[static_cast<std::uint8_t>(Op::Is)] = &&L_Is;
            dispatch[static_cast<std::uint8_t>(Op::OnErrorResumeNext)] = &&L_OnErrorResumeNext;
            dispatch[static_cast<std::uint8_t>(Op::OnErrorGoto0)] = &&L_OnErrorGoto0;
            dispatch[static_cast<std::uint8_t>(Op::ErrNumber)] = &&L_ErrNumber;
            dispatch[static_cast<std::uint8_t>(Op::ErrDescription)] = &&L_ErrDescription;
            dispatch[static_cast<std::uint8_t>(Op::ErrSource)] = &&L_ErrSource;
            dispatch[static_cast<std::uint8_t>(Op::ErrClear)] = &&L_ErrClear;
            dispatch[static_cast<std::uint8_t>(Op::LoadErr)] = &&L_LoadErr;
            dispatch[static_cast<std::uint8_t>(Op::Raise)] = &&L_Raise;
            dispatch[static_cast<std::uint8_t>(Op::Member)] = &&L_Member;
            dispatch[static_cast<std::uint8_t>(Op::StoreMember)] = &&L_StoreMember;
            dispatch[static_cast<std::uint8_t>(Op::SetVar)] = &&L_SetVar;
            dispatch[static_cast<std::uint8_t>(Op::SetElement)] = &&L_SetElement;
            dispatch[static_cast<std::uint8_t>(Op::RequireObject)] = &&L_RequireObject;
            dispatch[static_cast<std::uint8_t>(Op::LoadMe)] = &&L_LoadMe;
            dispatch[static_cast<std::uint8_t>(Op::CallMe)] = &&L_CallMe;
            dispatch[static_cast<std::uint8_t>(Op::New)] = &&L_New;
            dispatch[static_cast<std::uint8_t>(Op::Erase)] = &&L_Erase;
            dispatch[static_cast<std::uint8_t>(Op::LoadChecked)] = &&L_LoadChecked;
            dispatch[static_cast<std::uint8_t>(Op::Eval)] = &&L_Eval;
            dispatch[static_cast<std::uint8_t>(Op::Execute)] = &&L_Execute;
            dispatch[static_cast<std::uint8_t>(Op::GetRef)] = &&L_GetRef;
            dispatch[static_cast<std::uint8_t>(Op::BinaryPush)] = &&L_BinaryPush;
            dispatch[static_cast<std::uint8_t>(Op::BinaryTo)] = &&L_BinaryTo;
            dispatch[static_cast<std::uint8_t>(Op::UpdateVar)] = &&L_UpdateVar;
            dispatch[static_cast<std::uint8_t>(Op::Move)] = &&L_Move;
            dispatch[static_cast<std::uint8_t>(Op::CompareJump)] = &&L_CompareJump;
            dispatch[static_cast<std::uint8_t>(Op::LoadElement1)] = &&L_LoadElement1;
            dispatch[static_cast<std::uint8_t>(Op::CompareTopJump)] = &&L_CompareTopJump;
            true;
        });
        const Instr* ip = nullptr;
#define ORVO_VM_NEXT()                                                                             \
    do {                                                                                           \
        ip = &code[pc++];                                                                          \
        goto* dispatch[static_cast<std::uint8_t>(ip->op)];                                         \
    } while (false)
        ORVO_VM_NEXT();
        {
        // Variables and constants.
        L_PushConst:
            m_stack.push_back(constants[ip->a]);
            ORVO_VM_NEXT();
        L_Pop:
            m_stack.pop_back();
            ORVO_VM_SAFE_POINT();
            ORVO_VM_NEXT();
        L_LoadLocal:
            m_stack.push_back(locals[ip->a]);
            ORVO_VM_NEXT();
        L_StoreLocal:
            let(m_stack.back());
            locals[ip->a] = std::move(m_stack.back());
            m_stack.pop_back();
            ORVO_VM_SAFE_POINT();
            ORVO_VM_NEXT();
        L_LoadRef:
            m_stack.push_back(*m_refs[f->refBase + static_cast<std::size_t>(ip->a)]);
            ORVO_VM_NEXT();
        L_StoreRef:
            let(m_stack.back());
            *m_refs[f->refBase + static_cast<std::size_t>(ip->a)] = std::move(m_stack.back());
            m_stack.pop_back();
            ORVO_VM_SAFE_POINT();
            ORVO_VM_NEXT();
        L_LoadGlobal:
            m_stack.push_back(m_scope.globals[static_cast<std::size_t>(ip->a)]);
            ORVO_VM_NEXT();
        L_StoreGlobal:
            let(m_stack.back());
            m_scope.globals[static_cast<std::size_t>(ip->a)] = std::move(m_stack.back());
            m_stack.pop_back();
            ORVO_VM_SAFE_POINT();
            ORVO_VM_NEXT();
        L_LoadField:
            m_stack.push_back(static_cast<ClassInstance*>(f->me.AsObject())->Field(ip->a));
            ORVO_VM_NEXT();
        L_StoreField:
            let(m_stack.back());
            static_cast<ClassInstance*>(f->me.AsObject())->Field(ip->a) = std::move(m_stack.back());
            m_stack.pop_back();
            ORVO_VM_SAFE_POINT();
            ORVO_VM_NEXT();
        L_LoadChecked:
            if (!m_scope.declared[static_cast<std::size_t>(ip->a)])
                RaiseError(500);
            m_stack.push_back(m_scope.globals[static_cast<std::size_t>(ip->a)]);
            ORVO_VM_NEXT();
        L_SetVar : {
            if (ip->b == 0 && m_stack.back().Type() != VarType::Object)
                RaiseError(err::ObjectRequired);
            variable(ip->a) = std::move(m_stack.back());
            m_stack.pop_back();
            ORVO_VM_SAFE_POINT();
            ORVO_VM_NEXT();
        }
        L_Move : {
            const Value& source = operand(ip->b);
            if (source.Type() == VarType::Object) [[unlikely]] {
                ORVO_VM_LEAVE();
                ORVO_VM_AFTER(MoveDefaultValue(*ip, *f));
                ORVO_VM_NEXT();
            }
            Value& target = variable(ip->a);
            const bool heldCounted =
                target.Type() == VarType::Object || target.Type() == VarType::Array;
            target = source;
            if (heldCounted)
                ORVO_VM_SAFE_POINT();
            ORVO_VM_NEXT();
        }
        L_Erase:
            EraseVariable(variable(ip->a), ip->b != 0);
            ORVO_VM_SAFE_POINT();
            ORVO_VM_NEXT();

        // Objects.
        L_RequireObject:
            if (m_stack.back().Type() != VarType::Object)
                RaiseError(err::ObjectRequired);
            ORVO_VM_NEXT();
        L_LoadMe:
            if (f->me.IsEmpty())
                RaiseError(err::ObjectRequired);
            m_stack.push_back(f->me);
            ORVO_VM_NEXT();
        L_Member:
        L_StoreMember:
            tick();
            ORVO_VM_LEAVE();
            ORVO_VM_AFTER(MemberInstruction(*ip, *f, baseDepth));
            ORVO_VM_NEXT();
        L_New:
            ORVO_VM_LEAVE();
            if (New(std::wstring(constants[ip->a].AsString()), baseDepth))
                ORVO_VM_ENTER();
            ORVO_VM_NEXT();

        // Code made while running.
        L_Eval:
        L_Execute:
            ORVO_VM_LEAVE();
            RunCodeText(*ip, *f);
            ORVO_VM_NEXT();
        L_GetRef:
            m_stack.back() = ProcedureRefTo(m_stack.back());
            ORVO_VM_NEXT();

        // Arrays.
        L_LoadElement1 : {
            const Value& target = variable(ip->a);
            const Value& subscript = operand(ip->b);
            // Other subscripts convert outside the loop, where an object's default
            // property may run while no array is held.
            if (kFast && IsWhole(subscript) && target.Type() == VarType::Array &&
                target.AsArray()->Dimensions() == 1) {
                const Array& array = *target.AsArray();
                m_stack.push_back(array.At(OneIndex(array, Whole(subscript))));
                ORVO_VM_NEXT();
            }
            ORVO_VM_LEAVE();
            ORVO_VM_AFTER(LoadElement1(*ip, *f, baseDepth));
            ORVO_VM_NEXT();
        }
        L_LoadElement : {
            if (kFast && ip->b == 1 && IsWhole(m_stack.back())) {
                const Value& target = variable(ip->a);
                if (target.Type() == VarType::Array && target.AsArray()->Dimensions() == 1) {
                    const Array& array = *target.AsArray();
                    m_stack.back() = array.At(OneIndex(array, Whole(m_stack.back())));
                    ORVO_VM_NEXT();
                }
            }
            ORVO_VM_LEAVE();
            ORVO_VM_AFTER(LoadElement(*ip, *f, baseDepth));
            ORVO_VM_NEXT();
        }
        L_StoreElement:
        L_SetElement:
            ORVO_VM_LEAVE();
            ORVO_VM_AFTER(StoreElement<kFast>(*ip, *f, baseDepth));
            ORVO_VM_NEXT();
        L_DimArray:
            DimArray(variable(ip->a), ip->b);
            ORVO_VM_NEXT();
        L_ReDim:
            ReDim(variable(ip->a), ip->b, ip->c != 0);
            ORVO_VM_NEXT();

        // Arguments, calls and returns.
        L_ArgRef : {
            Value& place = variable(ip->a);
            m_stack.push_back(place);
            m_argRefs.push_back(ArgPlace{&place, {}});
            ORVO_VM_NEXT();
        }
        L_ArgElement:
            ORVO_VM_LEAVE();
            ORVO_VM_AFTER(ArgElement(*ip, *f, baseDepth));
            ORVO_VM_NEXT();
        L_ArgValue:
            m_argRefs.emplace_back();
            ORVO_VM_NEXT();
        L_Call:
            tick();
            ORVO_VM_LEAVE();
            CallProcedure(*ip, baseDepth);
            ORVO_VM_ENTER();
            ORVO_VM_NEXT();
        L_CallMe:
            tick();
            ORVO_VM_LEAVE();
            CallOwnMethod(*ip, *f, baseDepth);
            ORVO_VM_ENTER();
            ORVO_VM_NEXT();
        L_CallBuiltin:
            ORVO_VM_LEAVE();
            CallBuiltin(*ip, *f);
            ORVO_VM_NEXT();
        L_Return : {
            // No value with a destructor may be in scope at the jump to the next instruction.
            {
                Value result = std::move(locals[0]);
                const bool discard = f->discardResult;
                PopFrame();
                if (!discard)
                    m_stack.push_back(std::move(result));
            }
            if (m_frames.size() == baseDepth)
                return;
            ORVO_VM_ENTER();
            ORVO_VM_SAFE_POINT();
            ORVO_VM_NEXT();
        }

        // Jumps and loops.
        L_Jump:
            tick();
            pc = ip->a;
            ORVO_VM_NEXT();
        L_JumpIfFalse:
            tick();
            if (!popCondition())
                pc = ip->a;
            ORVO_VM_NEXT();
        L_JumpIfTrue:
            tick();
            if (popCondition())
                pc = ip->a;
            ORVO_VM_NEXT();
        L_CompareJump : {
            tick();
            const Value& left = operand(ip->b);
            const Value& right = operand(ip->c);
            const auto cmp = static_cast<Comparison>(ip->x & 0x0F);
            const OperandOrigin origin{(ip->x & kLeftLiteral) != 0, (ip->x & kRightLiteral) != 0};
            bool truth;
            if (left.Type() == VarType::Object || right.Type() == VarType::Object) [[unlikely]] {
                ORVO_VM_LEAVE();
                truth = CompareWithObjects(cmp, left, right, origin);
            } else
                truth = ComparisonTrue<kFast>(cmp, left, right, origin);
            if (truth == ((ip->x & kJumpWhenTrue) != 0))
                pc = ip->a;
            ORVO_VM_NEXT();
        }
        L_CompareTopJump : {
            tick();
            const Value& right = operand(ip->c);
            const auto cmp = static_cast<Comparison>(ip->x & 0x0F);
            const OperandOrigin origin{(ip->x & kLeftLiteral) != 0, (ip->x & kRightLiteral) != 0};
            bool truth;
            if (m_stack.back().Type() == VarType::Object || right.Type() == VarType::Object)
                [[unlikely]] {
                ORVO_VM_LEAVE();
                truth = CompareWithObjects(cmp, m_stack.back(), right, origin);
            } else
                truth = ComparisonTrue<kFast>(cmp, m_stack.back(), right, origin);
            m_stack.pop_back();
            if (truth == ((ip->x & kJumpWhenTrue) != 0))
                pc = ip->a;
            ORVO_VM_NEXT();
        }
        L_ForStart:
            if (!ForContinues<kFast>(variable(ip->a), locals[ip->b], locals[ip->b + 1]))
                pc = ip->c;
            ORVO_VM_NEXT();
        L_ForNext : {
            tick();
            Value& counter = variable(ip->a);
            const Value& limit = locals[ip->b];
            const Value& step = locals[ip->b + 1];
            if (kFast && counter.Type() == VarType::Long && IsWhole(step) && IsWhole(limit)) {
                // The usual counter: stays a Long while it fits. Step and limit are read
                // before the store, which the compiler cannot tell apart from them.
                const std::int64_t by = Whole(step);
                const std::int64_t last = Whole(limit);
                const std::int64_t next = std::int64_t{counter.AsLong()} + by;
                if (next >= INT32_MIN && next <= INT32_MAX) {
                    counter.SetLong(static_cast<std::int32_t>(next));
                    if (by >= 0 ? next <= last : next >= last)
                        pc = ip->c;
                    ORVO_VM_NEXT();
                }
            }
            if (step.Type() == VarType::Error) [[unlikely]] {
                ORVO_VM_LEAVE();
                RaiseError(err::ForNotInitialized);
            }
            counter = AddOrSubtract<kFast>(counter, step, 1);
            if (ForContinues<kFast>(counter, limit, step))
                pc = ip->c;
            ORVO_VM_NEXT();
        }
        L_ForEachStart:
            ORVO_VM_LEAVE();
            if (!StartForEach(*ip, *f))
                pc = ip->c;
            ORVO_VM_NEXT();
        L_ForEachNext:
            tick();
            ORVO_VM_LEAVE();
            if (NextForEach(*ip, *f))
                pc = ip->c;
            ORVO_VM_NEXT();

        // Operators: the ones with fast forms here, the others out of the loop.
        L_UpdateVar:
            if (kFast) {
                Value& target = variable(ip->a);
                const Value& by = operand(ip->c);
                const int sign = static_cast<FusedOp>(ip->x) == FusedOp::Add ? 1 : -1;
                if (IsWhole(target) && IsWhole(by)) {
                    AddInto(target, target, by, sign);
                    ORVO_VM_NEXT();
                }
                // A Double accumulator: once a sum passes a Long it stays one.
                if (target.Type() == VarType::Double && IsDoubleOrWhole(by)) {
                    const double d = sign > 0 ? target.AsDouble() + AsNumber(by)
                                              : target.AsDouble() - AsNumber(by);
                    if (d - d == 0) {
                        target.SetDouble(d);
                        ORVO_VM_NEXT();
                    }
                }
            }
            // On into BinaryTo, whose operands are the same.
        L_BinaryTo:
            if (kFast && static_cast<FusedOp>(ip->x) != FusedOp::Multiply) {
                // Numbers added in place; anything else (objects above all) takes the general
                // form below. Releasing an object or array would need a safe point: not here.
                Value& target = variable(ip->a);
                if (target.Type() != VarType::Object && target.Type() != VarType::Array &&
                    AddInto(target,
                            operand(ip->b),
                            operand(ip->c),
                            static_cast<FusedOp>(ip->x) == FusedOp::Add ? 1 : -1))
                    ORVO_VM_NEXT();
            }
            // On into BinaryPush's general form, which stores into the variable.
        L_BinaryPush : {
            const Value& left = operand(ip->b);
            const Value& right = operand(ip->c);
            if (left.Type() == VarType::Object || right.Type() == VarType::Object) [[unlikely]] {
                ORVO_VM_LEAVE();
                ORVO_VM_AFTER(FusedWithObjects(*ip, *f));
                ORVO_VM_NEXT();
            }
            bool heldCounted = false;
            {
                Value result = Fused<kFast>(static_cast<FusedOp>(ip->x), left, right);
                if (ip->op == Op::BinaryPush) {
                    m_stack.push_back(std::move(result));
                } else {
                    Value& target = variable(ip->a);
                    heldCounted =
                        target.Type() == VarType::Object || target.Type() == VarType::Array;
                    target = std::move(result);
                }
            }
            if (heldCounted)
                ORVO_VM_SAFE_POINT();
            ORVO_VM_NEXT();
        }
        L_Add:
            binary([](const Value& a, const Value& b) { return AddOrSubtract<kFast>(a, b, 1); });
            ORVO_VM_NEXT();
        L_Subtract:
            binary([](const Value& a, const Value& b) { return AddOrSubtract<kFast>(a, b, -1); });
            ORVO_VM_NEXT();
        L_Multiply:
            binary([](const Value& a, const Value& b) { return Multiply(a, b); });
            ORVO_VM_NEXT();
        L_Compare : {
            const OperandOrigin origin{(ip->b & 1) != 0, (ip->b & 2) != 0};
            binary([&](const Value& a, const Value& b) {
                return CompareValues<kFast>(static_cast<Comparison>(ip->a), a, b, origin);
            });
            ORVO_VM_NEXT();
        }
        L_Negate:
        L_Not:
        L_Divide:
        L_IntDivide:
        L_Mod:
        L_Power:
        L_Concat:
        L_And:
        L_Or:
        L_Xor:
        L_Eqv:
        L_Imp:
        L_Is:
            ORVO_VM_LEAVE();
            ApplyOperator(ip->op, *f);
            ORVO_VM_NEXT();
        L_AppendStart:
            locals[ip->b] = variable(ip->a);
            ORVO_VM_NEXT();
        L_AppendTo : {
            Value& target = variable(ip->a);
            const std::size_t first = m_stack.size() - static_cast<std::size_t>(ip->b);
            // In place when every value converts to text without running code and the
            // code the operands ran left the variable as it was (c: the slot AppendStart
            // kept it *ip, -1 when the operands run none).
            bool inPlace = ConvertsToText(target) && (ip->c < 0 || locals[ip->c].IsSameAs(target));
            for (std::size_t i = first; i < m_stack.size(); ++i)
                inPlace = inPlace && ConvertsToText(m_stack[i]);
            if (!inPlace) [[unlikely]] {
                ORVO_VM_LEAVE();
                ORVO_VM_AFTER(AppendInOrder(*ip, *f));
                ORVO_VM_NEXT();
            }
            if (ip->c >= 0)
                locals[ip->c] = Value(); // the variable's text is its own again
            for (std::size_t i = first; i < m_stack.size(); ++i)
                target = Concatenate(std::move(target), m_stack[i]);
            m_stack.resize(first);
            ORVO_VM_NEXT();
        }

        // Errors.
        L_OnErrorResumeNext:
        L_OnErrorGoto0:
        L_ErrNumber:
        L_ErrDescription:
        L_ErrSource:
        L_ErrClear:
        L_LoadErr:
        L_Raise:
            ORVO_VM_LEAVE();
            ErrorStatement(*ip, *f);
            ORVO_VM_NEXT();
        // No instruction is made with another code; skipped as if it were not there.
        L_Unknown:
            ORVO_VM_NEXT();
        }
#undef ORVO_VM_NEXT
#undef ORVO_VM_AFTER
#undef ORVO_VM_SAFE_POINT
#undef ORVO_VM_LEAVE
#undef ORVO_VM_ENTER
    } catch (...) {
        m_frames.back().pc = pc;
        throw;
    }
}

template void Vm::Execute<true>(std::size_t baseDepth);
template void Vm::Execute<false>(std::size_t baseDepth);

} // namespace vbs
