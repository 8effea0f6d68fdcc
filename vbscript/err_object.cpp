#include "vbscript/err_object.h"

#include "platform/base/nocase.h"
#include "vbscript/coerce.h"
#include "vbscript/script_error.h"

namespace vbs {

namespace {

void ExpectArguments(std::span<Value> args, std::size_t count) {
    if (args.size() != count)
        RaiseError(450);
}

bool Given(std::span<Value> args, std::size_t i) {
    return i < args.size() && !args[i].IsEmpty();
}

} // namespace

Value ErrObject::Invoke(std::wstring_view name, Access access, std::span<Value> args) {
    const auto is = [name](std::wstring_view member) { return plat::EqualsNoCase(name, member); };
    Runtime::ErrorState& err = *m_state;
    if (is(L"Raise")) {
        if (access == Access::Let || access == Access::Set)
            RaiseError(450);
        Raise(args);
    }
    if (is(L"Clear")) {
        if (access == Access::Let || access == Access::Set)
            RaiseError(450);
        ExpectArguments(args, 0);
        err = Runtime::ErrorState{};
        return Value();
    }
    const bool reading = access == Access::Get || access == Access::Call;
    if (reading)
        ExpectArguments(args, 0);
    else
        ExpectArguments(args, 1);
    if (name.empty() || is(L"Number")) {
        if (reading)
            return Value::Long(err.number);
        err.number = ToLong(Dereference(args[0]));
        return Value();
    }
    if (is(L"HelpContext")) {
        if (reading)
            return Value::Long(err.helpContext);
        err.helpContext = ToLong(Dereference(args[0]));
        return Value();
    }
    std::wstring* text = is(L"Description") ? &err.description
                         : is(L"Source")    ? &err.source
                         : is(L"HelpFile")  ? &err.helpFile
                                            : nullptr;
    if (!text)
        RaiseError(err::NoSuchMember);
    if (reading)
        return Value::String(*text);
    *text = ToString(Dereference(args[0]));
    return Value();
}

// Raise number [, source, description, helpfile, helpcontext]. A part left out keeps what
// Err still holds from an error not yet cleared, else the language's default for the number.
void ErrObject::Raise(std::span<Value> args) {
    if (args.empty() || args.size() > 5)
        RaiseError(450);
    const int number = LanguageErrorNumber(ToLong(Dereference(args[0])));
    if (number == 0)
        RaiseError(err::InvalidCall);
    Runtime::ErrorState& err = *m_state;
    const auto text = [&](std::size_t i, std::wstring& kept, std::wstring fallback) {
        if (Given(args, i))
            kept = ToString(Dereference(args[i]));
        else if (kept.empty())
            kept = std::move(fallback);
    };
    text(1, err.source, kRuntimeErrorSource);
    text(2, err.description, StandardErrorDescription(number));
    text(3, err.helpFile, L"");
    if (Given(args, 4))
        err.helpContext = ToLong(Dereference(args[4]));
    err.number = number;
    throw ScriptError{number, err.description, false, ScriptError::Origin::Raise};
}

} // namespace vbs
