#include "vbscript/value.h"

#include <cstring>
#include <limits>
#include <new>

#include "vbscript/script_error.h"

namespace vbs {

// Header and characters in one allocation; the characters follow the header.
struct Value::StringBody {
    std::uint32_t refs;
    std::uint32_t length;
    std::uint32_t capacity;

    wchar_t* Chars() { return reinterpret_cast<wchar_t*>(this + 1); }

    static StringBody* Allocate(std::size_t capacity) {
        if (capacity > std::numeric_limits<std::uint32_t>::max() / sizeof(wchar_t) - 16)
            RaiseError(14);
        void* memory = ::operator new(sizeof(StringBody) + capacity * sizeof(wchar_t));
        auto* body = new (memory) StringBody{1, 0, static_cast<std::uint32_t>(capacity)};
        return body;
    }
    static void Free(StringBody* body) {
        body->~StringBody();
        ::operator delete(body);
    }
};

Value Value::String(std::wstring_view text) {
    Value r(VarType::String);
    if (!text.empty()) {
        r.m_string = StringBody::Allocate(text.size());
        std::memcpy(r.m_string->Chars(), text.data(), text.size() * sizeof(wchar_t));
        r.m_string->length = static_cast<std::uint32_t>(text.size());
    }
    return r;
}

Value Value::Joined(std::span<const std::wstring_view> parts) {
    std::size_t total = 0;
    for (std::wstring_view part : parts)
        total += part.size();
    if (total > std::numeric_limits<std::uint32_t>::max())
        RaiseError(7);
    Value r(VarType::String);
    if (total == 0)
        return r;
    r.m_string = StringBody::Allocate(total);
    wchar_t* out = r.m_string->Chars();
    // Most parts are a few characters, which a plain loop copies faster than memcpy calls.
    for (std::wstring_view part : parts) {
        if (part.size() > 16) {
            std::memcpy(out, part.data(), part.size() * sizeof(wchar_t));
            out += part.size();
        } else {
            for (wchar_t c : part)
                *out++ = c;
        }
    }
    r.m_string->length = static_cast<std::uint32_t>(total);
    return r;
}

std::wstring_view Value::AsString() const {
    if (!m_string)
        return {};
    return {m_string->Chars(), m_string->length};
}

void Value::AppendString(std::wstring_view tail) {
    if (tail.empty())
        return;
    const std::size_t length = m_string ? m_string->length : 0;
    if (m_string && m_string->refs == 1 && m_string->capacity - length >= tail.size()) {
        std::memcpy(m_string->Chars() + length, tail.data(), tail.size() * sizeof(wchar_t));
        m_string->length += static_cast<std::uint32_t>(tail.size());
        return;
    }
    const std::size_t total = length + tail.size();
    StringBody* grown = StringBody::Allocate(total < 16 ? 16 : total + total / 2);
    if (length)
        std::memcpy(grown->Chars(), m_string->Chars(), length * sizeof(wchar_t));
    std::memcpy(grown->Chars() + length, tail.data(), tail.size() * sizeof(wchar_t));
    grown->length = static_cast<std::uint32_t>(total);
    Value replaced(VarType::String);
    replaced.m_string = grown;
    Swap(replaced);
}

Value Value::FromArray(vbs::Array* array) {
    if (!array)
        return Value();
    Value r(VarType::Array);
    r.m_array = array;
    array->AddRef();
    return r;
}

vbs::Array* Value::UnshareArray() {
    vbs::Array* copy = m_array->Clone();
    copy->AddRef();
    m_array->Release();
    m_array = copy;
    return m_array;
}

bool Value::IsNumeric() const {
    switch (m_type) {
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
        return true;
    default:
        return false;
    }
}

void Value::AddRefPayload() noexcept {
    if (m_type == VarType::String) {
        if (m_string)
            ++m_string->refs;
    } else if (m_type == VarType::Object) {
        if (m_object)
            m_object->AddRef();
    } else {
        m_array->AddRef();
    }
}

void Value::ReleasePayload() noexcept {
    if (m_type == VarType::String) {
        if (m_string && --m_string->refs == 0)
            StringBody::Free(m_string);
    } else if (m_type == VarType::Object) {
        if (m_object)
            m_object->Release();
    } else {
        m_array->Release();
    }
}

Array* Array::Create(std::span<const Bound> bounds) {
    std::uint64_t total = bounds.empty() ? 0 : 1;
    for (const Bound& b : bounds) {
        if (b.count < 0)
            RaiseError(err::SubscriptOutOfRange);
        if (static_cast<std::int64_t>(b.lower) + b.count - 1 >
            std::numeric_limits<std::int32_t>::max())
            RaiseError(err::Overflow);
        total *= static_cast<std::uint64_t>(b.count);
        if (total > (std::uint64_t{1} << 28))
            RaiseError(7);
    }
    auto* array = new Array();
    array->m_bounds.assign(bounds.begin(), bounds.end());
    array->m_items.resize(total);
    return array;
}

Array* Array::Clone() const {
    auto* copy = new Array();
    copy->m_bounds = m_bounds;
    copy->m_items = m_items;
    return copy;
}

namespace {

// An object or an array waiting to be deleted.
struct Doomed {
    Object* object;
    Array* array;
};

// The list of the outermost deletion under way on this thread; null when none is. Every
// object and array freed reads it, so it is reached without a call into the loader
// (the library is loaded with the program, never opened later).
[[gnu::tls_model("initial-exec")]] thread_local std::vector<Doomed>* t_doomed = nullptr;

void Free(Doomed doomed) noexcept {
    if (doomed.object)
        delete doomed.object;
    else
        delete doomed.array;
}

// What the first deletion freed that held more: freed in turn until none is left.
[[gnu::noinline]] void FreePending(std::vector<Doomed>& pending) noexcept {
    while (!pending.empty()) {
        const Doomed next = pending.back();
        pending.pop_back();
        Free(next);
    }
}

void Reclaim(Doomed doomed) noexcept {
    if (t_doomed) [[unlikely]] {
        t_doomed->push_back(doomed);
        return;
    }
    // Empty until a deletion frees something that holds more, so a lone object or array
    // costs no allocation here.
    std::vector<Doomed> pending;
    t_doomed = &pending;
    Free(doomed);
    if (!pending.empty()) [[unlikely]]
        FreePending(pending);
    t_doomed = nullptr;
}

} // namespace

void DeleteObject(Object* object) noexcept {
    Reclaim(Doomed{object, nullptr});
}

void Object::LastReleased() noexcept {
    DeleteObject(this);
}

void Array::Release() noexcept {
    if (--m_refs == 0)
        Reclaim(Doomed{nullptr, this});
}

std::int32_t Array::LowerBound(int dimension) const {
    if (dimension < 1 || dimension > Dimensions())
        RaiseError(err::SubscriptOutOfRange);
    return m_bounds[dimension - 1].lower;
}

std::int32_t Array::UpperBound(int dimension) const {
    if (dimension < 1 || dimension > Dimensions())
        RaiseError(err::SubscriptOutOfRange);
    const Bound& b = m_bounds[dimension - 1];
    return static_cast<std::int32_t>(static_cast<std::int64_t>(b.lower) + b.count - 1);
}

std::size_t Array::FlatIndex(std::span<const std::int32_t> subscripts) const {
    if (subscripts.size() != m_bounds.size() || m_bounds.empty())
        RaiseError(err::SubscriptOutOfRange);
    std::size_t flat = 0;
    for (std::size_t d = 0; d < m_bounds.size(); ++d) {
        const std::int64_t offset = static_cast<std::int64_t>(subscripts[d]) - m_bounds[d].lower;
        if (offset < 0 || offset >= m_bounds[d].count)
            RaiseError(err::SubscriptOutOfRange);
        flat =
            flat * static_cast<std::size_t>(m_bounds[d].count) + static_cast<std::size_t>(offset);
    }
    return flat;
}

int VarTypeCode(const Value& v) {
    if (v.Type() == VarType::Array)
        return static_cast<int>(VarType::Array) + static_cast<int>(VarType::Variant);
    return static_cast<int>(v.Type());
}

std::wstring TypeName(const Value& v) {
    switch (v.Type()) {
    case VarType::Empty:
        return L"Empty";
    case VarType::Null:
        return L"Null";
    case VarType::Boolean:
        return L"Boolean";
    case VarType::Byte:
        return L"Byte";
    case VarType::Integer:
        return L"Integer";
    case VarType::Long:
        return L"Long";
    case VarType::Single:
        return L"Single";
    case VarType::Double:
        return L"Double";
    case VarType::Currency:
        return L"Currency";
    case VarType::Date:
        return L"Date";
    case VarType::String:
        return L"String";
    case VarType::Object:
        return v.AsObject() ? v.AsObject()->ClassName() : L"Nothing";
    case VarType::Error:
        return L"Error";
    case VarType::Array:
        return L"Variant()";
    case VarType::Variant:
        break;
    }
    return L"Variant";
}

} // namespace vbs

namespace vbs {

Value Object::Invoke(std::wstring_view, Access, std::span<Value>) {
    RaiseError(err::NoSuchMember);
}

std::vector<Value> Object::Items() {
    RaiseError(451);
}

bool Object::DefaultValue(Value& out) {
    try {
        out = Invoke(L"", Access::Get, {});
        return true;
    } catch (const ScriptError& e) {
        if (e.number == err::NoSuchMember)
            return false;
        throw;
    }
}

} // namespace vbs
