#pragma once
// The set of objects alive right now, so that an address read back from text ("ptr:...")
// turns into an object only when one really lives there.
#include <unordered_set>

class XDO;

namespace orvo {

class LiveObjects {
public:
    static void Add(const XDO* obj) { Set().insert(obj); }
    static void Remove(const XDO* obj) { Set().erase(obj); }
    static bool Contains(const XDO* obj) { return obj && Set().count(obj) != 0; }

private:
    static std::unordered_set<const XDO*>& Set() {
        static std::unordered_set<const XDO*> live;
        return live;
    }
};

} // namespace orvo
