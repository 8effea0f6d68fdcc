#pragma once
// Scripting.Dictionary: items stored under Variant keys, kept in the order they were added,
// found by hashing. Numbers are one key whatever their subtype (1, 1.0 and CLng(1) meet),
// text compares by code unit or, in text mode, without case, and objects by identity; a
// number and its text are different keys.
#include <cstddef>
#include <cstdint>
#include <list>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "vbscript/value.h"

namespace vbs {

class InstanceHeap;

class Dictionary : public Object {
public:
    // The language's error numbers for a key that is already there and one that is not.
    static constexpr int kKeyExists = 457;
    static constexpr int kElementNotFound = 32811;

    Dictionary() = default;
    // One a script made: `heap` keeps it for its engine's cycle collector.
    explicit Dictionary(InstanceHeap* heap);
    ~Dictionary() override;

    std::wstring ClassName() const override { return L"Dictionary"; }
    Value Invoke(std::wstring_view name, Access access, std::span<Value> args) override;
    // For Each walks the keys.
    std::vector<Value> Items() override;
    // Item needs a key, so there is no value to stand for the whole dictionary.
    bool DefaultValue(Value&) override { return false; }

    // The members as C++ calls; each raises the script's error on bad input.
    void Add(const Value& key, const Value& item);
    bool Exists(const Value& key) const;
    // A missing key is added with an Empty item, as reading Item does in scripts.
    Value& Item(const Value& key);
    void Rename(const Value& oldKey, const Value& newKey);
    void Remove(const Value& key);
    void RemoveAll();
    std::size_t Count() const { return m_entries.size(); }
    Value Keys() const;
    Value ItemValues() const;
    // 0 binary, 1 text, 2 database (like text); error 5 once the dictionary holds items.
    void SetCompareMode(std::int32_t mode);
    std::int32_t CompareMode() const { return m_compareMode; }

    bool VisitValues(ValueVisitor& visitor) const override;
    void ReleaseValues(std::vector<Value>& into) override;

private:
    // A key reduced to what decides equality.
    struct Slot {
        enum class Kind : std::uint8_t { Empty, Null, Number, Boolean, Date, Error, Text, Object };
        Kind kind = Kind::Empty;
        double number = 0;
        std::wstring text;
        const void* identity = nullptr;
        bool operator==(const Slot& other) const = default;
    };
    struct SlotHash {
        std::size_t operator()(const Slot& slot) const noexcept;
    };
    struct Entry {
        Value key;
        Value item;
    };
    using EntryList = std::list<Entry>;

    Slot SlotOf(const Value& key) const;
    EntryList::iterator Insert(const Value& key, Slot slot, const Value& item);

    friend class InstanceHeap;
    InstanceHeap* m_heap = nullptr; // and the heap's list
    Dictionary* m_previous = nullptr;
    Dictionary* m_next = nullptr;
    EntryList m_entries; // insertion order
    std::unordered_map<Slot, EntryList::iterator, SlotHash> m_index;
    std::int32_t m_compareMode = 0;
};

} // namespace vbs
