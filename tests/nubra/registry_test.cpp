#include <gtest/gtest.h>

#include "nubra/ixo.h"

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
    EXPECT_EQ(list[static_cast<std::size_t>(ia)].first, L"AlphaService") << "listed under the registered spelling";

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

} // namespace
