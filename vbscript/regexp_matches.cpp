#include "vbscript/regexp_matches.h"

#include "platform/base/nocase.h"
#include "vbscript/coerce.h"
#include "vbscript/script_error.h"

namespace vbs {

namespace {

// Members of these objects are only read; assigning one is error 450 and an unknown name
// error 438, as with the other objects the engine makes.
void ExpectRead(Access access, std::span<Value> args, std::size_t count) {
    if (access != Access::Call && access != Access::Get)
        RaiseError(450);
    if (args.size() != count)
        RaiseError(450);
}

} // namespace

Value RegexList::Invoke(std::wstring_view name, Access access, std::span<Value> args) {
    const auto is = [name](std::wstring_view member) { return plat::EqualsNoCase(name, member); };
    if (name.empty() || is(L"Item")) {
        ExpectRead(access, args, 1);
        const std::int32_t index = ToLong(args[0]);
        if (index < 0 || static_cast<std::size_t>(index) >= m_items.size())
            RaiseError(err::InvalidCall);
        return m_items[static_cast<std::size_t>(index)];
    }
    if (is(L"Count")) {
        ExpectRead(access, args, 0);
        return Value::Long(static_cast<std::int32_t>(m_items.size()));
    }
    RaiseError(err::NoSuchMember);
}

Value RegexMatch::Invoke(std::wstring_view name, Access access, std::span<Value> args) {
    const auto is = [name](std::wstring_view member) { return plat::EqualsNoCase(name, member); };
    if (name.empty() || is(L"Value")) {
        ExpectRead(access, args, 0);
        return Value::String(m_value);
    }
    if (is(L"FirstIndex")) {
        ExpectRead(access, args, 0);
        return Value::Long(m_firstIndex);
    }
    if (is(L"Length")) {
        ExpectRead(access, args, 0);
        return Value::Long(static_cast<std::int32_t>(m_value.size()));
    }
    if (is(L"SubMatches")) {
        if (m_subMatches.IsEmpty())
            m_subMatches = Value::FromObject(new RegexList(L"ISubMatches", m_groups));
        // m.SubMatches(i) indexes the collection in one step.
        if (!args.empty())
            return m_subMatches.AsObject()->Invoke(L"", access, args);
        ExpectRead(access, args, 0);
        return m_subMatches;
    }
    RaiseError(err::NoSuchMember);
}

} // namespace vbs
