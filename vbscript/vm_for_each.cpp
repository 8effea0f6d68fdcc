// For Each: the loop walks an array kept in a hidden slot, with the next position in the slot
// after it and whether it walks an object's items (copied into such an array first) in the
// third.
#include <vector>

#include "vbscript/script_error.h"
#include "vbscript/vm.h"
#include "vbscript/vm_frames.h"

namespace vbs {

namespace {

// What For Each walks: the array itself, or a snapshot of an object's items.
[[gnu::cold]] Value Snapshot(Value collection) {
    if (collection.Type() == VarType::Object) {
        if (!collection.AsObject())
            RaiseError(err::ObjectNotSet);
        std::vector<Value> items = collection.AsObject()->Items();
        const Array::Bound bound{0, static_cast<std::int32_t>(items.size())};
        collection = Value::FromArray(Array::Create(std::span(&bound, 1)));
        Array& body = *collection.MutableArray();
        for (std::size_t i = 0; i < items.size(); ++i)
            body.At(i) = std::move(items[i]);
    }
    if (collection.Type() != VarType::Array)
        RaiseError(451);
    return collection;
}

// The flat index of the element at `position` in the language's order, where the first
// subscript varies fastest; elements are stored with the last one varying fastest.
std::size_t ElementAt(const Array& array, std::size_t position) {
    const int dimensions = array.Dimensions();
    if (dimensions < 2)
        return position;
    std::size_t flat = 0, stride = 1;
    for (int d = dimensions; d >= 1; --d) {
        const auto count = static_cast<std::size_t>(array.UpperBound(d) - array.LowerBound(d) + 1);
        std::size_t before = position;
        for (int e = 1; e < d; ++e)
            before /= static_cast<std::size_t>(array.UpperBound(e) - array.LowerBound(e) + 1);
        flat += (before % count) * stride;
        stride *= count;
    }
    return flat;
}

} // namespace

bool Vm::StartForEach(const Instr& in, Frame& frame) {
    Value collection = std::move(m_stack.back());
    m_stack.pop_back();
    const bool items = collection.Type() != VarType::Array;
    if (items)
        collection = Snapshot(std::move(collection));
    const bool empty = collection.AsArray()->Size() == 0;
    if (!empty)
        Variable(frame, in.a) = collection.AsArray()->At(0);
    frame.locals[in.b] = std::move(collection);
    frame.locals[in.b + 1] = Value::Long(1);
    frame.locals[in.b + 2] = Value::Boolean(items);
    return !empty;
}

bool Vm::NextForEach(const Instr& in, Frame& frame) {
    // Not an array once the walk ended, or when the header failed under On Error Resume Next.
    if (frame.locals[in.b].Type() != VarType::Array)
        return false;
    const Array& array = *frame.locals[in.b].AsArray();
    const auto next = static_cast<std::size_t>(frame.locals[in.b + 1].AsLong());
    if (next >= array.Size()) {
        // Walking an object's items leaves the variable Empty; an array leaves its last element.
        if (frame.locals[in.b + 2].AsBoolean())
            Variable(frame, in.a) = Value();
        frame.locals[in.b] = Value(); // the walked items go now, not when the call returns
        return false;
    }
    Variable(frame, in.a) = array.At(ElementAt(array, next));
    frame.locals[in.b + 1] = Value::Long(static_cast<std::int32_t>(next + 1));
    return true;
}

} // namespace vbs
