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

Value CreateObject(Runtime*, std::span<Value> a) {
    if (plat::EqualsNoCase(ToString(a[0]), L"Scripting.Dictionary"))
        return Value::FromObject(new Dictionary);
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

template <std::int16_t N> Value Constant(Runtime*, std::span<Value>) {
    return Value::Integer(N);
}

const Builtin objectBuiltins[] = {
    {L"CreateObject", CreateObject, 1, 1},
    {L"MsgBox", MsgBox, 1, 3},
    // Buttons.
    {L"vbOKOnly", Constant<0>, 0, 0},
    {L"vbOKCancel", Constant<1>, 0, 0},
    {L"vbAbortRetryIgnore", Constant<2>, 0, 0},
    {L"vbYesNoCancel", Constant<3>, 0, 0},
    {L"vbYesNo", Constant<4>, 0, 0},
    {L"vbRetryCancel", Constant<5>, 0, 0},
    // Icons.
    {L"vbCritical", Constant<16>, 0, 0},
    {L"vbQuestion", Constant<32>, 0, 0},
    {L"vbExclamation", Constant<48>, 0, 0},
    {L"vbInformation", Constant<64>, 0, 0},
    // Which button is the default, and modality.
    {L"vbDefaultButton1", Constant<0>, 0, 0},
    {L"vbDefaultButton2", Constant<256>, 0, 0},
    {L"vbDefaultButton3", Constant<512>, 0, 0},
    {L"vbDefaultButton4", Constant<768>, 0, 0},
    {L"vbApplicationModal", Constant<0>, 0, 0},
    {L"vbSystemModal", Constant<4096>, 0, 0},
    // Answers.
    {L"vbOK", Constant<1>, 0, 0},
    {L"vbCancel", Constant<2>, 0, 0},
    {L"vbAbort", Constant<3>, 0, 0},
    {L"vbRetry", Constant<4>, 0, 0},
    {L"vbIgnore", Constant<5>, 0, 0},
    {L"vbYes", Constant<6>, 0, 0},
    {L"vbNo", Constant<7>, 0, 0},
};

} // namespace

std::span<const Builtin> ObjectBuiltins() {
    return objectBuiltins;
}

} // namespace vbs
