#include <gtest/gtest.h>

#include <vector>

#include "vbscript/coerce.h"
#include "vbscript/operators.h"
#include "vbscript/script_error.h"
#include "vbscript/value.h"

using namespace vbs;

namespace {

Value S(const wchar_t* text) {
    return Value::String(text);
}
Value I(std::int16_t v) {
    return Value::Integer(v);
}
Value L(std::int32_t v) {
    return Value::Long(v);
}
Value D(double v) {
    return Value::Double(v);
}

int ErrorOf(auto&& action) {
    try {
        action();
    } catch (const ScriptError& e) {
        EXPECT_EQ(e.description, StandardErrorDescription(e.number));
        return e.number;
    }
    return 0;
}

class Counted : public Object {
public:
    explicit Counted(int* deaths, Value defaultValue = {})
        : m_deaths(deaths), m_default(defaultValue) {}
    ~Counted() override { ++*m_deaths; }
    std::wstring ClassName() const override { return L"Counted"; }
    bool DefaultValue(Value& out) override {
        out = m_default;
        return !m_default.IsEmpty();
    }

private:
    int* m_deaths;
    Value m_default;
};

} // namespace

TEST(VbsValue, TypeNamesAndCodes) {
    int deaths = 0;
    Array::Bound bound{0, 3};
    const std::vector<std::pair<Value, std::pair<int, const wchar_t*>>> cases = {
        {Value(), {0, L"Empty"}},
        {Value::Null(), {1, L"Null"}},
        {I(1), {2, L"Integer"}},
        {L(1), {3, L"Long"}},
        {Value::Single(1), {4, L"Single"}},
        {D(1), {5, L"Double"}},
        {Value::Currency(1), {6, L"Currency"}},
        {Value::Date(1), {7, L"Date"}},
        {S(L"x"), {8, L"String"}},
        {Value::Nothing(), {9, L"Nothing"}},
        {Value::FromObject(new Counted(&deaths)), {9, L"Counted"}},
        {Value::Error(5), {10, L"Error"}},
        {Value::Boolean(true), {11, L"Boolean"}},
        {Value::Byte(1), {17, L"Byte"}},
        {Value::FromArray(Array::Create({&bound, 1})), {8204, L"Variant()"}},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(VarTypeCode(value), expected.first) << expected.second;
        EXPECT_EQ(TypeName(value), expected.second);
    }
}

TEST(VbsValue, SharedPayloadsLiveAsLongAsTheirHolders) {
    int deaths = 0;
    {
        Value a = Value::FromObject(new Counted(&deaths));
        Value b = a;
        a = Value();
        EXPECT_EQ(deaths, 0);
        EXPECT_EQ(Is(b, b).AsBoolean(), true);
    }
    EXPECT_EQ(deaths, 1);

    Value text = S(L"ab");
    Value copy = text;
    text.AppendString(L"cd");
    EXPECT_EQ(text.AsString(), L"abcd");
    EXPECT_EQ(copy.AsString(), L"ab");
    Value built;
    for (int i = 0; i < 100; ++i)
        built = Concatenate(std::move(built), I(static_cast<std::int16_t>(i % 10)));
    EXPECT_EQ(built.AsString().size(), 100u);
    EXPECT_EQ(built.AsString().substr(0, 12), L"012345678901");
}

TEST(VbsValue, ArraysCopyOnAssignmentAndCheckSubscripts) {
    const Array::Bound bounds[] = {{0, 2}, {0, 3}};
    Value a = Value::FromArray(Array::Create(bounds));
    const std::int32_t at[] = {1, 2};
    a.MutableArray()->At(a.AsArray()->FlatIndex(at)) = S(L"x");
    EXPECT_EQ(a.AsArray()->FlatIndex(at), 5u);
    Value b = a;
    b.MutableArray()->At(5) = I(7);
    EXPECT_EQ(a.AsArray()->At(5).AsString(), L"x");
    EXPECT_EQ(b.AsArray()->At(5).AsInteger(), 7);
    EXPECT_EQ(a.AsArray()->UpperBound(2), 2);
    const std::int32_t outside[] = {2, 0};
    const std::int32_t tooFew[] = {0};
    EXPECT_EQ(ErrorOf([&] { a.AsArray()->FlatIndex(outside); }), 9);
    EXPECT_EQ(ErrorOf([&] { a.AsArray()->FlatIndex(tooFew); }), 9);
    EXPECT_EQ(ErrorOf([&] { a.AsArray()->UpperBound(3); }), 9);
    const Array::Bound negative[] = {{0, -1}};
    EXPECT_EQ(ErrorOf([&] { Array::Create(negative); }), 9);

    // a = Array(a), a million times over: freeing it must not recurse once per level.
    const Array::Bound one[] = {{0, 1}};
    Value nested;
    for (int i = 0; i < 1000000; ++i) {
        Value outer = Value::FromArray(Array::Create(one));
        outer.MutableArray()->At(0) = std::move(nested);
        nested = std::move(outer);
    }
    nested = Value();
    EXPECT_EQ(nested.Type(), VarType::Empty);
}

TEST(VbsCoerce, WholeNumbersRoundHalfToEvenAndOverflow) {
    EXPECT_EQ(ToInteger(D(2.5)), 2);
    EXPECT_EQ(ToInteger(D(3.5)), 4);
    EXPECT_EQ(ToInteger(D(-2.5)), -2);
    EXPECT_EQ(ToLong(S(L" 1,234.5 ")), 1234);
    EXPECT_EQ(ToByte(D(255.4)), 255);
    EXPECT_EQ(ToInteger(S(L"&HFFFF")), -1);
    EXPECT_EQ(ToLong(S(L"&H10000")), 65536);
    EXPECT_EQ(ToLong(S(L"&O17")), 15);
    EXPECT_EQ(ToCurrency(D(1.00005)), 10000);
    EXPECT_EQ(ToCurrency(D(-1.00015)), -10002);
    EXPECT_EQ(ToCurrency(D(0.000051)), 1);
    EXPECT_EQ(ToCurrency(S(L"$1,234.56")), 12345600);
    EXPECT_EQ(ErrorOf([] { ToInteger(L(32768)); }), 6);
    EXPECT_EQ(ErrorOf([] { ToByte(I(-1)); }), 6);
    EXPECT_EQ(ErrorOf([] { ToLong(D(2147483647.5)); }), 6);
    EXPECT_EQ(ErrorOf([] { ToCurrency(D(1e300)); }), 6);
    EXPECT_EQ(ErrorOf([] { ToDouble(S(L"1e400")); }), 6);
    EXPECT_EQ(ErrorOf([] { ToLong(S(L"12abc")); }), 13);
    EXPECT_EQ(ErrorOf([] { ToLong(Value::Null()); }), 94);
    EXPECT_EQ(ErrorOf([] { ToString(Value::Null()); }), 94);
}

TEST(VbsCoerce, BooleansAndNumberText) {
    EXPECT_TRUE(ToBoolean(S(L"true")));
    EXPECT_FALSE(ToBoolean(S(L" False")));
    EXPECT_TRUE(ToBoolean(S(L"-0.5")));
    EXPECT_FALSE(ToBoolean(Value()));
    EXPECT_EQ(ErrorOf([] { ToBoolean(S(L"yes")); }), 13);
    EXPECT_EQ(ToDouble(S(L"1.5E3")), 1500.0);
    EXPECT_EQ(ToDouble(S(L"-.25")), -0.25);

    EXPECT_EQ(ToString(Add(D(0.1), D(0.2))), L"0.3");
    EXPECT_EQ(ToString(D(1.0 / 3)), L"0.333333333333333");
    EXPECT_EQ(ToString(D(1e20)), L"1E+20");
    EXPECT_EQ(ToString(D(0.00001)), L"1E-05");
    EXPECT_EQ(ToString(D(123456789012345.0)), L"123456789012345");
    EXPECT_EQ(ToString(D(-0.0)), L"0");
    EXPECT_EQ(ToString(Value::Single(1.1f)), L"1.1");
    EXPECT_EQ(ToString(Value::Currency(-12345)), L"-1.2345");
    EXPECT_EQ(ToString(Value::Currency(20000)), L"2");
    EXPECT_EQ(ToString(Value::Boolean(true)), L"True");
}

TEST(VbsCoerce, DatesReadAndWriteInUsForm) {
    EXPECT_EQ(ToString(Value::Date(36526)), L"1/1/2000");
    EXPECT_EQ(ToString(Value::Date(0.75)), L"6:00:00 PM");
    EXPECT_EQ(ToString(Value::Date(0)), L"12:00:00 AM");
    EXPECT_EQ(ToString(Value::Date(-1.25)), L"12/29/1899 6:00:00 AM");
    EXPECT_EQ(ToString(Value::Date(2958465.5)), L"12/31/9999 12:00:00 PM");
    EXPECT_EQ(ToDate(S(L"1/1/2000")), 36526.0);
    EXPECT_EQ(ToDate(S(L"2000-01-02 13:30")), 36527.0 + 13.5 / 24);
    EXPECT_EQ(ToDate(S(L"March 1, 2000")), ToDate(S(L"3/1/00")));
    EXPECT_EQ(ToDate(S(L"12:00:00 AM")), 0.0);
    EXPECT_EQ(ToDate(S(L"13/1/2000")), ToDate(S(L"1/13/2000")));
    EXPECT_EQ(ErrorOf([] { ToDate(S(L"2/30/2000")); }), 13);
    EXPECT_EQ(ErrorOf([] { ToDate(S(L"25:00")); }), 13);
    EXPECT_EQ(ErrorOf([] { ToDate(D(3e6)); }), 6);
}

TEST(VbsOperators, ArithmeticResultSubtypes) {
    const Value sum = Add(I(32767), I(1));
    EXPECT_EQ(sum.Type(), VarType::Long);
    EXPECT_EQ(sum.AsLong(), 32768);
    const Value wide = Add(L(2147483647), L(1));
    EXPECT_EQ(wide.Type(), VarType::Double);
    EXPECT_EQ(wide.AsDouble(), 2147483648.0);
    EXPECT_EQ(Add(Value::Byte(200), Value::Byte(55)).Type(), VarType::Byte);
    EXPECT_EQ(Add(Value::Byte(200), Value::Byte(56)).AsInteger(), 256);
    EXPECT_EQ(Subtract(Value::Byte(1), Value::Byte(2)).Type(), VarType::Integer);
    EXPECT_EQ(Add(S(L"10"), S(L"2")).AsString(), L"102");
    const Value mixed = Add(S(L"10"), I(2));
    EXPECT_EQ(mixed.Type(), VarType::Double);
    EXPECT_EQ(mixed.AsDouble(), 12.0);
    EXPECT_EQ(Add(Value::Boolean(true), Value::Boolean(true)).AsInteger(), -2);
    EXPECT_EQ(Add(Value(), Value()).Type(), VarType::Integer);
    EXPECT_EQ(Add(Value(), S(L"a")).AsString(), L"a");
    EXPECT_EQ(Add(Value::Single(1), L(1)).Type(), VarType::Double);
    EXPECT_EQ(Add(Value::Single(1), I(1)).Type(), VarType::Single);
    EXPECT_EQ(Add(Value::Currency(10000), D(0.5)).AsCurrency(), 15000);
    EXPECT_EQ(Multiply(Value::Currency(10000), D(0.5)).Type(), VarType::Double);
    EXPECT_EQ(Multiply(Value::Currency(15000), Value::Currency(15000)).AsCurrency(), 22500);
    EXPECT_EQ(Add(Value::Date(36526), I(1)).Type(), VarType::Date);
    EXPECT_EQ(Subtract(Value::Date(36527), Value::Date(36526)).Type(), VarType::Double);
    EXPECT_EQ(Multiply(I(300), I(300)).AsLong(), 90000);
    EXPECT_EQ(Negate(I(-32768)).AsLong(), 32768);
    EXPECT_EQ(Negate(Value::Byte(3)).AsInteger(), -3);
    EXPECT_EQ(ErrorOf([] { Multiply(D(1e300), D(1e300)); }), 6);
    EXPECT_EQ(ErrorOf([] { Add(Value::Currency(INT64_MAX), Value::Currency(1)); }), 6);
    EXPECT_EQ(ErrorOf([] { Add(S(L"x"), I(1)); }), 13);
}

TEST(VbsOperators, DivisionPowerAndRemainder) {
    EXPECT_EQ(Divide(I(7), I(2)).AsDouble(), 3.5);
    EXPECT_EQ(IntegerDivide(I(7), I(2)).AsInteger(), 3);
    EXPECT_EQ(IntegerDivide(D(7.5), I(2)).Type(), VarType::Long);
    EXPECT_EQ(IntegerDivide(D(7.5), I(2)).AsLong(), 4); // 7.5 rounds to 8 first
    EXPECT_EQ(Modulo(I(-7), I(3)).AsInteger(), -1);
    EXPECT_EQ(Modulo(Value::Byte(7), Value::Byte(4)).Type(), VarType::Byte);
    EXPECT_EQ(Power(I(2), I(10)).AsDouble(), 1024.0);
    EXPECT_EQ(ErrorOf([] { Divide(I(1), I(0)); }), 11);
    EXPECT_EQ(ErrorOf([] { Modulo(I(1), Value()); }), 11);
    EXPECT_EQ(ErrorOf([] { Divide(I(0), I(0)); }), 6);
    EXPECT_EQ(ErrorOf([] { IntegerDivide(L(INT32_MIN), L(-1)); }), 6);
    EXPECT_EQ(ErrorOf([] { Power(I(-8), D(1.0 / 3)); }), 5);
}

TEST(VbsOperators, NullPropagationAndLogic) {
    const Value null = Value::Null();
    const Value t = Value::Boolean(true), f = Value::Boolean(false);
    EXPECT_TRUE(Add(null, I(1)).IsNull());
    EXPECT_TRUE(Negate(null).IsNull());
    EXPECT_EQ(Concatenate(null, S(L"a")).AsString(), L"a");
    EXPECT_TRUE(Concatenate(null, null).IsNull());
    EXPECT_FALSE(And(null, f).AsBoolean());
    EXPECT_TRUE(And(null, t).IsNull());
    EXPECT_TRUE(Or(null, t).AsBoolean());
    EXPECT_TRUE(Or(null, f).IsNull());
    EXPECT_TRUE(Xor(null, f).IsNull());
    EXPECT_TRUE(Imp(f, null).AsBoolean());
    EXPECT_TRUE(Imp(null, t).AsBoolean());
    EXPECT_TRUE(Imp(t, null).IsNull());
    EXPECT_TRUE(Not(null).IsNull());
    EXPECT_EQ(And(null, I(0)).Type(), VarType::Integer);

    EXPECT_EQ(And(I(12), I(10)).AsInteger(), 8);
    EXPECT_EQ(Or(Value::Byte(1), Value::Byte(2)).Type(), VarType::Byte);
    EXPECT_EQ(Xor(t, I(0)).AsInteger(), -1);
    EXPECT_FALSE(Eqv(t, f).AsBoolean());
    EXPECT_EQ(Not(Value()).AsInteger(), -1);
    EXPECT_EQ(Not(Value::Byte(0)).AsByte(), 255);
    EXPECT_EQ(Not(D(1.5)).AsLong(), -3);
    EXPECT_EQ(ErrorOf([] { Is(I(1), Value::Nothing()); }), 424);
}

TEST(VbsOperators, Comparisons) {
    EXPECT_TRUE(Compare(Comparison::Less, L(1), L(2)).AsBoolean());
    EXPECT_TRUE(Compare(Comparison::Equal, I(1), D(1.0)).AsBoolean());
    EXPECT_TRUE(Compare(Comparison::Equal, Value(), I(0)).AsBoolean());
    EXPECT_TRUE(Compare(Comparison::Equal, Value(), S(L"")).AsBoolean());
    EXPECT_TRUE(Compare(Comparison::Less, S(L"B"), S(L"a")).AsBoolean());
    EXPECT_TRUE(Compare(Comparison::Equal, Value::Boolean(true), I(-1)).AsBoolean());
    EXPECT_TRUE(Compare(Comparison::NotEqual, Value::Null(), I(1)).IsNull());

    // Two variables: the number is less than any string.
    EXPECT_TRUE(Compare(Comparison::Less, L(10), S(L"10")).AsBoolean());
    EXPECT_TRUE(Compare(Comparison::Greater, S(L"1"), L(99)).AsBoolean());
    // One literal: both sides compare as text, whichever is the literal.
    EXPECT_TRUE(Compare(Comparison::Equal, L(10), S(L"10"), {false, true}).AsBoolean());
    EXPECT_TRUE(Compare(Comparison::NotEqual, S(L"010"), L(10), {true, false}).AsBoolean());
    EXPECT_TRUE(Compare(Comparison::Greater, S(L"9"), L(10), {true, false}).AsBoolean());
    EXPECT_TRUE(Compare(Comparison::Equal, S(L"10"), L(10), {false, true}).AsBoolean());
    EXPECT_TRUE(Compare(Comparison::Greater, S(L"9"), L(10), {false, true}).AsBoolean());
    EXPECT_TRUE(
        Compare(Comparison::Equal, S(L"True"), Value::Boolean(true), {false, true}).AsBoolean());
    // Two literals: the text is read as the other's kind.
    EXPECT_TRUE(Compare(Comparison::Equal, S(L"010"), L(10), {true, true}).AsBoolean());
    EXPECT_TRUE(Compare(Comparison::Less, L(9), S(L"10"), {true, true}).AsBoolean());
    EXPECT_TRUE(
        Compare(Comparison::Equal, S(L"True"), Value::Boolean(true), {true, true}).AsBoolean());
    EXPECT_TRUE(
        Compare(Comparison::Equal, Value::Boolean(false), S(L"0"), {true, true}).AsBoolean());
    EXPECT_TRUE(
        Compare(Comparison::Equal, S(L"1/2/2003"), Value::Date(37623), {true, true}).AsBoolean());
    EXPECT_EQ(ErrorOf([] { Compare(Comparison::Equal, S(L"abc"), L(5), {true, true}); }), 13);
    EXPECT_EQ(ErrorOf([] {
                  Compare(Comparison::Equal, Value::Boolean(true), S(L"x"), {true, true});
              }),
              13);

    int deaths = 0;
    const Value object = Value::FromObject(new Counted(&deaths, L(5)));
    EXPECT_TRUE(Compare(Comparison::Equal, object, L(5)).AsBoolean());
    EXPECT_EQ(ErrorOf([] { Compare(Comparison::Equal, Value::Nothing(), L(5)); }), 91);
    EXPECT_EQ(ErrorOf([&] { Add(Value::FromObject(new Counted(&deaths)), L(5)); }), 438);
}
