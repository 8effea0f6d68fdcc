#pragma once
// The type keywords of metadata items and structure fields ("String", "Integer", ...) and
// the width in bytes each gives a field. Keywords compare without case.
#include <string_view>

#include "data/data_type.h"

namespace orvo {

struct TypeAndWidth {
    DT_DATA_TYPE type = DT_NONE;
    int size = 0;
};

// A "size" attribute that is absent reads like -1: a variable-length string, a blob of no
// declared width.
inline constexpr int kSizeNotGiven = -1;

// The data type and width for `keyword` with the declared `size`. Fixed-width types ignore
// `size`; a "String" of size 0 or below -1 and any unknown keyword give DT_NONE, width 0.
TypeAndWidth TypeFromKeyword(std::wstring_view keyword, int size = kSizeNotGiven);

} // namespace orvo
