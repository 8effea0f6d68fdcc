#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/notice_man.h"
#include "data/meta_set.h"
#include "platform/base/nocase.h"
#include "platform/base/text.h"
#include "support/project_files.h"
#include "support/recording_presenter.h"
#include "support/scoped_registration.h"

namespace {

class MetaSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousPresenter = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&notices);
    }
    void TearDown() override {
        while (XDO* c = set.child())
            c->LinkCut(1, nullptr);
        XNoticeMan::Instance().SetPresenter(previousPresenter);
    }

    void Load(const char* fixture) {
        const char* fixtures = std::getenv("ORVO_FIXTURES");
        ASSERT_NE(fixtures, nullptr) << "run the tests through ctest";
        project.files[L"MetaSet"] = plat::FromUtf8(fixtures) + L"/data/" + plat::FromUtf8(fixture);
        ASSERT_EQ(set.InitializeIXO(), 1);
    }
    std::vector<std::wstring> Confirms() const {
        std::vector<std::wstring> texts;
        for (const auto& c : notices.confirms)
            texts.push_back(c.text);
        return texts;
    }
    CMetaItem* Item(const wchar_t* id) { return set.GetMetaDataByID(id); }
    // -1 when no item answers.
    int TypeOf(const wchar_t* id) {
        CMetaItem* item = Item(id);
        return item ? item->GetDataType() : -1;
    }
    XMetaData* Meta(const wchar_t* name) { return set.GetMetaDataByName(name); }

    XMetaSet& set = XMetaSet::Instance();
    ProjectFilesStandIn project;
    ScopedRegistration projectRegistration{L"Project", &project};
    RecordingPresenter notices;
    orvo::NoticePresenter* previousPresenter = nullptr;
};

TEST_F(MetaSetTest, EveryKeywordGivesItsTypeAndWidth) {
    struct Row {
        const wchar_t* id;
        DT_DATA_TYPE type;
        int size;
    };
    // clang-format off
    const std::vector<Row> rows = {
        {L"str_sized", DT_STR, 10}, {L"str_bare", DT_PT_STR, 4}, {L"str_minus1", DT_PT_STR, 4},
        {L"str_zero", DT_NONE, 0}, {L"str_minus2", DT_NONE, 0}, {L"str_huge", DT_STR, 2000000000},
        {L"str_beyond", DT_STR, INT_MAX}, {L"str_lowest", DT_NONE, 0}, {L"str_words", DT_NONE, 0},
        {L"str_mixed_case", DT_STR, 3}, {L"int_sized", DT_INT, 4}, {L"int_bare", DT_INT, 4},
        {L"int_upper", DT_INT, 4}, {L"uint", DT_UINT, 4}, {L"bool", DT_BOOL, 4},
        {L"double", DT_DOUBLE, 8}, {L"char", DT_CHAR, 1}, {L"int64", DT_INT64, 8},
        {L"int64_upper", DT_INT64, 8}, {L"blob_sized", DT_BLOB, 16}, {L"blob_bare", DT_BLOB, 0},
        {L"blob_zero", DT_BLOB, 0}, {L"blob_negative", DT_BLOB, 0}, {L"float", DT_FLOAT, 4},
        {L"unknown", DT_NONE, 0}, {L"prefix", DT_NONE, 0}, {L"padded", DT_NONE, 0},
        {L"empty_type", DT_NONE, 0}, {L"pricemix", DT_INT, 4},
    };
    // clang-format on
    Load("meta_types.xml");
    XMetaData* types = Meta(L"Types");
    ASSERT_NE(types, nullptr);
    EXPECT_EQ(types->GetItems().size(), rows.size()) << "unusable types are still registered";
    for (const Row& row : rows) {
        SCOPED_TRACE(plat::ToUtf8(row.id));
        CMetaItem* item = Item(row.id);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->GetDataType(), row.type);
        EXPECT_EQ(item->GetDataSize(), row.size);
    }
    EXPECT_TRUE(Confirms().empty());
}

TEST_F(MetaSetTest, AnItemIsReadOnceWithItsIdInLowerCase) {
    Load("meta_types.xml");
    XMetaData* types = Meta(L"tYPES");
    ASSERT_NE(types, nullptr) << "metadata names compare without case";
    EXPECT_EQ(types->GetText(), L"every keyword");
    CMetaItem* price = types->GetItemByID(L"pricemix");
    ASSERT_NE(price, nullptr);
    EXPECT_EQ(price->GetID(), L"pricemix");
    EXPECT_EQ(price->GetText(), L"Last price");
    EXPECT_EQ(types->GetItemByID(L"PriceMix"), nullptr) << "ids compare exactly";
    EXPECT_EQ(Item(L"PRICEMIX"), nullptr);

    XElement again(L"this.item");
    again.SetValue(L"id", L"other");
    again.SetValue(L"type", L"Char");
    EXPECT_EQ(price->SetElement(&again), 0);
    EXPECT_EQ(price->GetID(), L"pricemix");
    EXPECT_EQ(price->GetDataType(), DT_INT);
    EXPECT_EQ(CMetaItem().SetElement(nullptr), 0);
}

TEST_F(MetaSetTest, AliasesShareTheNearestEarlierDeclaration) {
    Load("meta_aliases.xml");
    XMetaData* common = Meta(L"Common");
    XMetaData* order = Meta(L"Order");
    XMetaData* inner = Meta(L"Inner");
    XMetaData* later = Meta(L"Later");
    ASSERT_TRUE(common && order && inner && later);

    EXPECT_EQ(order->GetItemByID(L"price"), common->GetItemByID(L"price")) << "shared, not copied";
    EXPECT_EQ(order->GetItems().size(), 1u) << "an alias is not owned";
    EXPECT_EQ(inner->GetItemByID(L"code"), common->GetItemByID(L"code"))
        << "climbs to the ancestors' earlier children";
    // Order's "amt" is nearer to Inner than Common's.
    ASSERT_NE(inner->GetItemByID(L"amt"), nullptr);
    EXPECT_EQ(inner->GetItemByID(L"amt"), order->GetItemByID(L"amt"));
    EXPECT_EQ(inner->GetItemByID(L"amt")->GetDataType(), DT_INT64);
    EXPECT_EQ(later->GetItemByID(L"amt"), order->GetItemByID(L"amt")) << "an alias of an alias";

    EXPECT_EQ(order->GetItemByID(L"nowhere"), nullptr);
    EXPECT_EQ(order->GetItemByID(L"after_failure"), nullptr) << "a failed item ends the list";
    EXPECT_EQ(Meta(L"Outer")->GetItemByID(L"vol"), nullptr) << "own descendants are not searched";
    EXPECT_TRUE(Confirms().empty()) << "an unresolved alias fails silently";

    // An alias never outlives the object that declared its item.
    order->LinkCut(1, nullptr);
    EXPECT_EQ(inner->GetItemByID(L"amt"), nullptr);
    EXPECT_EQ(later->GetItemByID(L"amt"), nullptr);
    EXPECT_EQ(inner->GetItemByID(L"code"), common->GetItemByID(L"code"));
}

TEST_F(MetaSetTest, LookupByIdIsDepthFirstFromTheFirstChild) {
    Load("meta_aliases.xml");
    EXPECT_EQ(TypeOf(L"vol"), DT_DOUBLE) << "the nested one comes first";
    EXPECT_EQ(Item(L"qty"), Meta(L"Common")->GetItemByID(L"qty"));
    XMetaData* outer = Meta(L"Outer");
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(outer->GetItemByIDDown(L"qty"), Meta(L"Later")->GetItemByID(L"qty"))
        << "from below the first child: its subtree, then its later siblings";
    EXPECT_EQ(Item(L"absent"), nullptr);
    EXPECT_EQ(Item(nullptr), nullptr);
}

TEST_F(MetaSetTest, RefusedItemsShowTheirMessagesAndEndTheirList) {
    Load("meta_refused.xml");
    const std::vector<std::wstring> expected = {
        L"ID (code) already registered",
        L"metaType configuration file error",
        L"metaType configuration file error",
        L"ID (shared) already registered",
    };
    EXPECT_EQ(Confirms(), expected);
    for (const auto& c : notices.confirms)
        EXPECT_EQ(c.type + c.helpId, 0u);

    EXPECT_EQ(TypeOf(L"code"), DT_STR) << "the first declaration stays";
    EXPECT_EQ(TypeOf(L"late"), -1);
    EXPECT_EQ(TypeOf(L"shared"), DT_CHAR);
    EXPECT_EQ(TypeOf(L"noted"), -1) << "other children are ignored";
    EXPECT_EQ(TypeOf(L"kept"), DT_BOOL);
    EXPECT_EQ(TypeOf(L"hidden"), -1) << "a metadata without a name is refused";
    EXPECT_EQ(TypeOf(L""), -1) << "an empty id registers nothing";
}

TEST_F(MetaSetTest, LookupsAreReachableByName) {
    Load("meta_aliases.xml");
    IXO* service = IXO::FindInstance(L"MetaSet");
    ASSERT_EQ(service, &set);
    auto byName = service->GetFunction<XMetaData*(const wchar_t*)>(L"GetMetaDataByName");
    auto byId = service->GetFunction<CMetaItem*(const wchar_t*)>(L"GetMetaDataByID");
    ASSERT_TRUE(byName && byId);
    EXPECT_EQ(byName(L"later"), Meta(L"Later"));
    EXPECT_EQ(byId(L"code"), Meta(L"Common")->GetItemByID(L"code"));

    std::vector<orvo::DispVariant> args{orvo::DispVariant(std::wstring(L"Common"))};
    orvo::DispVariant result;
    ASSERT_EQ(service->Invoke(L"GetMetaDataByName", orvo::InvokeMethod, args, result),
              orvo::DispStatus::Ok);
    EXPECT_EQ(result.AsObject(), Meta(L"Common"));
    args[0] = orvo::DispVariant(std::wstring(L"code"));
    EXPECT_EQ(service->Invoke(L"GetMetaDataByID", orvo::InvokeMethod, args, result),
              orvo::DispStatus::NotScriptable);
}

TEST_F(MetaSetTest, ReloadReplacesTheDefinitions) {
    Load("meta_aliases.xml");
    ASSERT_EQ(TypeOf(L"price"), DT_INT);
    Load("meta_second.xml");
    EXPECT_EQ(TypeOf(L"price"), DT_DOUBLE);
    EXPECT_EQ(Meta(L"Common"), nullptr);
    EXPECT_EQ(set.child()->next(), nullptr);
    EXPECT_EQ(set.child()->GetCreateState(), 4) << "the new objects are started";

    project.files.clear();
    EXPECT_EQ(set.InitializeIXO(), 1);
    EXPECT_EQ(set.child(), nullptr) << "no file: nothing is loaded";
    EXPECT_EQ(TypeOf(L"price"), -1);
    EXPECT_EQ(Meta(L"Second"), nullptr);

    Load("meta_loose_root.xml");
    ASSERT_NE(Meta(L"Loose"), nullptr);
    EXPECT_EQ(Meta(L"Loose")->parent(), &set) << "a file rooted elsewhere is adopted";
    EXPECT_EQ(TypeOf(L"lone"), DT_CHAR);

    ScopedRegistration noProject(L"Project", nullptr);
    EXPECT_EQ(set.InitializeIXO(), 1);
    EXPECT_EQ(set.child(), nullptr);
}

} // namespace
