// A page's "Destroy" actions run its script's functions while the whole page is still there,
// and a script may close the page it lives on from one of the page's own events. Closing a
// page ends its script: every instance of its classes goes, those on reference cycles too,
// each running its Class_Terminate.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/notice_man.h"
#include "core/object_lifetime.h"
#include "core/object_tree.h"
#include "nubra/registry_snapshot.h"
#include "script/script.h"
#include "support/recording_presenter.h"
#include "vbscript/class_instance.h"

namespace {

// Destroys the object its "Target" attribute names, as unloading a page does.
class PageCutter : public XDO {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"PageCutter")
    int Cut() {
        XDO* target = test::Find(GetTopParent(), m_target.c_str());
        orvo::DestroyObject(target);
        return target ? 1 : 0;
    }
    int SetElement(XElement* e) override {
        XDO::SetElement(e);
        if (e)
            e->GetValue(L"Target", m_target);
        return 1;
    }

private:
    std::wstring m_target;
};

} // namespace

ORVO_DISPATCH(PageCutter, XDO, ORVO_METHOD(Cut))

namespace {

class DestroyScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        registry = orvo::RegistrySnapshot::Take();
        orvo::RegisterFactory<PageCutter>();
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

    orvo::RegistrySnapshot registry;
    RecordingPresenter notices;
};

TEST_F(DestroyScriptTest, DestroyActionsCallTheScriptWithThePageStillWhole) {
    auto root = test::BuildTree(R"(<lib Name="page">
        <Script Name="code">
Sub Gone(o)
  MsgBox o.Name &amp; " goes; " &amp; Price.Name &amp; "=" &amp; Price.DataValue &amp; "; under " &amp; o.GetTopParent().Name
End Sub
        </Script>
        <P Name="Qty" DataValue="10"><Event Trigger="Object.Destroy" Action="Script.Gone"/></P>
        <P Name="Price" DataValue="71500"><Event Trigger="Object.Destroy" Action="Script.Gone"/></P>
      </lib>)");
    ASSERT_TRUE(root);
    ASSERT_TRUE(notices.confirms.empty());
    root.reset();
    EXPECT_EQ(Shown(),
              (std::vector<std::wstring>{L"Qty goes; Price=71500; under page",
                                         L"Price goes; Price=71500; under page"}));
}

TEST_F(DestroyScriptTest, AScriptClosesItsPageFromThePagesOwnEvent) {
    // The page is held by a parent that the script reaches as "Holder", as a loader holds
    // the page it loaded; the script cuts the page away from inside the page's message.
    auto root = test::BuildTree(R"(<P Name="Holder">
        <lib Name="page">
          <Script Name="code">
Sub Close(o)
  Dim name
  name = o.Name
  o.GetTopParent().GetObjDown("closer").Cut
  On Error Resume Next
  name = name &amp; "/" &amp; o.Name
  MsgBox "still running after the cut: " &amp; name &amp; ", gone with error " &amp; Err.Number
End Sub
          </Script>
          <P Name="button"><Event Trigger="Message.Click" Action="Script.Close"/></P>
          <PageCutter Name="closer" Target="page"/>
        </lib>
      </P>)");
    ASSERT_TRUE(root);
    XDO* button = test::Find(root.get(), L"button");
    ASSERT_NE(button, nullptr);
    button->BroadcastMsgVB(L"Click", L"");
    EXPECT_EQ(test::Find(root.get(), L"page"), nullptr);
    EXPECT_EQ(root->child(), nullptr);
    EXPECT_EQ(orvo::PendingDeletes(), 0u);
    EXPECT_EQ(
        Shown(),
        std::vector<std::wstring>{L"still running after the cut: button, gone with error 424"});
}

// A board of quotes whose rows know their board: each row is on a cycle with it.
const char* const kBoardScript = R"(
Dim board
Class Node
  Public Name, Parent, Kids
  Private Sub Class_Initialize
    Set Kids = CreateObject("Scripting.Dictionary")
  End Sub
  Private Sub Class_Terminate
    MsgBox "bye " &amp; Name &amp; " with " &amp; Kids.Count
  End Sub
End Class
Function Row(p, n)
  Set Row = New Node
  Row.Name = n
  If Not p Is Nothing Then Set Row.Parent = p: p.Kids.Add n, Row
End Function
Set board = Row(Nothing, "board")
Row board, "bid"
Row board, "ask"
)";

TEST_F(DestroyScriptTest, ClosingAPageFreesItsScriptsInstancesCyclesIncluded) {
    const std::size_t before = vbs::ClassInstance::LiveCount();
    auto root = test::BuildTree(std::string(R"(<lib Name="page"><Script Name="code">)") +
                                kBoardScript + "</Script></lib>");
    ASSERT_TRUE(root);
    EXPECT_EQ(vbs::ClassInstance::LiveCount(), before + 3);
    root.reset();
    EXPECT_EQ(
        Shown(),
        (std::vector<std::wstring>{L"bye board with 2", L"bye bid with 0", L"bye ask with 0"}));
    EXPECT_EQ(vbs::ClassInstance::LiveCount(), before);
}

TEST_F(DestroyScriptTest, AScriptThatClosesItsOwnPageEndsWhenTheCallReturns) {
    const std::size_t before = vbs::ClassInstance::LiveCount();
    auto root = test::BuildTree(std::string(R"(<P Name="Holder"><lib Name="page">
          <Script Name="code">)") +
                                kBoardScript + R"(
Sub Close(o)
  o.GetTopParent().GetObjDown("closer").Cut
  MsgBox "cut; " &amp; board.Kids.Count &amp; " rows left"
End Sub
          </Script>
          <P Name="button"><Event Trigger="Message.Click" Action="Script.Close"/></P>
          <PageCutter Name="closer" Target="page"/>
        </lib>
      </P>)");
    ASSERT_TRUE(root);
    test::Find(root.get(), L"button")->BroadcastMsgVB(L"Click", L"");
    EXPECT_EQ(test::Find(root.get(), L"page"), nullptr);
    EXPECT_EQ(Shown(),
              (std::vector<std::wstring>{
                  L"cut; 2 rows left", L"bye board with 2", L"bye bid with 0", L"bye ask with 0"}));
    EXPECT_EQ(vbs::ClassInstance::LiveCount(), before);
}

} // namespace
