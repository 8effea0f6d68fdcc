// Script classes as values: Me(args) reaches the default member, a Property Let receives an
// object as it is, GetRef's object used as a value calls its procedure, and an instance
// with a default property converts wherever a value is wanted (built-ins, objects' methods,
// array subscripts).
#include "semantics_case.h"

namespace {

using semantics::Case;
using semantics::ExpectAll;

const std::wstring kClasses = LR"vbs(
Dim calls, arr(5), grid(3, 3), dyn()
Class Items
    Public Default Function Item(i) : Item = "item" & i : End Function
    Function ViaMe() : ViaMe = Me(3) & Me("x") : End Function
End Class
Class Named
    Public text
    Public Default Property Get Value : Value = text : End Property
    Function Shout() : Shout = UCase(Me) & Len(Me) : End Function
End Class
Class Counter
    Public n
    Public Default Property Get Value : Value = n : End Property
    Function Twice() : Twice = Me() * 2 : End Function
End Class
Class Plain
    Function ViaMe() : ViaMe = Me(0) : End Function
End Class
Class Sink
    Public got, field, kept
    Property Let Target(v) : got = TypeName(v) & IsObject(v) : End Property
    Property Let Copy(v) : kept = v : End Property
End Class
' Its default property empties the array it is used to index.
Class Shifty
    Public Default Property Get Value : ReDim dyn(0) : Value = 3 : End Property
End Class
Function Make(cls, v)
    Select Case cls
        Case "named" : Set Make = New Named : Make.text = v
        Case "counter" : Set Make = New Counter : Make.n = v
    End Select
End Function
Function Hello() : calls = calls + 1 : Hello = "hello" & calls : End Function
Function Twice(x) : Twice = x * 2 : End Function
Sub Note() : calls = calls & "noted" : End Sub
Sub Bump(x) : x = x + 1 : End Sub
)vbs";

TEST(ClassSemantics, MeWithArgumentsCallsTheDefaultMember) {
    const Case cases[] = {
        {L"Set o = New Items : f = o.ViaMe()", L"item3itemx"},
        {L"Set o = Make(\"named\", \"ab\") : f = o.Shout()", L"AB2"},
        {L"Set o = Make(\"counter\", 21) : f = o.Twice()", L"42"},
        {L"Set o = New Plain : f = o.ViaMe()", L"error 438"},
    };
    ExpectAll(cases, kClasses);
}

TEST(ClassSemantics, PropertyLetReceivesAnObjectAsItIs) {
    const Case cases[] = {
        {L"Set s = New Sink : s.Target = Make(\"named\", \"x\") : f = s.got", L"NamedTrue"},
        {L"Set s = New Sink : s.Target = New Items : f = s.got", L"ItemsTrue"},
        {L"Set s = New Sink : s.Target = Nothing : f = s.got", L"NothingTrue"},
        // The Let's own assignment of it takes the default property, as any Let does.
        {L"Set s = New Sink : s.Copy = Make(\"named\", \"v\") : f = TypeName(s.kept) & s.kept",
         L"Stringv"},
        {L"Set s = New Sink : s.Copy = New Items", L"error 450"},
        // A public field is a variable: Let stores the default property's value.
        {L"Set s = New Sink : s.field = Make(\"counter\", 4) : f = TypeName(s.field)", L"Integer"},
        {L"Set s = New Sink : s.field = Nothing", L"error 91"},
        {L"Set s = New Sink : s.Target = 5 : f = s.got", L"IntegerFalse"},
    };
    ExpectAll(cases, kClasses);
}

TEST(ClassSemantics, GetRefObjectUsedAsAValueCallsItsProcedure) {
    const Case cases[] = {
        {L"Set r = GetRef(\"Hello\") : x = r : f = x & \"/\" & calls", L"hello1/1"},
        {L"Set r = GetRef(\"Hello\") : f = \"[\" & r & \"]\" & r()", L"[hello1]hello2"},
        {L"Set r = GetRef(\"Hello\") : r : Call r() : f = calls", L"2"},
        {L"Set r = GetRef(\"Twice\") : f = r(21)", L"42"},
        {L"Set r = GetRef(\"Note\") : x = r : f = calls & IsEmpty(x)", L"notedTrue"},
        {L"Set r = GetRef(\"Twice\") : x = r", L"error 450"},
        {L"Set r = GetRef(\"Hello\") : Set s = New Sink : s.field = r : f = s.field", L"hello1"},
        {L"Set r = GetRef(\"Hello\") : Set s = r : f = TypeName(s) & calls", L"Object"},
        {L"Set r = GetRef(\"NoSuch\")", L"error 5"},
        // An object's method reading it as a value calls it too.
        {L"Set re = New RegExp : re.Pattern = \"^hello\" : f = re.Test(GetRef(\"Hello\")) & calls",
         L"True1"},
    };
    ExpectAll(cases, kClasses);
}

TEST(ClassSemantics, DefaultPropertyConvertsWhereAValueIsWanted) {
    const Case cases[] = {
        {L"Set o = Make(\"named\", \"abc\") : f = Len(o) & CStr(o) & UCase(o) & Left(o, 1)",
         L"3abcABCa"},
        {L"Set o = Make(\"named\", \"12\") : f = CLng(o) + 1", L"13"},
        {L"Set k = Make(\"counter\", 2) : arr(2) = \"two\" : f = arr(k)", L"two"},
        {L"Set k = Make(\"counter\", 2) : arr(k) = \"set\" : f = arr(2)", L"set"},
        {L"Set k = Make(\"counter\", 2) : arr(2) = 1 : Bump arr(k) : f = arr(2)", L"2"},
        {L"Set k = Make(\"counter\", 1) : grid(k, 2) = 12 : f = grid(1, k + 1)", L"12"},
        {L"Set k = Make(\"counter\", 9) : f = arr(k)", L"error 9"},
        {L"Set k = New Items : f = arr(k)", L"error 450"},
        // An object's method reads the argument's default property.
        {L"Set re = New RegExp : re.Pattern = \"^a\" : f = re.Test(Make(\"named\", \"abc\"))",
         L"True"},
        {L"Set re = New RegExp : re.Pattern = Make(\"named\", \"b+\") : f = re.Replace(\"abbc\", "
         L"Make(\"named\", \"-\"))",
         L"a-c"},
        {L"f = CStr(New Plain)", L"error 438"},
        // The array is read after the subscript converted, whatever the conversion did.
        {L"ReDim dyn(5) : Set k = New Shifty : dyn(3) = 1 : f = dyn(k)", L"error 9"},
        {L"ReDim dyn(5) : Set k = New Shifty : dyn(3) = 1 : Bump dyn(k)", L"error 9"},
        {L"ReDim dyn(5) : Set k = New Shifty : dyn(0) = 1 : f = dyn(k - 3) & UBound(dyn)", L"0"},
    };
    ExpectAll(cases, kClasses);
}

// A GetRef object handed by the host to another engine names a procedure of the first: the
// second neither calls it nor reads its procedures with that number.
TEST(ClassSemantics, GetRefObjectOfAnotherEngineIsNoProcedureThere) {
    vbs::Engine first;
    ASSERT_TRUE(
        first.AddCode(L"Sub A : End Sub\nSub B : End Sub\nFunction F() : F = 1 : End Function\n"
                      L"Function Ref() : Set Ref = GetRef(\"F\") : End Function\n",
                      nullptr));
    vbs::Value ref;
    ASSERT_TRUE(first.Call(L"Ref", {}, &ref, nullptr));
    vbs::Engine second;
    ASSERT_TRUE(second.AddCode(L"Function Plus(r) : Plus = r + 1 : End Function\n"
                               L"Function Invoke(r) : Invoke = r() : End Function\n",
                               nullptr));
    for (const wchar_t* use : {L"Plus", L"Invoke"}) {
        vbs::Value args[] = {ref};
        vbs::ScriptError error{};
        EXPECT_FALSE(second.Call(use, args, nullptr, &error)) << semantics::Narrow(use);
        EXPECT_EQ(error.number, 438) << semantics::Narrow(use);
    }
}

} // namespace
