#include "vbscript/dictionary.h"

#include <functional>
#include <limits>

#include "platform/base/nocase.h"
#include "vbscript/coerce.h"
#include "vbscript/instance_heap.h"
#include "vbscript/script_error.h"

namespace vbs {

namespace {

void ExpectArguments(std::span<Value> args, std::size_t count) {
    if (args.size() != count)
        RaiseError(450);
}

// Let assigns a value, so an object on the right stands for its default property; Set keeps
// the object itself.
Value Assigned(Access access, const Value& value) {
    return access == Access::Let ? Dereference(value) : value;
}

bool IsReading(Access access) {
    return access == Access::Call || access == Access::Get;
}

Value ArrayOf(std::size_t count, const std::function<Value()>& next) {
    if (count > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        RaiseError(7);
    const Array::Bound bound{0, static_cast<std::int32_t>(count)};
    Value result = Value::FromArray(Array::Create({&bound, 1}));
    Array* array = result.MutableArray();
    for (std::size_t i = 0; i < count; ++i)
        array->At(i) = next();
    return result;
}

} // namespace

Dictionary::Dictionary(InstanceHeap* heap) : m_heap(heap) {
    if (m_heap)
        m_heap->Add(this);
}

Dictionary::~Dictionary() {
    if (m_heap)
        m_heap->Remove(this);
}

std::size_t Dictionary::SlotHash::operator()(const Slot& slot) const noexcept {
    std::size_t h = std::hash<double>{}(slot.number);
    h ^= std::hash<std::wstring>{}(slot.text) + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
    h ^= std::hash<const void*>{}(slot.identity) + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
    return h * 31 + static_cast<std::size_t>(slot.kind);
}

Dictionary::Slot Dictionary::SlotOf(const Value& key) const {
    Slot slot;
    switch (key.Type()) {
    case VarType::Empty:
        slot.kind = Slot::Kind::Empty;
        break;
    case VarType::Null:
        slot.kind = Slot::Kind::Null;
        break;
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
        slot.kind = Slot::Kind::Number;
        slot.number = ToDouble(key);
        if (slot.number == 0) // -0 and 0 are one key
            slot.number = 0;
        break;
    case VarType::Boolean:
        slot.kind = Slot::Kind::Boolean;
        slot.number = key.AsBoolean() ? 1 : 0;
        break;
    case VarType::Date:
        slot.kind = Slot::Kind::Date;
        slot.number = key.AsDate();
        break;
    case VarType::Error:
        slot.kind = Slot::Kind::Error;
        slot.number = key.AsError();
        break;
    case VarType::String:
        slot.kind = Slot::Kind::Text;
        slot.text = key.AsString();
        if (m_compareMode != 0) {
            for (wchar_t& c : slot.text)
                c = plat::FoldCase(c);
        }
        break;
    case VarType::Object:
        slot.kind = Slot::Kind::Object;
        slot.identity = key.AsObject() ? key.AsObject()->Identity() : nullptr;
        break;
    default: // arrays cannot be keys
        RaiseError(err::TypeMismatch);
    }
    return slot;
}

Dictionary::EntryList::iterator Dictionary::Insert(const Value& key, Slot slot, const Value& item) {
    m_entries.push_back(Entry{key, item});
    auto entry = std::prev(m_entries.end());
    try {
        m_index.emplace(std::move(slot), entry);
    } catch (...) {
        m_entries.pop_back();
        throw;
    }
    return entry;
}

void Dictionary::Add(const Value& key, const Value& item) {
    Slot slot = SlotOf(key);
    if (m_index.contains(slot))
        RaiseError(kKeyExists);
    Insert(key, std::move(slot), item);
}

bool Dictionary::Exists(const Value& key) const {
    return m_index.contains(SlotOf(key));
}

Value& Dictionary::Item(const Value& key) {
    Slot slot = SlotOf(key);
    if (auto it = m_index.find(slot); it != m_index.end())
        return it->second->item;
    return Insert(key, std::move(slot), Value())->item;
}

void Dictionary::Rename(const Value& oldKey, const Value& newKey) {
    auto old = m_index.find(SlotOf(oldKey));
    if (old == m_index.end())
        RaiseError(kElementNotFound);
    Slot slot = SlotOf(newKey);
    const EntryList::iterator entry = old->second;
    if (!(slot == old->first)) {
        if (m_index.contains(slot))
            RaiseError(kKeyExists);
        auto node = m_index.extract(old);
        node.key() = std::move(slot);
        m_index.insert(std::move(node));
    }
    entry->key = newKey;
}

void Dictionary::Remove(const Value& key) {
    auto it = m_index.find(SlotOf(key));
    if (it == m_index.end())
        RaiseError(kElementNotFound);
    m_entries.erase(it->second);
    m_index.erase(it);
}

bool Dictionary::VisitValues(ValueVisitor& visitor) const {
    for (const Entry& entry : m_entries) {
        visitor.Visit(entry.key);
        visitor.Visit(entry.item);
    }
    return true;
}

void Dictionary::ReleaseValues(std::vector<Value>& into) {
    for (Entry& entry : m_entries) {
        into.push_back(std::move(entry.key));
        into.push_back(std::move(entry.item));
    }
    RemoveAll();
}

void Dictionary::RemoveAll() {
    m_index.clear();
    m_entries.clear();
}

Value Dictionary::Keys() const {
    auto it = m_entries.begin();
    return ArrayOf(m_entries.size(), [&] { return (it++)->key; });
}

Value Dictionary::ItemValues() const {
    auto it = m_entries.begin();
    return ArrayOf(m_entries.size(), [&] { return (it++)->item; });
}

void Dictionary::SetCompareMode(std::int32_t mode) {
    if (mode < 0 || mode > 2 || !m_entries.empty())
        RaiseError(err::InvalidCall);
    m_compareMode = mode;
}

std::vector<Value> Dictionary::Items() {
    std::vector<Value> keys;
    keys.reserve(m_entries.size());
    for (const Entry& entry : m_entries)
        keys.push_back(entry.key);
    return keys;
}

Value Dictionary::Invoke(std::wstring_view name, Access access, std::span<Value> args) {
    const auto is = [name](std::wstring_view member) { return plat::EqualsNoCase(name, member); };
    if (name.empty() || is(L"Item")) {
        if (IsReading(access)) {
            ExpectArguments(args, 1);
            return Item(args[0]);
        }
        ExpectArguments(args, 2);
        Value item = Assigned(access, args[1]);
        Item(args[0]) = std::move(item);
        return Value();
    }
    if (is(L"Key")) {
        if (IsReading(access))
            RaiseError(err::NoSuchMember); // the key of a key is not a question it answers
        ExpectArguments(args, 2);
        Rename(args[0], Assigned(access, args[1]));
        return Value();
    }
    if (is(L"CompareMode")) {
        if (IsReading(access)) {
            ExpectArguments(args, 0);
            return Value::Long(m_compareMode);
        }
        ExpectArguments(args, 1);
        SetCompareMode(ToLong(args[0]));
        return Value();
    }
    // The rest are methods and read-only properties.
    if (!IsReading(access)) {
        if (is(L"Add") || is(L"Exists") || is(L"Remove") || is(L"RemoveAll") || is(L"Keys") ||
            is(L"Items") || is(L"Count"))
            RaiseError(450);
        RaiseError(err::NoSuchMember);
    }
    if (is(L"Add")) {
        ExpectArguments(args, 2);
        Add(args[0], args[1]);
        return Value();
    }
    if (is(L"Exists")) {
        ExpectArguments(args, 1);
        return Value::Boolean(Exists(args[0]));
    }
    if (is(L"Remove")) {
        ExpectArguments(args, 1);
        Remove(args[0]);
        return Value();
    }
    if (is(L"RemoveAll")) {
        ExpectArguments(args, 0);
        RemoveAll();
        return Value();
    }
    if (is(L"Keys")) {
        ExpectArguments(args, 0);
        return Keys();
    }
    if (is(L"Items")) {
        ExpectArguments(args, 0);
        return ItemValues();
    }
    if (is(L"Count")) {
        ExpectArguments(args, 0);
        return Value::Long(static_cast<std::int32_t>(m_entries.size()));
    }
    RaiseError(err::NoSuchMember);
}

} // namespace vbs
