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
    // The smallest object is larger (checked where objects enter).
    static constexpr std::size_t kBytesPerSlot = 128;

    static void Add(const XDO* obj) { Table().Insert(obj); }
    static void Remove(const XDO* obj) { Table().Erase(obj); }
    static bool Contains(const XDO* obj) { return obj && Table().Find(obj); }

private:
    // Deletion shifts the rest of a probe run back instead of leaving tombstones: pages open
    // and close all day, and tombstones would lengthen every probe until the next rehash.
    class AddressSet {
    public:
        void Insert(const void* p) {
            if ((m_used + 1) * 2 > m_slots.size())
                Grow();
            std::size_t i = Home(p);
            for (; m_slots[i] != nullptr; i = Next(i)) {
                if (m_slots[i] == p)
                    return;
            }
            m_slots[i] = p;
            ++m_used;
        }
        void Erase(const void* p) {
            std::size_t gap = Slot(p);
            if (gap == kNone)
                return;
            // An entry further on may move into the gap when its home is not between the
            // gap and where it sits: a lookup for it then still meets it before an empty slot.
            for (std::size_t j = Next(gap); m_slots[j] != nullptr; j = Next(j)) {
                const std::size_t mask = m_slots.size() - 1;
                const std::size_t home = Home(m_slots[j]);
                if (((j - home) & mask) >= ((j - gap) & mask)) {
                    m_slots[gap] = m_slots[j];
                    gap = j;
                }
            }
            m_slots[gap] = nullptr;
            --m_used;
        }
        bool Find(const void* p) const { return Slot(p) != kNone; }

    private:
        static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

        // Objects made one after another lie close together in memory, and a page is built
        // in one go: a home that keeps neighbouring addresses in neighbouring slots lets a
        // page of 100,000 objects fill the table in a few streams instead of missing the
        // cache once per object. Within a megabyte the slot follows the address, one slot per
        // kBytesPerSlot bytes: every object is larger, so two objects never share a home, and
        // the slots of neighbouring objects share cache lines. Each megabyte starts at a
        // scrambled place, so regions spread over the whole table.
        std::size_t Home(const void* p) const {
            const auto a = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p));
            std::uint64_t region = a >> 20;
            region ^= region >> 33;
            region *= 0xff51afd7ed558ccdULL;
            region ^= region >> 33;
            return static_cast<std::size_t>(a / kBytesPerSlot + region) & (m_slots.size() - 1);
        }
        std::size_t Next(std::size_t i) const { return (i + 1) & (m_slots.size() - 1); }
        std::size_t Slot(const void* p) const {
            if (m_slots.empty() || p == nullptr)
                return kNone;
            for (std::size_t i = Home(p);; i = Next(i)) {
                if (m_slots[i] == p)
                    return i;
                if (m_slots[i] == nullptr)
                    return kNone;
            }
        }
        void Grow() {
            std::vector<const void*> old(m_slots.empty() ? 1024 : m_slots.size() * 2, nullptr);
            old.swap(m_slots);
            m_used = 0;
            for (const void* p : old) {
                if (p != nullptr)
                    Insert(p);
            }
        }

        std::vector<const void*> m_slots;
        std::size_t m_used = 0;
    };

    // Never destroyed: objects that end at exit still leave it.
    static AddressSet& Table() {
        static AddressSet* table = new AddressSet();
        return *table;
    }
};

} // namespace orvo
