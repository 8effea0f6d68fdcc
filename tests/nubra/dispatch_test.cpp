#include <gtest/gtest.h>

#include <string>

#include "nubra/call_site.h"
#include "nubra/ixo.h"

using orvo::DispStatus;
using orvo::DispVariant;

namespace {

class Counter : public IXO {
    ORVO_DISPATCH_MAP()

public:
    const wchar_t* GetIXOKey() const override { return L"Counter"; }

    int Add(int n) { return total += n; }
    int Describe(const wchar_t* prefix, std::wstring& out) const {
        out = std::wstring(prefix) + std::to_wstring(total);
        return 1;
    }
    std::wstring Label() const { return label; }
    void SetLabel(const std::wstring& v) { label = v; }
    virtual int Kind() { return 1; }
    int Raw(int* p) { return p ? *p : -1; }
    double Half(double v) { return v / 2; }
    bool IsBig(std::int64_t v) { return v > 4000000000LL; }
    IXO* Self() { return this; }
    int Accept(Counter* other) { return other ? other->total : -1; }

    int total = 0;
    std::wstring label;
    std::wstring name = L"counter";
};

ORVO_DISPATCH(Counter,
              IXO,
              ORVO_METHOD(Add),
              ORVO_METHOD(Describe),
              ORVO_METHOD(Kind),
              ORVO_METHOD(Raw),
              ORVO_METHOD(Half),
              ORVO_METHOD(IsBig),
              ORVO_METHOD(Self),
              ORVO_METHOD(Accept),
              ORVO_PROPERTY_AS(name, Name),
              ORVO_PROPERTY_EX(Label, SetLabel, Label),
              ORVO_READONLY(Label, ReadOnlyLabel))

class FancyCounter : public Counter {
    ORVO_DISPATCH_MAP()

public:
    int Kind() override { return 2; }
    int Reset() {
        total = 0;
        return 1;
    }
    // Same name as the base's "Add" with another meaning: the derived entry wins.
    int AddTwice(int n) { return total += 2 * n; }
};

ORVO_DISPATCH(FancyCounter, Counter, ORVO_METHOD(Reset), ORVO_METHOD_AS(AddTwice, ADD))

TEST(Dispatch, TypedLookupIgnoresCaseAndDemandsTheExactSignature) {
    Counter c;
    auto add = c.GetFunction<int(int)>(L"aDd");
    ASSERT_TRUE(add);
    EXPECT_EQ(add(5), 5);
    EXPECT_EQ(add(2), 7);

    EXPECT_FALSE(c.GetFunction<int(unsigned)>(L"Add")) << "unsigned is not int";
    EXPECT_FALSE(c.GetFunction<long(int)>(L"Add")) << "result type is part of the signature";
    EXPECT_FALSE(c.GetFunction<int(int, int)>(L"Add"));
    EXPECT_FALSE(c.GetFunction<int(int)>(L"Missing"));
    EXPECT_FALSE(c.GetFunction<std::wstring()>(L"Name")) << "a property is not a method";

    auto describe = c.GetFunction<int(const wchar_t*, std::wstring&)>(L"describe");
    ASSERT_TRUE(describe);
    std::wstring text;
    describe(L"total=", text);
    EXPECT_EQ(text, L"total=7");
}

TEST(Dispatch, DerivedMapsChainToTheBaseAndOverride) {
    FancyCounter f;
    EXPECT_TRUE(f.GetFunction<int()>(L"Reset"));
    EXPECT_FALSE(f.GetFunction<std::wstring()>(L"Label")) << "Label is a property";
    auto add = f.GetFunction<int(int)>(L"add");
    ASSERT_TRUE(add);
    EXPECT_EQ(add(3), 6) << "the derived entry replaces the base's";
    // The base entry calls through the virtual function, reaching the override.
    auto kind = f.GetFunction<int()>(L"Kind");
    ASSERT_TRUE(kind);
    EXPECT_EQ(kind(), 2);
    Counter base;
    EXPECT_FALSE(base.GetFunction<int()>(L"Reset")) << "the base does not see derived entries";
}

TEST(Dispatch, PropertiesOfDataMembersAndAccessors) {
    Counter c;
    auto getName = c.GetSetFunction<std::wstring()>(L"NAME", 1);
    auto setName = c.GetSetFunction<void(const std::wstring&)>(L"name", 0);
    ASSERT_TRUE(getName);
    ASSERT_TRUE(setName);
    setName(L"board");
    EXPECT_EQ(getName(), L"board");
    EXPECT_EQ(c.name, L"board");

    auto setLabel = c.GetSetFunction<void(const std::wstring&)>(L"Label", 0);
    ASSERT_TRUE(setLabel);
    setLabel(L"KOSPI");
    EXPECT_EQ(c.label, L"KOSPI");
    EXPECT_FALSE(c.GetSetFunction<void(const std::wstring&)>(L"ReadOnlyLabel", 0));
    EXPECT_FALSE(c.GetSetFunction<int()>(L"Name", 1)) << "getter type must match";
}

TEST(Dispatch, ScriptInvocationConvertsVariants) {
    Counter c;
    DispVariant result;
    DispVariant args[] = {DispVariant(L"12")};
    ASSERT_EQ(c.Invoke(L"add", orvo::InvokeMethod, args, result), DispStatus::Ok);
    ASSERT_NE(result.AsInt32(), nullptr);
    EXPECT_EQ(*result.AsInt32(), 12);

    DispVariant half[] = {DispVariant(std::int32_t{5})};
    ASSERT_EQ(c.Invoke(L"Half", orvo::InvokeMethod, half, result), DispStatus::Ok);
    EXPECT_DOUBLE_EQ(*result.AsDouble(), 2.5);

    DispVariant big[] = {DispVariant(std::int64_t{5000000000LL})};
    ASSERT_EQ(c.Invoke(L"IsBig", orvo::InvokeMethod, big, result), DispStatus::Ok);
    EXPECT_TRUE(*result.AsBool());

    // 2.5 rounds to even, as scripts do.
    DispVariant frac[] = {DispVariant(2.5)};
    ASSERT_EQ(c.Invoke(L"Add", orvo::InvokeMethod, frac, result), DispStatus::Ok);
    EXPECT_EQ(*result.AsInt32(), 14);

    DispVariant bad[] = {DispVariant(L"twelve")};
    EXPECT_EQ(c.Invoke(L"Add", orvo::InvokeMethod, bad, result), DispStatus::TypeMismatch);
    DispVariant nul[] = {DispVariant::Null()};
    EXPECT_EQ(c.Invoke(L"Add", orvo::InvokeMethod, nul, result), DispStatus::NullUse);
    DispVariant huge[] = {DispVariant(std::int64_t{1} << 40)};
    EXPECT_EQ(c.Invoke(L"Add", orvo::InvokeMethod, huge, result), DispStatus::TypeMismatch);
    EXPECT_EQ(c.Invoke(L"Add", orvo::InvokeMethod, {}, result), DispStatus::WrongArgCount);
    EXPECT_EQ(c.Invoke(L"Nope", orvo::InvokeMethod, {}, result), DispStatus::UnknownName);
    DispVariant ptr[] = {DispVariant(std::int32_t{0})};
    EXPECT_EQ(c.Invoke(L"Raw", orvo::InvokeMethod, ptr, result), DispStatus::NotScriptable);
    EXPECT_EQ(c.total, 14) << "failed calls changed nothing";
}

TEST(Dispatch, ByRefArgumentsReceiveOutValues) {
    Counter c;
    c.total = 3;
    DispVariant variable(L"stale");
    DispVariant args[] = {DispVariant(L"n="), DispVariant::ByRef(&variable)};
    DispVariant result;
    ASSERT_EQ(c.Invoke(L"Describe", orvo::InvokeMethod, args, result), DispStatus::Ok);
    ASSERT_NE(variable.AsString(), nullptr);
    EXPECT_EQ(*variable.AsString(), L"n=3");
}

TEST(Dispatch, ScriptPropertiesReadWriteAndRefuseWhatIsMissing) {
    Counter c;
    DispVariant result;
    DispVariant value[] = {DispVariant(L"Quotes")};
    ASSERT_EQ(c.Invoke(L"label", orvo::InvokePut, value, result), DispStatus::Ok);
    ASSERT_EQ(c.Invoke(L"LABEL", orvo::InvokeGet, {}, result), DispStatus::Ok);
    EXPECT_EQ(*result.AsString(), L"Quotes");
    EXPECT_EQ(c.Invoke(L"ReadOnlyLabel", orvo::InvokePut, value, result), DispStatus::ReadOnly);
    // A method without arguments reads like a property; a method cannot be assigned.
    ASSERT_EQ(c.Invoke(L"Kind", orvo::InvokeGet, {}, result), DispStatus::Ok);
    EXPECT_EQ(*result.AsInt32(), 1);
    EXPECT_EQ(c.Invoke(L"Kind", orvo::InvokePut, value, result), DispStatus::UnknownName);
}

TEST(Dispatch, ObjectsTravelAsWeakReferences) {
    Counter c;
    c.total = 9;
    DispVariant result;
    ASSERT_EQ(c.Invoke(L"Self", orvo::InvokeMethod, {}, result), DispStatus::Ok);
    EXPECT_EQ(result.AsObject(), &c);

    DispVariant args[] = {result};
    ASSERT_EQ(c.Invoke(L"Accept", orvo::InvokeMethod, args, result), DispStatus::Ok);
    EXPECT_EQ(*result.AsInt32(), 9);

    DispVariant gone;
    {
        Counter temp;
        gone = DispVariant(static_cast<IXO*>(&temp));
    }
    EXPECT_EQ(gone.AsObject(), nullptr);
    DispVariant deadArgs[] = {gone};
    ASSERT_EQ(c.Invoke(L"Accept", orvo::InvokeMethod, deadArgs, result), DispStatus::Ok);
    EXPECT_EQ(*result.AsInt32(), -1) << "a destroyed object arrives as Nothing, never dangling";

    class Other : public IXO {};
    Other other;
    DispVariant wrong[] = {DispVariant(static_cast<IXO*>(&other))};
    EXPECT_EQ(c.Invoke(L"Accept", orvo::InvokeMethod, wrong, result), DispStatus::TypeMismatch);
}

class Quote : public IXO {
    ORVO_DISPATCH_MAP()

public:
    int Price(const wchar_t* code) { return code && code[0] == L'A' ? 100 : 50; }
};

ORVO_DISPATCH(Quote, IXO, ORVO_METHOD(Price))

class Quote2 : public IXO {
    ORVO_DISPATCH_MAP()

public:
    int Price(const wchar_t*) { return 7; }
};

ORVO_DISPATCH(Quote2, IXO, ORVO_METHOD_AS(Price, price))

TEST(CallSite, ServiceCallsReResolveAfterRegistrations) {
    orvo::ServiceCall<int(const wchar_t*)> site(L"QuoteService", L"Price");
    EXPECT_FALSE(site.Get()) << "not registered yet";

    Quote q;
    IXO::Register(L"quoteservice", &q);
    auto price = site.Get();
    ASSERT_TRUE(price) << "a registration after the first failed call is still found";
    EXPECT_EQ(price(L"AAPL"), 100);

    Quote2 replacement;
    IXO::Register(L"QuoteService", &replacement);
    ASSERT_TRUE(site.Get());
    EXPECT_EQ(site.Get()(L"AAPL"), 7) << "the cache must not keep the replaced service";

    IXO::Unregister(L"QuoteService");
    EXPECT_FALSE(site.Get());

    orvo::ServiceCall<int(int)> wrongSignature(L"QuoteService", L"Price");
    IXO::Register(L"QuoteService", &q);
    EXPECT_FALSE(wrongSignature.Get());
    IXO::Unregister(L"QuoteService");
}

TEST(CallSite, MethodCallsFollowTheClassOfEachObject) {
    orvo::MethodCall<int(const wchar_t*)> site(L"PRICE");
    Quote a;
    Quote2 b;
    Counter none;
    EXPECT_EQ(site.Get(&a)(L"A"), 100);
    EXPECT_EQ(site.Get(&b)(L"A"), 7);
    EXPECT_FALSE(site.Get(&none));
    EXPECT_FALSE(site.Get(nullptr));
    Quote a2;
    auto bound = site.Get(&a2);
    EXPECT_EQ(bound.Object(), &a2) << "bound to the object given, not the first one cached";
}

} // namespace

namespace {

TEST(Dispatch, ANameDeclaredTwiceInOneClassIsReportedAndTheFirstKept) {
    // Built by hand: a class declared through ORVO_DISPATCH with this mistake would fail
    // every test program's check of all maps.
    const orvo::DispatchMap map(L"Twice",
                                &FancyCounter::ClassDispatch(),
                                {orvo::Method<&FancyCounter::Reset>(L"Reset"),
                                 orvo::Method<&FancyCounter::Kind>(L"RESET"),
                                 orvo::Method<&FancyCounter::Kind>(L"Kind")});
    ASSERT_EQ(map.Duplicates().size(), 1u) << "overriding a base class's name is no duplicate";
    EXPECT_EQ(map.Duplicates()[0], L"Twice: RESET");
    const orvo::DispEntry* reset = map.Find(L"reset");
    ASSERT_NE(reset, nullptr);
    EXPECT_EQ(reset->method.thunk, orvo::Method<&FancyCounter::Reset>(L"").method.thunk);
}

} // namespace
