#include "platform/gui/registered_message.h"

#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/base/nocase.h"

namespace plat {

unsigned RegisterWindowMessage(std::wstring_view name) {
    if (name.empty())
        return 0;
    static std::mutex mutex;
    static std::unordered_map<std::wstring, unsigned, NoCaseHash, NoCaseEqual> ids;
    std::lock_guard lock(mutex);
    if (auto it = ids.find(name); it != ids.end())
        return it->second;
    const unsigned id = kFirstRegisteredMessage + static_cast<unsigned>(ids.size());
    if (id > kLastRegisteredMessage)
        return 0;
    ids.emplace(std::wstring(name), id);
    return id;
}

} // namespace plat
