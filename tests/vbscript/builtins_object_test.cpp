#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vbscript/builtins.h"
#include "vbscript/coerce.h"
#include "vbscript/runtime.h"
#include "vbscript/script_error.h"

using namespace vbs;

namespace {

Value Call(Runtime* runtime, const wchar_t* name, std::vector<Value> args) {
    const Builtin* builtin = FindBuiltin(name);
    EXPECT_NE(builtin, nullptr) << "no built-in";
    return builtin ? builtin->function(runtime, args) : Value();
}

int ErrorOf(const wchar_t* name, std::vector<Value> args) {
    try {
        Call(nullptr, name, std::move(args));
    } catch (const ScriptError& e) {
        return e.number;
    }
    return 0;
}

} // namespace

TEST(VbsObjectBuiltins, CreateObjectMakesDictionariesOnly) {
    const Value d = Call(nullptr, L"CreateObject", {Value::String(L"scripting.DICTIONARY")});
    ASSERT_EQ(d.Type(), VarType::Object);
    EXPECT_EQ(TypeName(d), L"Dictionary");
    const Value other = Call(nullptr, L"CreateObject", {Value::String(L"Scripting.Dictionary")});
    EXPECT_NE(other.AsObject(), d.AsObject()); // a new one each time

    EXPECT_EQ(ErrorOf(L"CreateObject", {Value::String(L"Scripting.FileSystemObject")}), 429);
    EXPECT_EQ(ErrorOf(L"CreateObject", {Value::String(L"")}), 429);
    EXPECT_EQ(ErrorOf(L"CreateObject", {Value::Null()}), err::InvalidUseOfNull);
    EXPECT_EQ(StandardErrorDescription(429), L"ActiveX component can't create object");
}

TEST(VbsObjectBuiltins, MsgBoxAsksTheRuntime) {
    Runtime runtime;
    std::wstring shown, title;
    int buttonsSeen = -1;
    runtime.SetMessageBox([&](std::wstring_view text, int buttons, std::wstring_view caption) {
        shown = text;
        buttonsSeen = buttons;
        title = caption;
        return 7;
    });
    const Value answer =
        Call(&runtime, L"MsgBox", {Value::Double(2.5), Value::Long(36), Value::String(L"Title")});
    EXPECT_EQ(answer.Type(), VarType::Integer);
    EXPECT_EQ(answer.AsInteger(), 7);
    EXPECT_EQ(shown, L"2.5");
    EXPECT_EQ(buttonsSeen, 36);
    EXPECT_EQ(title, L"Title");

    // Omitted arguments arrive as Empty.
    Call(&runtime, L"MsgBox", {Value::String(L"x"), Value(), Value()});
    EXPECT_EQ(buttonsSeen, 0);
    EXPECT_EQ(title, L"");
    // Without an engine the box is not shown and the answer is OK.
    EXPECT_EQ(ToLong(Call(nullptr, L"MsgBox", {Value::String(L"x")})), 1);
    EXPECT_EQ(ErrorOf(L"MsgBox", {Value::String(L"x"), Value::String(L"many")}), err::TypeMismatch);
}
