// A procedure compiled before a global of a name it uses is declared moves onto that global
// when it is: every instruction form that names a variable must follow, or part of the
// procedure keeps using its own local.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "vbscript/coerce.h"
#include "vbscript/engine.h"
#include "vbscript/instructions.h"

using namespace vbs;

namespace {

// Each procedure touches `later` in one instruction form; Check reads the global back.
const std::wstring kUses = LR"(
Sub Fused() : later = later + 1 : End Sub
Sub Plain() : later = (later + 1) * 1 : End Sub
Sub Moved() : later = 41 : End Sub
Sub Compared()
  If later > 0 Then later = "positive" Else later = "not"
End Sub
Sub Appended() : later = later & "+" & "!" : End Sub
Sub Counted() : For later = 1 To 3 : Next : End Sub
Sub Walked() : For Each later In Array("x", "y") : Next : End Sub
Sub Filled(v) : v = "filled" : End Sub
Sub Passed() : Filled later : End Sub
Sub Sized() : ReDim later(2) : later(1) = "one" : End Sub
Sub Indexed() : later(2) = later(1) & "/" & later(1) : End Sub
Sub Objected() : Set later = Nothing : End Sub
Sub Erased() : Erase later : End Sub
)";

std::wstring Global(Engine& engine) {
    Value result;
    ScriptError error{};
    if (!engine.Call(L"Check", {}, &result, &error))
        return L"error " + std::to_wstring(error.number);
    return ToString(result);
}

void CallSub(Engine& engine, const wchar_t* procedure) {
    ScriptError error{};
    EXPECT_TRUE(engine.Call(procedure, {}, nullptr, &error))
        << std::string(procedure, procedure + std::wcslen(procedure)) << " error " << error.number;
}

TEST(ImplicitBinding, EveryInstructionFormFollowsTheGlobal) {
    for (bool fast : {true, false}) {
        Engine engine;
        engine.SetFastPaths(fast);
        ASSERT_TRUE(engine.AddCode(kUses, nullptr));
        ASSERT_TRUE(engine.AddCode(
            L"Dim later\nlater = 1\nFunction Check()\n On Error Resume Next\n"
            L" If IsArray(later) Then\n  Check = \"array\"\n  Check = Join(later, \",\")\n"
            L" ElseIf IsObject(later) Then\n"
            L"  Check = TypeName(later)\n Else\n  Check = later\n End If\nEnd Function\n",
            nullptr));
        const struct {
            const wchar_t* procedure;
            const wchar_t* global;
        } steps[] = {
            {L"Fused", L"2"},
            {L"Plain", L"3"},
            {L"Compared", L"positive"},
            {L"Moved", L"41"},
            {L"Appended", L"41+!"},
            {L"Counted", L"4"},
            {L"Walked", L"y"},
            {L"Passed", L"filled"},
            {L"Sized", L",one,"},
            {L"Indexed", L",one,one/one"},
            {L"Erased", L"array"},
            {L"Objected", L"Nothing"},
        };
        for (const auto& step : steps) {
            CallSub(engine, step.procedure);
            EXPECT_EQ(Global(engine), step.global)
                << "after "
                << std::string(step.procedure, step.procedure + std::wcslen(step.procedure))
                << (fast ? "" : " without fast paths");
        }
    }
}

TEST(ImplicitBinding, RenamingLeavesJumpTargetsAndHiddenSlotsAlone) {
    // Operand values that equal the renamed slot but are no variable keep their meaning.
    Instr code[] = {
        {Op::LoadLocal, 0, 5, 0, 0},
        {Op::StoreLocal, 0, 5, 0, 0},
        {Op::Jump, 0, 5, 0, 0},
        {Op::CompareJump, 0, 5, 5, 7},
        {Op::ForNext, 0, 5, 5, 5},
        {Op::BinaryTo, 0, 5, 5, 5},
        {Op::PushConst, 0, 5, 0, 0},
        {Op::LoadElement1, 0, 6, 5, 0},
        {Op::AppendTo, 0, 5, 1, 5},
        {Op::LoadLocal, 0, 6, 0, 0},
    };
    const std::int32_t global = PackVariable(VarKind::Global, 9);
    RenameVariable(code, PackVariable(VarKind::Local, 5), global);
    EXPECT_EQ(code[0].op, Op::LoadGlobal);
    EXPECT_EQ(code[0].a, 9);
    EXPECT_EQ(code[1].op, Op::StoreGlobal);
    EXPECT_EQ(code[2].a, 5) << "a jump target";
    EXPECT_EQ(code[3].a, 5) << "a compare-and-jump's target";
    EXPECT_EQ(code[3].b, global);
    EXPECT_EQ(code[3].c, 7);
    EXPECT_EQ(code[4].a, global);
    EXPECT_EQ(code[4].b, 5) << "For's hidden limit and step";
    EXPECT_EQ(code[4].c, 5) << "For's body target";
    EXPECT_EQ(code[5].a, global);
    EXPECT_EQ(code[5].b, global);
    EXPECT_EQ(code[5].c, global);
    EXPECT_EQ(code[6].a, 5) << "a constant index";
    EXPECT_EQ(code[7].a, 6);
    EXPECT_EQ(code[7].b, global);
    EXPECT_EQ(code[8].a, global);
    EXPECT_EQ(code[8].c, 5) << "AppendStart's hidden slot";
    EXPECT_EQ(code[9].op, Op::LoadLocal) << "another local";
}

} // namespace
