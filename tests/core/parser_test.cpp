#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/attribute_bundle.h"
#include "core/element.h"
#include "core/notice_man.h"
#include "core/xml_parser.h"
#include "platform/base/string_map.h"
#include "support/recording_presenter.h"
#include "support/temp_dir.h"

namespace {

using Tree = std::unique_ptr<XElement>;

Tree Parse(std::string_view bytes) {
    XElement* root = nullptr;
    auto* parser = dynamic_cast<XMLParser*>(IXO::GetIXO(L"Parser"));
    if (!parser || !parser->ParseMemory(bytes, &root))
        return nullptr;
    return Tree(root);
}

class Bundle : public IXO, public orvo::AttributeBundle {
public:
    const CMapStringToString& GetBundle() const override { return values; }
    CMapStringToString values;
};

class FakeAttributeSet : public IXO {
    ORVO_DISPATCH_MAP()

public:
    IXO* GetAttributeByName(const wchar_t* name) {
        return std::wstring_view(name) == L"Blue" || std::wstring_view(name) == L"blue" ? &blue
                                                                                        : nullptr;
    }
    Bundle blue;
};

ORVO_DISPATCH(FakeAttributeSet, IXO, ORVO_METHOD(GetAttributeByName))

class ParserTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previousPresenter = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&notices);
        m_previousSet = IXO::FindInstance(L"attributeset");
    }
    void TearDown() override {
        XNoticeMan::Instance().SetPresenter(m_previousPresenter);
        if (m_previousSet)
            IXO::Register(L"attributeset", m_previousSet);
        else
            IXO::Unregister(L"attributeset");
    }
    RecordingPresenter notices;

private:
    orvo::NoticePresenter* m_previousPresenter = nullptr;
    IXO* m_previousSet = nullptr;
};

TEST_F(ParserTest, ParserIsRegisteredAndReachableByName) {
    IXO* parser = IXO::GetIXO(L"parser");
    ASSERT_NE(parser, nullptr);
    EXPECT_EQ(parser, IXO::GetIXO(L"PARSER")) << "one instance for the process";
    EXPECT_TRUE((parser->GetFunction<int(const wchar_t*, XElement**)>(L"doparse")));
    IXO* element = IXO::GetIXO(L"Element");
    ASSERT_NE(dynamic_cast<XElement*>(element), nullptr);
    EXPECT_STREQ(element->GetIXOKey(), L"Element");
    delete element;
}

TEST_F(ParserTest, RootFollowsDeclarationAndCommentsAndWhiteSpaceIsNotText) {
    Tree root =
        Parse("<?xml version=\"1.0\"?>\n<!-- header -->\n<?pi data?>\n"
              "<Screen Name=\"Main\">\n  <Button/>\n  <!-- c --> <Label>Hi</Label>\n</Screen>\n");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->GetTagName(), L"Screen");
    EXPECT_EQ(root->GetText(), L"") << "indentation must not become the element's text";
    EXPECT_EQ(root->GetParent(), nullptr);
    XElement* button = root->GetFirstChild();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetTagName(), L"Button");
    EXPECT_EQ(button->GetParent(), root.get());
    XElement* label = button->GetNextSibling();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetText(), L"Hi");
    EXPECT_EQ(label->GetNextSibling(), nullptr);
    EXPECT_EQ(root->GetNextSibling(), nullptr);
}

TEST_F(ParserTest, TextIsTheLastTextChildAndCdataOrCommentsNeverReachTheTree) {
    Tree root = Parse("<a>first<b/>second<c><![CDATA[hidden]]></c><d>x<!--note-->y</d></a>");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->GetText(), L"second");
    XElement* c = root->FindChild(L"C");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->GetText(), L"");
    EXPECT_EQ(c->GetFirstChild(), nullptr);
    XElement* d = root->FindChild(L"d");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->GetText(), L"y");
}

TEST_F(ParserTest, AttributeKeysAreLowerCaseAndTheLaterSpellingWins) {
    // Two spellings of one key are distinct to the XML parser but one key to us.
    Tree root = Parse("<Grid Name=\"first\" name=\"second\" ROWS=\"10\" amp=\"a&amp;b\"/>");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->GetSize(), 3);
    std::wstring name;
    ASSERT_TRUE(root->GetValue(L"NAME", name));
    EXPECT_EQ(name, L"second");
    int rows = 0;
    ASSERT_TRUE(root->GetValue(L"rows", rows));
    EXPECT_EQ(rows, 10);
    for (const auto& [key, value] : *root->GetAttributes())
        EXPECT_EQ(key, plat::ToLower(key));
    root->GetValue(L"amp", name);
    EXPECT_EQ(name, L"a&b");
}

TEST_F(ParserTest, UnderscoreElementsGiveTheirAttributesToTheParent) {
    Tree root = Parse("<Button Name=\"ok\"><_font face=\"Gulim\" size=\"9\"/><Label/></Button>");
    ASSERT_TRUE(root);
    std::wstring face;
    EXPECT_TRUE(root->GetValue(L"face", face));
    EXPECT_EQ(face, L"Gulim");
    ASSERT_NE(root->GetFirstChild(), nullptr);
    EXPECT_EQ(root->GetFirstChild()->GetTagName(), L"Label") << "no element is made for _font";
    EXPECT_EQ(root->GetFirstChild()->GetNextSibling(), nullptr);
}

// What a "_" element holds belongs to its parent, in its place; nothing is dropped or lost.
TEST_F(ParserTest, WhatAnUnderscoreElementHoldsJoinsTheParentInItsPlace) {
    Tree root = Parse("<r><a/><_ x=\"1\"><b/><c><_ y=\"2\"><d/></_></c>hi</_><e/></r>");
    ASSERT_TRUE(root);
    std::wstring tags;
    for (XElement* c = root->GetFirstChild(); c; c = c->GetNextSibling()) {
        tags += c->GetTagName();
        EXPECT_EQ(c->GetParent(), root.get()) << c->GetTagName();
    }
    EXPECT_EQ(tags, L"abce");
    EXPECT_TRUE(root->HaveKey(L"x"));
    EXPECT_EQ(root->GetText(), L"hi");
    XElement* c = root->FindChild(L"c");
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->HaveKey(L"y"));
    ASSERT_NE(c->GetFirstChild(), nullptr);
    EXPECT_EQ(c->GetFirstChild()->GetTagName(), L"d");
    EXPECT_EQ(c->GetFirstChild()->GetParent(), c);
}

TEST_F(ParserTest, AttributeSetsFillOnlyMissingKeysAndReportUnknownNames) {
    FakeAttributeSet set;
    set.blue.values.Set(L"color", L"blue");
    set.blue.values.Set(L"width", L"3");
    IXO::Register(L"attributeset", &set); // registered lower case, looked up as "AttributeSet"
    Tree root = Parse("<a><b attribute=\"Blue\" width=\"7\"/><c attribute=\"Missing\"/></a>");
    ASSERT_TRUE(root);
    XElement* b = root->FindChild(L"b");
    std::wstring color, width;
    ASSERT_TRUE(b->GetValue(L"color", color));
    EXPECT_EQ(color, L"blue");
    b->GetValue(L"width", width);
    EXPECT_EQ(width, L"7") << "values written on the element win";
    XElement* c = root->FindChild(L"c");
    EXPECT_EQ(c->GetSize(), 1) << "an unknown set leaves the element unchanged";
    ASSERT_EQ(notices.confirms.size(), 1u);
    EXPECT_EQ(notices.confirms[0].text, L"Attribute not found. [Missing]");
}

TEST_F(ParserTest, WithoutAnAttributeSetEveryReferenceIsReported) {
    Tree root = Parse("<a attribute=\"x\"/>");
    ASSERT_TRUE(root);
    ASSERT_EQ(notices.confirms.size(), 1u);
    EXPECT_EQ(notices.confirms[0].text, L"Attribute not found. [x]");
}

TEST_F(ParserTest, KoreanEncodingsDecode) {
    const std::wstring expected = L"\xD55C\xAE00\xB620"; // 한글똠 (똠 exists only in CP949)
    const std::string cp949 = "\xC7\xD1\xB1\xDB\x8C\x63";
    for (const char* declared : {"euc-kr", "EUC-KR", "cp949", "ks_c_5601-1987"}) {
        std::string file = std::string("<?xml version=\"1.0\" encoding=\"") + declared +
                           "\"?><t v=\"" + cp949 + "\">" + cp949 + "</t>";
        Tree root = Parse(file);
        ASSERT_TRUE(root) << declared;
        EXPECT_EQ(root->GetText(), expected) << declared;
        std::wstring v;
        root->GetValue(L"v", v);
        EXPECT_EQ(v, expected) << declared;
    }
    const std::string utf8 = "\xED\x95\x9C\xEA\xB8\x80\xEB\x98\xA0";
    Tree plain = Parse("<?xml version=\"1.0\" encoding=\"utf-8\"?><t>" + utf8 + "</t>");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->GetText(), expected);
    Tree bom = Parse("\xEF\xBB\xBF<t>" + utf8 + "</t>");
    ASSERT_TRUE(bom);
    EXPECT_EQ(bom->GetText(), expected);
    // A byte-order mark outranks a declaration that says otherwise.
    Tree both = Parse("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"euc-kr\"?><t>" + utf8 + "</t>");
    ASSERT_TRUE(both);
    EXPECT_EQ(both->GetText(), expected);
    // No declaration, no BOM, not UTF-8: the Windows ANSI code page is assumed.
    Tree ansi = Parse("<t>" + cp949 + "</t>");
    ASSERT_TRUE(ansi);
    EXPECT_EQ(ansi->GetText(), expected);
}

TEST_F(ParserTest, BadInputYieldsNoTree) {
    EXPECT_FALSE(Parse(""));
    EXPECT_FALSE(Parse("<a><b></a>"));
    EXPECT_FALSE(Parse("<a>"));
    EXPECT_FALSE(Parse("<?xml version=\"1.0\" encoding=\"utf-8\"?><a>\xFF\xFE</a>"));
    EXPECT_FALSE(Parse("<?xml version=\"1.0\" encoding=\"no-such-encoding\"?><a/>"));
    EXPECT_FALSE(Parse("<a/><b/>")) << "a second top-level element is malformed markup";
    EXPECT_FALSE(Parse(std::string("<a>\0</a>", 8)));
    // Entities defined in a DTD are neither expanded into the tree nor fetched.
    Tree dtd = Parse("<!DOCTYPE a [<!ENTITY e SYSTEM \"/etc/passwd\">]><a>&e;</a>");
    if (dtd) {
        EXPECT_EQ(dtd->GetText().find(L"root"), std::wstring::npos);
    }
}

// A refused file says where and what, in libxml2's words for the fault itself.
TEST_F(ParserTest, AFaultIsReportedWithItsPlaceAndCause) {
    XMLParser parser;
    XElement* root = nullptr;
    const auto fault = [&](std::string_view bytes) {
        EXPECT_FALSE(parser.ParseMemory(bytes, &root));
        return parser.LastError();
    };
    EXPECT_EQ(fault("<?xml version=\"1.0\"?>\n<lib Name=\"a\">\n  <lib>\n</lib>\n"),
              L"line 5, column 1: Premature end of data in tag lib line 2");
    EXPECT_EQ(fault("<a>\n<b></c>\n</a>"),
              L"line 2, column 8: Opening and ending tag mismatch: b line 2 and c");
    EXPECT_EQ(fault("\xEF\xBB\xBF<a x=1/>"), L"line 1, column 6: AttValue: \" or ' expected");
    EXPECT_EQ(root, nullptr);
}

TEST_F(ParserTest, DeepNestingIsRefusedWithoutCrashing) {
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    for (int i = 0; i < 100000; ++i)
        deep += "</a>";
    Tree root = Parse(deep);
    if (root) { // a parser allowing it must still have built a proper chain
        int depth = 0;
        for (XElement* e = root.get(); e; e = e->GetFirstChild())
            ++depth;
        EXPECT_EQ(depth, 100000);
    }
}

TEST_F(ParserTest, LargeFilesParse) {
    // About 50 MB: 50,000 elements with a 1 KB attribute each.
    std::string big = "<root>";
    const std::string value(1000, 'x');
    for (int i = 0; i < 50000; ++i)
        big += "<row v=\"" + value + "\"/>";
    big += "</root>";
    Tree root = Parse(big);
    ASSERT_TRUE(root);
    int rows = 0;
    for (XElement* e = root->GetFirstChild(); e; e = e->GetNextSibling())
        ++rows;
    EXPECT_EQ(rows, 50000);
}

TEST_F(ParserTest, DoParseReadsFilesWithWindowsPaths) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path("Screens"));
    dir.Write("Screens/Main.xml", "<Screen/>");
    XMLParser parser;
    XElement* root = nullptr;
    std::wstring windowsPath = dir.Path().wstring() + L"\\screens\\MAIN.XML";
    ASSERT_TRUE(parser.DoParse(windowsPath.c_str(), &root));
    Tree owned(root);
    EXPECT_EQ(root->GetTagName(), L"Screen");

    XElement* untouched = nullptr;
    EXPECT_EQ(parser.DoParse((dir.Path().wstring() + L"/none.xml").c_str(), &untouched), 0);
    EXPECT_EQ(untouched, nullptr);
    EXPECT_EQ(parser.DoParse(dir.Path().wstring().c_str(), &untouched), 0) << "a folder is no file";
    EXPECT_EQ(parser.DoParse(nullptr, &untouched), 0);
}

bool SameTree(const XElement* a, const XElement* b) {
    std::vector<std::pair<const XElement*, const XElement*>> pending{{a, b}};
    while (!pending.empty()) {
        auto [x, y] = pending.back();
        pending.pop_back();
        if (!x || !y) {
            if (x != y)
                return false;
            continue;
        }
        if (x->GetTagName() != y->GetTagName() || x->GetText() != y->GetText())
            return false;
        const CMapStringToString empty;
        const auto* ax = x->GetAttributes() ? x->GetAttributes() : &empty;
        const auto* ay = y->GetAttributes() ? y->GetAttributes() : &empty;
        if (!(*ax == *ay))
            return false;
        pending.push_back({x->GetFirstChild(), y->GetFirstChild()});
        pending.push_back({x->GetNextSibling(), y->GetNextSibling()});
    }
    return true;
}

TEST_F(ParserTest, SaveWritesUtf8ThatReadsBackEqual) {
    const std::string source =
        "<?xml version=\"1.0\" encoding=\"euc-kr\"?>"
        "<Screen Name=\"\xC7\xD1\xB1\xDB\" quote='a\"b' lt=\"&lt;&amp;&gt;\">"
        "<Grid rows=\"3\"><Col title=\"Price\"/><Col title=\"Vol\">text &amp; more</Col></Grid>"
        "<Script>Sub A()\n  x = 1 &lt; 2\nEnd Sub</Script><Empty/></Screen>";
    Tree root = Parse(source);
    ASSERT_TRUE(root);
    TempDir dir;
    std::wstring out = dir.Path("saved.xml").wstring();
    auto save = root->GetFunction<int(const wchar_t*)>(L"save");
    ASSERT_TRUE(save);
    ASSERT_TRUE(save(out.c_str()));
    std::string written = root->Serialize();
    EXPECT_NE(written.find("encoding=\"UTF-8\""), std::string::npos);
    EXPECT_NE(written.find("\xED\x95\x9C\xEA\xB8\x80"), std::string::npos)
        << "Korean written as UTF-8";

    XElement* back = nullptr;
    XMLParser parser;
    ASSERT_TRUE(parser.DoParse(out.c_str(), &back));
    Tree owned(back);
    EXPECT_TRUE(SameTree(root.get(), back));
}

} // namespace

namespace {

// The page loader skips its walk for includes, and a library its walk for parameter
// declarations, only where the parser met none, in any case; a tree changed since is walked.
TEST_F(ParserTest, TreesWithoutIncludesOrDeclarationsAreMarkedAsParsed) {
    Tree plain = Parse("<lib><a/><b><c/></b><this.params/><x.param/></lib>");
    ASSERT_TRUE(plain);
    XElement* c = plain->FindPath(L"/b/c");
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(plain->ParsedWithoutInclude());
    EXPECT_FALSE(c->MayHoldParamDeclarations()) << "asked anywhere in the tree";
    struct Case {
        const char* markup;
        bool include, declaration;
    };
    for (const Case& met : {Case{"<lib><a/><b><include File=\"x.xml\"/></b></lib>", true, false},
                            Case{"<Include File=\"x.xml\" Path=\"screen\"/>", true, false},
                            Case{"<lib><INCLUDE/></lib>", true, false},
                            Case{"<lib><a><b><This.Param Name=\"p\"/></b></a></lib>", false, true},
                            Case{"<lib><LIB.PARAM Name=\"p\"/></lib>", false, true},
                            Case{"<this.param Name=\"p\"/>", false, true}}) {
        Tree tree = Parse(met.markup);
        ASSERT_TRUE(tree) << met.markup;
        EXPECT_EQ(tree->ParsedWithoutInclude(), !met.include) << met.markup;
        EXPECT_EQ(tree->MayHoldParamDeclarations(), met.declaration) << met.markup;
    }
    // A copy may be changed before it is loaded: it is walked.
    Tree copy(plain->Clone());
    EXPECT_FALSE(copy->ParsedWithoutInclude());
    EXPECT_TRUE(copy->MayHoldParamDeclarations());
    // Each kind of change, made deep in the tree, takes the marks back for the whole tree.
    XElement stray(L"lib.param"); // joins by its parent link alone, as a spliced include does
    for (int change = 0; change < 3; ++change) {
        Tree tree = Parse("<lib><a/><b><c/></b></lib>");
        ASSERT_TRUE(tree);
        XElement* deep = tree->FindPath(L"/b/c");
        ASSERT_NE(deep, nullptr);
        if (change == 0)
            deep->AppendChild(new XElement(L"this.param"));
        else if (change == 1)
            deep->SetTagName(L"lib.param");
        else
            stray.SetParent(deep);
        EXPECT_FALSE(tree->ParsedWithoutInclude()) << change;
        EXPECT_TRUE(tree->FindPath(L"/a")->MayHoldParamDeclarations()) << change;
    }
    stray.SetParent(nullptr);
}

} // namespace
