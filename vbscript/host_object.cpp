#include "vbscript/host_object.h"

#include <cmath>
#include <span>
#include <vector>

#include "nubra/ixo.h"
#include "vbscript/coerce.h"
#include "vbscript/inline_buffer.h"
#include "vbscript/script_error.h"

namespace vbs {

namespace {

int ErrorNumberOf(orvo::DispStatus status) {
    switch (status) {
    case orvo::DispStatus::Ok:
        return 0;
    case orvo::DispStatus::UnknownName:
    case orvo::DispStatus::NotScriptable:
        return err::NoSuchMember;
    case orvo::DispStatus::WrongArgCount:
    case orvo::DispStatus::ReadOnly:
    case orvo::DispStatus::WriteOnly:
        return 450;
    case orvo::DispStatus::TypeMismatch:
        return err::TypeMismatch;
    case orvo::DispStatus::NullUse:
        return err::InvalidUseOfNull;
    case orvo::DispStatus::DeadObject:
        return err::ObjectRequired;
    }
    return err::InvalidCall;
}

constexpr std::size_t kFewArguments = 4;

class HostObject final : public Object {
public:
    explicit HostObject(IXO* object) : m_ref(object->WeakRef()), m_key(object->GetIXOKey()) {}

    IXO* Target() const { return m_ref.Get(); }

    std::wstring ClassName() const override { return m_key; }

    const void* Identity() const override {
        IXO* target = m_ref.Get();
        return target ? static_cast<const void*>(target) : this;
    }

    Value Invoke(std::wstring_view name, Access access, std::span<Value> args) override {
        IXO* target = m_ref.Get();
        if (!target)
            throw ScriptError{err::ObjectRequired,
                              L"Object required: the object has been destroyed"};
        if (name.empty())
            RaiseError(err::NoSuchMember);
        // Calls pass a few arguments, which stay on the stack: no allocation per call.
        InlineBuffer<orvo::DispVariant, kFewArguments> passedBuffer, beforeBuffer;
        passedBuffer.Reserve(args.size());
        beforeBuffer.Reserve(args.size());
        for (const Value& arg : args) {
            orvo::DispVariant converted = ToDispVariant(arg);
            beforeBuffer.PushBack(converted);
            passedBuffer.PushBack(std::move(converted));
        }
        const std::span<orvo::DispVariant> passed = passedBuffer.Items();
        const std::span<orvo::DispVariant> before = beforeBuffer.Items();
        unsigned kind = orvo::InvokePut;
        if (access == Access::Call)
            kind = orvo::InvokeMethod | orvo::InvokeGet;
        else if (access == Access::Get)
            kind = orvo::InvokeGet | orvo::InvokeMethod;
        orvo::DispVariant result;
        const orvo::DispEntry* entry = FindEntry(*target, name);
        const orvo::DispStatus status = entry
                                            ? IXO::InvokeEntry(target, *entry, kind, passed, result)
                                            : orvo::DispStatus::UnknownName;
        if (status != orvo::DispStatus::Ok) {
            const int number = ErrorNumberOf(status);
            throw ScriptError{
                number, StandardErrorDescription(number) + L": '" + std::wstring(name) + L"'"};
        }
        // Only what the member changed goes back, so an untouched argument keeps its subtype.
        for (std::size_t i = 0; i < args.size(); ++i)
            if (!(passed[i] == before[i]))
                args[i] = FromDispVariant(passed[i]);
        return FromDispVariant(result);
    }

private:
    // Scripts call the same member over and over: the last name found is kept (compared
    // exactly; the object's class, and so its members, never change).
    const orvo::DispEntry* FindEntry(const IXO& target, std::wstring_view name) {
        if (m_lastEntry && name == m_lastName)
            return m_lastEntry;
        const orvo::DispEntry* entry = target.FindDispEntry(name);
        if (entry) {
            m_lastName.assign(name);
            m_lastEntry = entry;
        }
        return entry;
    }

    orvo::IXORef m_ref;
    std::wstring m_key;
    std::wstring m_lastName;
    const orvo::DispEntry* m_lastEntry = nullptr;
};

} // namespace

Value HostValue(IXO* object) {
    return object ? Value::FromObject(new HostObject(object)) : Value::Nothing();
}

IXO* HostObjectOf(const Value& value) {
    if (value.Type() != VarType::Object)
        return nullptr;
    auto* host = dynamic_cast<HostObject*>(value.AsObject());
    return host ? host->Target() : nullptr;
}

orvo::DispVariant ToDispVariant(const Value& value) {
    switch (value.Type()) {
    case VarType::Empty:
        return {};
    case VarType::Null:
        return orvo::DispVariant::Null();
    case VarType::Boolean:
        return orvo::DispVariant(value.AsBoolean());
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Error:
        return orvo::DispVariant(static_cast<std::int32_t>(ToLong(value)));
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Date:
        return orvo::DispVariant(ToDouble(value));
    case VarType::String:
        return orvo::DispVariant(std::wstring(value.AsString()));
    case VarType::Object:
        if (!value.AsObject())
            return orvo::DispVariant(static_cast<IXO*>(nullptr));
        if (IXO* host = HostObjectOf(value))
            return orvo::DispVariant(host);
        // A script object reaches the host as its default property's value.
        if (Value inner; value.AsObject()->DefaultValue(inner) && inner.Type() != VarType::Object)
            return ToDispVariant(inner);
        RaiseError(err::TypeMismatch);
    case VarType::Array: {
        const Array& array = *value.AsArray();
        orvo::DispArray items;
        items.reserve(array.Size());
        for (std::size_t i = 0; i < array.Size(); ++i)
            items.push_back(ToDispVariant(array.At(i)));
        return orvo::DispVariant(std::move(items));
    }
    default:
        RaiseError(err::TypeMismatch);
    }
}

Value FromDispVariant(const orvo::DispVariant& value) {
    const orvo::DispVariant& v = value.Deref();
    switch (v.Type()) {
    case orvo::VarType::Empty:
    case orvo::VarType::ByRef:
        return Value();
    case orvo::VarType::Null:
        return Value::Null();
    case orvo::VarType::Bool:
        return Value::Boolean(*v.AsBool());
    case orvo::VarType::Int32:
        return Value::Long(*v.AsInt32());
    case orvo::VarType::Int64: {
        const std::int64_t n = *v.AsInt64();
        if (n >= INT32_MIN && n <= INT32_MAX)
            return Value::Long(static_cast<std::int32_t>(n));
        return Value::Double(static_cast<double>(n));
    }
    case orvo::VarType::Double:
        return Value::Double(*v.AsDouble());
    case orvo::VarType::String:
        return Value::String(*v.AsString());
    case orvo::VarType::Object:
        return HostValue(v.AsObject());
    case orvo::VarType::Array: {
        const orvo::DispArray& items = *v.AsArray();
        const Array::Bound bound{0, static_cast<std::int32_t>(items.size())};
        Value array = Value::FromArray(Array::Create(std::span<const Array::Bound>(&bound, 1)));
        Array& body = *array.MutableArray();
        for (std::size_t i = 0; i < items.size(); ++i)
            body.At(i) = FromDispVariant(items[i]);
        return array;
    }
    }
    return Value();
}

} // namespace vbs
