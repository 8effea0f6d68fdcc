// Data values and structures through "User.Run(orvo, ...)".
#include <string>

#include "data/struct.h"
#include "user_function_fixture.h"

namespace orvo::test {
namespace {

const char* const kOrders = R"xml(
  <TextBox Name="price" Text="71000"/>
  <TextBox Name="copy" Text=""/>
  <structure Name="orders" count="0">
    <this.field item="code" type="String" size="6"/>
    <this.field item="qty" type="Integer"/>
    <this.addrow text="005930,10"/>
    <this.addrow text="000660,20"/>
  </structure>)xml";

class UserDataTest : public UserFunctionTest {
protected:
    XStruct* Orders() { return dynamic_cast<XStruct*>(Obj(L"orders")); }
    std::wstring Cell(int row, int col) {
        std::wstring text;
        Orders()->GetVal(row, col, text);
        return text;
    }
};

TEST_F(UserDataTest, ValuesAreWrittenAndCopiedBetweenObjects) {
    Open(kOrders);
    EXPECT_EQ(Run(L"copy", L"SetData, copy, \"71,500\""), 1);
    EXPECT_EQ(Data(L"copy"), L"71,500");
    EXPECT_EQ(Run(L"copy", L"SetData, copy, Data(price)"), 1);
    EXPECT_EQ(Data(L"copy"), L"71000");
    EXPECT_EQ(Run(L"copy", L"SetData, price, 70900"), 1);
    EXPECT_EQ(Run(L"copy", L"CopyDataValue, price, copy"), 1);
    EXPECT_EQ(Data(L"copy"), L"70900");

    EXPECT_EQ(Run(L"copy", L"SetData, copy"), 0);
    EXPECT_EQ(Run(L"copy", L"SetData, copy, Data(nowhere)"), 0);
    EXPECT_EQ(Run(L"copy", L"CopyDataValue, nowhere, copy"), 0);
    EXPECT_EQ(Run(L"copy", L"CopyDataValue, price, Data(copy"), 0);
    EXPECT_EQ(Data(L"copy"), L"70900");
    EXPECT_EQ(Confirms().size(), 4u);
}

TEST_F(UserDataTest, StructuresAreWrittenClearedAndShownAsText) {
    Open(kOrders);
    EXPECT_EQ(Run(L"copy", L"SetSTFieldValue, orders, qty, Data(price), 1"), 1);
    EXPECT_EQ(Cell(1, 1), L"71000");
    EXPECT_EQ(Run(L"copy", L"SetSTFieldValue, orders, code, 035420"), 1) << "row 0 by default";
    EXPECT_EQ(Run(L"copy", L"StructData2Text, orders, copy"), 1);
    EXPECT_EQ(Data(L"copy"), L"035420,10;000660,71000");
    EXPECT_EQ(Run(L"copy", L"StructData2Text, orders, copy, \" | \""), 1);
    EXPECT_EQ(Data(L"copy"), L"035420 | 10;000660 | 71000");

    EXPECT_EQ(Run(L"copy", L"ClearStruct, orders"), 1);
    EXPECT_EQ(Orders()->GetRows(), 2) << "the rows stay";
    EXPECT_EQ(Cell(0, 0), L"");
    EXPECT_EQ(Cell(1, 1), L"0");

    struct Case {
        const wchar_t* call;
        const wchar_t* told;
    };
    const Case cases[] = {
        {L"SetSTFieldValue, orders, price, 1", L"SetSTFieldValue : no field price"},
        {L"SetSTFieldValue, orders, qty, 1, 2", L"SetSTFieldValue : no row 2"},
        {L"SetSTFieldValue, orders, qty",
         L"SetSTFieldValue : expected structure, field, value[, row]"},
        {L"SetSTFieldValue, price, qty, 1", L"SetSTFieldValue : price is not a structure"},
        {L"ClearStruct, nowhere", L"ClearStruct : no object nowhere"},
        {L"ClearStruct, ", L"ClearStruct : expected structure"},
        {L"StructData2Text, orders", L"StructData2Text : expected structure, object[, separator]"},
        {L"StructData2Text, orders, copy, \"",
         L"StructData2Text : parentheses or quotes do not close"},
    };
    for (const Case& c : cases) {
        notices.confirms.clear();
        EXPECT_EQ(Run(L"copy", c.call), 0) << plat::ToUtf8(c.call);
        ASSERT_EQ(Confirms().size(), 1u) << plat::ToUtf8(c.call);
        EXPECT_EQ(Told(0), c.told);
    }
    EXPECT_EQ(Cell(1, 1), L"0");
    EXPECT_EQ(Run(L"copy", L"StructEmpty, orders"), 1);
    EXPECT_EQ(Orders()->GetRows(), 0) << "the rows go";
}

} // namespace
} // namespace orvo::test
