// "Class" objects: implementations from a user library (class_lib.cpp, "OrvoTestClass.dll")
// receive the object's data, events, messages, change notices and method calls; the object
// stands for a data source and hosts the implementation's window.
#include <gtest/gtest.h>

#include "data/struct.h"
#include "nubra/call_site.h"
#include "ui/xclass.h"
#include "ui/xwindow_handler.h"
#include "xwindow_fixture.h"

namespace orvo::test {
namespace {

constexpr const char* kNoChildren = "<class> 는 child 노드를 가질 수 없습니다.";

class XClassTest : public XWindowTest {
protected:
    XClass* Class(const wchar_t* name) {
        auto* object = dynamic_cast<XClass*>(page->GetObjByNameDown(name));
        EXPECT_TRUE(object) << "no class object named " << plat::ToUtf8(name);
        return object;
    }
    // What reached the implementation, in order.
    static std::wstring Log(XClass* object) { return object->RunMethod(L"Log", nullptr); }
    std::vector<std::wstring> Notices() const {
        std::vector<std::wstring> texts;
        for (const auto& n : notices.shown)
            texts.push_back(n.text);
        return texts;
    }
    static int CountChildren(XDO* object) {
        int n = 0;
        for (XDO* c = object->child(); c; c = c->next())
            ++n;
        return n;
    }
};

TEST_F(XClassTest, TheImplementationHearsEventsMessagesNoticesAndMethods) {
    OpenWindow(R"x(<Script/>
                   <lib Name="ticker" Listener="cls" NotifyID="7"/>
                   <Class Name="cls" Instance="OrvoTestClass.dll, CreateRecorder" Param="p1">
                     <this.Event Trigger="Event.Raised" Action="Script.OnRaised"/>
                   </Class>)x");
    XClass* cls = Class(L"cls");
    ASSERT_TRUE(cls && cls->GetClassInterface());
    EXPECT_EQ(Log(cls), L"init:p1;event:1;event:2;event:3;")
        << "made after BeforeCreate; told of every object event after it";

    std::unique_ptr<XElement> msg(new XElement(L"Quote"));
    Win()->SendMsg(0, msg.get(), Win(), Win());
    page->GetObjByNameDown(L"ticker")->NotifyChange(3, 4);
    EXPECT_EQ(Log(cls), L"init:p1;event:1;event:2;event:3;msg:Quote,1,win;notify:ticker,7,3,4;")
        << "a message sent down arrives from above";

    static MethodCall<std::wstring(const wchar_t*, const wchar_t*)> s_runMethod(L"RunMethod");
    auto runMethod = s_runMethod.Get(cls);
    ASSERT_TRUE(runMethod) << "published by name for markup and scripts";
    EXPECT_EQ(runMethod(L"Buy", L"price=70000,qty=10"), L"Buy done");
    EXPECT_NE(Log(cls).find(L"method:Buy(70000);"), std::wstring::npos)
        << "the items arrive as the parameter element";

    EXPECT_EQ(cls->RunMethodVB(L"Raise", L""), L"raised");
    EXPECT_EQ(RecordingScript::runs, std::vector<std::wstring>{L"OnRaised:cls"})
        << "the implementation raises markup events as its owner";
}

TEST_F(XClassTest, AnOwnHandlerAnsweringZeroKeepsTheEventFromTheImplementation) {
    // No script above: the handler of "Run" fails and answers 0.
    OpenWindow(R"x(<Class Name="cls" Instance="OrvoTestClass.dll, CreateRecorder">
                     <this.Event Trigger="Object.Run" Action="Script.Missing"/>
                   </Class>)x");
    XClass* cls = Class(L"cls");
    ASSERT_TRUE(cls);
    EXPECT_EQ(Log(cls), L"init:;event:1;event:2;");
    EXPECT_EQ(cls->RunObjectEvent(EVT_RUN), 0);
    EXPECT_EQ(cls->RunObjectEvent(EVT_CHANGE), 1);
    EXPECT_EQ(Log(cls), L"init:;event:1;event:2;event:12;");
    EXPECT_EQ(Confirms().size(), 2u) << "the failed handler says why, each time";
}

TEST_F(XClassTest, DataAndSavedSettingsPassThroughTheImplementation) {
    OpenWindow(R"x(<Class Name="cls" Instance="OrvoTestClass.dll, CreateRecorder" Save="True"/>
                   <Class Name="plain" Save="True" DataValue="kept"/>)x");
    XClass* cls = Class(L"cls");
    XClass* plain = Class(L"plain");
    ASSERT_TRUE(cls && plain);
    cls->SetDataVB(L"levels=5");
    std::wstring data;
    cls->GetDataVB(data);
    EXPECT_EQ(data, L"[levels=5]") << "the implementation answers, not the object";

    XElement saved(L"Settings");
    page->SaveObject(&saved);
    std::wstring value;
    EXPECT_TRUE(saved.GetValue(L"cls", value));
    EXPECT_EQ(value, L"[levels=5]");
    EXPECT_TRUE(saved.GetValue(L"plain", value));
    EXPECT_EQ(value, L"kept") << "without an implementation the object keeps its own data";

    XElement settings(L"Settings");
    settings.SetValue(L"cls", L"levels=10");
    page->LoadObject(&settings);
    const std::wstring log = Log(cls);
    EXPECT_NE(log.find(L"get;set:levels=10;"), std::wstring::npos) << plat::ToUtf8(log);
    XElement none(L"Settings");
    page->LoadObject(&none);
    EXPECT_EQ(Log(cls), log) << "a setting that is absent sets nothing";
}

TEST_F(XClassTest, TheDataSourceIsTheNamedOneUnlessTheImplementationGivesOne) {
    OpenWindow(
        R"x(<structure Name="q" count="3"><this.field item="price" type="Integer" value="5"/></structure>
                   <structure Name="r" count="2"><this.field item="price" type="Integer" value="9"/></structure>
                   <lib Name="notdata"/>
                   <Class Name="named" Instance="OrvoTestClass.dll, CreateRecorder" DataSource="q"/>
                   <Class Name="byData" Instance="OrvoTestClass.dll, CreateRecorder" Data="q"/>
                   <Class Name="given" Instance="OrvoTestClass.dll, CreateRecorder" DataSource="q" Param="source=r"/>
                   <Class Name="self" Instance="OrvoTestClass.dll, CreateRecorder" Param="source=self"/>
                   <Class Name="other" Instance="OrvoTestClass.dll, CreateRecorder" DataSource="notdata"/>
                   <Class Name="forged" DataSource="ptr:0x12345678"/>)x");
    auto* q = dynamic_cast<XMetaIOData*>(page->GetObjByNameDown(L"q"));
    auto* r = dynamic_cast<XMetaIOData*>(page->GetObjByNameDown(L"r"));
    ASSERT_TRUE(q && r);

    XClass* named = Class(L"named");
    EXPECT_EQ(named->GetDataSource(), q);
    EXPECT_EQ(named->GetRows(), 3) << "reads go to the data source";
    int price = 0;
    EXPECT_TRUE(named->GetVal(2, 0, price));
    EXPECT_EQ(price, 5);
    EXPECT_NE(Log(named).find(L"source:q;"), std::wstring::npos) << "the implementation is told";
    EXPECT_EQ(Class(L"byData")->GetDataSource(), q) << "\"Data\" without \"DataSource\"";

    XClass* given = Class(L"given");
    EXPECT_EQ(given->GetDataSource(), r);
    EXPECT_EQ(given->GetRows(), 2);
    EXPECT_EQ(Log(given).find(L"source:"), std::wstring::npos);

    XClass* self = Class(L"self");
    EXPECT_EQ(self->GetDataSource(), nullptr) << "standing for itself would never end";
    EXPECT_EQ(self->GetRows(), 0);
    EXPECT_EQ(Class(L"other")->GetDataSource(), nullptr) << "not IO data";
    EXPECT_EQ(Class(L"forged")->GetDataSource(), nullptr);
    EXPECT_EQ(Class(L"forged")->GetRows(), 0);
}

TEST_F(XClassTest, AWindowHostIsMadeOnlyForAnImplementationWithAUserInterface) {
    OpenWindow(
        R"x(<Class Name="ui" Instance="OrvoTestClass.dll, CreateWindowed" Rect="10,20,50,30"/>
                   <Class Name="noui" Instance="OrvoTestClass.dll, CreateRecorder" Rect="0,0,40,40"/>)x");
    XClass* withUI = Class(L"ui");
    ASSERT_TRUE(withUI);
    ASSERT_EQ(CountChildren(withUI), 1);
    auto* host = dynamic_cast<XWindowHandler*>(withUI->child());
    ASSERT_TRUE(host);
    plat::Window* window = host->GetMadeWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->Parent(), Native());
    EXPECT_EQ(window->GetWindowRect(), CRect(10, 20, 60, 50)) << "placed by the class's Rect";
    EXPECT_EQ(Log(withUI).find(L"ui;"), Log(withUI).rfind(L"ui;")) << "asked once";
    EXPECT_NE(Log(withUI).find(L"ui;"), std::wstring::npos);

    EXPECT_EQ(CountChildren(Class(L"noui")), 0);

    // Given its element again, as a script may, the object keeps its implementation, its
    // library and its one window host.
    CClassInterface* implementation = withUI->GetClassInterface();
    auto again =
        ParseMarkup(R"x(<Class Name="ui" Instance="OrvoTestClass.dll, CreateRecorder"/>)x");
    ASSERT_TRUE(again);
    EXPECT_EQ(withUI->SetElementVB(again.get()), 1);
    EXPECT_EQ(withUI->CreateInstance(), 1);
    EXPECT_EQ(withUI->GetClassInterface(), implementation);
    EXPECT_EQ(CountChildren(withUI), 1);
    EXPECT_EQ(withUI->RunMethodVB(L"Sell", L"price=5"), L"Sell done");
    EXPECT_TRUE(Confirms().empty());

    const plat::WindowRef made = window->Ref();
    page.reset();
    EXPECT_EQ(made.Get(), nullptr) << "the implementation took its window along";
}

TEST_F(XClassTest, AClassWithChildrenRefusesItsImplementation) {
    OpenWindow(R"x(<Class Name="parent" Instance="OrvoTestClass.dll, CreateWindowed">
                     <lib Name="inside"/>
                   </Class>
                   <Class Name="container"><lib Name="alsoInside"/></Class>)x");
    XClass* parent = Class(L"parent");
    ASSERT_TRUE(parent);
    EXPECT_EQ(parent->GetClassInterface(), nullptr);
    EXPECT_EQ(CountChildren(parent), 1) << "no window host beside the child";
    EXPECT_EQ(Confirms(), std::vector<std::wstring>{plat::FromUtf8(kNoChildren)})
        << "only where there is an implementation to refuse";
    EXPECT_EQ(parent->RunMethodVB(L"Buy", L"price=1"), L"");
}

TEST_F(XClassTest, AMissingLibraryOrFunctionLeavesAPlainDataObject) {
    OpenWindow(
        R"x(<structure Name="q" count="3"><this.field item="price" type="Integer"/></structure>
                   <Class Name="nolib" Instance="NoSuchClassLib.dll, CreateRecorder" DataSource="q" DataValue="v"/>
                   <Class Name="nofn" Instance="OrvoTestClass.dll, NoSuchFactory"/>
                   <Class Name="nothing" Instance="OrvoTestClass.dll, CreateNothing"/>
                   <Class Name="malformed" Instance="OrvoTestClass.dll"/>
                   <Class Name="blank" Instance=" , "/>)x");
    for (const wchar_t* name : {L"nolib", L"nofn", L"nothing", L"malformed", L"blank"}) {
        XClass* object = Class(name);
        ASSERT_TRUE(object);
        EXPECT_EQ(object->GetClassInterface(), nullptr) << plat::ToUtf8(name);
        EXPECT_EQ(object->RunMethodVB(L"Log", L""), L"") << plat::ToUtf8(name);
        EXPECT_EQ(CountChildren(object), 0) << plat::ToUtf8(name);
    }
    XClass* nolib = Class(L"nolib");
    EXPECT_EQ(nolib->GetRows(), 3) << "still stands for its data source";
    std::wstring data;
    nolib->GetDataVB(data);
    EXPECT_EQ(data, L"v");
    nolib->SetDataVB(L"w");
    nolib->GetDataVB(data);
    EXPECT_EQ(data, L"w");

    const std::vector<std::wstring> shown = Notices();
    ASSERT_EQ(shown.size(), 4u) << "a factory giving nothing is no configuration error";
    EXPECT_NE(shown[0].find(L"NoSuchClassLib.dll"), std::wstring::npos);
    EXPECT_NE(shown[1].find(L"NoSuchFactory"), std::wstring::npos);
    EXPECT_TRUE(Confirms().empty());
}

TEST_F(XClassTest, TheClassKeyIsRegisteredWithTheGatesOnce) {
    static std::vector<std::wstring> keys;
    keys.clear();
    XClass::SetGateRegistrar([](const wchar_t* key) {
        keys.emplace_back(key);
        return 1;
    });
    OpenWindow(R"x(<Class Name="a"/><Class Name="b"/>)x");
    XClass::SetGateRegistrar(nullptr);
    EXPECT_EQ(keys, std::vector<std::wstring>{L"Class"});
    EXPECT_TRUE(orvo::HasStyle(Class(L"a"), XDO_STYLE_CLASS));
    EXPECT_TRUE(orvo::HasStyle(Class(L"a"), XDO_STYLE_IODATA)) << "stands where data is expected";
}

} // namespace
} // namespace orvo::test
