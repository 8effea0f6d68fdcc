#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/notice_man.h"
#include "data/data_item.h"
#include "struct_page.h"
#include "support/recording_presenter.h"

namespace {

TEST(DataElement, ColumnsAndTypeKeywords) {
    auto page = test::BuildPage(R"(<Data Name="quotes">
        <this.Field Name="Price" Type="Double"/>
        <this.Field Name="Qty" Type="integer"/>
        <this.Field Name="Symbol" Type="STRING"/>
        <this.Field Name="Traded" Type="Boolean"/>
        <this.Field Name="Volume" Type="UInteger"/>
        <this.Field Name="Memo" Type="Text"/>
        <this.Field Name="Plain"/>
        <this.Note Name="NotAField"/>
        <this.Field Name="price" Type="Integer"/>
    </Data>)");
    auto* data = dynamic_cast<XData*>(page.get());
    ASSERT_NE(data, nullptr) << "the tag makes an XData";
    EXPECT_EQ(data->GetName(), L"quotes");

    const struct {
        const wchar_t* name;
        int type;
    } expected[] = {{L"Price", 5},
                    {L"Qty", 3},
                    {L"Symbol", 8},
                    {L"Traded", 11},
                    {L"Volume", 19},
                    {L"Memo", 0},
                    {L"Plain", 0},
                    {L"price", 3}};
    ASSERT_EQ(data->GetFields().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(data->GetFields()[i]->Name, expected[i].name);
        EXPECT_EQ(data->GetFields()[i]->Type, expected[i].type);
    }

    EXPECT_EQ(data->GetFieldIndex(L"qty"), 1);
    EXPECT_EQ(data->GetFieldIndex(L"PRICE"), 0) << "the first of two equal names";
    EXPECT_EQ(data->GetFieldIndex(L"Plain"), 6);
    EXPECT_EQ(data->GetFieldIndex(L"Turnover"), -1);
    EXPECT_EQ(data->GetFieldIndex(nullptr), -1);
}

TEST(DataElement, AnEmptyListFindsNothingAndTextOnlyNamesTheCell) {
    XData data;
    EXPECT_EQ(data.GetFieldIndex(L""), -1);
    EXPECT_EQ(data.GetFieldIndex(L"Price"), -1);
    EXPECT_STREQ(data.GetText(3, 7), L"R 3, F 7");
    EXPECT_STREQ(data.GetText(-1, 0), L"R -1, F 0");
}

TEST(DataElement, DeclarationsBesideFields) {
    RecordingPresenter presenter;
    orvo::NoticePresenter* previous = XNoticeMan::Instance().Presenter();
    XNoticeMan::Instance().SetPresenter(&presenter);
    XData data;
    XElement field(L"this.field");
    field.SetValue(L"Name", L"Bid");
    EXPECT_EQ(data.SetMethod(L"FIELD", &field), 1);
    EXPECT_EQ(data.SetMethod(L"Other", &field), 1);
    EXPECT_EQ(data.SetMethod(L"Field", nullptr), 0) << "nothing to read";
    EXPECT_EQ(data.SetMethod(L"Radio", &field), 1);
    XNoticeMan::Instance().SetPresenter(previous);

    ASSERT_EQ(data.GetFields().size(), 1u);
    EXPECT_EQ(data.GetFields()[0]->Name, L"Bid");
    ASSERT_EQ(presenter.confirms.size(), 1u) << "the object base still reads its declarations";
    EXPECT_EQ(presenter.confirms[0].text, L"Radio 개체는 더이상 지원하지 않습니다.");
}

} // namespace
