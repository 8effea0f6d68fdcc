#include "vbsrun/wscript_object.h"

#include <cstdint>
#include <utility>

#include "platform/base/nocase.h"
#include "vbscript/coerce.h"
#include "vbscript/script_error.h"

namespace orvo {

namespace {

using vbs::Access;
using vbs::Value;

// The members below are methods and read-only properties: assigning to one is error 450.
void RequireReading(Access access) {
    if (access != Access::Call && access != Access::Get)
        vbs::RaiseError(450);
}

void ExpectArguments(std::span<Value> args, std::size_t least, std::size_t most) {
    if (args.size() < least || args.size() > most)
        vbs::RaiseError(450);
}

// WScript.Arguments: the words after "--" on the command line, counted from 0.
class ArgumentsObject : public vbs::Object {
public:
    explicit ArgumentsObject(std::vector<std::wstring> words) : m_words(std::move(words)) {}

    std::wstring ClassName() const override { return L"Object"; }

    Value Invoke(std::wstring_view name, Access access, std::span<Value> args) override {
        RequireReading(access);
        if (name.empty() || plat::EqualsNoCase(name, L"Item")) {
            ExpectArguments(args, 1, 1);
            const std::int32_t index = vbs::ToLong(args[0]);
            if (index < 0 || static_cast<std::size_t>(index) >= m_words.size())
                vbs::RaiseError(vbs::err::SubscriptOutOfRange);
            return Value::String(m_words[static_cast<std::size_t>(index)]);
        }
        if (plat::EqualsNoCase(name, L"Count") || plat::EqualsNoCase(name, L"Length")) {
            ExpectArguments(args, 0, 0);
            return Value::Long(static_cast<std::int32_t>(m_words.size()));
        }
        vbs::RaiseError(vbs::err::NoSuchMember);
    }

    std::vector<Value> Items() override {
        std::vector<Value> items;
        items.reserve(m_words.size());
        for (const std::wstring& word : m_words)
            items.push_back(Value::String(word));
        return items;
    }

private:
    std::vector<std::wstring> m_words;
};

// WScript.StdOut and WScript.StdErr: the writing half of a text stream.
class OutputStreamObject : public vbs::Object {
public:
    explicit OutputStreamObject(WScriptObject::Sink sink) : m_sink(std::move(sink)) {}

    std::wstring ClassName() const override { return L"TextStream"; }

    Value Invoke(std::wstring_view name, Access access, std::span<Value> args) override {
        RequireReading(access);
        if (plat::EqualsNoCase(name, L"Write")) {
            ExpectArguments(args, 1, 1);
            m_sink(vbs::ToString(args[0]));
            return Value();
        }
        if (plat::EqualsNoCase(name, L"WriteLine")) {
            ExpectArguments(args, 0, 1);
            m_sink((args.empty() ? std::wstring() : vbs::ToString(args[0])) + L"\n");
            return Value();
        }
        if (plat::EqualsNoCase(name, L"WriteBlankLines")) {
            ExpectArguments(args, 1, 1);
            const std::int32_t lines = vbs::ToLong(args[0]);
            if (lines < 0)
                vbs::RaiseError(vbs::err::InvalidCall);
            for (std::int32_t i = 0; i < lines; ++i)
                m_sink(L"\n");
            return Value();
        }
        vbs::RaiseError(vbs::err::NoSuchMember);
    }

private:
    WScriptObject::Sink m_sink;
};

} // namespace

WScriptObject::WScriptObject(std::vector<std::wstring> arguments, Sink out, const Sink& err)
    : m_out(std::move(out)),
      m_arguments(Value::FromObject(new ArgumentsObject(std::move(arguments)))),
      m_stdOut(Value::FromObject(new OutputStreamObject(m_out))),
      m_stdErr(Value::FromObject(new OutputStreamObject(err))) {}

void WScriptObject::SetScript(std::wstring name, std::wstring fullName) {
    m_scriptName = std::move(name);
    m_scriptFullName = std::move(fullName);
}

// Echo's arguments, separated by spaces, then a line end. Objects show their default
// value; Null shows as "Null", which CStr would refuse.
void WScriptObject::Echo(std::span<Value> args) {
    std::wstring line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i > 0)
            line += L' ';
        const Value value = vbs::Dereference(args[i]);
        line += value.IsNull() ? std::wstring(L"Null") : vbs::ToString(value);
    }
    line += L'\n';
    m_out(line);
}

Value WScriptObject::Invoke(std::wstring_view name, Access access, std::span<Value> args) {
    RequireReading(access);
    const auto is = [name](std::wstring_view member) { return plat::EqualsNoCase(name, member); };
    if (is(L"Echo")) {
        Echo(args);
        return Value();
    }
    if (is(L"Quit")) {
        ExpectArguments(args, 0, 1);
        m_quitCode = args.empty() ? 0 : vbs::ToLong(args[0]);
        throw vbs::ScriptError{kQuitError, L"The script ended with WScript.Quit", true};
    }
    if (is(L"Arguments")) {
        // WScript.Arguments(0) reaches the collection's default member.
        if (!args.empty())
            return m_arguments.AsObject()->Invoke(L"", access, args);
        return m_arguments;
    }
    const auto property = [&](Value value) {
        ExpectArguments(args, 0, 0);
        return value;
    };
    if (is(L"ScriptName"))
        return property(Value::String(m_scriptName));
    if (is(L"ScriptFullName"))
        return property(Value::String(m_scriptFullName));
    if (is(L"StdOut"))
        return property(m_stdOut);
    if (is(L"StdErr"))
        return property(m_stdErr);
    if (is(L"Name"))
        return property(Value::String(L"vbsrun"));
    vbs::RaiseError(vbs::err::NoSuchMember);
}

} // namespace orvo
