// Methods a screen publishes: declared on its library, run by name with the caller's items
// over the declared defaults, read by the script as the method element; and the loader
// running a method of the page it loaded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/lib.h"
#include "core/loader.h"
#include "core/notice_man.h"
#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "nubra/registry_snapshot.h"
#include "platform/base/text.h"
#include "script/script.h"
#include "support/recording_presenter.h"

namespace {

class LibMethodTest : public ::testing::Test {
protected:
    void SetUp() override {
        registry = orvo::RegistrySnapshot::Take();
        XNoticeMan::Instance().SetPresenter(&notices);
    }
    void TearDown() override {
        XNoticeMan::Instance().SetPresenter(nullptr);
        registry.Restore();
    }
    std::vector<std::wstring> Shown() const {
        std::vector<std::wstring> texts;
        for (const auto& c : notices.confirms)
            texts.push_back(c.text);
        return texts;
    }

    // A page built as screens are, under `parent` when given.
    static XDO* Open(const char* markup, XDO* parent = nullptr) {
        XElement* root = nullptr;
        XMLParser parser;
        if (!parser.ParseMemory(markup, &root))
            return nullptr;
        return XScrMan::Instance().OpenPageMem(root, parent, nullptr);
    }

    orvo::RegistrySnapshot registry;
    RecordingPresenter notices;
};

constexpr const char* kTicket = R"(<lib Name="ticket">
    <lib.method Name="Buy" Method="Script,code,Order,side=buy,qty=1"/>
    <lib.method Name="Sell" Method=" Script , code , Order , side=sell "/>
    <lib.method Name="Lost" Method="Script,nowhere,Order"/>
    <lib.method Name="Native" Method="User,no_such_library,Fn"/>
    <lib.method Method="Script,code,Order"/>
    <lib.method Name="Odd" Method="Macro,code,Order"/>
    <Script Name="code">
Function Order(caller)
  Order = caller.GetMethodItem("side") &amp; " " &amp; caller.GetMethodItem("qty") &amp; " by " &amp; caller.Name
End Function
    </Script>
  </lib>)";

TEST_F(LibMethodTest, MethodsRunTheirScriptFunctionWithTheCallersItemsOverTheDefaults) {
    orvo::XDOPtr root(Open(kTicket));
    ASSERT_TRUE(root);
    auto* lib = dynamic_cast<XLib*>(root.get());
    ASSERT_NE(lib, nullptr);
    EXPECT_EQ(Shown(),
              (std::vector<std::wstring>{L"<lib.method> name이 지정되지 않았습니다.",
                                         L"Script object nowhere not found.\n<lib.method>"}));
    notices.confirms.clear();

    XElement params(L"order", nullptr);
    params.MakeValue(L"qty=25");
    orvo::DispVariant result;
    ASSERT_EQ(lib->RunMethod(L"BUY", &params, &result), 1);
    EXPECT_EQ(result.AsString() ? *result.AsString() : L"-", L"buy 25 by ticket");
    ASSERT_EQ(lib->RunMethod(L"sell", nullptr, &result), 1);
    EXPECT_EQ(result.AsString() ? *result.AsString() : L"-", L"sell  by ticket")
        << "no default for qty: it reads empty";
    EXPECT_EQ(XDO::s_pMethodElement, nullptr) << "the method element is restored";

    EXPECT_EQ(lib->GetMethod(L""), nullptr);
    EXPECT_EQ(lib->GetMethod(L"odd"), nullptr) << "an unknown kind is not declared";
    EXPECT_EQ(lib->RunMethod(L"missing", nullptr, &result), 0);
    EXPECT_EQ(lib->RunMethod(L"lost", nullptr, &result), 0) << "an unlinked method runs nothing";
    EXPECT_EQ(lib->RunMethod(L"native", nullptr, &result), 0);
    EXPECT_EQ(
        Shown(),
        std::vector<std::wstring>{L"lib.method 를 C 함수로 정의하는 것은 아직 지원 안합니다."});
}

TEST_F(LibMethodTest, ALoaderRunsAMethodOfThePageItLoaded) {
    orvo::XDOPtr root(Open(R"(<lib Name="host"><loader Name="slot" AutoLoad="false"/></lib>)"));
    ASSERT_TRUE(root);
    auto* loader = dynamic_cast<XLoader*>(root->GetObjByNameDown(L"slot"));
    ASSERT_NE(loader, nullptr);
    EXPECT_TRUE(loader->RunMethod(L"Buy", L"qty=3").IsEmpty()) << "nothing loaded";
    ASSERT_NE(Open(kTicket, loader), nullptr);
    const orvo::DispVariant result = loader->RunMethod(L"Buy", L"qty=3");
    EXPECT_EQ(result.AsString() ? *result.AsString() : L"-", L"buy 3 by slot");
    EXPECT_TRUE(loader->RunMethod(L"nope", L"").IsEmpty());
}

} // namespace

namespace {

// A method whose function runs the same method again through the loader, without end.
constexpr const char* kEcho = R"(<lib Name="echo">
    <lib.method Name="Again" Method="Script,code,Again"/>
    <Script Name="code">
Function Again(caller)
  Again = "deeper " &amp; caller.RunMethod("Again", "")
End Function
    </Script>
  </lib>)";

TEST_F(LibMethodTest, AMethodThatRunsItselfEndsWithAnErrorInsteadOfExhaustingTheStack) {
    orvo::XDOPtr root(Open(R"(<lib Name="host"><loader Name="slot" AutoLoad="false"/></lib>)"));
    ASSERT_TRUE(root);
    auto* loader = dynamic_cast<XLoader*>(root->GetObjByNameDown(L"slot"));
    ASSERT_NE(loader, nullptr);
    ASSERT_NE(Open(kEcho, loader), nullptr);
    notices.confirms.clear();
    const orvo::DispVariant result = loader->RunMethod(L"Again", L"");
    const auto shown = Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(L"Out of stack space (28)"), std::wstring::npos)
        << plat::ToUtf8(shown[0]);
    ASSERT_TRUE(result.AsString());
    EXPECT_EQ(result.AsString()->rfind(L"deeper deeper ", 0), 0u) << "the outer calls finished";
    notices.confirms.clear();
    loader->RunMethod(L"Again", L"");
    EXPECT_EQ(Shown().size(), 1u) << "it runs, and fails, the same way again";
}

} // namespace
