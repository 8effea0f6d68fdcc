// Array() and the bounds of an array.
#include <span>

#include "vbscript/builtins.h"
#include "vbscript/coerce.h"
#include "vbscript/script_error.h"

namespace vbs {
namespace {

// A zero-based array of the arguments; no arguments give an empty array (UBound -1).
Value ArrayOf(Runtime*, std::span<Value> a) {
    const Array::Bound bound{0, static_cast<std::int32_t>(a.size())};
    Value result = Value::FromArray(Array::Create({&bound, 1}));
    Array* array = result.MutableArray();
    for (std::size_t i = 0; i < a.size(); ++i)
        array->At(i) = a[i];
    return result;
}

const Array& ArrayArgument(std::span<Value> a) {
    if (a[0].Type() != VarType::Array)
        RaiseError(err::TypeMismatch);
    return *a[0].AsArray();
}

int Dimension(std::span<Value> a) {
    return a.size() > 1 ? ToLong(a[1]) : 1;
}

Value UBound(Runtime*, std::span<Value> a) {
    const Array& array = ArrayArgument(a);
    return Value::Long(array.UpperBound(Dimension(a)));
}

Value LBound(Runtime*, std::span<Value> a) {
    const Array& array = ArrayArgument(a);
    return Value::Long(array.LowerBound(Dimension(a)));
}

const Builtin arrayBuiltins[] = {
    {L"Array", ArrayOf, 0, -1},
    {L"LBound", LBound, 1, 2},
    {L"UBound", UBound, 1, 2},
};

} // namespace

std::span<const Builtin> ArrayBuiltins() {
    return arrayBuiltins;
}

} // namespace vbs
