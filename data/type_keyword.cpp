#include "data/type_keyword.h"

#include <array>

#include "platform/base/nocase.h"

namespace orvo {

namespace {

struct FixedWidthType {
    std::wstring_view keyword;
    DT_DATA_TYPE type;
    int size;
};

constexpr std::array<FixedWidthType, 7> kFixedWidthTypes{{
    {L"Integer", DT_INT, 4},
    {L"UInteger", DT_UINT, 4},
    {L"Boolean", DT_BOOL, 4},
    {L"Double", DT_DOUBLE, 8},
    {L"Char", DT_CHAR, 1},
    {L"Integer64", DT_INT64, 8},
    {L"Float", DT_FLOAT, 4},
}};

} // namespace

TypeAndWidth TypeFromKeyword(std::wstring_view keyword, int size) {
    if (plat::EqualsNoCase(keyword, L"String")) {
        if (size > 0)
            return {DT_STR, size};
        if (size == kSizeNotGiven)
            return {DT_PT_STR, 4}; // a handle to a string the record owns
        return {};
    }
    if (plat::EqualsNoCase(keyword, L"Blob"))
        return {DT_BLOB, size > 0 ? size : 0};
    for (const FixedWidthType& t : kFixedWidthTypes) {
        if (plat::EqualsNoCase(keyword, t.keyword))
            return {t.type, t.size};
    }
    return {};
}

} // namespace orvo
