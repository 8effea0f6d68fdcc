#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vbscript/coerce.h"
#include "vbscript/dictionary.h"
#include "vbscript/script_error.h"

using namespace vbs;

namespace {

Value S(const wchar_t* text) {
    return Value::String(text);
}

// Holds a dictionary the way a script does, through a counted reference.
struct Script {
    Value held = Value::FromObject(new Dictionary);
    Dictionary& d = static_cast<Dictionary&>(*held.AsObject());

    Value Do(const wchar_t* member, std::vector<Value> args, Access access = Access::Call) {
        return d.Invoke(member, access, args);
    }
    int ErrorOf(const wchar_t* member, std::vector<Value> args, Access access = Access::Call) {
        try {
            Do(member, std::move(args), access);
        } catch (const ScriptError& e) {
            return e.number;
        }
        return 0;
    }
    std::wstring Joined(const wchar_t* member) {
        const Value array = Do(member, {});
        std::wstring text;
        for (std::size_t i = 0; i < array.AsArray()->Size(); ++i)
            text += ToString(array.AsArray()->At(i)) + L";";
        return text;
    }
};

} // namespace

TEST(VbsDictionary, AddFindRemoveKeepOrder) {
    Script s;
    s.Do(L"Add", {S(L"b"), Value::Long(2)});
    s.Do(L"add", {S(L"a"), Value::Long(1)});
    s.Do(L"ADD", {S(L"c"), Value::Long(3)});
    EXPECT_EQ(ToLong(s.Do(L"Count", {}, Access::Get)), 3);
    EXPECT_EQ(s.Joined(L"Keys"), L"b;a;c;");
    EXPECT_EQ(s.Joined(L"Items"), L"2;1;3;");
    EXPECT_TRUE(ToBoolean(s.Do(L"Exists", {S(L"a")})));
    EXPECT_FALSE(ToBoolean(s.Do(L"Exists", {S(L"A")}))); // binary mode by default
    EXPECT_EQ(ToLong(s.Do(L"Item", {S(L"c")}, Access::Get)), 3);

    EXPECT_EQ(s.ErrorOf(L"Add", {S(L"a"), Value()}), 457);
    s.Do(L"Remove", {S(L"a")});
    EXPECT_EQ(s.ErrorOf(L"Remove", {S(L"a")}), 32811);
    EXPECT_EQ(s.Joined(L"Keys"), L"b;c;");
    // A key added again after removal goes to the end.
    s.Do(L"Add", {S(L"a"), Value::Long(9)});
    EXPECT_EQ(s.Joined(L"Keys"), L"b;c;a;");
    std::wstring walked;
    for (const Value& key : s.d.Items())
        walked += ToString(key);
    EXPECT_EQ(walked, L"bca");

    s.Do(L"RemoveAll", {});
    EXPECT_EQ(s.d.Count(), 0u);
    const Value keys = s.Do(L"Keys", {});
    EXPECT_EQ(keys.AsArray()->UpperBound(1), -1);
}

TEST(VbsDictionary, ItemReadsAddAndAssignmentsReplace) {
    Script s;
    // Reading a missing key adds it with Empty.
    EXPECT_TRUE(s.Do(L"", {S(L"x")}, Access::Get).IsEmpty());
    EXPECT_EQ(s.d.Count(), 1u);
    EXPECT_TRUE(ToBoolean(s.Do(L"Exists", {S(L"x")})));

    s.Do(L"Item", {S(L"x"), Value::Long(5)}, Access::Let);
    s.Do(L"", {S(L"y"), S(L"new")}, Access::Let);
    EXPECT_EQ(s.Joined(L"Items"), L"5;new;");

    // Set keeps an object; Let takes its default value, and a dictionary has none.
    Script inner;
    s.Do(L"Item", {S(L"o"), inner.held}, Access::Set);
    EXPECT_EQ(s.Do(L"Item", {S(L"o")}).AsObject(), inner.held.AsObject());
    EXPECT_EQ(s.ErrorOf(L"Item", {S(L"p"), inner.held}, Access::Let), err::NoSuchMember);
    EXPECT_FALSE(ToBoolean(s.Do(L"Exists", {S(L"p")})));
}

TEST(VbsDictionary, KeysCompareByValueAndKind) {
    Script s;
    s.Do(L"Add", {Value::Integer(1), S(L"one")});
    EXPECT_EQ(s.ErrorOf(L"Add", {Value::Double(1.0), Value()}), 457);
    EXPECT_EQ(s.ErrorOf(L"Add", {Value::Long(1), Value()}), 457);
    EXPECT_EQ(s.ErrorOf(L"Add", {Value::Currency(10000), Value()}), 457);
    EXPECT_EQ(ToString(s.Do(L"Item", {Value::Byte(1)})), L"one");
    // Text, Boolean and a different number are other keys.
    s.Do(L"Add", {S(L"1"), S(L"text")});
    s.Do(L"Add", {Value::Boolean(true), S(L"true")});
    s.Do(L"Add", {Value::Double(1.5), S(L"half")});
    s.Do(L"Add", {Value::Double(-0.0), S(L"zero")});
    EXPECT_EQ(ToString(s.Do(L"Item", {Value::Integer(0)})), L"zero");
    EXPECT_EQ(s.d.Count(), 5u);

    // Objects by identity; arrays cannot be keys.
    Script a, b;
    s.Do(L"Add", {a.held, S(L"a")});
    EXPECT_FALSE(ToBoolean(s.Do(L"Exists", {b.held})));
    EXPECT_TRUE(ToBoolean(s.Do(L"Exists", {a.held})));
    const Array::Bound bound{0, 1};
    EXPECT_EQ(s.ErrorOf(L"Add", {Value::FromArray(Array::Create({&bound, 1})), Value()}),
              err::TypeMismatch);
    EXPECT_EQ(s.d.Count(), 6u);
}

TEST(VbsDictionary, TextModeIgnoresCaseAndOnlyChangesWhenEmpty) {
    Script s;
    s.Do(L"CompareMode", {Value::Integer(1)}, Access::Let);
    EXPECT_EQ(ToLong(s.Do(L"CompareMode", {}, Access::Get)), 1);
    s.Do(L"Add", {S(L"Straße"), Value::Long(1)});
    EXPECT_EQ(s.ErrorOf(L"Add", {S(L"STRASSE"), Value()}), 0); // folding is per letter
    EXPECT_EQ(s.ErrorOf(L"Add", {S(L"STRAßE"), Value()}), 457);
    EXPECT_EQ(ToLong(s.Do(L"Item", {S(L"straße")})), 1);
    EXPECT_EQ(s.Joined(L"Keys"), L"Straße;STRASSE;"); // keys keep their spelling

    EXPECT_EQ(s.ErrorOf(L"CompareMode", {Value::Integer(0)}, Access::Let), err::InvalidCall);
    s.Do(L"RemoveAll", {});
    EXPECT_EQ(s.ErrorOf(L"CompareMode", {Value::Integer(3)}, Access::Let), err::InvalidCall);
    s.Do(L"CompareMode", {Value::Integer(0)}, Access::Let);
    s.Do(L"Add", {S(L"k"), Value()});
    EXPECT_EQ(s.ErrorOf(L"Add", {S(L"K"), Value()}), 0);
}

TEST(VbsDictionary, RenameKeepsPlaceAndChecksBothKeys) {
    Script s;
    for (const wchar_t* key : {L"a", L"b", L"c"})
        s.Do(L"Add", {S(key), S(key)});
    s.Do(L"Key", {S(L"b"), S(L"z")}, Access::Let);
    EXPECT_EQ(s.Joined(L"Keys"), L"a;z;c;");
    EXPECT_EQ(ToString(s.Do(L"Item", {S(L"z")})), L"b");
    EXPECT_FALSE(ToBoolean(s.Do(L"Exists", {S(L"b")})));
    EXPECT_EQ(s.ErrorOf(L"Key", {S(L"b"), S(L"y")}, Access::Let), 32811);
    EXPECT_EQ(s.ErrorOf(L"Key", {S(L"a"), S(L"c")}, Access::Let), 457);
    // Renaming to a key equal in text mode only changes the spelling.
    Script t;
    t.Do(L"CompareMode", {Value::Integer(1)}, Access::Let);
    t.Do(L"Add", {S(L"name"), Value()});
    t.Do(L"Key", {S(L"NAME"), S(L"Name")}, Access::Let);
    EXPECT_EQ(t.Joined(L"Keys"), L"Name;");
    EXPECT_TRUE(ToBoolean(t.Do(L"Exists", {S(L"name")})));
}

TEST(VbsDictionary, WrongUseGivesTheLanguageErrors) {
    Script s;
    EXPECT_EQ(s.ErrorOf(L"Add", {S(L"only key")}), 450);
    EXPECT_EQ(s.ErrorOf(L"Count", {Value::Long(1)}, Access::Let), 450);
    EXPECT_EQ(s.ErrorOf(L"Key", {S(L"a")}, Access::Get), err::NoSuchMember);
    EXPECT_EQ(s.ErrorOf(L"NoSuchMember", {}), err::NoSuchMember);
    EXPECT_EQ(s.ErrorOf(L"Item", {}), 450);
    Value unused;
    EXPECT_FALSE(s.d.DefaultValue(unused));
    EXPECT_EQ(TypeName(s.held), L"Dictionary");
}

// Counts the dictionaries alive, to see that freeing a deep nest frees every one.
struct CountedDictionary : Dictionary {
    static inline int alive = 0;
    CountedDictionary() { ++alive; }
    ~CountedDictionary() override { --alive; }
};

// A nest far deeper than the stack could unwind recursively goes in one release.
TEST(VbsDictionary, DeepNestingIsFreedWithoutRecursion) {
    Value outer = Value::FromObject(new CountedDictionary);
    Value current = outer;
    for (int i = 0; i < 50000; ++i) {
        Value next = Value::FromObject(new CountedDictionary);
        static_cast<Dictionary*>(current.AsObject())->Item(S(L"next")) = next;
        current = next;
    }
    current = Value();
    EXPECT_EQ(CountedDictionary::alive, 50001);
    outer = Value();
    EXPECT_EQ(CountedDictionary::alive, 0);
}
