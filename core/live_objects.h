#pragma once
// The set of objects alive right now, so that an address read back from text ("ptr:...")
// turns into an object only when one really lives there. Every object enters and leaves it,
// so it is a flat table of addresses (open addressing, linear probing): no allocation per
// object, and a page of 100,000 objects touches one array instead of 100,000 nodes.
#include <cstdint>
#include <vector>

class XDO;

namespace orvo {

class LiveObjects {
public:
    static void Add(const XDO* obj) { Table().Insert(obj); }
    static void Remove(const XDO* obj) { Table().Erase(obj); }
    static bool Contains(const XDO* obj) { return obj && Table().Find(obj); }

private:
    class AddressSet {
    public:
        void Insert(const void* p) {
            if ((m_used + m_gone + 1) * 2 > m_slots.size())
                Rehash(m_slots.empty() ? 1024 : (m_used + 1) * 4);
            std::size_t i = Home(p);
            std::size_t gone = kNone;
            for (;; i = Next(i)) {
                const void* s = m_slots[i];
                if (s == p)
                    return;
                if (s == Gone() && gone == kNone)
                    gone = i;
                if (s == nullptr)
                    break;
            }
            if (gone != kNone) {
                i = gone;
                --m_gone;
            }
            m_slots[i] = p;
            ++m_used;
        }
        void Erase(const void* p) {
            const std::size_t i = Slot(p);
            if (i == kNone)
                return;
            m_slots[i] = Gone();
            --m_used;
            ++m_gone;
        }
        bool Find(const void* p) const { return Slot(p) != kNone; }

    private:
        static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
        // A tombstone: never an object's address (objects are aligned).
        static const void* Gone() { return reinterpret_cast<const void*>(std::uintptr_t{1}); }

        std::size_t Home(const void* p) const {
            auto h = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p));
            h ^= h >> 33;
            h *= 0xff51afd7ed558ccdULL;
            h ^= h >> 33;
            return static_cast<std::size_t>(h) & (m_slots.size() - 1);
        }
        std::size_t Next(std::size_t i) const { return (i + 1) & (m_slots.size() - 1); }
        std::size_t Slot(const void* p) const {
            if (m_slots.empty() || p == nullptr || p == Gone())
                return kNone;
            for (std::size_t i = Home(p);; i = Next(i)) {
                if (m_slots[i] == p)
                    return i;
                if (m_slots[i] == nullptr)
                    return kNone;
            }
        }
        void Rehash(std::size_t wanted) {
            std::size_t size = 1024;
            while (size < wanted)
                size *= 2;
            std::vector<const void*> old(size, nullptr);
            old.swap(m_slots);
            m_used = m_gone = 0;
            for (const void* p : old) {
                if (p != nullptr && p != Gone())
                    Insert(p);
            }
        }

        std::vector<const void*> m_slots;
        std::size_t m_used = 0;
        std::size_t m_gone = 0;
    };

    // Never destroyed: objects that end at exit still leave it.
    static AddressSet& Table() {
        static AddressSet* table = new AddressSet();
        return *table;
    }
};

} // namespace orvo
