// Visual objects built from markup: their flags, painting, hit testing, mouse events, focus,
// repaint requests and script interface.
#include <gtest/gtest.h>

#include "core/lang_man.h"
#include "core/project.h"
#include "data/data_source.h"
#include "nubra/paths.h"
#include "platform/base/text.h"
#include "support/fixture_project.h"
#include "support/host_stand_ins.h"
#include "support/scoped_registration.h"
#include "ui/ui_style.h"
#include "ui/xselector.h"
#include "ui/xtheme.h"
#include "xui_fixture.h"

namespace orvo::test {
namespace {

TEST_F(XUITest, FlagsComeFromTheListThenTheSwitches) {
    Open(R"(<Cell Name="auto" flag="AutoSelect"/>
            <Cell Name="hidden" flag="Hide" SHOW="False"/>
            <Cell Name="shown" flag="Hide" SHOW="True"/>
            <Cell Name="listed" flag="select | UIPaint,bogus  Animation"/>
            <Cell Name="deaf" flag_del="NotifyMouse,Select"/>
            <Cell Name="off" ENABLE="False" CANFOCUS="True" AUTOSELECT="True" SELECT="True"/>)");
    EXPECT_EQ(UI(L"auto")->GetFlag(), XUI::UI_NOTIFYMOUSE | XUI::UI_AUTOSELECT | XUI::UI_CANFOCUS);
    EXPECT_FALSE(UI(L"hidden")->IsShow());
    EXPECT_TRUE(UI(L"shown")->IsShow());
    EXPECT_EQ(UI(L"listed")->GetFlag(),
              XUI::UI_NOTIFYMOUSE | XUI::UI_SELECT | XUI::UI_UIPAINT | XUI::UI_ANIMATION);
    EXPECT_EQ(UI(L"deaf")->GetFlag(), 0u) << "flag_del only removes NotifyMouse";
    EXPECT_EQ(UI(L"off")->GetFlag(),
              XUI::UI_NOTIFYMOUSE | XUI::UI_DISABLE | XUI::UI_CANFOCUS | XUI::UI_AUTOSELECT |
                  XUI::UI_SELECT)
        << "a switch alone does not imply CanFocus; NotifyMouse goes only through SetFlag";
    EXPECT_EQ(UI(L"host")->GetObjectStyle() & XDO_STYLE_UI, XDO_STYLE_UI);
}

TEST_F(XUITest, StylesAreTheThemesByNameOrRegistryKey) {
    Open(R"(<Cell Name="plain"/><Cell Name="named" Style=" RED "/><Cell Name="none" Style="nope"/>
            <Cell Name="own"><this.UIStyle><DrawEvent><Fill BackColor="0,255,0"/></DrawEvent>
            </this.UIStyle></Cell>
            <Cell Name="broken"><this.UIStyle/></Cell>)");
    XTheme* theme = XThemeMan::Instance().CurrentTheme();
    EXPECT_EQ(UI(L"plain")->GetStyle(), theme->GetUIStyle(L"cell"));
    EXPECT_EQ(UI(L"named")->GetStyle(), theme->GetUIStyle(L"red"));
    EXPECT_EQ(UI(L"none")->GetStyle(), nullptr);
    EXPECT_EQ(UI(L"broken")->GetStyle(), theme->GetUIStyle(L"cell")) << "a failed style is dropped";
    const CUIStyle* own = UI(L"own")->GetStyle();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->EventCount(), 1u);
    EXPECT_NE(own, theme->GetUIStyle(L"cell"));
    EXPECT_EQ(UI(L"own")->GetPaintEvent(), own->GetFirstEvent());
}

TEST_F(XUITest, ChildrenPaintOverParentsAndLaterSiblingsOverEarlierOnes) {
    Open(R"(<Cell Name="back" Rect="0,0,100,100">
              <Cell Name="inner" Style="red" Rect="10,10,30,30"/>
            </Cell>
            <Cell Name="over" Style="green" Rect="20,20,100,20"/>
            <Cell Name="hidden" Style="red" Rect="150,0,50,50" SHOW="False">
              <Cell Name="below" Style="green" Rect="0,0,10,10"/>
            </Cell>
            <WindowCell Name="win" Style="red" Rect="150,60,40,40"/>)");
    Canvas canvas = Painted();
    EXPECT_EQ(canvas.At(5, 5), kBlue);
    EXPECT_EQ(canvas.At(15, 15), kRed) << "the child over its parent";
    EXPECT_EQ(canvas.At(25, 25), kGreen) << "the later sibling over the earlier one's child";
    EXPECT_EQ(canvas.At(110, 25), kGreen);
    EXPECT_EQ(canvas.At(155, 5), kWhite) << "a hidden object paints nothing, nor its children";
    EXPECT_EQ(canvas.At(175, 30), kWhite);
    EXPECT_EQ(canvas.At(160, 70), kWhite) << "a window paints itself";
    EXPECT_EQ(Cell::afterNext, (std::vector<std::wstring>{L"inner", L"hidden", L"over", L"back"}));
}

TEST_F(XUITest, OnlyWhatTheClipShowsIsDrawn) {
    Open(R"(<Cell Name="left" Rect="0,0,50,50"><Cell Name="dot" Style="red" Rect="0,0,5,5"/></Cell>
            <Cell Name="right" Style="green" Rect="100,0,50,50"/>)");
    Canvas canvas(200, 100);
    canvas.dc->IntersectClipRect(90, 0, 200, 100);
    Host()->OnPaint(canvas.dc.get());
    canvas.dc->SelectClipRgn(nullptr);
    EXPECT_EQ(canvas.At(1, 1), kWhite) << "outside the clip, children are skipped with the parent";
    EXPECT_EQ(canvas.At(120, 10), kGreen);
}

TEST_F(XUITest, TheTopmostPaintedObjectUnderThePointWins) {
    Open(R"(<Cell Name="back" Rect="0,0,100,100">
              <Cell Name="inner" Rect="10,10,30,30"/>
              <Cell Name="deaf" Rect="50,50,20,20" flag_del="NotifyMouse"/>
            </Cell>
            <Cell Name="over" Rect="20,20,10,10"/>
            <Cell Name="hidden" Rect="120,0,50,50" SHOW="False"><Cell Name="under" Rect="0,0,9,9"/>
            </Cell>
            <Cell Name="off" Rect="120,60,30,30" ENABLE="False"><Cell Name="in" Rect="0,0,9,9"/>
            </Cell>)");
    XUI* host = Host();
    EXPECT_EQ(host->GetXUIFromPoint(CPoint(5, 5)), UI(L"back"));
    EXPECT_EQ(host->GetXUIFromPoint(CPoint(12, 12)), UI(L"inner"));
    EXPECT_EQ(host->GetXUIFromPoint(CPoint(22, 22)), UI(L"over"));
    EXPECT_EQ(host->GetXUIFromPoint(CPoint(55, 55)), UI(L"back")) << "without NotifyMouse";
    EXPECT_EQ(host->GetXUIFromPoint(CPoint(122, 2)), host) << "a hidden subtree is not hit";
    EXPECT_EQ(host->GetXUIFromPoint(CPoint(122, 62)), host) << "nor a disabled one";
    EXPECT_EQ(host->GetXUIFromPoint(CPoint(300, 300)), nullptr);

    UI(L"off")->SetEnable(true);
    EXPECT_EQ(host->GetXUIFromPoint(CPoint(122, 62)), UI(L"in"));
    UI(L"deaf")->SetEnable(false);
    UI(L"deaf")->SetEnable(true);
    EXPECT_EQ(host->GetXUIFromPoint(CPoint(55, 55)), UI(L"deaf"))
        << "enabling turns NotifyMouse on even after flag_del";
    UI(L"hidden")->SetShow(true);
    EXPECT_EQ(host->GetXUIFromPoint(CPoint(122, 2)), UI(L"under"));
    UI(L"back")->SetShow(false);
    EXPECT_EQ(host->GetXUIFromPoint(CPoint(12, 12)), host);
}

TEST_F(XUITest, AClickTogglesAutoSelectAndRunsItsEventsButScriptSelectionDoesNot) {
    Open(R"(<Script/>
            <Cell Name="a" flag="AutoSelect">
              <this.Event Trigger="Object.Select" Action="Script.OnSelect"/>
              <this.Event Trigger="Object.UnSelect" Action="Script.OnUnSelect"/>
              <this.Event Trigger="Mouse.Click" Action="Script.OnClick"/>
              <this.Event Trigger="Mouse.Down" Action="Script.OnDown"/>
            </Cell>)");
    EXPECT_EQ(RecordingScript::runs, std::vector<std::wstring>{L"OnUnSelect:a"})
        << "Initialize tells an AutoSelect object's state";
    RecordingScript::runs.clear();
    XUI* a = UI(L"a");
    a->SetEvent(XEvent::MouseClick, 1);
    EXPECT_TRUE(a->GetSelect());
    a->SetEvent(XEvent::MouseClick, 1);
    EXPECT_FALSE(a->GetSelect());
    a->SetEvent(XEvent::MouseDown, 1);
    a->SetEvent(XEvent::MouseClick, 0);
    EXPECT_EQ(RecordingScript::runs,
              (std::vector<std::wstring>{
                  L"OnSelect:a", L"OnClick:a", L"OnUnSelect:a", L"OnClick:a", L"OnDown:a"}));
    EXPECT_EQ(Host()->notified.back(), std::make_pair(int(XEvent::MouseDown), a))
        << "the nearest visual ancestor hears";
    EXPECT_EQ(a->GetMouseState(), XEvent::MouseClick);

    RecordingScript::runs.clear();
    DispVariant result;
    std::vector<DispVariant> put{DispVariant(true)};
    ASSERT_EQ(a->Invoke(L"Select", InvokePut, put, result), DispStatus::Ok);
    EXPECT_TRUE(a->GetSelect());
    a->SetSelect(false);
    EXPECT_FALSE(a->GetSelect());
    EXPECT_TRUE(RecordingScript::runs.empty());
}

TEST_F(XUITest, AMouseHandlerMayDestroyItsOwnObject) {
    Open(R"(<Script/>
            <Cell Name="k" Rect="0,0,9,9">
              <this.Event Trigger="Mouse.Click" Action="Script.Kill"/>
              <this.Event Trigger="Mouse.Click" Action="Script.After"/>
            </Cell>)");
    XUI* k = UI(L"k");
    k->SetFocus();
    k->SetEvent(XEvent::MouseClick, 1);
    EXPECT_EQ(RecordingScript::runs, std::vector<std::wstring>{L"Kill:k"});
    EXPECT_EQ(page->GetObjByNameDown(L"k"), nullptr);
    EXPECT_EQ(XUI::GetFocusedObject(), nullptr);
    EXPECT_EQ(Host()->GetXUIFromPoint(CPoint(1, 1)), Host());
}

TEST_F(XUITest, UserStateFollowsTheBoundFieldWhenDrawn) {
    Open(R"(<structure Name="Quote" count="2">
              <this.field item="code" type="String" size="6" value="AAA"/>
              <this.field item="state" type="Integer" value="0"/>
            </structure>
            <Cell Name="mark" Data="Quote" Field="State" flag="UserState" Rect="0,0,20,20"/>
            <Cell Name="loose" Data="Nowhere" Field="state" flag="UserState" Rect="50,0,5,5"/>
            <Cell Name="wrong" Data="mark" Field="state" Rect="60,0,5,5"/>)");
    XUI* mark = UI(L"mark");
    auto* quote = AsMetaIOData(page->GetObjByNameDown(L"Quote"));
    ASSERT_NE(quote, nullptr);
    EXPECT_EQ(mark->GetDataSource(), quote);
    EXPECT_EQ(mark->GetDataField(), 1);
    EXPECT_EQ(mark->GetFieldType(), DT_INT);
    EXPECT_EQ(UI(L"loose")->GetDataSource(), nullptr);
    EXPECT_EQ(UI(L"loose")->GetDataField(), -1);
    EXPECT_EQ(UI(L"wrong")->GetDataSource(), nullptr) << "a visual object is no IO data";

    EXPECT_EQ(Painted().At(5, 5), kBlue);
    ASSERT_TRUE(quote->SetVal(0, 1, 1));
    EXPECT_EQ(Painted().At(5, 5), kGreen);
    EXPECT_EQ(mark->GetUserStateVB(), 1);
    EXPECT_EQ(mark->ChangeDataField(L"code"), 0);
    EXPECT_EQ(mark->GetFieldType(), DT_STR);
    Host()->requests.clear();
    EXPECT_EQ(mark->ChangeDataField(L"nope"), -1);
    ASSERT_EQ(Host()->requests.size(), 1u);
    EXPECT_EQ(Host()->requests[0].second, CRect(0, 0, 20, 20));
    Painted();
    EXPECT_EQ(mark->GetUserStateVB(), 1) << "an unknown field is not read";
}

TEST_F(XUITest, ObjectsWithoutDataBindToTheCurrentSourceAndRow) {
    Open(R"(<structure Name="Quote" count="3"><this.field item="state" type="Integer"/>
            </structure>)");
    auto* quote = AsMetaIOData(page->GetObjByNameDown(L"Quote"));
    ASSERT_TRUE(quote && quote->SetVal(2, 0, 1));
    auto element = ParseMarkup(R"(<Cell Name="row" Field="state" flag="UserState"/>)");
    XUI* row = nullptr;
    {
        CDataSource current(quote);
        current.SetDataRecord(2);
        row = dynamic_cast<XUI*>(XScrMan::Instance().MakeObject(element.get(), page.get()));
    }
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->GetDataSource(), nullptr);
    EXPECT_EQ(row->FindDataSource(), quote);
    EXPECT_EQ(row->GetDataField(), 0);
    Painted();
    EXPECT_EQ(row->GetUserStateVB(), 1);
    EXPECT_EQ(CDataSource().GetDataSource(), nullptr) << "the stack is left as it was";
}

TEST_F(XUITest, StateChangesAskTheWindowHostToRepaint) {
    Open(R"(<Cell Name="a" Rect="10,20,30,40"><Cell Name="b" Rect="1,1,5,5"/></Cell>)");
    XUI* a = UI(L"a");
    auto& requests = Host()->requests;
    EXPECT_EQ(a->SetUserState(3, 1), 0);
    EXPECT_EQ(a->SetUserState(5, 0), 3) << "the previous state comes back";
    EXPECT_EQ(a->GetFlag() & XUI::UI_USERSTATE, 0u);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], std::make_pair(a, CRect(10, 20, 40, 60)));
    requests.clear();
    a->SetSelect(true);
    a->SetSelect(true);
    EXPECT_EQ(requests.size(), 1u) << "no change, no request";
    const CRect part(12, 22, 14, 24);
    UI(L"b")->Repaint(&part);
    EXPECT_EQ(requests.back(), std::make_pair(UI(L"b"), part));
    UI(L"b")->RepaintVB();
    EXPECT_EQ(requests.back(), std::make_pair(UI(L"b"), CRect(11, 21, 16, 26)));
    requests.clear();
    Host()->RepaintVB();
    EXPECT_TRUE(requests.empty()) << "the host has no host above it";
}

TEST_F(XUITest, FocusMovesAndIsClearedWithTheObject) {
    Open(R"(<Cell Name="a" Rect="0,0,10,10"/><Cell Name="b" Rect="10,0,10,10"/>)");
    XUI* a = UI(L"a");
    XUI* b = UI(L"b");
    a->SetFocus();
    EXPECT_EQ(XUI::GetFocusedObject(), a);
    EXPECT_TRUE(a->HasFocus());
    Host()->requests.clear();
    b->SetFocus();
    EXPECT_EQ(XUI::GetFocusedObject(), b);
    ASSERT_EQ(Host()->requests.size(), 2u);
    EXPECT_EQ(Host()->requests[0].first, a) << "the object losing the focus repaints too";
    EXPECT_EQ(Host()->requests[1].first, b);
    DestroyObject(b);
    EXPECT_EQ(XUI::GetFocusedObject(), nullptr);
    a->SetFocus();
    page.reset();
    EXPECT_EQ(XUI::GetFocusedObject(), nullptr) << "closing the screen clears it";
}

TEST_F(XUITest, ScriptsReachStateAndDataByName) {
    Open(R"(<structure Name="Quote"><this.field item="code" type="String" size="4"/>
              <this.field item="qty" type="Integer"/></structure>
            <Cell Name="a" Data="Quote" Field="code" UserState="2"/>)");
    XUI* a = UI(L"a");
    DispVariant result;
    std::vector<DispVariant> none;
    auto get = [&](const wchar_t* name) {
        EXPECT_EQ(a->Invoke(name, InvokeGet, none, result), DispStatus::Ok) << plat::ToUtf8(name);
        return result;
    };
    auto put = [&](const wchar_t* name, DispVariant value) {
        std::vector<DispVariant> args{std::move(value)};
        EXPECT_EQ(a->Invoke(name, InvokePut, args, result), DispStatus::Ok) << plat::ToUtf8(name);
    };
    EXPECT_EQ(get(L"UserState"), DispVariant(2));
    EXPECT_NE(a->GetFlag() & XUI::UI_USERSTATE, 0u);
    put(L"Show", DispVariant(false));
    EXPECT_FALSE(a->IsShow());
    EXPECT_EQ(get(L"show"), DispVariant(false));
    put(L"Enable", DispVariant(false));
    EXPECT_EQ(a->GetFlag() & (XUI::UI_DISABLE | XUI::UI_NOTIFYMOUSE), XUI::UI_DISABLE);
    EXPECT_EQ(get(L"DataField"), DispVariant(0));
    put(L"DataFieldStr", DispVariant(L"QTY"));
    EXPECT_EQ(get(L"DataField"), DispVariant(1));
    EXPECT_EQ(get(L"DataFieldStr"), DispVariant(L"QTY"));

    std::vector<DispVariant> field{DispVariant(L"missing")};
    ASSERT_EQ(a->Invoke(L"ChangeDataField", InvokeMethod, field, result), DispStatus::Ok);
    EXPECT_EQ(result, DispVariant(-1));
    ASSERT_EQ(a->Invoke(L"GetDataSource", InvokeMethod, none, result), DispStatus::Ok);
    EXPECT_EQ(result, DispVariant(page->GetObjByNameDown(L"Quote")->WeakRef()));
    ASSERT_EQ(a->Invoke(L"IsShow", InvokeMethod, none, result), DispStatus::Ok);
    EXPECT_EQ(result, DispVariant(false));
    ASSERT_EQ(a->Invoke(L"GetContentSize", InvokeMethod, none, result), DispStatus::Ok);
    EXPECT_EQ(result, DispVariant(DispArray{DispVariant(0), DispVariant(0)}));
    Host()->requests.clear();
    ASSERT_EQ(a->Invoke(L"Repaint", InvokeMethod, none, result), DispStatus::Ok);
    EXPECT_EQ(Host()->requests.size(), 1u);

    auto setOnPaintEnd = a->GetFunction<void(XUI::PaintEndCallback)>(L"SetOnPaintEnd");
    ASSERT_TRUE(setOnPaintEnd);
    static XUI* ended = nullptr;
    setOnPaintEnd([](CDC*, XUI* object) { ended = object; });
    a->SetShow(true);
    Painted();
    EXPECT_EQ(ended, nullptr) << "the callback ends the object's own OnPaint, not the walk";
    a->OnPaint(Canvas().dc.get());
    EXPECT_EQ(ended, a);
}

TEST_F(XUITest, SelectionAndVisibilityAsPropertiesAndSavedSettings) {
    Open(R"(<Cell Name="kept" SaveSelect="True" SELECT="True" Save="True" DataValue="x"/>
            <Cell Name="other" SHOW="False"/><Cell SaveSelect="True"/>)");
    std::wstring out;
    EXPECT_EQ(UI(L"kept")->GetPropW(L"", L"SELECT", out), 1);
    EXPECT_EQ(out, L"true");
    EXPECT_EQ(UI(L"other")->GetPropW(nullptr, L"show", out), 1);
    EXPECT_EQ(out, L"false");
    EXPECT_EQ(UI(L"other")->GetPropW(L"kept", L"select", out), 0) << "another object's goes on";
    EXPECT_EQ(UI(L"other")->GetPropW(L"", L"width", out), 0);

    XElement settings(L"Settings");
    Host()->SaveObject(&settings);
    std::wstring select, value;
    EXPECT_TRUE(settings.GetValue(L"kept__select", select) && select == L"True");
    EXPECT_TRUE(settings.GetValue(L"kept", value) && value == L"x");
    EXPECT_FALSE(settings.GetValue(L"other__select", select));
    EXPECT_FALSE(settings.GetValue(L"__select", select)) << "only named objects save";

    settings.SetValue(L"kept__select", L"False");
    settings.SetValue(L"other__select", L"True");
    Host()->LoadObject(&settings);
    EXPECT_FALSE(UI(L"kept")->GetSelect());
    EXPECT_TRUE(UI(L"other")->GetSelect());
}

TEST_F(XUITest, HotKeysImagesAndContextMenusComeFromTheirServices) {
    Open(R"(<Cell Name="k" HotKey="Ctrl+F5" ImageList="nothing.bmp, missing" ContextMenu="True"/>
            <Cell Name="plain"/>)");
    EXPECT_EQ(shell.added, std::vector<std::wstring>{L"Ctrl+F5"});
    EXPECT_EQ(UI(L"k")->GetImageList(), (std::vector<CResImg*>{nullptr, nullptr}))
        << "a missing image keeps its place";
    EXPECT_TRUE(UI(L"k")->HasContextMenu());
    EXPECT_FALSE(UI(L"plain")->HasContextMenu());
    EXPECT_TRUE(shell.removed.empty());
    auto again = ParseMarkup(R"(<Cell HotKey="F9"/>)");
    ASSERT_EQ(UI(L"k")->SetElementVB(again.get()), 1);
    EXPECT_EQ(shell.removed, std::vector<std::wstring>{L"Ctrl+F5"}) << "one key per object";
    page.reset();
    EXPECT_EQ(shell.removed, (std::vector<std::wstring>{L"Ctrl+F5", L"F9"}));
}

TEST_F(XUITest, AnObjectsImagesGoToItsDrawEvent) {
    SolidImages images;
    IXO::Register(L"ResMan", &images);
    Open(R"(<Cell Name="pic" Style="pic" ImageList="red, green" Rect="0,0,20,20"/>
            <Cell Name="short" Style="pic" ImageList="red" Rect="20,0,20,20"/>)");
    EXPECT_EQ(UI(L"pic")->GetImageList(), (std::vector<CResImg*>{&images.red, &images.green}));
    Canvas canvas = Painted();
    EXPECT_EQ(canvas.At(5, 5), kGreen);
    EXPECT_EQ(canvas.At(25, 5), kGreen) << "the style's event keeps what it was last given";
}

TEST_F(XUITest, SelectorMembersJoinAndTheSelectedOneIsDrawnOnTop) {
    Open(R"(<Selector Name="sel"/>
            <Cell Name="a" Selector="sel" Style="red" Rect="0,0,50,50"/>
            <Cell Name="b" Selector=" SEL " Style="green" Rect="25,0,50,50"/>
            <Cell Name="c" Selector="nowhere" Rect="150,0,5,5"/>)");
    auto* selector = dynamic_cast<XSelector*>(page->GetObjByNameDown(L"sel"));
    ASSERT_NE(selector, nullptr);
    EXPECT_EQ(selector->Find(UI(L"a")), 0);
    EXPECT_EQ(selector->Find(UI(L"b")), 1);
    EXPECT_EQ(selector->Find(UI(L"c")), -1);
    EXPECT_NE(UI(L"a")->GetFlag() & XUI::UI_CANFOCUS, 0u);
    EXPECT_EQ(UI(L"c")->GetFlag() & XUI::UI_CANFOCUS, 0u);
    EXPECT_EQ(Painted().At(30, 5), kGreen);
    selector->Select(0);
    EXPECT_EQ(Painted().At(30, 5), kRed) << "the selected member over the later one";
    DestroyObject(UI(L"a"));
    EXPECT_EQ(selector->Find(UI(L"b")), 0) << "a member leaves when it goes";
    EXPECT_EQ(selector->GetCurUI(), UI(L"b")) << "and the number then names the next";
    // A selector going before its members leaves them nothing to tell.
    DestroyObject(selector);
    DestroyObject(UI(L"b"));
}

TEST_F(XUITest, ChangesOfWhatAnObjectListensToRepaintIt) {
    Open(R"(<Cell Name="src" Listener="dst" Format="#,##0" Rect="0,0,5,5"/>
            <Cell Name="dst" Rect="5,5,5,5"/>)");
    UI(L"src")->SetData(L"1234");
    EXPECT_EQ(UI(L"src")->GetDataValueVB(), L"1,234");
    ASSERT_FALSE(Host()->requests.empty());
    EXPECT_EQ(Host()->requests.back(), std::make_pair(UI(L"dst"), CRect(5, 5, 10, 10)));
}

// Tells which font is selected when it starts to paint.
class FontProbe : public XUI {
public:
    ORVO_KEY(L"FontProbe")
    void OnPaintStart(CDC* dc) override { seen = Selected(dc); }
    static const CFont* Selected(CDC* dc) {
        const CFont* current = dc->SelectObject(&CFont::Default());
        dc->SelectObject(current);
        return current;
    }
    const CFont* seen = nullptr;
};

TEST_F(XUITest, PaintingIsInTheLanguagesDefaultFont) {
    RegisterFactory<FontProbe>();
    Open(R"(<FontProbe Name="probe"/>)");
    auto* probe = dynamic_cast<FontProbe*>(UI(L"probe"));
    ASSERT_NE(probe, nullptr);
    const CFont own;
    Canvas canvas;
    canvas.dc->SelectObject(&own);
    probe->OnPaint(canvas.dc.get());
    EXPECT_EQ(probe->seen, &own) << "no language, no change";

    TempDir dir;
    ApplicationStandIn app;
    ScopedRegistration appRegistration{L"Application", &app};
    ScopedRegistration systemDbRegistration{L"systemdb", nullptr};
    struct Restore {
        ~Restore() {
            XLangMan::Instance().Reset();
            XProject::Instance().Reset();
            SetWorkPath(L"");
        }
    } restore;
    ASSERT_TRUE(CopyFixtureProject("trading", dir));
    SetWorkPath(dir.Wide());
    ASSERT_EQ(XProject::Instance().InitializeIXO(), 1);
    ASSERT_EQ(XLangMan::Instance().LoadCurrentLanguage(), 1);
    const CFont* font = XLangMan::Instance().CurrentLanguage()->GetDefaultFont();
    ASSERT_NE(font, nullptr);
    probe->OnPaint(canvas.dc.get());
    EXPECT_EQ(probe->seen, font);
    EXPECT_EQ(FontProbe::Selected(canvas.dc.get()), &own) << "and the previous one back after";
}

TEST_F(XUITest, HidingAnObjectWithAWindowHidesTheWindowInPlace) {
    Open(R"(<WindowCell Name="w" SHOW="False"/>)");
    auto* w = dynamic_cast<WindowCell*>(UI(L"w"));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->window.moves, std::vector<unsigned>{0x297u}) << "hidden at creation";
    w->SetShow(true);
    w->SetShow(false);
    EXPECT_EQ(w->window.moves, (std::vector<unsigned>{0x297u, 0x257u, 0x297u}));
}

TEST_F(XUITest, MalformedAttributesAndMissingServicesAreHarmless) {
    Open(R"(<Cell Name="odd" flag=",,|  ?" flag_del="" UserState="abc" FieldID="x" Field=""
                  Data="" ImageList=" , " Style=""/>)");
    XUI* odd = UI(L"odd");
    EXPECT_EQ(odd->GetFlag(), XUI::UI_NOTIFYMOUSE | XUI::UI_USERSTATE);
    EXPECT_EQ(odd->GetUserStateVB(), 0);
    EXPECT_TRUE(odd->GetImageList().empty());
    EXPECT_EQ(odd->GetDataSource(), nullptr);
    EXPECT_EQ(odd->ChangeDataField(nullptr), -1);
    EXPECT_EQ(odd->GetStyle(), nullptr);
    EXPECT_EQ(Painted().At(1, 1), kWhite) << "no default style, nothing drawn";
    odd->OnPaint(nullptr);

    // Without a theme every object is drawn by nothing and built all the same.
    page.reset();
    XThemeMan::Instance().Reset();
    notices.confirms.clear();
    Open(R"(<Cell Name="bare" SELECT="True"><this.UIStyle><DrawEvent/></this.UIStyle></Cell>)");
    EXPECT_EQ(UI(L"bare")->GetStyle(), nullptr);
    UI(L"bare")->SetEvent(XEvent::MouseClick, 1);
    EXPECT_EQ(Painted().At(1, 1), kWhite);
    EXPECT_TRUE(Confirms().empty());
}

} // namespace
} // namespace orvo::test
