#include <algorithm>
#include <vector>

#include "vbscript/coerce.h"
#include "vbscript/script_error.h"
#include "vbscript/vm.h"
#include "vbscript/vm_frames.h"
#include "vbscript/vm_values.h"

namespace vbs {

namespace {

// Arrays beyond this many elements are refused with Out of memory rather than attempted.
constexpr std::int64_t kMaxArrayElements = std::int64_t{1} << 24;

Array* CreateArray(std::span<const std::int32_t> upperBounds) {
    std::vector<Array::Bound> bounds;
    std::int64_t total = 1;
    for (std::int32_t upper : upperBounds) {
        const std::int64_t count = std::int64_t{upper} + 1;
        if (count < 0)
            RaiseError(err::SubscriptOutOfRange);
        total *= count;
        if (total > kMaxArrayElements)
            RaiseError(7);
        bounds.push_back(Array::Bound{0, static_cast<std::int32_t>(count)});
    }
    return Array::Create(bounds);
}

} // namespace

std::span<const std::int32_t> Vm::Subscripts(std::size_t first) {
    m_subscripts.clear();
    for (std::size_t i = first; i < m_stack.size(); ++i)
        m_subscripts.push_back(ToLong(m_stack[i]));
    return m_subscripts;
}

std::span<const std::int32_t> Vm::PopSubscripts(int count) {
    const std::size_t first = m_stack.size() - static_cast<std::size_t>(count);
    Subscripts(first);
    m_stack.resize(first);
    return m_subscripts;
}

void Vm::ReDim(Value& target, int dimensions, bool preserve) {
    if (target.Type() == VarType::Array && target.AsArray()->IsLocked())
        RaiseError(10);
    Array* fresh = CreateArray(PopSubscripts(dimensions));
    Value created = Value::FromArray(fresh);
    if (preserve && target.Type() == VarType::Array && target.AsArray()->Dimensions() > 0) {
        // Only the last dimension may change; rows keep their leading elements.
        const Array& old = *target.AsArray();
        if (old.Dimensions() != dimensions)
            RaiseError(err::SubscriptOutOfRange);
        for (int d = 1; d < dimensions; ++d)
            if (old.UpperBound(d) != fresh->UpperBound(d))
                RaiseError(err::SubscriptOutOfRange);
        const std::size_t oldLast =
            static_cast<std::size_t>(old.UpperBound(dimensions) - old.LowerBound(dimensions) + 1);
        const std::size_t newLast = static_cast<std::size_t>(fresh->UpperBound(dimensions) -
                                                             fresh->LowerBound(dimensions) + 1);
        const std::size_t rows = oldLast == 0 ? 0 : old.Size() / oldLast;
        for (std::size_t r = 0; r < rows; ++r)
            for (std::size_t j = 0; j < std::min(oldLast, newLast); ++j)
                fresh->At(r * newLast + j) = old.At(r * oldLast + j);
    }
    target = std::move(created);
}

void Vm::DimArray(Value& target, int dimensions) {
    target = Value::FromArray(CreateArray(PopSubscripts(dimensions)));
}

void Vm::EraseVariable(Value& target, bool fixedArray) {
    if (target.Type() != VarType::Array) {
        if (!fixedArray)
            RaiseError(err::TypeMismatch);
        return;
    }
    if (!fixedArray) {
        if (target.AsArray()->IsLocked())
            RaiseError(10);
        target = Value::FromArray(Array::Create({})); // still an array, without dimensions
        return;
    }
    Array& array = *target.MutableArray();
    for (std::size_t i = 0; i < array.Size(); ++i)
        array.At(i) = Value();
}

Vm::StepEnd Vm::LoadElement1(const Instr& in, Frame& frame, std::size_t baseDepth) {
    m_stack.push_back(Operand(frame, in.b));
    return LoadElement(Instr{Op::LoadElement, 0, in.a, 1, 0}, frame, baseDepth);
}

Vm::StepEnd Vm::LoadElement(const Instr& in, Frame& frame, std::size_t baseDepth) {
    if (Variable(frame, in.a).Type() == VarType::Object) {
        // An object indexed like an array: its default member.
        const bool pushed =
            CallDefaultMember(Variable(frame, in.a), static_cast<std::size_t>(in.b), baseDepth);
        return pushed ? StepEnd::FramePushed : StepEnd::Done;
    }
    if (Variable(frame, in.a).Type() != VarType::Array)
        RaiseError(err::TypeMismatch);
    // Subscripts convert before the array is read: an object's default property may run
    // code that changes the variable.
    const auto subscripts = PopSubscripts(in.b);
    const Value& target = Variable(frame, in.a);
    if (target.Type() != VarType::Array)
        RaiseError(err::TypeMismatch);
    m_stack.push_back(target.AsArray()->At(target.AsArray()->FlatIndex(subscripts)));
    return StepEnd::Done;
}

template <bool kFast>
Vm::StepEnd Vm::StoreElement(const Instr& in, Frame& frame, std::size_t baseDepth) {
    const Access access = in.op == Op::SetElement ? Access::Set : Access::Let;
    if (Variable(frame, in.a).Type() == VarType::Object) {
        const bool pushed = StoreDefaultMember(
            Variable(frame, in.a), static_cast<std::size_t>(in.b), access, baseDepth);
        return pushed ? StepEnd::FramePushed : StepEnd::Done;
    }
    Value value = std::move(m_stack.back());
    m_stack.pop_back();
    if (access == Access::Set) {
        if (value.Type() != VarType::Object)
            RaiseError(err::ObjectRequired);
    } else {
        if (value.Type() == VarType::Object)
            ResolveValues(std::span<Value>(&value, 1), frame, frame.pc);
        vm_values::LetValue(value);
    }
    if (Variable(frame, in.a).Type() != VarType::Array)
        RaiseError(err::TypeMismatch);
    std::size_t flat;
    if (kFast && in.b == 1 && vm_values::IsWhole(m_stack.back()) &&
        Variable(frame, in.a).AsArray()->Dimensions() == 1) {
        // One whole-number subscript: no subscript list needed.
        flat = vm_values::OneIndex(*Variable(frame, in.a).MutableArray(),
                                   vm_values::Whole(m_stack.back()));
        m_stack.pop_back();
    } else {
        // Subscripts convert before the array is touched: a conversion may run code that
        // changes the variable.
        const auto subscripts = PopSubscripts(in.b);
        if (Variable(frame, in.a).Type() != VarType::Array)
            RaiseError(err::TypeMismatch);
        flat = Variable(frame, in.a).AsArray()->FlatIndex(subscripts);
    }
    Array& array = *Variable(frame, in.a).MutableArray();
    Value old = std::move(array.At(flat));
    array.At(flat) = std::move(value);
    if (old.Type() != VarType::Object)
        return StepEnd::Done;
    old = Value();
    return StepEnd::SafePoint;
}

template Vm::StepEnd Vm::StoreElement<true>(const Instr&, Frame&, std::size_t);
template Vm::StepEnd Vm::StoreElement<false>(const Instr&, Frame&, std::size_t);

Vm::StepEnd Vm::ArgElement(const Instr& in, Frame& frame, std::size_t baseDepth) {
    if (Variable(frame, in.a).Type() == VarType::Array) {
        const auto subscripts = PopSubscripts(in.b); // may run a default property
        Value& target = Variable(frame, in.a);
        if (target.Type() != VarType::Array)
            RaiseError(err::TypeMismatch);
        Array& array = *target.MutableArray();
        Value& element = array.At(array.FlatIndex(subscripts));
        m_stack.push_back(element);
        m_argRefs.push_back(ArgPlace{&element, ArrayLock(&array)});
        return StepEnd::Done;
    }
    const Value& target = Variable(frame, in.a);
    if (target.Type() != VarType::Object)
        RaiseError(err::TypeMismatch);
    // An object's default member: its result goes by value.
    m_argRefs.emplace_back();
    return CallDefaultMember(target, static_cast<std::size_t>(in.b), baseDepth)
               ? StepEnd::FramePushed
               : StepEnd::Done;
}

} // namespace vbs
