#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/element.h"

namespace {

using Tree = std::unique_ptr<XElement>;

// a(b(d), c)
Tree SmallTree() {
    Tree a(new XElement(L"a"));
    auto* b = new XElement(L"b");
    auto* c = new XElement(L"c");
    auto* d = new XElement(L"d");
    a->AppendChild(b);
    a->AppendChild(c);
    b->AppendChild(d);
    return a;
}

TEST(ElementAttributes, TypedWritersAndReaders) {
    XElement e(L"x");
    EXPECT_EQ(e.GetSize(), 0);
    EXPECT_EQ(e.GetAttributes(), nullptr);
    std::wstring text = L"untouched";
    EXPECT_FALSE(e.GetValue(L"missing", text));
    EXPECT_EQ(text, L"untouched");

    e.SetValue(L"Width", 42);
    e.SetValue(L"Ratio", 0.5);
    e.SetUInt(L"Colour", 4294967295u);
    e.SetBool(L"Visible", true);
    e.SetBool(L"Hidden", 0);
    e.SetValue(L"TITLE", L"Board");

    std::wstring raw;
    e.GetValue(L"ratio", raw);
    EXPECT_EQ(raw, L"0.500000") << "doubles are written with six decimals";
    e.GetValue(L"colour", raw);
    EXPECT_EQ(raw, L"4294967295");
    e.GetValue(L"visible", raw);
    EXPECT_EQ(raw, L"True");
    e.GetValue(L"hidden", raw);
    EXPECT_EQ(raw, L"False");

    int width = 0;
    EXPECT_TRUE(e.GetValue(L"WIDTH", width));
    EXPECT_EQ(width, 42);
    unsigned colour = 0;
    EXPECT_TRUE(e.GetUInt(L"colour", colour));
    EXPECT_EQ(colour, 4294967295u);
    bool visible = false;
    EXPECT_TRUE(e.GetBool(L"Visible", visible));
    EXPECT_TRUE(visible);
    int hidden = 7;
    EXPECT_TRUE(e.GetBool(L"hidden", hidden));
    EXPECT_EQ(hidden, 0);
    for (const auto& [key, value] : *e.GetAttributes())
        EXPECT_EQ(key, plat::ToLower(key)) << "keys are stored in lower case";
}

TEST(ElementAttributes, RemoveRenameAndMerge) {
    XElement e;
    EXPECT_EQ(e.RemoveKey(L"a"), 0) << "no map yet";
    e.SetValue(L"a", L"1");
    e.SetValue(L"b", L"2");
    EXPECT_EQ(e.RenameKey(L"zz", L"c"), 0);
    EXPECT_EQ(e.RenameKey(L"A", L"b"), 1);
    EXPECT_FALSE(e.HaveKey(L"a"));
    std::wstring v;
    e.GetValue(L"b", v);
    EXPECT_EQ(v, L"2") << "an existing new key keeps its value";
    EXPECT_EQ(e.RenameKey(L"b", L"New"), 1);
    EXPECT_TRUE(e.HaveKey(L"new"));
    EXPECT_FALSE(e.HaveKey(L"b"));
    EXPECT_EQ(e.RenameKey(L"new", L"NEW"), 1) << "renaming to itself keeps the value";
    EXPECT_TRUE(e.HaveKey(L"new"));

    XElement other;
    EXPECT_EQ(e.Merge(nullptr), 0);
    EXPECT_EQ(e.Merge(&other), 0);
    other.SetValue(L"new", L"9");
    other.SetValue(L"extra", L"x");
    EXPECT_EQ(e.Merge(&other), 1);
    e.GetValue(L"new", v);
    EXPECT_EQ(v, L"9") << "merge overwrites";
    EXPECT_EQ(e.GetSize(), 2);
    EXPECT_EQ(e.RemoveKey(L"EXTRA"), 1);
    EXPECT_EQ(e.RemoveKey(L"extra"), 0);
}

TEST(ElementAttributes, MakeStringAndMakeValueRoundTripWithCommas) {
    XElement e;
    e.MakeValue(L"a=1,2,b=3");
    std::wstring a, b;
    e.GetValue(L"a", a);
    e.GetValue(L"b", b);
    EXPECT_EQ(a, L"1,2");
    EXPECT_EQ(b, L"3");
    EXPECT_EQ(e.MakeString(), L"a=1,2,b=3");

    XElement f;
    f.MakeValue(L"lead,=skipped,Key=v=w,,tail");
    EXPECT_EQ(f.GetSize(), 1) << "text before the first pair and empty keys are dropped";
    f.GetValue(L"key", a);
    EXPECT_EQ(a, L"v,,tail") << "text after a second '=' is cut, later pieces are appended";
    XElement g;
    g.MakeValue(L"");
    EXPECT_EQ(g.GetSize(), 0);
}

TEST(ElementTree, AppendChildNeverLinksTwice) {
    Tree a = SmallTree();
    XElement* c = a->FindChild(L"c");
    a->AppendChild(c);
    a->AppendChild(nullptr);
    int count = 0;
    for (XElement* x = a->GetFirstChild(); x; x = x->GetNextSibling())
        ++count;
    EXPECT_EQ(count, 2);
    EXPECT_EQ(c->GetParent(), a.get());
}

TEST(ElementTree, LinkCutDetachesKeepingChildren) {
    Tree a = SmallTree();
    XElement* b = a->FindChild(L"b");
    EXPECT_EQ(b->LinkCut(), b);
    Tree owned(b);
    EXPECT_EQ(a->GetFirstChild()->GetTagName(), L"c");
    EXPECT_EQ(b->GetNextSibling(), nullptr);
    ASSERT_NE(b->GetFirstChild(), nullptr);
    EXPECT_EQ(b->GetParent(), a.get()) << "the parent field is left as it was";
    EXPECT_EQ(b->LinkCut(), nullptr) << "no longer in the parent's chain";
    XElement lone(L"lone");
    EXPECT_EQ(lone.LinkCut(), &lone);
}

TEST(ElementTree, SearchesByNameAndPath) {
    Tree a = SmallTree();
    XElement* b = a->GetFirstChild();
    EXPECT_EQ(a->FindChild(L"D"), nullptr) << "FindChild looks one level down";
    EXPECT_EQ(a->Find(L"D")->GetTagName(), L"d");
    EXPECT_EQ(b->Find(L"c")->GetTagName(), L"c") << "Find continues into following siblings";
    EXPECT_EQ(b->FindChild(L"c"), nullptr);
    EXPECT_EQ(a->FindPath(L"/"), a.get());
    EXPECT_EQ(a->FindPath(L"/B/d")->GetTagName(), L"d");
    EXPECT_EQ(a->FindPath(L"b/d"), nullptr);
    EXPECT_EQ(a->FindPath(L"/b/x"), nullptr);
    EXPECT_EQ(a->FindEx(L"/c"), a->FindChild(L"c"));
    EXPECT_EQ(a->FindEx(L"d"), a->Find(L"d"));
    EXPECT_EQ(a->FindEx(nullptr), nullptr);

    std::wstring object, method;
    XElement m(L"lib.sub.Run");
    ASSERT_TRUE(m.IsMethod(object, method));
    EXPECT_EQ(object, L"lib.sub");
    EXPECT_EQ(method, L"Run");
    EXPECT_FALSE(a->IsMethod(object, method));
}

TEST(ElementTree, CloneCopiesSubtreeAndFollowingSiblings) {
    Tree a = SmallTree();
    a->FindChild(L"b")->SetValue(L"k", L"v");
    a->FindChild(L"c")->SetText(L"txt");
    XElement* b = a->GetFirstChild();
    Tree copy(b->Clone());
    EXPECT_EQ(copy->GetParent(), nullptr);
    ASSERT_NE(copy->GetNextSibling(), nullptr);
    EXPECT_EQ(copy->GetNextSibling()->GetText(), L"txt");
    EXPECT_EQ(copy->GetNextSibling()->GetParent(), nullptr) << "siblings share the copy's parent";
    ASSERT_NE(copy->GetFirstChild(), nullptr);
    EXPECT_EQ(copy->GetFirstChild()->GetParent(), copy.get());
    std::wstring v;
    EXPECT_TRUE(copy->GetValue(L"k", v));
    b->SetValue(L"k", L"changed");
    copy->GetValue(L"k", v);
    EXPECT_EQ(v, L"v") << "attributes are copied, not shared";

    XElement host(L"host");
    Tree inner(a->CloneFromOutside(&host));
    EXPECT_EQ(inner->GetParent(), &host);
}

TEST(ElementTree, HugeSiblingChainsAndDeepTreesCloneAndDieWithoutRecursion) {
    Tree wide(new XElement(L"root"));
    XElement** slot = wide->FirstChildSlot();
    for (int i = 0; i < 100000; ++i) {
        *slot = new XElement(L"row", wide.get());
        slot = (*slot)->NextSiblingSlot();
    }
    Tree wideCopy(wide->Clone());
    int count = 0;
    for (XElement* x = wideCopy->GetFirstChild(); x; x = x->GetNextSibling())
        ++count;
    EXPECT_EQ(count, 100000);
    EXPECT_NE(wideCopy->Find(L"row"), nullptr);
    EXPECT_EQ(wideCopy->Find(L"absent"), nullptr);

    Tree deep(new XElement(L"n"));
    XElement* tip = deep.get();
    for (int i = 0; i < 100000; ++i) {
        auto* next = new XElement(L"n");
        tip->AppendChild(next);
        tip = next;
    }
    tip->SetTagName(L"leaf");
    Tree deepCopy(deep->Clone());
    EXPECT_NE(deepCopy->Find(L"leaf"), nullptr);
    deepCopy.reset();
    deep->Clear();
    EXPECT_EQ(deep->GetFirstChild(), nullptr);
    EXPECT_EQ(deep->GetTagName(), L"n") << "Clear keeps tag and text";
}

} // namespace
