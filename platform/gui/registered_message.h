#pragma once
// Message ids by name, as RegisterWindowMessage gives them: modules that agree on a name get
// the same id without agreeing on a number. Ids live in 0xC000..0xFFFF, above every fixed
// message, and names compare without case.
#include <string_view>

namespace plat {

// The id of `name`, the same for every call with that name in this process; 0 for an empty
// name or when all 0x4000 ids are taken. Safe from any thread.
unsigned RegisterWindowMessage(std::wstring_view name);

constexpr unsigned kFirstRegisteredMessage = 0xC000;
constexpr unsigned kLastRegisteredMessage = 0xFFFF;

} // namespace plat
