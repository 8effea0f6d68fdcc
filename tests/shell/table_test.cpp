// Tables: sizes shared out among pixel, percentage and automatic rows and columns, items
// placed in cells with spans, lines, hit tests, show and hide, rows and columns inserted from
// templates and deleted, columns kept in step.
#include "core/element.h"
#include "shell/xtext_box.h"
#include "shell_fixture.h"
#include "ui/xtable.h"

namespace orvo::test {
namespace {

class TableTest : public ShellTest {
protected:
    XTable* OpenTable(const std::string& attributes, const std::string& body = "") {
        OpenWindow("<Table Name=\"t\" Rect=\"0,0,200,100\" " + attributes + ">" + body +
                   "</Table>");
        auto* table = dynamic_cast<XTable*>(UI(L"t"));
        EXPECT_NE(table, nullptr);
        return table;
    }
    static std::string Sizes(const XTable* t, bool rows) {
        std::string out;
        const int n = rows ? t->GetRowCount() : t->GetColCount();
        for (int i = 0; i < n; ++i) {
            const CRowColInfo* e = rows ? t->GetRowInfo(i) : t->GetColInfo(i);
            out += (i ? " " : "") + std::to_string(e->Size()) + "@" + std::to_string(e->position);
        }
        return out;
    }
};

TEST_F(TableTest, PixelsComeFirstThenPercentagesOfTheRestThenEqualShares) {
    XTable* t = OpenTable(R"(Row="1" Col="4")", R"(
      <this.Col Width="40"/><this.Col Width="50%"/><this.Col Width="Auto"/><this.Col/>)");
    ASSERT_TRUE(t);
    EXPECT_EQ(Sizes(t, false), "40@0 80@40 40@120 40@160");
    EXPECT_EQ(Sizes(t, true), "100@0") << "an automatic row takes the whole height";

    t = OpenTable(R"(Row="1" Col="3")");
    EXPECT_EQ(Sizes(t, false), "67@0 67@67 66@134") << "the first take the odd pixels";

    // A hidden percentage is shared among the shown ones in proportion to theirs.
    t = OpenTable(R"(Row="1" Col="3")",
                  R"(<this.Col Width="30%"/><this.Col Width="20%"/><this.Col Width="50%"/>)");
    EXPECT_EQ(Sizes(t, false), "60@0 40@60 100@100");
    ASSERT_TRUE(t->HideCol(0));
    EXPECT_EQ(Sizes(t, false), "0@0 58@0 142@58") << "20/70 and 50/70 of 200, and the rest";
    EXPECT_FALSE(t->VisibleCol(0));
    EXPECT_TRUE(t->ShowCol(0));
    EXPECT_EQ(Sizes(t, false), "60@0 40@60 100@100");
    EXPECT_TRUE(t->ShowCol(0)) << "no change is still true";
    EXPECT_FALSE(t->ShowCol(3));
}

TEST_F(TableTest, GapsMinimumSizesAndHiddenRows) {
    XTable* t = OpenTable(R"(Row="3" Col="3" ColGap="2" RowGap="5")", R"(
      <this.Row Height="10" MinSize="20"/><this.Row Height="Auto"/><this.Row Height="30"/>)");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->GetColInfo(2)->gap, 0) << "the last column has no gap";
    EXPECT_EQ(Sizes(t, false), "66@0 65@68 65@135");
    EXPECT_EQ(Sizes(t, true), "20@0 40@25 30@70") << "a minimum wins over a smaller size";
    EXPECT_EQ(t->GetRowSizeEx(0, true, false), 10) << "the written value";
    EXPECT_EQ(t->GetRowSizeEx(0, false, true), 25) << "with its gap";
    ASSERT_TRUE(t->HideRow(0));
    EXPECT_EQ(Sizes(t, true), "0@0 65@0 30@70") << "hidden, even its minimum goes";
    t->SetRowSize(2, L"Auto");
    EXPECT_EQ(Sizes(t, true), "0@0 48@0 47@53");
    EXPECT_EQ(t->GetRowSize(7), 0);
    EXPECT_EQ(t->GetColSizeEx(-1, false, true), 0);
}

TEST_F(TableTest, ItemsFillTheGridInFlowOrderWithSpansAndFindTheirCells) {
    XTable* t = OpenTable(R"(Row="2" Col="3" Flow="Vertical")", R"(
      <this.Item Text="a" RowSpan="2"/>
      <this.Item Text="b"/>
      <this.Item Text="c" ColSpan="9"/>
      <this.Item Text="d" Row="0" Col="2"/>
      <this.Item Text="taken" Row="0" Col="2"/>
      <this.Item Text="off" Row="7" Col="7"/>
      <this.Item Based="NoSuchClass" Text="plain"/>)");
    ASSERT_TRUE(t);
    // Vertical flow: a (0,0), b (1,0), c (0,1); d at its place; then the cursor's (1,1).
    EXPECT_EQ(t->GetCellData(0, 0), L"a");
    EXPECT_EQ(t->GetCellData(1, 0), L"b") << "a span does not move the cursor";
    EXPECT_EQ(t->GetCellData(0, 1), L"c");
    EXPECT_EQ(t->GetCellData(0, 2), L"d") << "an occupied slot keeps its item";
    EXPECT_EQ(t->GetCellData(1, 2), L"off") << "outside the grid the cursor places it";
    EXPECT_EQ(t->GetCellData(1, 1), L"");
    EXPECT_NE(dynamic_cast<XTextBox*>(t->GetSubItem(0, 2)), nullptr) << "TextBox by default";
    EXPECT_EQ(t->GetSubItem(1, 1), nullptr);

    // Cells cover their spans; a span past the edge stops there.
    EXPECT_EQ(CRect(*t->GetItem(0, 0)), CRect(0, 0, 67, 100));
    EXPECT_EQ(CRect(*t->GetItem(0, 1)), CRect(67, 0, 200, 50));
    EXPECT_EQ(CRect(*dynamic_cast<XUI*>(t->GetSubItem(0, 1))), CRect(67, 0, 200, 50))
        << "the item fills its cell";

    int row = -1;
    int col = -1;
    ASSERT_TRUE(t->GetRowCol(CPoint(100, 70), row, col));
    EXPECT_EQ(row * 10 + col, 11);
    EXPECT_FALSE(t->GetRowCol(CPoint(67, 70), row, col)) << "an edge finds nothing";
    EXPECT_FALSE(t->GetRowCol(CPoint(300, 70), row, col));
    EXPECT_EQ(t->GetSubUI(L"0,2"), t->GetSubItem(0, 2));
    EXPECT_EQ(t->GetSubUI(L"0"), nullptr);
    t->SetCellData(1, 0, L"B");
    EXPECT_EQ(t->GetCellData(1, 0), L"B");
    t->SetCellData(9, 9, L"nowhere");
    EXPECT_EQ(t->GetCellData(9, 9), L"");

    // A hidden row hides its cells.
    ASSERT_TRUE(t->HideRow(1));
    EXPECT_FALSE(t->GetItem(1, 0)->IsShow());
    EXPECT_TRUE(t->GetItem(0, 0)->IsShow());
}

TEST_F(TableTest, RowsAndColumnsInsertFromTemplatesAndDelete) {
    XTable* t = OpenTable(R"(Row="1" Col="2" RowSize="20")", R"(
      <this.Item Text="a"/><this.Item Text="b"/>
      <this.InsertRow><this.Item Text="new"/><this.Item Text="row"/></this.InsertRow>)");
    ASSERT_TRUE(t);
    ASSERT_TRUE(t->InsertRow(0));
    EXPECT_EQ(t->GetRowCount(), 2);
    EXPECT_EQ(t->GetCellData(0, 0) + t->GetCellData(0, 1), L"newrow");
    EXPECT_EQ(t->GetCellData(1, 0) + t->GetCellData(1, 1), L"ab") << "the old row moved down";
    EXPECT_EQ(CRect(*t->GetItem(1, 1)), CRect(100, 80, 200, 100))
        << "the new automatic row above takes the rest";
    ASSERT_TRUE(t->InsertRow(99)) << "out of range appends";
    EXPECT_EQ(t->GetCellData(2, 1), L"row");
    EXPECT_FALSE(t->InsertCol(0)) << "no column template";

    XDO* old = t->GetItem(1, 0);
    ASSERT_TRUE(t->DeleteRow(1));
    EXPECT_FALSE(IsLiveXdo(old)) << "its cells go with it";
    EXPECT_EQ(t->GetCellData(1, 0), L"new");
    ASSERT_TRUE(t->DeleteCol(0));
    EXPECT_EQ(t->GetColCount(), 1);
    EXPECT_EQ(t->GetCellData(0, 0), L"row");
    EXPECT_EQ(t->GetDisplayOrder(), std::vector<int>{0});
    EXPECT_FALSE(t->DeleteCol(1));
    EXPECT_FALSE(t->DeleteRow(-1));
}

TEST_F(TableTest, LinesFollowTheirRowsAndColumnsAndArePainted) {
    XTable* t = OpenTable(R"(Row="2" Col="2")", R"(
      <this.RowLine Pos="0" Color="255,0,0"/>
      <this.ColLine Pos="0,5" Line="1,9" Weight="1" Color="0,0,255"/>)");
    ASSERT_TRUE(t);
    ASSERT_EQ(t->GetRowLines().size(), 1u);
    const CTableLine& across = t->GetRowLines()[0];
    EXPECT_EQ(across.start, 0);
    EXPECT_EQ(across.end, 200);
    EXPECT_EQ(across.positions[0].coordinate, 50);
    const CTableLine& down = t->GetColLines()[0];
    EXPECT_EQ(down.start, 50) << "from row 1 to the last";
    EXPECT_EQ(down.end, 100);
    EXPECT_FALSE(down.positions[1].valid) << "no column 5";
    QImage image = Rendered();
    EXPECT_GT(Count(image, CRect(0, 50, 200, 51), RGB(255, 0, 0)), 150);
    EXPECT_GT(Count(image, CRect(100, 55, 101, 100), RGB(0, 0, 255)), 40);
    EXPECT_EQ(Count(image, CRect(100, 0, 101, 45), RGB(0, 0, 255)), 0);
}

TEST_F(TableTest, TablesInStepTakeColumnChangesAndMoveColSwapsTheFirstTwo) {
    OpenWindow(R"(<Table Name="head" Rect="0,0,200,20" Row="1" Col="2"/>
                  <Table Name="body" Rect="0,20,200,80" Row="3" Col="2"/>)");
    auto* head = dynamic_cast<XTable*>(UI(L"head"));
    auto* body = dynamic_cast<XTable*>(UI(L"body"));
    ASSERT_TRUE(head && body);
    head->AddDragSync(body);
    head->SetColSize(0, L"150");
    EXPECT_EQ(Sizes(body, false), "150@0 50@150");
    ASSERT_TRUE(head->MoveCol(0, 1));
    EXPECT_EQ(body->GetDisplayOrder(), (std::vector<int>{1, 0}));
    EXPECT_EQ(Sizes(body, false), "150@50 50@0");
    EXPECT_EQ(body->GetNthDispCol(0), 1);
}

TEST_F(TableTest, TheLayoutIsSavedWithTheScreenAndReadBack) {
    XTable* t = OpenTable(R"(Save="true" SaveCol="true" Row="1" Col="3")",
                          R"(<this.Item/><this.Item/><this.Item/>)");
    ASSERT_TRUE(t);
    t->SetColSize(0, L"30");
    t->HideCol(2);
    XElement settings(L"Screen");
    settings.AppendChild(new XElement(L"Object", &settings)); // another object's, kept
    t->SaveObject(&settings);
    t->SaveObject(&settings);
    XElement* section = settings.GetFirstChild()->GetNextSibling();
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->Serialize().find("Col3"), std::string::npos);
    EXPECT_NE(section->FindChild(L"Col2"), nullptr);
    EXPECT_EQ(section->GetNextSibling(), nullptr) << "saved twice, one section";

    t->SetColSize(0, L"Auto");
    t->ShowCol(2);
    EXPECT_EQ(Sizes(t, false), "67@0 67@67 66@134");
    t->LoadObject(&settings);
    EXPECT_EQ(Sizes(t, false), "30@0 170@30 0@200");
    EXPECT_FALSE(t->GetItem(0, 2)->IsShow()) << "a hidden column's cells hide again";
    XElement empty(L"Screen");
    t->LoadObject(&empty);
    EXPECT_EQ(Sizes(t, false), "30@0 170@30 0@200") << "nothing saved, nothing changed";
}

// The mouse: a grip shows the sizing cursor, a press there starts a resize whose track stays
// within the neighbours' minimum sizes, and the release applies it.
TEST_F(TableTest, GripsResizeRowsAndColumnsWithinTheirLimits) {
    // Columns all in pixels: each grip resizes its own column, the last one included.
    XTable* t = OpenTable(R"(Row="1" Col="3")", R"(
      <this.Col Width="50" Resize="true"/><this.Col Width="50"/><this.Col Width="100" Resize="true"/>)");
    ASSERT_TRUE(t && t->IsFixedWidth());
    EXPECT_TRUE(t->GetResizeInfo(CPoint(51, 50), false));
    EXPECT_FALSE(t->GetResizeInfo(CPoint(100, 50), false)) << "the middle column has no grip";
    Press(CPoint(198, 50));
    Move(CPoint(150, 50), Button::Left);
    Release(CPoint(150, 50));
    EXPECT_EQ(Sizes(t, false), "50@0 50@50 50@100") << "the last column alone";
    Move(CPoint(50, 50));
    Press(CPoint(50, 50));
    Move(CPoint(72, 50), Button::Left);
    Release(CPoint(72, 50));
    EXPECT_EQ(Sizes(t, false), "72@0 50@72 50@122");

    // Rows: a pixel row and the automatic one below change by the same amount; the track
    // stops where the neighbour would go below its minimum.
    t = OpenTable(R"(Row="3" Col="1")", R"(
      <this.Row Height="30" Resize="true"/><this.Row MinSize="10"/><this.Row Height="20"/>)");
    ASSERT_TRUE(t);
    EXPECT_FALSE(t->IsFixedWidth()) << "its one column is automatic";
    Press(CPoint(100, 30));
    Move(CPoint(100, 40), Button::Left);
    Release(CPoint(100, 40));
    EXPECT_EQ(Sizes(t, true), "40@0 40@40 20@80");
    EXPECT_EQ(t->GetRowInfo(1)->GetScale(), CPosEx::SCALE_PERCENT) << "the rest as a percentage";
    Press(CPoint(100, 40));
    Move(CPoint(100, 95), Button::Left);
    Release(CPoint(100, 95));
    EXPECT_EQ(Sizes(t, true), "70@0 10@70 20@80") << "the neighbour keeps its minimum";

    // Escape puts everything back.
    Press(CPoint(100, 70));
    Move(CPoint(100, 50), Button::Left);
    MSG escape;
    escape.message = orvo::WM_KEYDOWN;
    escape.wParam = 0x1B;
    EXPECT_EQ(Win()->OnPreTranslateMsg(&escape), 1);
    Release(CPoint(100, 50));
    EXPECT_EQ(Sizes(t, true), "70@0 10@70 20@80");
    EXPECT_FALSE(Win()->IsDragging());
}

TEST_F(TableTest, DraggedColumnsTakeTheirTargetsPlaceAndAPressAloneClicks) {
    OpenWindow(R"(<Table Name="t" Rect="0,0,200,100" Row="1" Col="3" ColSize="Auto">
                    <this.Col Swap="true"/><this.Col Swap="true"/><this.Col Swap="true"/>
                    <this.Item Text="a"/><this.Item Text="b"/><this.Item Text="c"/>
                  </Table>
                  <Table Name="tail" Rect="0,0,200,100" Row="1" Col="3" ColSize="Auto"/>)");
    auto* t = dynamic_cast<XTable*>(UI(L"t"));
    auto* tail = dynamic_cast<XTable*>(UI(L"tail"));
    ASSERT_TRUE(t && tail);
    t->AddDragSync(tail);
    Press(CPoint(20, 50));
    Move(CPoint(60, 50), Button::Left);
    Move(CPoint(180, 50), Button::Left);
    Release(CPoint(180, 50));
    EXPECT_EQ(t->GetDisplayOrder(), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(tail->GetDisplayOrder(), (std::vector<int>{1, 2, 0})) << "kept in step";
    EXPECT_EQ(CRect(*t->GetItem(0, 0)).left, 133) << "a is shown last";

    auto* heading = dynamic_cast<XUI*>(t->GetSubItem(0, 1));
    Press(CPoint(20, 50));
    Release(CPoint(20, 50));
    EXPECT_EQ(t->GetDisplayOrder(), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(heading->GetMouseState(), XWindow::MOUSE_LCLICK) << "b was clicked";
}

TEST_F(TableTest, OversizedAndAbsurdTablesStayEmptyOrClamped) {
    XTable* t = OpenTable(R"(Row="1000" Col="1000")");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->GetRowCount() + t->GetColCount(), 0) << "more than 100,000 positions";
    t = OpenTable(R"(Row="1" Col="10000" ColSize="-5")",
                  R"(<this.Item Text="x" ColSpan="99999"/>)");
    ASSERT_EQ(t->GetColCount(), 10000);
    EXPECT_EQ(t->GetColSize(0), 0) << "a negative size is no size";
    t = OpenTable(R"(Row="2" Col="1" RowSize="99999999999")");
    EXPECT_GE(t->GetRowSize(0), 0);
    t = OpenTable(R"(Row="0" Col="5")", R"(<this.Item Text="x"/><this.Col Width="5"/>)");
    EXPECT_EQ(t->GetItem(0, 0), nullptr);
}

} // namespace
} // namespace orvo::test
