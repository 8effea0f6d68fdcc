// Messages, events and methods through "User.Run(orvo, ...)": what arrives, when, with which
// items; and what the author is told when the parameter text or the screen is wrong.
#include <string>

#include "core/element.h"
#include "shell/user_functions.h"
#include "user_function_fixture.h"

namespace orvo::test {
namespace {

// "board" logs every "Quote" message it hears as "price/memo;" into "trail".
const char* const kBoard = R"xml(
  <Script Name="code">
Sub Heard(me)
  trail.DataValue = trail.DataValue &amp; me.GetMsgItem("price") &amp; "/" &amp; me.GetMsgItem("memo") &amp; ";"
End Sub
  </Script>
  <TextBox Name="trail"/>
  <TextBox Name="price" Text="71000"/>
  <TextBox Name="board"><this.Event Trigger="Message.Quote" Action="Script.Heard"/></TextBox>)xml";

TEST_F(UserFunctionTest, BroadcastArrivesAtOnceWithDataResolvedAndPostArrivesLater) {
    Open(kBoard);
    EXPECT_EQ(Run(L"price", L"BroadcastMsg, Quote, price=Data(price), memo=\"a, b\""), 1);
    EXPECT_EQ(Data(L"trail"), L"71000/a, b;");

    EXPECT_EQ(Run(L"price", L"PostMsg, Quote, price=Data(price)"), 1);
    EXPECT_EQ(Data(L"trail"), L"71000/a, b;") << "nothing before the loop runs";
    loop.Pump();
    EXPECT_EQ(Data(L"trail"), L"71000/a, b;Data(price)/;") << "posted items go as written";
    EXPECT_TRUE(Confirms().empty());
}

TEST_F(UserFunctionTest, ModuleNamesOfLibOrvoAllReachTheFunctions) {
    Open(kBoard);
    for (const wchar_t* module : {L"orvo", L"Orvo.dll", L"liborvo.so"}) {
        Obj(L"trail")->SetData(L"");
        const std::wstring action =
            std::wstring(L"User.Run(") + module + L", BroadcastMsg, Quote, price=1)";
        EXPECT_EQ(Obj(L"price")->Action(action.c_str()), 1) << plat::ToUtf8(module);
        EXPECT_EQ(Data(L"trail"), L"1/;") << plat::ToUtf8(module);
    }
}

// Functions that need parts of an application shell this code base does not have are not
// exported: naming one answers as any missing function does.
TEST_F(UserFunctionTest, FunctionsWithoutTheirControlsAreNotExported) {
    Open(kBoard);
    const wchar_t* missing[] = {L"Calendar",
                                L"DateEditor",
                                L"WebBrowser",
                                L"OpenCodeDlg",
                                L"OpenComboList",
                                L"OpenWebBrowser",
                                L"LaunchPopupMenu",
                                L"RunProgram",
                                L"OpenModalDlg",
                                L"TogglePopup",
                                L"SaveMetaIOToFile",
                                L"SetTrCaption",
                                L"OnConRealAfter",
                                L"CalcStructColumn",
                                L"InputQuote"};
    for (const wchar_t* name : missing) {
        notices.confirms.clear();
        const std::wstring call = std::wstring(L"Run(orvo, ") + name + L", x)";
        EXPECT_EQ(Obj(L"price")->Action((L"User." + call).c_str()), 1);
        EXPECT_EQ(Confirms(), std::vector<std::wstring>{L"Invalid User Function :\nUser." + call});
    }
}

TEST_F(UserFunctionTest, BadMessageTextsAreRefusedAndNothingIsSent) {
    Open(kBoard);
    struct Case {
        const wchar_t* call;
        const wchar_t* told;
    };
    const Case cases[] = {
        {L"BroadcastMsg, Quote, price=Data(price",
         L"BroadcastMsg : parentheses or quotes do not close"},
        {L"BroadcastMsg, Quote, price", L"BroadcastMsg : item \"price\" is not key=value"},
        {L"BroadcastMsg, Quote, price=Data(nowhere)",
         L"BroadcastMsg : no object for Data(nowhere)"},
        {L"BroadcastMsg", L"BroadcastMsg : no message name"},
        {L"PostMsg, , price=1", L"PostMsg : no message name"},
        {L"PostMsg, Quote, =1", L"PostMsg : item \"=1\" is not key=value"},
        {L"LibNotifyEvent, Picked, code", L"LibNotifyEvent : item \"code\" is not key=value"},
        {L"LoaderRunMethod, inner", L"LoaderRunMethod : expected loader, method[, key=value ...]"},
        {L"LoaderRunMethod, price, Fill", L"LoaderRunMethod : price is not a loader"},
        {L"RunByMenuID, ", L"RunByMenuID : no menu identifier"},
        {L"RunByMenuIDX, 0101, code=Data(price",
         L"RunByMenuIDX : parentheses or quotes do not close"},
    };
    for (const Case& c : cases) {
        notices.confirms.clear();
        EXPECT_EQ(Run(L"price", c.call), 0) << plat::ToUtf8(c.call);
        ASSERT_EQ(Confirms().size(), 1u) << plat::ToUtf8(c.call);
        EXPECT_EQ(Told(0), c.told);
        EXPECT_NE(Confirms()[0].find(L"\nUser.Run(orvo, "), std::wstring::npos);
    }
    loop.Pump();
    EXPECT_EQ(Data(L"trail"), L"");
}

// A loader and the page it holds: the page raises "Picked" to the loader and publishes
// "Fill".
const char* const kLoader = R"xml(
  <Script Name="code">
Sub Picked(me)
  trail.DataValue = trail.DataValue &amp; "picked " &amp; me.GetEvtItem("code") &amp; ";"
End Sub
  </Script>
  <TextBox Name="trail"/>
  <TextBox Name="price" Text="71000"/>
  <loader Name="inner" file="Inner.xml" path="Screen" AutoLoad="False">
    <this.Event Trigger="Event.Picked" Action="Script.Picked"/>
  </loader>)xml";

const char* const kLoadedPage = R"xml(<lib Name="page">
  <lib.NotifyEvent Name="Picked"/>
  <lib.Method Name="Fill" Method="Script, pagecode, FillIt, qty=1"/>
  <Script Name="pagecode">
Function FillIt(me)
  qty.DataValue = me.GetMethodItem("qty") &amp; "@" &amp; me.GetMethodItem("price")
  FillIt = True
End Function
  </Script>
  <TextBox Name="qty"/>
  <TextBox Name="relay">
    <this.Event Trigger="Event.Picked" Action="User.Run(orvo, LibRelayEvent)"/>
  </TextBox>
</lib>)xml";

TEST_F(UserFunctionTest, ALoadedPageRaisesEventsToItsLoaderAndRunsItsMethods) {
    Open(kLoader);
    XMLParser parser;
    XElement* root = nullptr;
    ASSERT_TRUE(parser.ParseMemory(kLoadedPage, &root));
    XDO* loaded = XScrMan::Instance().OpenPageMem(root, Obj(L"inner"), nullptr);
    ASSERT_TRUE(loaded);
    XDO* qty = loaded->GetObjByNameDown(L"qty");
    XDO* relay = loaded->GetObjByNameDown(L"relay");
    ASSERT_TRUE(qty && relay);
    EXPECT_EQ(qty->Action(L"User.Run(orvo, LibNotifyEvent, Picked, code=005930)"), 1);
    EXPECT_EQ(Data(L"trail"), L"picked 005930;");
    EXPECT_EQ(qty->Action(L"User.Run(orvo, LibNotifyEvent, Undeclared, code=1)"), 0)
        << "not a declared event";
    EXPECT_EQ(Run(L"price", L"LibNotifyEvent, Picked, code=1"), 0)
        << "the outer library has no loader";

    XElement event(L"Picked", nullptr);
    event.SetValue(L"code", L"000660");
    relay->SendEvent(&event, relay);
    EXPECT_EQ(Data(L"trail"), L"picked 005930;picked 000660;");

    EXPECT_EQ(Run(L"price", L"LoaderRunMethod, inner, Fill, price=70500"), 1);
    std::wstring filled;
    qty->GetData(&filled);
    EXPECT_EQ(filled, L"1@70500") << "the default item and the given one";
    EXPECT_EQ(Run(L"price", L"LoaderRunMethod, inner, Empty"), 0);
    EXPECT_EQ(Confirms(),
              std::vector<std::wstring>{L"LoaderRunMethod : the loaded page has no method Empty\n"
                                        L"User.Run(orvo, LoaderRunMethod, inner, Empty)"});
}

TEST_F(UserFunctionTest, DeadOrForgedCallersAndTargetsAreRefused) {
    Open(kBoard);
    XDOPtr gone;
    {
        XMLParser parser;
        XElement* root = nullptr;
        ASSERT_TRUE(parser.ParseMemory("<TextBox Name=\"gone\"/>", &root));
        gone.reset(XScrMan::Instance().OpenPageMem(root, nullptr, nullptr));
    }
    const std::wstring stale = XdoToPtr(gone.get());
    gone.reset();
    for (const std::wstring& target :
         {stale, std::wstring(L"ptr:12345678"), std::wstring(L"ptr:")}) {
        notices.confirms.clear();
        EXPECT_EQ(Run(L"price", L"SetData, " + target + L", 1"), 0);
        EXPECT_EQ(Run(L"price", L"SetFocusUI, " + target), 0);
        EXPECT_EQ(Run(L"price", L"LoaderRunMethod, " + target + L", Fill"), 0);
        EXPECT_EQ(Confirms().size(), 3u) << plat::ToUtf8(target);
    }
    // Called straight through the pointer a library hands out, without a live caller.
    XDO* dead = reinterpret_cast<XDO*>(static_cast<std::uintptr_t>(0x10));
    notices.confirms.clear();
    EXPECT_EQ(::BroadcastMsg(dead, L"Quote"), 0);
    EXPECT_EQ(::SetData(nullptr, L"price, 1"), 0);
    EXPECT_EQ(::SpinUp(dead, nullptr), 0);
    EXPECT_EQ(Confirms().size(), 3u);
}

} // namespace
} // namespace orvo::test
