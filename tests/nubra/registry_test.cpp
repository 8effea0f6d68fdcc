#include <gtest/gtest.h>

#include <memory>

#include "nubra/call_site.h"
#include "nubra/ixo.h"
#include "nubra/registry_snapshot.h"

namespace {

class Widget : public IXO {
public:
    const wchar_t* GetIXOKey() const override { return L"Widget"; }
    static int s_made;
    Widget() { ++s_made; }
};
int Widget::s_made = 0;

class Service : public IXO {
public:
    const wchar_t* GetIXOKey() const override { return L"Service"; }
};

TEST(Registry, FactoryNamesMakeANewObjectPerLookupWhateverTheCase) {
    IXO::Register(L"TestWidget", []() -> IXO* { return new Widget(); });
    int before = Widget::s_made;
    IXO* a = IXO::GetIXO(L"testwidget");
    IXO* b = IXO::GetIXO(L"TESTWIDGET");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(Widget::s_made, before + 2);
    EXPECT_STREQ(a->GetIXOKey(), L"Widget");
    EXPECT_EQ(IXO::FindInstance(L"TestWidget"), nullptr) << "a factory is no instance";
    delete a;
    delete b;
    IXO::Unregister(L"TestWidget");
}

TEST(Registry, InstancesAreTheSameObjectAndListedSortedWithoutCase) {
    Service zeta, alpha;
    IXO::Register(L"zetaService", &zeta);
    IXO::Register(L"AlphaService", &alpha);
    EXPECT_EQ(IXO::GetIXO(L"ALPHASERVICE"), &alpha);
    EXPECT_EQ(IXO::GetIXO(L"alphaservice"), &alpha);
    EXPECT_EQ(IXO::FindInstance(L"ZetaService"), &zeta);

    auto list = IXO::Instances();
    std::ptrdiff_t ia = -1, iz = -1;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].second == &alpha)
            ia = static_cast<std::ptrdiff_t>(i);
        if (list[i].second == &zeta)
            iz = static_cast<std::ptrdiff_t>(i);
    }
    ASSERT_GE(ia, 0);
    ASSERT_GE(iz, 0);
    EXPECT_LT(ia, iz);
    EXPECT_EQ(list[static_cast<std::size_t>(ia)].first, L"AlphaService")
        << "listed under the registered spelling";

    IXO::Unregister(L"ZETASERVICE");
    IXO::Unregister(L"alphaservice");
    EXPECT_EQ(IXO::GetIXO(L"AlphaService"), nullptr);
}

TEST(Registry, ReRegistrationReplacesAndEveryChangeMovesTheGeneration) {
    Service first, second;
    auto g0 = IXO::Generation();
    IXO::Register(L"Swap", &first);
    auto g1 = IXO::Generation();
    EXPECT_GT(g1, g0);
    IXO::Register(L"SWAP", &second);
    EXPECT_GT(IXO::Generation(), g1);
    EXPECT_EQ(IXO::GetIXO(L"swap"), &second);

    // A factory registered under an instance's name replaces it too.
    IXO::Register(L"swap", []() -> IXO* { return new Widget(); });
    EXPECT_EQ(IXO::FindInstance(L"Swap"), nullptr);
    IXO* made = IXO::GetIXO(L"Swap");
    EXPECT_NE(dynamic_cast<Widget*>(made), nullptr);
    delete made;

    auto g2 = IXO::Generation();
    EXPECT_TRUE(IXO::Unregister(L"Swap"));
    EXPECT_FALSE(IXO::Unregister(L"Swap"));
    EXPECT_GT(IXO::Generation(), g2);
    EXPECT_EQ(IXO::GetIXO(L"Swap"), nullptr);
    EXPECT_FALSE(IXO::IsRegistered(L"Swap"));
}

TEST(Registry, WeakReferencesSeeDestruction) {
    orvo::IXORef ref;
    {
        Service s;
        ref = s.WeakRef();
        EXPECT_EQ(ref.Get(), &s);
        EXPECT_EQ(s.WeakRef(), ref) << "one cell per object";
        Service copy(s);
        EXPECT_NE(copy.WeakRef(), ref) << "a copy is another object";
    }
    EXPECT_EQ(ref.Get(), nullptr);
    EXPECT_FALSE(ref.Alive());
}

// A service with one published method, to watch what call sites keep.
class Counter : public IXO {
    ORVO_DISPATCH_MAP()

public:
    int Next() { return ++count; }
    int count = 0;
};

} // namespace

ORVO_DISPATCH(Counter, IXO, ORVO_METHOD(Next))

namespace {

TEST(Registry, ADestroyedInstanceLeavesTheRegistryAndEveryCallSite) {
    static orvo::ServiceCall<int()> s_next(L"CounterService", L"Next");
    auto counter = std::make_unique<Counter>();
    IXO::Register(L"CounterService", counter.get());
    IXO::Register(L"CounterAlias", counter.get());
    ASSERT_TRUE(s_next.Get());
    EXPECT_EQ(s_next.Get()(), 1);

    auto generation = IXO::Generation();
    counter.reset();
    EXPECT_GT(IXO::Generation(), generation) << "call sites must drop what they resolved";
    EXPECT_EQ(IXO::FindInstance(L"CounterService"), nullptr);
    EXPECT_EQ(IXO::GetIXO(L"CounterAlias"), nullptr);
    EXPECT_FALSE(IXO::IsRegistered(L"CounterService"));
    EXPECT_FALSE(s_next.Get()) << "a call site never reaches a destroyed service";
    for (const auto& [name, object] : IXO::Instances())
        EXPECT_NE(name, L"CounterService");

    EXPECT_EQ(IXO::Register(L"Nothing", static_cast<IXO*>(nullptr)), 0);
    EXPECT_EQ(IXO::Register(L"Nothing", static_cast<IXO::Factory>(nullptr)), 0);
    EXPECT_FALSE(IXO::IsRegistered(L"Nothing"));
}

TEST(Registry, AnInstanceReplacedUnderOneNameKeepsItsOtherNames) {
    Counter first, second;
    IXO::Register(L"Primary", &first);
    IXO::Register(L"Backup", &first);
    IXO::Register(L"Primary", &second);
    {
        Counter passing;
        IXO::Register(L"Passing", &passing);
    }
    EXPECT_EQ(IXO::FindInstance(L"Backup"), &first);
    EXPECT_EQ(IXO::FindInstance(L"Primary"), &second);
    EXPECT_EQ(IXO::FindInstance(L"Passing"), nullptr);
    IXO::Unregister(L"Primary");
    IXO::Unregister(L"Backup");
}

TEST(RegistrySnapshot, NamesWhatChangedAndPutsEverythingBack) {
    Counter kept, replacement, added;
    IXO::Register(L"SnapKept", &kept);
    IXO::Register(L"SnapFactory", []() -> IXO* { return new Widget(); });
    const auto snapshot = orvo::RegistrySnapshot::Take();
    EXPECT_TRUE(snapshot.Differences().empty());

    IXO::Register(L"SnapKept", &replacement);
    IXO::Unregister(L"snapfactory");
    IXO::Register(L"SnapAdded", &added);
    auto differences = snapshot.Differences();
    ASSERT_EQ(differences.size(), 3u);
    EXPECT_EQ(differences[0], L"SnapAdded: an instance was added");
    EXPECT_EQ(differences[1], L"SnapFactory: a factory went away");
    EXPECT_EQ(differences[2], L"SnapKept: an instance was replaced by an instance");

    snapshot.Restore();
    EXPECT_TRUE(snapshot.Differences().empty());
    EXPECT_EQ(IXO::FindInstance(L"SnapKept"), &kept);
    EXPECT_EQ(IXO::FindInstance(L"SnapAdded"), nullptr);
    IXO* made = IXO::GetIXO(L"SnapFactory");
    EXPECT_NE(dynamic_cast<Widget*>(made), nullptr);
    delete made;
    IXO::Unregister(L"SnapKept");
    IXO::Unregister(L"SnapFactory");
}

} // namespace
