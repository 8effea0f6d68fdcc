// For Each: the loop walks an array kept in a hidden slot, with the next index in the slot
// after it; an object's items are copied into such an array first.
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

} // namespace

bool Vm::StartForEach(const Instr& in, Frame& frame) {
    Value collection = std::move(m_stack.back());
    m_stack.pop_back();
    if (collection.Type() != VarType::Array)
        collection = Snapshot(std::move(collection));
    const bool empty = collection.AsArray()->Size() == 0;
    if (!empty)
        Variable(frame, in.a) = collection.AsArray()->At(0);
    frame.locals[in.b] = std::move(collection);
    frame.locals[in.b + 1] = Value::Long(1);
    return !empty;
}

bool Vm::NextForEach(const Instr& in, Frame& frame) {
    // Not an array only when StartForEach failed under On Error Resume Next.
    if (frame.locals[in.b].Type() != VarType::Array)
        return false;
    const Array& array = *frame.locals[in.b].AsArray();
    const auto next = static_cast<std::size_t>(frame.locals[in.b + 1].AsLong());
    if (next >= array.Size())
        return false;
    Variable(frame, in.a) = array.At(next);
    frame.locals[in.b + 1] = Value::Long(static_cast<std::int32_t>(next + 1));
    return true;
}

} // namespace vbs
