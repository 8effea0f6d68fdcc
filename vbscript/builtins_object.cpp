// The built-ins that reach past plain values: CreateObject, which knows the objects this
// engine makes itself, and MsgBox with the constants its buttons and answers use.
#include <span>

#include "platform/base/nocase.h"
#include "vbscript/builtins.h"
#include "vbscript/coerce.h"
#include "vbscript/dictionary.h"
#include "vbscript/runtime.h"
#include "vbscript/script_error.h"

namespace vbs {
namespace {

constexpr int kCannotCreateObject = 429;

Value CreateObject(Runtime* runtime, std::span<Value> a) {
    if (plat::EqualsNoCase(ToString(a[0]), L"Scripting.Dictionary"))
        return Value::FromObject(new Dictionary(runtime ? runtime->Objects() : nullptr));
    RaiseError(kCannotCreateObject);
}

// MsgBox prompt[, buttons[, title]]: an omitted argument arrives as Empty, which reads as 0
// and "". Without an engine there is nobody to ask, so the answer is OK.
Value MsgBox(Runtime* runtime, std::span<Value> a) {
    const std::wstring prompt = ToString(a[0]);
    const std::int32_t buttons = a.size() > 1 ? ToLong(a[1]) : 0;
    const std::wstring title = a.size() > 2 ? ToString(a[2]) : std::wstring();
    const int answer = runtime ? runtime->ShowMessage(prompt, buttons, title) : 1;
    return Value::Integer(static_cast<std::int16_t>(answer));
}

const Builtin objectBuiltins[] = {
    {L"CreateObject", CreateObject, 1, 1},
    {L"MsgBox", MsgBox, 1, 3},
};

} // namespace

std::span<const Builtin> ObjectBuiltins() {
    return objectBuiltins;
}

} // namespace vbs
