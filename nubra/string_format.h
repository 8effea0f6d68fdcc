#pragma once
// printf-style formatting for the framework's callers; the locale-independent rules live in
// plat::Format.
#include <string>
#include <string_view>

#include "platform/base/format.h"

template <class... A> std::wstring StringFormat(std::wstring_view fmt, const A&... a) {
    return plat::Format(fmt, a...);
}
