#pragma once
// The language's named constants (vbCrLf, vbTextCompare, vbYesNo ...). The compiler puts
// their values straight into the code, so using one costs what a literal costs.
#include <string_view>

#include "vbscript/value.h"

namespace vbs {

// The constant's value; null for a name that is no constant. Without case.
const Value* FindConstant(std::wstring_view name);

} // namespace vbs
