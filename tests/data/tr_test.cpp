#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/notice_man.h"
#include "data/meta_io.h"
#include "data/struct.h"
#include "data/tr_set.h"
#include "nubra/call_site.h"
#include "platform/base/nocase.h"
#include "platform/base/text.h"
#include "struct_page.h"
#include "support/project_files.h"
#include "support/recording_presenter.h"
#include "support/scoped_registration.h"

namespace {

class TRTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousPresenter = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&notices);
    }
    void TearDown() override {
        while (XDO* c = XTRSet::Instance().child())
            c->LinkCut(1, nullptr);
        XNoticeMan::Instance().SetPresenter(previousPresenter);
    }
    std::vector<std::wstring> Confirms() const {
        std::vector<std::wstring> texts;
        for (const auto& c : notices.confirms)
            texts.push_back(c.text);
        return texts;
    }
    XTR* Build(std::string_view markup) {
        page = test::BuildPage(markup);
        return dynamic_cast<XTR*>(page.get());
    }

    RecordingPresenter notices;
    orvo::NoticePresenter* previousPresenter = nullptr;
    orvo::XDOPtr page;
};

TEST_F(TRTest, TimingAndTypeAttributes) {
    XTR* tr = Build(R"(<tr id="1"><tr id="2" LazyTime="100"/><tr id="3" LazyTime="100"
                       Lazy="false" type="OMS"/><tr id="4" type="other"/></tr>)");
    ASSERT_NE(tr, nullptr);
    EXPECT_EQ(tr->GetLazyProc(), 0);
    EXPECT_EQ(tr->GetLazyTime(), 20u);
    EXPECT_EQ(tr->GetByIDDown(L"2")->GetLazyProc(), 1);
    EXPECT_EQ(tr->GetByIDDown(L"2")->GetLazyTime(), 100u);
    EXPECT_EQ(tr->GetByIDDown(L"3")->GetLazyProc(), 0) << "Lazy is read after LazyTime";
    EXPECT_EQ(tr->GetByIDDown(L"3")->GetType(), XTR::OMS);
    EXPECT_EQ(tr->GetByIDDown(L"4")->GetType(), XTR::IQR);
}

TEST_F(TRTest, SwitchesSelectByAttributeWithoutCase) {
    XTR* tr = Build(R"(<tr id="1"><this.switch Item="market" Value="K" Id="2"/>
                       <this.switch Item="market" Value="F"/><this.switch Item="side" Value="B"
                       Id="3"/></tr>)");
    ASSERT_NE(tr, nullptr);
    ASSERT_EQ(tr->GetSwitches().size(), 2u) << "a switch without Id is dropped";
    XElement request(L"DataRequest");
    EXPECT_EQ(tr->GetSwitch(&request), nullptr);
    request.SetValue(L"market", L"f");
    EXPECT_EQ(tr->GetSwitch(&request), nullptr);
    request.SetValue(L"market", L"k");
    request.SetValue(L"side", L"b");
    ASSERT_NE(tr->GetSwitch(&request), nullptr);
    EXPECT_EQ(tr->GetSwitch(&request)->Id, L"2") << "the first match in declaration order";
    EXPECT_EQ(tr->GetSwitch(nullptr), nullptr);
}

TEST_F(TRTest, ContainersHandTheirStructuresOverAndStrangersAreNamed) {
    XTR* tr = Build(R"(<tr id="1"><input><structure Name="In" count="2"><this.field item="c"
                       type="Char"/></structure></input><output><structure Name="Out">
                       <this.field item="n" type="Integer"/></structure></output></tr>)");
    ASSERT_NE(tr, nullptr);
    ASSERT_NE(tr->GetInputStruct(), nullptr);
    EXPECT_EQ(tr->GetInputStruct()->GetName(), L"In");
    EXPECT_TRUE(tr->GetInputStruct()->ISMem());
    EXPECT_EQ(tr->GetInputStruct()->GetRows(), 2);
    ASSERT_NE(tr->GetOutputStruct(), nullptr);
    EXPECT_EQ(tr->GetOutputStruct()->GetName(), L"Out");
    tr->child()->LinkCut(1, nullptr);
    EXPECT_EQ(tr->GetInputStruct(), nullptr) << "the structure died with its container";
    EXPECT_TRUE(Confirms().empty());

    Build(R"(<tr id="1"><input><structure Name="In"/></input><metaio/></tr>)");
    Build(R"(<tr id="1"><structure Name="Bare"/></tr>)");
    EXPECT_EQ(Confirms(),
              (std::vector<std::wstring>{L"metaio must input or output",
                                         L"structure must input or output"}));
}

TEST_F(TRTest, CopyKeepsOnlyIdTextAndRealTime) {
    XTR* tr = Build(R"(<tr id="7" text="t" service="S" Realtime="1" LazyTime="5" type="VCS">
                       <this.switch Item="a" Value="b" Id="8"/><input><structure Name="In"/>
                       </input></tr>)");
    ASSERT_NE(tr, nullptr);
    XTR copy(*tr);
    EXPECT_EQ(copy.GetID() + copy.GetText() + copy.GetService(), L"7t");
    EXPECT_EQ(copy.GetRealTime(), 1);
    EXPECT_EQ(copy.GetType(), XTR::IQR);
    EXPECT_EQ(copy.GetLazyProc(), 0);
    EXPECT_EQ(copy.GetLazyTime(), 20u);
    EXPECT_FALSE(copy.HasSwitch());
    EXPECT_EQ(copy.GetInputStruct(), nullptr);
    EXPECT_EQ(copy.child(), nullptr);
}

TEST_F(TRTest, LookupsGoInDeclarationOrderPastTheContainers) {
    XTR* root = Build(R"(<tr id="0">
        <tr id="1"><this.switch Item="m" Value="K" Id="3"/>
          <input><structure Name="In"><this.field item="c" type="Char"/></structure></input>
          <output><structure Name="Out"><this.field item="n" type="Integer"/></structure></output>
          <tr id="2"><this.switch Item="m" Value="F" Id="4"/></tr>
        </tr>
        <tr id="3"/><tr id="4"/></tr>)");
    ASSERT_NE(root, nullptr);
    XTR* first = root->GetByIDDown(L"1");
    ASSERT_NE(first, nullptr);
    XTR* nested = root->GetByIDDown(L"2");
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->parent(), first) << "found past the input and output containers";
    // A switch id that a later transaction declares as its own id finds the switch's holder.
    EXPECT_EQ(root->GetByIDDown(L"3"), first);
    EXPECT_EQ(root->GetByIDDown(L"4"), nested);
    XTR* third = first->next() ? dynamic_cast<XTR*>(first->next()) : nullptr;
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->GetID(), L"3");
    EXPECT_EQ(third->GetByIDDown(L"4")->GetID(), L"4") << "later siblings come next";
    EXPECT_EQ(nested->GetByIDDown(L"3"), nullptr) << "never earlier ones or the parent's";
    EXPECT_EQ(root->GetByIDDown(L""), nullptr);
    EXPECT_TRUE(Confirms().empty());
}

TEST_F(TRTest, DeeplyNestedTransactionsAreFoundAndFreedWithoutRecursion) {
    constexpr int kDepth = 10'000;
    auto outermost = std::make_unique<XTR>();
    XTR* level = outermost.get();
    for (int i = 0;; ++i) {
        XElement e(L"tr");
        e.SetValue(L"id", std::to_wstring(i).c_str());
        ASSERT_TRUE(level->SetElement(&e));
        if (i == kDepth - 1)
            break;
        // Every level has its containers before the transaction nested in it.
        level->AddChild(new XInput());
        level->AddChild(new XOutput());
        auto* inner = new XTR();
        level->AddChild(inner);
        level = inner;
    }
    XElement toggle(L"this.switch");
    toggle.SetValue(L"Item", L"m");
    toggle.SetValue(L"Value", L"K");
    toggle.SetValue(L"Id", L"deep");
    ASSERT_EQ(level->SetMethod(L"switch", &toggle), 1);
    XTRSet::Instance().AddChild(outermost.release());

    EXPECT_EQ(XTRSet::Instance().GetTRByID(L"9999"), level);
    EXPECT_EQ(XTRSet::Instance().GetTRByID(L"deep"), level);
    EXPECT_EQ(XTRSet::Instance().GetTRByID(L"10000"), nullptr);
}

TEST_F(TRTest, TheSetFindsTransactionsDespiteFaultsInTheFile) {
    ASSERT_NE(std::getenv("ORVO_FIXTURES"), nullptr) << "run the tests through ctest";
    ProjectFilesStandIn project;
    project.files[L"TRSet"] = plat::FromUtf8(std::getenv("ORVO_FIXTURES")) + L"/data/tr_set.xml";
    ScopedRegistration registration(L"Project", &project);
    // The names and signatures data requests and the host call.
    static orvo::ServiceCall<XTR*(const wchar_t*)> s_byId(L"TRSet", L"GetTRByID");
    static orvo::ServiceCall<int()> s_init(L"TRSet", L"InitializeIXO");
    ASSERT_TRUE(s_init.Get() && s_byId.Get());
    EXPECT_EQ(s_init.Get()(), 1);
    auto byId = s_byId.Get();

    XTR* price = byId(L"10001");
    ASSERT_NE(price, nullptr);
    EXPECT_EQ(price->GetText(), L"price") << "the first of a duplicated id wins";
    EXPECT_EQ(price->GetType(), XTR::IQS);
    EXPECT_EQ(price->GetRepeat(), 1);
    ASSERT_EQ(price->GetSwitches().size(), 2u);
    const XTR::Switch& timed = *price->GetSwitches()[0];
    EXPECT_EQ(timed.LazyTime, 50);
    EXPECT_EQ(timed.Lazy + timed.ApplyLazy + timed.ApplyTime, 3);
    const XTR::Switch& untimed = *price->GetSwitches()[1];
    EXPECT_EQ(untimed.Lazy * 100 + untimed.ApplyLazy * 10 + untimed.ApplyTime, 10);
    ASSERT_NE(price->GetOutputStruct(), nullptr);
    EXPECT_TRUE(price->GetOutputStruct()->IsLastFieldVirtual());
    auto scriptById = price->GetFunction<XTR*(const wchar_t*)>(L"GetByIDDown");
    ASSERT_TRUE(scriptById && price->GetFunction<bool()>(L"HasSwitch"));

    EXPECT_EQ(scriptById(L"10005"), price) << "a switch id finds its holder";
    EXPECT_EQ(byId(L"30000"), price) << "a switch to nowhere is kept";
    ASSERT_NE(byId(L"10002"), nullptr) << "nested after the containers";
    EXPECT_EQ(byId(L"10002")->parent(), price);
    EXPECT_EQ(byId(L"10003")->GetType(), XTR::IQR);
    EXPECT_EQ(byId(L"10004"), nullptr) << "lost with the transaction missing its id";
    EXPECT_EQ(byId(L""), nullptr);
    EXPECT_EQ(byId(nullptr), nullptr);
    EXPECT_EQ(Confirms(),
              (std::vector<std::wstring>{
                  L"Transaction \"lost\" has no id: it and the transactions after it at its "
                  L"level are not read.",
                  L"Transaction ids declared more than once (lookups find the first): 10001"}));
}

} // namespace
