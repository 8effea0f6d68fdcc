#include <algorithm>
#include <vector>

#include "vbscript/coerce.h"
#include "vbscript/script_error.h"
#include "vbscript/vm.h"

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

Value Vm::ForEachSnapshot(Value collection) {
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

} // namespace vbs
