#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/notice_man.h"
#include "data/inner_struct.h"
#include "data/meta_set.h"
#include "data/struct_set.h"
#include "platform/base/nocase.h"
#include "platform/base/text.h"
#include "struct_page.h"
#include "support/project_files.h"
#include "support/recording_presenter.h"
#include "support/scoped_registration.h"

namespace {

std::wstring Fixture(const char* name) {
    const char* fixtures = std::getenv("ORVO_FIXTURES");
    return fixtures ? plat::FromUtf8(fixtures) + L"/data/" + plat::FromUtf8(name) : std::wstring();
}

class StructTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("ORVO_FIXTURES"), nullptr) << "run the tests through ctest";
        previousPresenter = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&notices);
        project.files[L"MetaSet"] = Fixture("meta_types.xml");
        project.files[L"StructureSet"] = Fixture("struct_set.xml");
        XMetaSet::Instance().InitializeIXO();
        XStructSet::Instance().InitializeIXO();
        loadConfirms = Confirms();
        notices.confirms.clear();
    }
    void TearDown() override {
        for (XDO* set : {static_cast<XDO*>(&XStructSet::Instance()),
                         static_cast<XDO*>(&XMetaSet::Instance())}) {
            while (XDO* c = set->child())
                c->LinkCut(1, nullptr);
        }
        XNoticeMan::Instance().SetPresenter(previousPresenter);
    }

    std::vector<std::wstring> Confirms() const {
        std::vector<std::wstring> texts;
        for (const auto& c : notices.confirms)
            texts.push_back(c.text);
        return texts;
    }
    XStruct* Shared(const wchar_t* name) { return XStructSet::Instance().GetStructByName(name); }
    std::wstring Cell(XStruct* s, int row, int col) {
        std::wstring text = L"<none>";
        s->GetVal(row, col, text);
        return text;
    }

    ProjectFilesStandIn project;
    ScopedRegistration projectRegistration{L"Project", &project};
    RecordingPresenter notices;
    orvo::NoticePresenter* previousPresenter = nullptr;
    std::vector<std::wstring> loadConfirms;
};

TEST_F(StructTest, WrittenTypesGiveWidthsAndOffsets) {
    XStruct* quote = Shared(L"QUOTE");
    ASSERT_NE(quote, nullptr);
    const CRecord& r = quote->GetRecord();
    ASSERT_EQ(quote->GetFieldCount(), 3);
    EXPECT_EQ(r.GetField(0)->Type, DT_STR);
    EXPECT_EQ(r.GetField(1)->Type, DT_INT);
    EXPECT_EQ(r.GetField(2)->Type, DT_PT_STR);
    EXPECT_EQ(r.GetOffSet(1), 6);
    EXPECT_EQ(r.GetOffSet(2), 10);
    EXPECT_EQ(quote->GetRecordSize(), 14);
    EXPECT_TRUE(quote->HasPointerField());
    EXPECT_EQ(quote->GetPointerFieldNo(), 2);
    EXPECT_NE(quote->GetObjectStyle() & XDO_STYLE_STRUCT, 0);
    EXPECT_TRUE(quote->ISMem());
    EXPECT_EQ(quote->GetRows(), 1);
    EXPECT_FALSE(quote->IsDynamic());
}

TEST_F(StructTest, MetaItemsGiveTypesAndNamespaces) {
    XStruct* typed = Shared(L"typed");
    ASSERT_NE(typed, nullptr);
    ASSERT_EQ(typed->GetFieldCount(), 6);
    const CRecord& r = typed->GetRecord();
    EXPECT_EQ(r.GetField(0)->Type, DT_STR);
    EXPECT_EQ(r.GetField(0)->Size, 10);
    EXPECT_EQ(r.GetField(1)->NameSpace, L"types");
    EXPECT_EQ(r.GetField(1)->Name, L"int_sized");
    EXPECT_EQ(r.GetField(1)->Size, 4);
    EXPECT_EQ(r.GetField(2)->Type, DT_DOUBLE);
    EXPECT_EQ(r.GetField(3)->Size, 1);
    EXPECT_EQ(r.GetField(4)->Name, L"pricemix");
    EXPECT_EQ(r.GetField(5)->Type, DT_BLOB);
    EXPECT_EQ(typed->GetRecordSize(), 10 + 4 + 8 + 1 + 4 + 16);
    EXPECT_TRUE(typed->IsLastFieldVirtual());
    EXPECT_TRUE(typed->IsDynamic());
}

TEST_F(StructTest, NestedStructuresBecomeStructFields) {
    XStruct* orders = Shared(L"Orders");
    ASSERT_NE(orders, nullptr);
    EXPECT_EQ(orders->child(), nullptr); // the nested object is gone, its definition kept
    EXPECT_EQ(orders->GetFieldIndex(L"Account"), 0);
    EXPECT_EQ(orders->GetRecord().GetField(0)->NameSpace, L"acct");
    const int items = orders->GetFieldIndex(L"ITEMS");
    ASSERT_EQ(items, 2);
    EXPECT_EQ(orders->GetRecord().GetField(items)->Type, DT_STRUCT);
    EXPECT_EQ(orders->GetRecord().GetField(items)->Size, 24);
    EXPECT_EQ(orders->GetISCnt(items), 3);
    EXPECT_EQ(orders->GetISCnt(1), 0);
    EXPECT_EQ(orders->GetISCnt(99), 0);
    EXPECT_EQ(orders->GetRecord().GetOffSet(3), 38);
    EXPECT_EQ(orders->GetRecordSize(), 39);
    EXPECT_FALSE(orders->HasVirtual());

    std::vector<int> path;
    ASSERT_TRUE(orders->GetRowFieldIndex(L"[1].items[2].px", path));
    EXPECT_EQ(path, (std::vector<int>{1, 2, 2, 1}));
    EXPECT_EQ(orders->GetFieldType(path), DT_INT);
    ASSERT_TRUE(orders->GetRowFieldIndex(L"qty", path));
    ASSERT_NE(orders->GetFieldFormat(path), nullptr);
    EXPECT_FALSE(orders->GetRowFieldIndex(L"[1].qty.x", path));

    XStruct* repeat = Shared(L"Repeat");
    ASSERT_NE(repeat, nullptr);
    EXPECT_EQ(repeat->GetRecord().GetVirtualNo(), 1);
    EXPECT_EQ(repeat->GetRecord().GetField(1)->Size, 0);
    EXPECT_EQ(repeat->GetRecord().GetFieldCountAfterVirtual(), 1);
    EXPECT_EQ(repeat->GetRecord().GetSizeAfterVirtual(), 4);
    EXPECT_FALSE(repeat->ISMem()); // count 0 reserves no rows
}

TEST_F(StructTest, RowsTakeDefaultsAndAddedRows) {
    XStruct* orders = Shared(L"Orders");
    ASSERT_NE(orders, nullptr);
    ASSERT_EQ(orders->GetRows(), 3); // two declared, one added
    EXPECT_EQ(Cell(orders, 0, 0), L"0123456789");
    EXPECT_EQ(Cell(orders, 0, 1), L"7");
    EXPECT_EQ(Cell(orders, 2, 0), L"1234567890");
    EXPECT_EQ(Cell(orders, 2, 1), L"5");
    EXPECT_EQ(Cell(orders, 2, 3), L"Z");
    EXPECT_EQ(Cell(orders, 3, 0), L"<none>");

    XStruct* ring = Shared(L"Ring");
    ASSERT_NE(ring, nullptr);
    EXPECT_EQ(ring->GetMaxRow(), 2);
    ASSERT_EQ(ring->GetRows(), 2);
    EXPECT_EQ(Cell(ring, 0, 0), L"1");
    EXPECT_EQ(Cell(ring, 1, 0), L"3"); // the third row rewrote the last one
}

TEST_F(StructTest, BasenameCopiesDefinitionAndRows) {
    XStruct* orders = Shared(L"Orders");
    XStruct* copy = Shared(L"Copy");
    ASSERT_TRUE(orders && copy);
    EXPECT_TRUE(copy->GetRecord() == orders->GetRecord());
    ASSERT_EQ(copy->GetRows(), 3);
    EXPECT_EQ(Cell(copy, 2, 0), L"1234567890");
    ASSERT_TRUE(copy->SetVal(2, 0, L"changed"));
    EXPECT_EQ(Cell(orders, 2, 0), L"1234567890");

    // A screen structure copying a shared one with variable-length strings keeps its own.
    auto page = test::BuildPage(R"(<structure Name="Mine" basename="quote"/>)");
    auto* mine = dynamic_cast<XStruct*>(page.get());
    ASSERT_NE(mine, nullptr);
    ASSERT_TRUE(mine->SetVal(0, 2, L"own"));
    EXPECT_EQ(Cell(Shared(L"Quote"), 0, 2), L"");
    EXPECT_EQ(Cell(mine, 0, 2), L"own");

    XStruct* self = Shared(L"Self");
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(self->GetFieldCount(), 0);
    EXPECT_EQ(loadConfirms, (std::vector<std::wstring>{L"Structure not found. [Late]"}));
}

TEST_F(StructTest, ConfigurationErrorsAreShownVerbatim) {
    struct Case {
        const char* markup;
        const wchar_t* message;
    };
    const Case cases[] = {
        {R"(<structure Name="S"><this.field item="Code" type="String" size="0"/></structure>)",
         L"[No definition] code "},
        {R"(<structure Name="S"><this.field item="Nope:ZZ"/></structure>)",
         L"[No definition] nope:zz "},
        {R"(<structure Name="S"><this.field item="x" type="Decimal"/></structure>)",
         L"[No definition] x "},
        {R"(<structure Name="S"><structure Name="A"><structure Name="B"/></structure></structure>)",
         L"Nested structure supports maximum depth 2"},
        {R"(<structure Name="S"><structure Name="A" basename="Quote"/></structure>)",
         L"Basename attribute can't be used in the nested structure. [Quote]"},
        {R"(<structure Name="S" basename="Missing"/>)", L"Structure not found. [Missing]"},
        {R"(<structure Name="S"><structure Name="A"><this.field item="t" type="String"/></structure></structure>)",
         L"Inner structure can't have a field typed DT_PT_STR"},
        {R"(<structure Name="S"><this.field item="Acct:Name" type="String"/>
              <structure Name="Rows" count="0"><this.field item="v" type="Integer"/></structure></structure>)",
         L"A struct can't have nested structure with count=0 and variable length string field "
         L"simultaneously. "
         L"[S > acct:name , rows]"},
    };
    for (const Case& c : cases) {
        notices.confirms.clear();
        test::BuildPage(c.markup);
        EXPECT_EQ(Confirms(), std::vector<std::wstring>{c.message}) << c.markup;
    }
}

TEST_F(StructTest, BlobDefaultDropsOnlyTheField) {
    auto page =
        test::BuildPage(R"(<structure Name="S"><this.field item="b" type="Blob" size="4" value="x"/>
                           <this.field item="n" type="Integer" value="3"/></structure>)");
    auto* s = dynamic_cast<XStruct*>(page.get());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Confirms(), std::vector<std::wstring>{L"BLOB 은 Default Value 를 가질 수 없습니다."});
    ASSERT_EQ(s->GetFieldCount(), 1);
    EXPECT_EQ(Cell(s, 0, 0), L"3");
}

TEST_F(StructTest, OversizedLayoutsAreRefused) {
    const std::wstring tooLarge = L"Record size exceeds 2147483647 bytes. ";
    for (
        const char* markup :
        {R"(<structure count="0"><this.field item="a" type="String" size="2000000000"/>
              <this.field item="b" type="String" size="2000000000"/></structure>)",
         R"(<structure count="0"><this.field item="str_huge"/><this.field item="str_huge"/></structure>)",
         R"(<structure Name="S" count="0"><structure Name="Big" count="100000">
              <this.field item="s" type="String" size="100000"/></structure></structure>)",
         R"(<structure Name="S" count="100000"><this.field item="s" type="String" size="100000"/></structure>)",
         R"(<structure Name="S" MaxRow="100000"><this.field item="s" type="String" size="100000"/></structure>)",
         R"(<structure Name="S" count="88888888888888888888"><this.field item="n" type="Integer"/></structure>)"}) {
        notices.confirms.clear();
        auto page = test::BuildPage(markup);
        ASSERT_EQ(notices.confirms.size(), 1u) << markup;
        EXPECT_TRUE(notices.confirms[0].text.starts_with(tooLarge)) << markup;
        if (auto* s = dynamic_cast<XStruct*>(page.get())) {
            EXPECT_FALSE(s->ISMem());
            EXPECT_GE(s->GetRecordSize(), 0);
            EXPECT_EQ(s->GetRows(), 0) << "rows that were never made are not counted";
            EXPECT_FALSE(s->SetRowCount(1)) << markup;
        }
    }
}

TEST_F(StructTest, RecordsOfNoBytesHoldAtMostOneRow) {
    // One row is a placeholder: a structure without fields yet, or one record whose
    // repeating group arrives with the data.
    for (const char* markup : {R"(<structure Name="S"/>)",
                               R"(<structure Name="S" count="1"><structure Name="og" count="0">
               <this.field item="x" type="Integer"/></structure></structure>)"}) {
        notices.confirms.clear();
        auto page = test::BuildPage(markup);
        auto* s = dynamic_cast<XStruct*>(page.get());
        ASSERT_NE(s, nullptr) << markup;
        EXPECT_TRUE(Confirms().empty()) << markup;
        EXPECT_EQ(s->GetRows(), 1) << markup;
    }
    // More would cost no memory, so no size limit would stop a count of two billion, and
    // every filter or grid over them would walk them all.
    for (const char* markup : {R"(<structure Name="S" count="88888888888888888888"/>)",
                               R"(<structure Name="S" count="2"><structure Name="og" count="0">
               <this.field item="x" type="Integer"/></structure></structure>)",
                               R"(<structure Name="S" MaxRow="5"/>)"}) {
        notices.confirms.clear();
        auto page = test::BuildPage(markup);
        ASSERT_EQ(notices.confirms.size(), 1u) << markup;
        EXPECT_TRUE(notices.confirms[0].text.starts_with(L"A record of 0 bytes can't hold "))
            << markup;
        EXPECT_TRUE(notices.confirms[0].text.ends_with(L" rows. [S]")) << markup;
        if (auto* s = dynamic_cast<XStruct*>(page.get())) {
            EXPECT_EQ(s->GetRows(), 0) << markup;
            EXPECT_FALSE(s->SetRowCount(2)) << markup;
        }
    }
}

TEST_F(StructTest, FieldsAfterRowsAreRefused) {
    auto page = test::BuildPage(
        R"(<structure Name="S"><this.field item="a" type="Integer"/><this.addrow text="1"/>
                           <this.field item="b" type="Integer"/></structure>)");
    EXPECT_EQ(Confirms(), std::vector<std::wstring>{L"Fields must be declared before addrow. [b]"});
}

TEST_F(StructTest, RingsRefuseVariableLengthStrings) {
    auto page = test::BuildPage(
        R"(<structure Name="S" MaxRow="3"><this.field item="t" type="String"/></structure>)");
    auto* s = dynamic_cast<XStruct*>(page.get());
    ASSERT_NE(s, nullptr);
    EXPECT_FALSE(s->ISMem());
    EXPECT_TRUE(Confirms().empty());
    EXPECT_FALSE(s->SetRowCount(2)) << "a ring without memory has no rows to put in use";
    EXPECT_EQ(s->GetRows(), 0);
}

} // namespace
