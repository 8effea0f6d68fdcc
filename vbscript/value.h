#pragma once
// The Variant: a 16-byte tag plus payload. Strings, objects and arrays are reference
// counted (one thread, so plain counters); strings never change once shared and arrays
// copy on the first write after a copy, which gives arrays the value semantics the
// language requires on assignment.
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vbs {

// The language's VarType codes; an array reports Array + Variant (arrays hold Variants).
enum class VarType : std::uint16_t {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Object = 9,
    Error = 10,
    Boolean = 11,
    Variant = 12,
    Byte = 17,
    Array = 8192,
};

class Value;

// What the cycle collector hands an object to learn which values it holds.
class ValueVisitor {
public:
    virtual void Visit(const Value& value) = 0;

protected:
    ~ValueVisitor() = default;
};

// How a script uses an object's member: a call, a read, or an assignment with Let or Set.
enum class Access : std::uint8_t { Call, Get, Let, Set };

// Anything a script holds with Set. The host side defines the real objects; a new object
// starts with no references and is deleted when the last Value holding it lets go.
class Object {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    // TypeName's answer for this object.
    virtual std::wstring ClassName() const { return L"Object"; }
    // Uses member `name` (compared without case; "" is the default member) as `access`
    // says; for Let and Set the new value is the last argument. Arguments the member takes
    // by reference are written back into `args`. Raises ScriptError: 438 for a member the
    // object does not have, 450 for a wrong argument count.
    virtual Value Invoke(std::wstring_view name, Access access, std::span<Value> args);
    // The values For Each walks, in order; error 451 for an object that is no collection.
    virtual std::vector<Value> Items();
    // What Is compares: two references to one host object are the same object.
    virtual const void* Identity() const { return this; }
    // The default property, used when an operator or conversion meets the object. False
    // when the object has none.
    virtual bool DefaultValue(Value& out);

    // For the engine's cycle collector. An object that holds script values (and so may sit
    // on a reference cycle) visits each of them and answers true; ReleaseValues then moves
    // them all out when the collector breaks a cycle nothing else reaches. Objects that hold
    // none keep these defaults, and values they do hold count as held from outside.
    virtual bool VisitValues(ValueVisitor&) const { return false; }
    virtual void ReleaseValues(std::vector<Value>&) {}

    void AddRef() noexcept { ++m_refs; }
    void Release() noexcept {
        if (--m_refs == 0)
            LastReleased();
    }
    std::uint32_t References() const { return m_refs; }

protected:
    // Deletes the object (DeleteObject); a script class instance first runs its
    // Class_Terminate.
    virtual void LastReleased() noexcept;

private:
    std::uint32_t m_refs = 0;
};

class Array;

class Value {
public:
    Value() noexcept : m_type(VarType::Empty) { m_bits = 0; }
    [[gnu::always_inline]] Value(const Value& other) noexcept : m_type(other.m_type) {
        m_bits = other.m_bits;
        if (IsCounted())
            AddRefPayload();
    }
    [[gnu::always_inline]] Value(Value&& other) noexcept : m_type(other.m_type) {
        m_bits = other.m_bits;
        other.m_type = VarType::Empty;
    }
    [[gnu::always_inline]] Value& operator=(const Value& other) noexcept {
        Value copy(other);
        Swap(copy);
        return *this;
    }
    [[gnu::always_inline]] Value& operator=(Value&& other) noexcept {
        Value taken(std::move(other));
        Swap(taken);
        return *this;
    }
    [[gnu::always_inline]] ~Value() {
        if (IsCounted())
            ReleasePayload();
    }

    // The small subtypes are written as the whole 64-bit payload: a narrow write followed by
    // the wide read of a copy would stall the store buffer in tight loops.
    static Value Null() { return Value(VarType::Null); }
    static Value Boolean(bool v) {
        Value r(VarType::Boolean);
        r.m_bits = v ? 1u : 0u;
        return r;
    }
    static Value Byte(std::uint8_t v) {
        Value r(VarType::Byte);
        r.m_bits = v;
        return r;
    }
    static Value Integer(std::int16_t v) {
        Value r(VarType::Integer);
        r.m_bits = static_cast<std::uint16_t>(v);
        return r;
    }
    static Value Long(std::int32_t v) {
        Value r(VarType::Long);
        r.m_bits = static_cast<std::uint32_t>(v);
        return r;
    }
    static Value Single(float v) {
        Value r(VarType::Single);
        r.m_single = v;
        return r;
    }
    static Value Double(double v) {
        Value r(VarType::Double);
        r.m_double = v;
        return r;
    }
    // Ten-thousandths: Currency(15000) is 1.5.
    static Value Currency(std::int64_t tenThousandths) {
        Value r(VarType::Currency);
        r.m_currency = tenThousandths;
        return r;
    }
    // Days since 1899-12-30, the fraction being the time of day.
    static Value Date(double oleDate) {
        Value r(VarType::Date);
        r.m_double = oleDate;
        return r;
    }
    static Value String(std::wstring_view text);
    // The parts joined, in one allocation.
    static Value Joined(std::span<const std::wstring_view> parts);
    static Value Error(std::int32_t code) {
        Value r(VarType::Error);
        r.m_bits = static_cast<std::uint32_t>(code);
        return r;
    }
    // Null is Nothing.
    static Value FromObject(vbs::Object* object) {
        Value r(VarType::Object);
        r.m_object = object;
        if (object)
            object->AddRef();
        return r;
    }
    static Value Nothing() { return FromObject(nullptr); }
    // Takes a reference to the array (a fresh one from Array::Create is adopted).
    static Value FromArray(vbs::Array* array);

    VarType Type() const { return m_type; }
    bool IsEmpty() const { return m_type == VarType::Empty; }
    // The same subtype and payload: the very same string, array or object, or the same bits
    // of a number. False for equal values held apart, which callers must allow for.
    bool IsSameAs(const Value& other) const noexcept {
        return m_type == other.m_type && m_bits == other.m_bits;
    }
    bool IsNull() const { return m_type == VarType::Null; }
    bool IsNumeric() const;

    // Payload accessors; each assumes Type() is the matching subtype.
    bool AsBoolean() const { return m_bool; }
    std::uint8_t AsByte() const { return m_byte; }
    // Empty again, releasing what it held.
    [[gnu::always_inline]] void Clear() noexcept { Drop(VarType::Empty); }
    // Overwrite the value in place with a number: the VM's arithmetic loops store their
    // results this way instead of building and swapping a new Value.
    [[gnu::always_inline]] void SetInteger(std::int16_t v) noexcept {
        Drop(VarType::Integer);
        m_bits = static_cast<std::uint16_t>(v);
    }
    [[gnu::always_inline]] void SetLong(std::int32_t v) noexcept {
        Drop(VarType::Long);
        m_bits = static_cast<std::uint32_t>(v);
    }
    [[gnu::always_inline]] void SetDouble(double v) noexcept {
        Drop(VarType::Double);
        m_double = v;
    }

    std::int16_t AsInteger() const { return m_integer; }
    std::int32_t AsLong() const { return m_long; }
    float AsSingle() const { return m_single; }
    double AsDouble() const { return m_double; }
    std::int64_t AsCurrency() const { return m_currency; }
    double AsDate() const { return m_double; }
    std::int32_t AsError() const { return m_long; }
    std::wstring_view AsString() const;
    vbs::Object* AsObject() const { return m_object; }
    const vbs::Array* AsArray() const { return m_array; }
    // The array for writing: a shared body is copied first so other holders keep theirs.
    inline vbs::Array* MutableArray();

    // Appends in place when this string's buffer is not shared and has room, so building
    // text with & in a loop does not copy the whole string each time.
    void AppendString(std::wstring_view tail);

private:
    struct StringBody;

    explicit Value(VarType type) noexcept : m_type(type) { m_bits = 0; }
    [[gnu::always_inline]] bool IsCounted() const {
        return m_type == VarType::String || m_type == VarType::Object || m_type == VarType::Array;
    }
    vbs::Array* UnshareArray();
    void AddRefPayload() noexcept;
    void ReleasePayload() noexcept;
    [[gnu::always_inline]] void Drop(VarType next) noexcept {
        if (IsCounted())
            ReleasePayload();
        m_type = next;
    }
    void Swap(Value& other) noexcept {
        std::swap(m_type, other.m_type);
        std::swap(m_bits, other.m_bits);
    }

    VarType m_type;
    union {
        std::uint64_t m_bits;
        bool m_bool;
        std::uint8_t m_byte;
        std::int16_t m_integer;
        std::int32_t m_long;
        float m_single;
        double m_double;
        std::int64_t m_currency;
        StringBody* m_string; // null is ""
        vbs::Object* m_object;
        vbs::Array* m_array;
    };
};

static_assert(sizeof(Value) == 16);

// The shared body of an array: bounds per dimension and the elements in row-major order
// (the last subscript varies fastest).
class Array {
public:
    struct Bound {
        std::int32_t lower;
        std::int32_t count;
    };

    // Error 6 when the element count does not fit, 9 for a negative count. No bounds: a
    // dynamic array not dimensioned yet (Dim a(), or erased), with no elements.
    static Array* Create(std::span<const Bound> bounds);
    Array* Clone() const;

    int Dimensions() const { return static_cast<int>(m_bounds.size()); }
    // Dimension numbers count from 1 as in LBound/UBound; error 9 when out of range.
    std::int32_t LowerBound(int dimension) const;
    // The first dimension's lower bound, for callers that checked there is one.
    std::int32_t FirstLowerBound() const { return m_bounds.front().lower; }
    std::int32_t UpperBound(int dimension) const;
    std::size_t Size() const { return m_items.size(); }

    // The flat index of a subscript list; error 9 when the count or a subscript is wrong.
    std::size_t FlatIndex(std::span<const std::int32_t> subscripts) const;
    Value& At(std::size_t flat) { return m_items[flat]; }
    const Value& At(std::size_t flat) const { return m_items[flat]; }

    void AddRef() noexcept { ++m_refs; }
    void Release() noexcept;
    std::uint32_t References() const { return m_refs; }
    // Locks do not count as sharing: the locked elements are the variable's own.
    bool IsShared() const { return m_refs - m_locks > 1; }
    // While an element is passed by reference the array must not be re-dimensioned or erased.
    bool IsLocked() const { return m_locks != 0; }

private:
    friend class ArrayLock;
    Array() = default;
    std::uint32_t m_refs = 0;
    std::uint32_t m_locks = 0;
    std::vector<Bound> m_bounds;
    std::vector<Value> m_items;
};

// The array of an Array value, copied first when another value shares it.
inline Array* Value::MutableArray() {
    return m_array->IsShared() ? UnshareArray() : m_array;
}

// Keeps an array alive and locked while a reference to one of its elements is in use.
class ArrayLock {
public:
    ArrayLock() = default;
    explicit ArrayLock(Array* array) noexcept : m_array(array) {
        ++array->m_refs;
        ++array->m_locks;
    }
    ArrayLock(ArrayLock&& other) noexcept : m_array(std::exchange(other.m_array, nullptr)) {}
    ArrayLock& operator=(ArrayLock&& other) noexcept {
        ArrayLock taken(std::move(other));
        std::swap(m_array, taken.m_array);
        return *this;
    }
    explicit operator bool() const { return m_array != nullptr; }
    ~ArrayLock() {
        if (m_array) {
            --m_array->m_locks;
            m_array->Release();
        }
    }

private:
    Array* m_array = nullptr;
};

// Deletes an object whose last reference went. Objects and arrays that die while another is
// being deleted (a long chain of instances, dictionaries in dictionaries) wait in a list
// the outermost deletion empties, so the length of a chain costs memory, not stack.
void DeleteObject(Object* object) noexcept;

// VarType(): the code of the subtype; arrays answer 8192 + 12.
int VarTypeCode(const Value& v);
// TypeName(): "Integer", "Nothing", "Variant()", the object's class name ...
std::wstring TypeName(const Value& v);

} // namespace vbs
