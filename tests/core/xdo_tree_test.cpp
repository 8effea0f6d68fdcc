#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/xdo.h"
#include "object_tree.h"

namespace {

std::wstring Names(const std::vector<XDO*>& nodes) {
    std::wstring out;
    for (XDO* n : nodes) {
        if (!out.empty())
            out += L' ';
        out += n->GetName();
    }
    return out;
}

// root
//   a
//     a1
//     a2 (same name as b's child "twin")
//   b
//     twin
//     b2
//   c
const char* kTree = R"(<Screen Name="root">
  <P Name="a"><P Name="a1"/><P Name="twin"/></P>
  <P Name="b"><P Name="twin"/><P Name="b2"/></P>
  <P Name="c"/>
</Screen>)";

TEST(XdoSearch, DownSearchesCoverSubtreeThenLaterSiblingsInPreOrder) {
    auto root = test::BuildTree(kTree);
    ASSERT_TRUE(root);
    XDO* a = test::Find(root.get(), L"a");
    XDO* b = test::Find(root.get(), L"b");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(root->GetObjByNameDown(L"TWIN")->parent(), a) << "pre-order: a's subtree comes first";
    EXPECT_EQ(b->GetObjByNameDown(L"twin")->parent(), b);
    EXPECT_EQ(a->child()->GetObjByNameDown(L"c"), nullptr)
        << "later siblings of ancestors are not searched";
    EXPECT_EQ(a->child()->GetObjByNameDown(L"b2"), nullptr);
    EXPECT_EQ(a->GetObjByNameDown(L"b2")->GetName(), L"b2") << "a's later siblings are searched";
    EXPECT_EQ(root->GetObjByNameDown(L""), nullptr);
    EXPECT_EQ(root->GetObjByNameDown(nullptr), nullptr);
}

TEST(XdoSearch, LocalSearchStopsAtNestedScreens) {
    auto root = test::BuildTree(
        R"(<Screen Name="root"><P Name="host"><P Name="inner"><P Name="deep"/></P><P Name="after"/></P></Screen>)");
    XDO* inner = test::Find(root.get(), L"inner");
    inner->SetObjectStyle(inner->GetObjectStyle() | XDO_STYLE_SCREEN);
    XDO* host = test::Find(root.get(), L"host");
    EXPECT_EQ(host->GetLocalObjByNameDown(L"deep"), nullptr);
    EXPECT_EQ(host->GetLocalObjByNameDown(L"inner"), nullptr)
        << "the nested screen itself is not answered";
    EXPECT_EQ(host->GetObjByNameDown(L"deep")->GetName(), L"deep");
    EXPECT_EQ(host->GetLocalObjByNameDown(L"host"), host);
}

TEST(XdoSearch, UpSearchLooksAtEarlierChildrenThenTheAncestor) {
    auto root = test::BuildTree(kTree);
    XDO* b2 = test::Find(root.get(), L"b2");
    XDO* b = test::Find(root.get(), L"b");
    EXPECT_EQ(b2->GetObjByNameUp(L"twin")->parent(), b) << "the nearer earlier sibling wins";
    EXPECT_EQ(b2->GetObjByNameUp(L"b"), b);
    EXPECT_EQ(b2->GetObjByNameUp(L"a"), test::Find(root.get(), L"a"));
    EXPECT_EQ(b2->GetObjByNameUp(L"c"), nullptr)
        << "children after the climbed-from one are not searched";
    EXPECT_EQ(b2->GetObjByNameUp(L"a1"), nullptr) << "only direct children of ancestors";
    EXPECT_EQ(b2->GetObjByNameUp(L"root"), root.get());
}

TEST(XdoSearch, NearSearchPrefersTheOwnSubtreeThenWidens) {
    auto root = test::BuildTree(kTree);
    XDO* a = test::Find(root.get(), L"a");
    XDO* b = test::Find(root.get(), L"b");
    XDO* c = test::Find(root.get(), L"c");
    EXPECT_EQ(b->GetNearObjByName(L"twin")->parent(), b);
    EXPECT_EQ(a->GetNearObjByName(L"twin")->parent(), a);
    // From c, root's other children nearest first: b's subtree before a's.
    EXPECT_EQ(c->GetNearObjByName(L"twin")->parent(), b);
    EXPECT_EQ(test::Find(root.get(), L"a1")->GetNearObjByName(L"twin")->parent(), a);
    EXPECT_EQ(a->child()->GetNearObjByName(L"root"), root.get());
    EXPECT_EQ(a->GetNearObjByName(L"nobody"), nullptr);
    EXPECT_TRUE(a->FindObjectInTree(c, 0));
    EXPECT_EQ(root->GetNearObjByKey(L"xdo"), root.get()) << "the object itself comes first";
}

// Namesakes at every distance from "me": each lookup must find the nearest one.
TEST(XdoSearch, NearSearchFindsTheNamesakeAtTheSmallestDistance) {
    auto root = test::BuildTree(R"(<P Name="top">
        <P Name="uncle"><P Name="cousinsChild"/></P>
        <P Name="parent">
          <P Name="olderSibling"><P Name="X3"/><P Name="Y2"/></P>
          <P Name="me">
            <P Name="first"><P Name="X2"/><P Name="Y1"/></P>
            <P Name="X1"/>
          </P>
          <P Name="youngerSibling"><P Name="Z"/></P>
          <P Name="Z"/>
        </P>
        <P Name="W"/>
        <P Name="V"><P Name="Y2"/></P>
      </P>)");
    XDO* me = test::Find(root.get(), L"me");
    ASSERT_NE(me, nullptr);
    auto nearest = [me](const wchar_t* name) {
        XDO* found = me->GetNearObjByName(name);
        return found ? found->parent()->GetName() + L"/" + found->GetName() : std::wstring(L"-");
    };
    EXPECT_EQ(me->GetNearObjByName(L"me"), me) << "the object itself";
    EXPECT_EQ(nearest(L"x1"), L"me/X1")
        << "a child before a deeper grandchild in an earlier branch";
    EXPECT_EQ(nearest(L"x2"), L"first/X2");
    EXPECT_EQ(nearest(L"parent"), L"top/parent") << "the parent before its other children";
    EXPECT_EQ(nearest(L"z"), L"parent/Z") << "a sibling before a sibling's child";
    EXPECT_EQ(nearest(L"y2"), L"olderSibling/Y2") << "the parent's band before the grandparent's";
    EXPECT_EQ(nearest(L"w"), L"top/W");
    EXPECT_EQ(nearest(L"cousinsChild"), L"uncle/cousinsChild");
    EXPECT_EQ(test::Find(root.get(), L"first")->GetNearObjByName(L"X1")->parent(), me)
        << "own subtree first, then the parent's band";
}

struct Visit {
    int phase;
    std::wstring name;
    int direction;
};

int Record(int phase, XDO* node, TREE_SCAN_INFO<XDO>& info) {
    static_cast<std::vector<Visit>*>(info.user)->push_back(
        {phase, node->GetName(), info.direction});
    return 1;
}

std::wstring Visits(const std::vector<Visit>& visits) {
    std::wstring out;
    for (const Visit& v : visits) {
        if (v.phase != orvo::ScanVisit)
            continue;
        if (!out.empty())
            out += L' ';
        out += v.name + L"/" + std::to_wstring(v.direction);
    }
    return out;
}

TEST(XdoScan, ScanTreeDownVisitsTheSubtreeNearestFirstThenWidens) {
    auto root = test::BuildTree(kTree);
    XDO* b = test::Find(root.get(), L"b");
    std::vector<Visit> visits;
    TREE_SCAN_INFO<XDO> info;
    info.callback = &Record;
    info.user = &visits;
    b->ScanTreeDown(info);
    // b and its children; then root, root's other children, their children.
    EXPECT_EQ(Visits(visits), L"b/0 twin/2 b2/2 root/1 a/2 c/2 a1/2 twin/2");
}

TEST(XdoScan, ScanOrdersDifferAsNamed) {
    auto root =
        test::BuildTree(R"(<Screen Name="r"><P Name="x"><P Name="x1"/></P><P Name="y"/></Screen>)");
    XDO* x = test::Find(root.get(), L"x");
    auto order = [&](auto scan) {
        std::vector<Visit> visits;
        TREE_SCAN_INFO<XDO> info;
        info.callback = &Record;
        info.user = &visits;
        scan(x, info);
        return Visits(visits);
    };
    EXPECT_EQ(order([](XDO* n, auto& i) { n->ScanTree(i); }), L"x1/2 x/0 y/3 r/1");
    EXPECT_EQ(order([](XDO* n, auto& i) { n->ScanTreeSCNP(i); }), L"x/0 x1/2 y/3 r/1");
    EXPECT_EQ(order([](XDO* n, auto& i) { n->ScanTreeNCSP(i); }), L"y/3 x1/2 x/0 r/1");
    EXPECT_EQ(order([](XDO* n, auto& i) { n->ScanTreeCNSP(i); }), L"x1/2 y/3 x/0 r/1");
}

int Steer(int phase, XDO* node, TREE_SCAN_INFO<XDO>& info) {
    auto* visits = static_cast<std::vector<Visit>*>(info.user);
    visits->push_back({phase, node->GetName(), info.direction});
    if (phase == orvo::ScanClimb)
        info.climb = false;
    if (phase == orvo::ScanDescend && node->GetName() == L"a")
        info.descend = false;
    if (phase == orvo::ScanVisit && node->GetName() == L"c")
        info.stop = true;
    return 1;
}

TEST(XdoScan, CallbacksSteerClimbDescendNextAndStop) {
    auto root = test::BuildTree(kTree);
    std::vector<Visit> visits;
    TREE_SCAN_INFO<XDO> info;
    info.callback = &Steer;
    info.user = &visits;
    root->ScanTreeDown(info);
    // a's children are kept out, c stops the walk before b's children are met.
    EXPECT_EQ(Visits(visits), L"root/0 a/2 b/2 c/2");
    EXPECT_TRUE(info.stop);

    std::vector<Visit> skipped;
    TREE_SCAN_INFO<XDO> skipInfo;
    skipInfo.callback = &Record;
    skipInfo.user = &skipped;
    skipInfo.skip = test::Find(root.get(), L"b");
    root->ScanTreeDown(skipInfo);
    EXPECT_EQ(Visits(skipped), L"root/0 a/2 c/2 a1/2 twin/2") << "b is neither visited nor entered";
}

TEST(XdoSearch, ElderWalkGoesToEarlierSiblingsThenUp) {
    auto root = test::BuildTree(kTree);
    XDO* b2 = test::Find(root.get(), L"b2");
    std::vector<XDO*> seen;
    b2->ScanTreeElder([&](XDO* n) {
        seen.push_back(n);
        return false;
    });
    EXPECT_EQ(Names(seen), L"b2 twin b a root");
    XDO* hit = b2->ScanTreeElder([](XDO* n) { return n->GetName() == L"a"; });
    EXPECT_EQ(hit, test::Find(root.get(), L"a"));
}

TEST(XdoSearch, KindAndKeySearches) {
    auto root = test::BuildTree(kTree);
    XDO* a1 = test::Find(root.get(), L"a1");
    XDO* b = test::Find(root.get(), L"b");
    b->SetObjectStyle(b->GetObjectStyle() | XDO_STYLE_SELECTOR);
    root->SetObjectStyle(root->GetObjectStyle() | XDO_STYLE_SCREEN);
    b->SetKeyText(L"Panel");
    EXPECT_EQ(a1->GetXDO(XDO_STYLE_SCREEN, 0), root.get());
    EXPECT_EQ(root->GetXDO(XDO_STYLE_SCREEN, 1), nullptr) << "up starts at the parent";
    EXPECT_EQ(root->GetXDODown(L"PANEL"), b);
    EXPECT_EQ(root->GetFirstObject(XDO_STYLE_SELECTOR), b);
    EXPECT_EQ(a1->GetXDO(L"panel", 0), nullptr);
    EXPECT_EQ(b->child()->GetXDO(L"panel", 0), b);
    XDO* c = test::Find(root.get(), L"c");
    EXPECT_EQ(c->GetSelector(L"B", 0), b) << "an earlier sibling is an elder";
    EXPECT_EQ(a1->GetSelector(L"b", 0), nullptr) << "a later branch is not";
}

TEST(XdoAddress, PtrTextsResolveOnlyToLiveObjects) {
    auto root = test::BuildTree(kTree);
    XDO* b = test::Find(root.get(), L"b");
    std::wstring text = XdoToPtr(b);
    EXPECT_EQ(text.rfind(L"ptr:", 0), 0u);
    EXPECT_EQ(PtrToXdo(text), b);
    EXPECT_EQ(FindLink(root.get(), text), b);
    EXPECT_EQ(PtrToXdo(L"ptr:"), nullptr);
    EXPECT_EQ(PtrToXdo(L"ptr:12abc"), nullptr);
    EXPECT_EQ(PtrToXdo(L"ptr:99999999999999999999999"), nullptr);
    EXPECT_EQ(PtrToXdo(L"ptr:-1"), nullptr);
    std::uintptr_t address = reinterpret_cast<std::uintptr_t>(b) + 8;
    EXPECT_EQ(PtrToXdo(L"ptr:" + std::to_wstring(address)), nullptr)
        << "inside an object is no object";
    XDO* gone = test::Find(root.get(), L"c");
    std::wstring stale = XdoToPtr(gone);
    gone->LinkCut(1, nullptr);
    EXPECT_EQ(PtrToXdo(stale), nullptr);
    EXPECT_EQ(FindLink(root.get(), L"c"), nullptr);
}

TEST(XdoAddress, LinksDataAndOpeners) {
    auto opener =
        test::BuildTree(R"(<Screen Name="main"><P Name="code" DataValue="005930"/></Screen>)");
    auto screen =
        test::BuildTree(R"(<Screen Name="child"><P Name="price" DataValue="71000"/></Screen>)");
    XDO* price = test::Find(screen.get(), L"price");
    auto* params = new XElement(L"param");
    params->SetValue(L"__Opener", XdoToPtr(opener.get()));
    screen->SetParamElement(params);

    EXPECT_EQ(GetOpener(price), opener.get());
    EXPECT_EQ(FindLink(price, L"opener.code"), test::Find(opener.get(), L"code"));
    EXPECT_EQ(FindLink(price, L"Link(opener.code)"), test::Find(opener.get(), L"code"));
    EXPECT_EQ(FindLink(price, L"Link(Link(price))"), price);
    EXPECT_EQ(FindLink(price, L"opener.opener.code"), nullptr) << "the opener has no opener";
    EXPECT_EQ(FindLink(price, L"Link(price"), nullptr);
    EXPECT_EQ(FindData(price, L"Data(opener.code)"), L"005930");
    EXPECT_EQ(FindData(price, L"Data(price)"), L"71000");
    EXPECT_EQ(FindData(price, L"Data(nowhere)"), L"Data(nowhere)");
    EXPECT_EQ(FindData(price, L"plain text"), L"plain text");
    EXPECT_EQ(FindData(price, L"Data(price"), L"Data(price");
    EXPECT_EQ(XDO_SetData(price, L"opener.code", L"000660"), 1);
    EXPECT_EQ(FindData(price, L"Data(opener.code)"), L"000660");
    EXPECT_EQ(XDO_SetData(price, L"nobody", L"x"), 0);

    FrameAutoClose(price, 1);
    EXPECT_EQ(price->GetScreenItem(L"Frame_AutoClose"), L"True");
    EXPECT_EQ(price->GetScreenItem(L"__opener"), XdoToPtr(opener.get()));
    EXPECT_EQ(test::Find(opener.get(), L"code")->GetScreenItem(L"x"), L"")
        << "no parameter element";

    opener.reset();
    EXPECT_EQ(GetOpener(price), nullptr) << "a closed opener is gone";
    EXPECT_EQ(FindLink(price, L"opener.code"), nullptr);
}

TEST(XdoListener, RegistrationSkipsMissingBlankAndRepeatedNames) {
    auto root = test::BuildTree(
        R"(<Screen Name="root"><P Name="src" Listener=" a, ,missing, b ,a" NotifyID="7"/><P Name="a"/><P Name="b"/></Screen>)");
    XDO* src = test::Find(root.get(), L"src");
    XDO* a = test::Find(root.get(), L"a");
    XDO* b = test::Find(root.get(), L"b");
    EXPECT_TRUE(src->GetListeners().empty()) << "registered only when AfterCreate runs";
    src->RunObjectEvent(EVT_AFTERCREATE);
    ASSERT_EQ(src->GetListeners().size(), 2u);
    EXPECT_EQ(src->GetListeners()[0], a);
    EXPECT_EQ(src->GetListeners()[1], b);
    ASSERT_EQ(a->GetNotifiers().size(), 1u);
    EXPECT_EQ(a->GetNotifiers()[0], src);
    src->RunObjectEvent(EVT_AFTERCREATE);
    EXPECT_EQ(src->GetListeners().size(), 2u) << "the names are used once";

    static std::vector<std::wstring> calls;
    calls.clear();
    auto note = [](XDO* self, XDO* notifier, int id, int x, int y) {
        calls.push_back(self->GetName() + L"<" + notifier->GetName() + L":" + std::to_wstring(id) +
                        L"," + std::to_wstring(x) + L"," + std::to_wstring(y));
    };
    a->SetOnNotifierChanged(note);
    b->SetOnNotifierChanged(note);
    src->NotifyChange(1, 2);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], L"a<src:7,1,2");
    EXPECT_EQ(calls[1], L"b<src:7,1,2");

    a->LinkCut(1, nullptr);
    ASSERT_EQ(src->GetListeners().size(), 1u) << "a destroyed listener leaves the list";
    EXPECT_EQ(src->GetListeners()[0], b);
    src->LinkCut(1, nullptr);
    EXPECT_TRUE(b->GetNotifiers().empty()) << "a destroyed notifier leaves the other side too";
}

TEST(XdoListener, RemovingListenersDuringNotificationSkipsNobody) {
    auto root = test::BuildTree(
        R"(<Screen Name="root"><P Name="src" Listener="l1,l2,l3,l4"/><P Name="l1"/><P Name="l2"/><P Name="l3"/><P Name="l4"/></Screen>)");
    XDO* src = test::Find(root.get(), L"src");
    src->RunObjectEvent(EVT_AFTERCREATE);
    static std::vector<std::wstring> calls;
    calls.clear();
    // l2 destroys l1 (already called) and itself; l3 and l4 must still be called once each.
    auto handler = [](XDO* self, XDO*, int, int, int) {
        calls.push_back(self->GetName());
        if (self->GetName() == L"l2") {
            self->GetTopParent()->GetObjByNameDown(L"l1")->LinkCut(1, nullptr);
            self->LinkCut(1, nullptr);
        }
    };
    for (const wchar_t* n : {L"l1", L"l2", L"l3", L"l4"})
        test::Find(root.get(), n)->SetOnNotifierChanged(handler);
    src->NotifyChange(0, 0);
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[2], L"l3");
    EXPECT_EQ(calls[3], L"l4");
    EXPECT_EQ(src->GetListeners().size(), 2u);

    // A listener that destroys the notifier ends the loop without touching it again.
    calls.clear();
    test::Find(root.get(), L"l3")
        ->SetOnNotifierChanged([](XDO* self, XDO* notifier, int, int, int) {
            calls.push_back(self->GetName());
            notifier->LinkCut(1, nullptr);
        });
    src->NotifyChange(0, 0);
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(test::Find(root.get(), L"src"), nullptr);
}

TEST(XdoSettings, SaveAndLoadMeetTheSameSections) {
    class ScreenRoot : public XDO {
    public:
        XElement* GetSettingsElement(int create) override {
            if (!settings && create)
                settings = std::make_unique<XElement>(L"Settings");
            return settings.get();
        }
        std::unique_ptr<XElement> settings;
    };
    auto root = std::make_unique<ScreenRoot>();
    XElement rootElement(L"Screen");
    rootElement.SetValue(L"Name", L"board");
    root->SetElement(&rootElement);
    root->SetObjectStyle(root->GetObjectStyle() | XDO_STYLE_SCREEN);
    auto* panel = new XDO();
    auto* unnamed = new XDO();
    auto* field = new XDO();
    root->AddChild(panel);
    panel->AddChild(unnamed);
    unnamed->AddChild(field);
    XElement e(L"P");
    e.SetValue(L"Name", L"panel");
    panel->SetElement(&e);
    XElement f(L"P");
    f.SetValue(L"Name", L"qty");
    f.SetValue(L"Save", L"True");
    f.SetValue(L"DataValue", L"100");
    field->SetElement(&f);

    EXPECT_EQ(field->GetSaveSection(0), nullptr) << "nothing saved yet";
    XElement* section = field->GetSaveSection(1);
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(field->GetSaveSection(0), section) << "found again, not created twice";
    XElement* panelSection = root->GetSettingsElement(0)->GetFirstChild();
    ASSERT_NE(panelSection, nullptr);
    EXPECT_EQ(panelSection->GetFirstChild(), section) << "unnamed objects add no level";
    EXPECT_EQ(root->GetSaveSection(0), root->GetSettingsElement(0));

    XElement settings(L"s");
    root->SaveObject(&settings);
    std::wstring saved;
    EXPECT_TRUE(settings.GetValue(L"qty", saved));
    EXPECT_EQ(saved, L"100");
    EXPECT_FALSE(settings.HaveKey(L"panel")) << "only objects with Save take part";
    settings.SetValue(L"qty", L"250");
    root->LoadObject(&settings);
    EXPECT_EQ(field->GetDataValueVB(), L"250");
}

TEST(XdoLifecycle, DestructionOrderAndDeepOrWideTrees) {
    static std::vector<std::wstring> order;
    order.clear();
    class Noisy : public XDO {
    public:
        ~Noisy() override { order.push_back(GetName() + (child() ? L"+" : L"")); }
    };
    auto make = [](const wchar_t* name) {
        auto* n = new Noisy();
        n->SetName(name);
        return n;
    };
    auto* root = make(L"r");
    auto* a = make(L"a");
    auto* b = make(L"b");
    root->AddChild(a);
    root->AddChild(b);
    a->AddChild(make(L"a1"));
    b->AddChild(make(L"b1"));
    delete root;
    // Each object still sees its children while it is destroyed; later siblings go before
    // earlier siblings' children, as a recursive delete would have it.
    std::wstring joined;
    for (const auto& s : order)
        joined += s + L" ";
    EXPECT_EQ(joined, L"r+ a+ b+ b1 a1 ");

    auto wide = orvo::XDOPtr(new XDO());
    for (int i = 0; i < 100000; ++i)
        wide->AddChild(new XDO());
    wide.reset();
    auto deep = orvo::XDOPtr(new XDO());
    XDO* tip = deep.get();
    for (int i = 0; i < 100000; ++i) {
        auto* n = new XDO();
        tip->AddChild(n);
        tip = n;
    }
    tip->SetName(L"bottom");
    EXPECT_EQ(deep->GetObjByNameDown(L"bottom"), tip);
    EXPECT_EQ(tip->GetNearObjByName(L"nothing"), nullptr);
    deep.reset();
}

TEST(XdoLifecycle, LinkCutWithReplacementKeepsThePlace) {
    auto root = test::BuildTree(kTree);
    XDO* b = test::Find(root.get(), L"b");
    auto* fresh = new XDO();
    fresh->SetName(L"fresh");
    XDO* cut = b->LinkCut(0, fresh);
    orvo::XDOPtr owned(cut);
    EXPECT_EQ(cut, b);
    EXPECT_EQ(b->parent(), nullptr);
    EXPECT_EQ(b->next(), nullptr);
    EXPECT_EQ(test::Find(root.get(), L"a")->next(), fresh);
    EXPECT_EQ(fresh->next(), test::Find(root.get(), L"c"));
    EXPECT_EQ(fresh->parent(), root.get());
    EXPECT_NE(b->child(), nullptr) << "the cut object keeps its subtree";
}

TEST(XdoElement, CommonAttributesAndDeclarations) {
    auto root = test::BuildTree(
        R"(<Screen Name="  spaced  " Param="p" DataValue="1234.5" Format="#,##0.00" Save="True">
        <Event Trigger="Object.Run" Action="Sys.Nothing"/>
        <Radio/>
      </Screen>)");
    // Screen parameters arrive as the children of a "__param__" declaration.
    XElement declaration(L"__param__");
    auto* item = new XElement(L"item");
    item->SetValue(L"code", L"005930");
    declaration.AppendChild(item);
    root->SetMethod(L"__PARAM__", &declaration);
    EXPECT_EQ(declaration.GetFirstChild(), nullptr) << "the declaration keeps no children";
    EXPECT_EQ(root->GetName(), L"spaced");
    EXPECT_EQ(root->GetParameter(), L"p");
    EXPECT_EQ(root->IsSaveLoad(), 1);
    EXPECT_EQ(root->GetCreateState(), 2);
    root->SetData(L"5000");
    EXPECT_EQ(root->GetDataValueVB(), L"5,000.00") << "values pass through the format";
    EXPECT_EQ(root->GetScreenItem(L"code"), L"005930");
    ASSERT_NE(root->GetEventSlot(EVT_RUN), nullptr);
    EXPECT_EQ(root->RunObjectEvent(EVT_RUN), 1);
    EXPECT_EQ(root->GetCreateState(), 4);
    EXPECT_EQ(root->child(), nullptr) << "declarations make no objects";
}

} // namespace

namespace {
struct OtherBase {
    virtual ~OtherBase() = default;
    int padding = 0;
};
// A screen object whose XDO part does not start the object.
class SecondBaseObject : public OtherBase, public XDO {};
} // namespace

// The kind test by mark must give what dynamic_cast gives, pointer adjustment included.
TEST(XdoKinds, ScreenObjectsAreKnownByTheirMarkAsDynamicCastFindsThem) {
    orvo::XDOPtr plain(new XDO);
    auto* second = new SecondBaseObject;
    orvo::XDOPtr secondOwner(second);
    XElement element(L"x");
    for (IXO* object :
         {static_cast<IXO*>(plain.get()), static_cast<IXO*>(second), static_cast<IXO*>(&element)})
        EXPECT_EQ(orvo::KindOf<XDO>(object), dynamic_cast<XDO*>(object));
    EXPECT_EQ(orvo::KindOf<XDO>(static_cast<IXO*>(second)), static_cast<XDO*>(second));
    EXPECT_EQ(orvo::KindOf<XDO>(&element), nullptr);
    EXPECT_EQ(orvo::KindOf<XDO>(nullptr), nullptr);
}
