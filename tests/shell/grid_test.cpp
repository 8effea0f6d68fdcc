// Grids: the body template painted once per visible row, rows per page, selection by clicks
// and keys, scrolling at the ends, the scroll bars' messages, single-row repaints on data
// changes, column operations and the layout saved with the screen.
#include <algorithm>

#include "core/element.h"
#include "data/struct.h"
#include "platform/gui/virtual_key.h"
#include "shell/xscroll_bar.h"
#include "shell_fixture.h"
#include "ui/window_message.h"
#include "ui/xgrid.h"
#include "ui/xgrid_client.h"
#include "ui/xtable.h"

namespace orvo::test {
namespace {

// Row looks by user state, and data cells whose colour is their row's "look" field.
constexpr const char* kGridTheme = R"(<Theme>
  <UIStyle Control="TextBox"><DrawEvent><Text TextColor="0,0,0"/></DrawEvent></UIStyle>
  <UIStyle Control="RowLook">
    <DrawEvent><Fill BackColor="255,255,255"/></DrawEvent>
    <DrawEvent State="User.2"><Fill BackColor="0,0,255"/></DrawEvent>
    <DrawEvent State="User.3"><Fill BackColor="128,128,128"/></DrawEvent></UIStyle>
  <UIStyle Control="Pick">
    <DrawEvent><Text TextColor="0,0,0"/></DrawEvent>
    <DrawEvent State="User.4"><Fill BackColor="255,255,0"/></DrawEvent></UIStyle>
  <UIStyle Control="Look">
    <DrawEvent><Fill BackColor="0,0,0"/></DrawEvent>
    <DrawEvent State="User.7"><Fill BackColor="255,0,0"/></DrawEvent>
    <DrawEvent State="User.8"><Fill BackColor="0,255,0"/></DrawEvent></UIStyle>
</Theme>)";

// Logs the events and object events a grid raises.
class LoggingGrid : public XGrid {
public:
    ORVO_KEY(L"LoggingGrid")
    void SendEvent(XElement* evt, XDO* sender) override {
        std::wstring entry = evt->GetTagName();
        if (std::wstring key; evt->GetValue(L"Key", key))
            entry += L":" + key;
        log.push_back(entry);
        XGrid::SendEvent(evt, sender);
        if (destroyOn == evt->GetTagName())
            DestroyObject(this);
    }
    int RunObjectEvent(int id) override {
        if (id == EVT_SELECT)
            log.push_back(L"Select");
        return XGrid::RunObjectEvent(id);
    }
    static inline std::vector<std::wstring> log;
    static inline std::wstring destroyOn;
};

class GridTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        RegisterFactory<LoggingGrid>();
        LoggingGrid::log.clear();
        LoggingGrid::destroyOn.clear();
        gridTheme = ParseMarkup(kGridTheme);
        ASSERT_TRUE(gridTheme && XThemeMan::Instance().LoadTheme(gridTheme.get()));
    }

    // A grid over a ring of `rows` rows of (code, look): code "C<row>", look 7 for even rows, 8
    // for odd; the ring lets a test take rows away.
    void OpenGrid(int rows,
                  const std::string& attributes = "",
                  const std::string& methods = kThreeColumns) {
        const std::string n = std::to_string(rows);
        OpenWindow(R"(<structure Name="Rows" count=")" + n + R"(" MaxRow=")" + n + R"(">
            <this.field item="code" type="String" size="8"/>
            <this.field item="look" type="Integer"/></structure>
          <LoggingGrid Name="grid" Data="Rows" Rect="0,0,100%,100%" Col="3" )" +
                   attributes + ">" + methods + "</LoggingGrid>");
        data = dynamic_cast<XStruct*>(page->GetObjByNameDown(L"Rows"));
        grid = dynamic_cast<XGrid*>(UI(L"grid"));
        ASSERT_TRUE(data && grid && grid->GetClient());
        client = grid->GetClient();
        for (int r = 0; r < rows; ++r) {
            data->SetVal(r, 0, (L"C" + std::to_wstring(r)).c_str());
            data->SetVal(r, 1, r % 2 ? 8 : 7);
        }
    }
    // The window the rows paint into, as it looks now.
    QImage Rows() {
        client->DoPaint();
        Pump(2);
        return client->GetNativeWindow()->RenderImage();
    }
    // Paints what is dirty and answers how many rows that drew.
    int PaintedRows() {
        client->DoPaint();
        Pump(2);
        return client->GetPaintedRows();
    }
    void Key(unsigned key) {
        MSG msg;
        msg.message = WM_KEYDOWN;
        msg.wParam = key;
        client->OnPreTranslateMsg(&msg);
    }
    // The middle of row `row` on the page, in column `column`.
    CPoint At(int row, int column) {
        const CRect cell = client->GetCellRect(row, column);
        return cell.CenterPoint();
    }
    // The look cell of a row on the page: its data row's "look".
    COLORREF LookAt(const QImage& image, int row) {
        const CRect cell = client->GetCellRect(row, 1);
        return PixelAt(image, cell.left + 5, cell.top + 5);
    }
    COLORREF RowColour(const QImage& image, int row, int column) {
        const CRect cell = client->GetCellRect(row, column);
        return PixelAt(image, cell.left + 2, cell.top + 2);
    }

    static constexpr const char* kThreeColumns = R"(
        <this.Col Width="40"/><this.Col Width="50"/><this.Col Width="Auto"/>
        <this.Head Rect="0,0,100%,16"><this.Item Text="Code"/><this.Item Text="Look"/>
          <this.Item Text="-"/></this.Head>
        <this.Body Rect="0,0,100%,20" Style="RowLook">
          <this.Item Field="code" Style="Hollow"/>
          <this.Item Based="Cell" Field="look" UserState="1" Style="Look" Rect="2,2,10,10"/>
          <this.Item Text="" Style="Pick"/></this.Body>
        <this.Tail Rect="0,0,100%,14"><this.Item Text="Sum"/></this.Tail>)";

    std::unique_ptr<XElement> gridTheme;
    XStruct* data = nullptr;
    XGrid* grid = nullptr;
    XGridClient* client = nullptr;
};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);

TEST_F(GridTest, RowsPerPageCountALastRowMissingNoMoreThanAQuarter) {
    OpenGrid(100, "", R"(<this.Body Rect="0,0,100%,20"><this.Item Field="code"/></this.Body>)");
    Native()->Move(CRect(100, 100, 300, 310));
    Pump(2);
    ASSERT_EQ(client->GetInner().rect.Height(), 210);
    EXPECT_EQ(client->GetRowPerPage(), 10) << "(210 + 2) / 20";
    EXPECT_EQ(grid->GetEndRow(), 9);
    Native()->Move(CRect(100, 100, 300, 318));
    Pump(2);
    EXPECT_EQ(client->GetRowPerPage(), 11) << "the last row lacks 2 of 20 pixels: it counts";
    Native()->Move(CRect(100, 100, 300, 317));
    Pump(2);
    EXPECT_EQ(client->GetRowPerPage(), 10) << "3 pixels missing is more than 2";
}

TEST_F(GridTest, HeadBodyAndTailStackAndCellsAreFoundByPoint) {
    OpenGrid(4);
    const CRect inner = client->GetInner().rect;
    EXPECT_EQ(grid->GetHead()->top, inner.top);
    EXPECT_EQ(grid->GetBody()->top, inner.top + 16) << "the body starts under the header";
    EXPECT_EQ(grid->GetTail()->bottom, inner.bottom) << "the tail sits at the bottom";
    EXPECT_FALSE(grid->GetBody()->IsShow()) << "the template itself is never shown";
    EXPECT_EQ(client->GetRowPerPage(), (100 - 16 - 14 + 2) / 20);

    int left = 0, width = 0;
    ASSERT_TRUE(grid->GetColPos(1, left, width));
    EXPECT_EQ(std::make_pair(left, width), std::make_pair(40, 50));
    EXPECT_EQ(client->GetCellRect(1, 1), CRect(40, 36, 90, 56));
    EXPECT_TRUE(client->GetCellRect(9, 1).IsRectEmpty()) << "off the page";

    int row = 0, column = 0;
    EXPECT_TRUE(client->CalcRowCol(CPoint(45, 40), row, column));
    EXPECT_EQ(std::make_pair(row, column), std::make_pair(1, 1));
    EXPECT_TRUE(client->CalcRowCol(CPoint(40, 40), row, column)) << "on the line between";
    EXPECT_EQ(column, -1);
    EXPECT_FALSE(client->CalcRowCol(CPoint(45, 10), row, column)) << "the header";
    EXPECT_FALSE(client->CalcRowCol(CPoint(45, 90), row, column)) << "the tail";
    data->SetRowCount(1);
    EXPECT_FALSE(client->CalcRowCol(CPoint(45, 40), row, column)) << "no data row there";
    EXPECT_TRUE(client->CalcRowColHead(CPoint(45, 5), row, column));
    EXPECT_EQ(column, 1);

    // Script names reach the grid's columns through the body's bindings.
    EXPECT_EQ(grid->GetFieldIndex(L"look"), 1);
    EXPECT_EQ(grid->GridToDataField(0), 0);
    EXPECT_EQ(grid->GridToDataField(2), -1) << "an unbound column";
    EXPECT_EQ(grid->DataToGridField(1), 1);
    EXPECT_EQ(grid->GetFieldIndex(L"nope"), -1);
}

TEST_F(GridTest, RowsShowTheirDataRowsInSelectionToggleAndReverseLooks) {
    OpenGrid(6, R"(ToggleRow="2")");
    QImage image = Rows();
    // The look cell shows its own row's field: red for even rows, green for odd.
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(LookAt(image, r), r % 2 ? kGreen : kRed) << r;
    EXPECT_EQ(RowColour(image, 0, 0), kWhite);
    EXPECT_EQ(RowColour(image, 1, 0), kWhite);
    EXPECT_EQ(RowColour(image, 2, 0), kGrey) << "rows 2-3 of a toggle of 2";

    grid->SetSelectRow(0);
    image = Rows();
    EXPECT_EQ(RowColour(image, 0, 0), kBlue);

    data->SetVal(5, 1, 8);
    data->SetVal(4, 1, 8);
    data->SetVal(0, 1, 7);
    grid->SetReverseRow(true);
    image = Rows();
    EXPECT_EQ(LookAt(image, 0), kGreen) << "the first row on the page shows the last data row";
    EXPECT_EQ(grid->ConvertedRow(0), 5);
}

TEST_F(GridTest, HighlightedColumnAndEmptyRowsPastTheData) {
    OpenGrid(2, R"(HighlightCol="True" HideEmptyRow="True")");
    grid->SetSelectRow(1);
    grid->SetSelectCol(2);
    EXPECT_EQ(grid->GetSelectCol(), 2);
    QImage image = Rows();
    const CRect selected = client->GetCellRect(1, 2);
    EXPECT_EQ(PixelAt(image, selected.left + 3, selected.top + 3), kYellow)
        << "the selected cell is drawn in user state 4";
    EXPECT_EQ(RowColour(image, 0, 2), kWhite);
    EXPECT_EQ(LookAt(image, 2), kWhite) << "an empty row paints no cells";
    grid->SetSelectCol(3);
    EXPECT_EQ(grid->GetSelectCol(), 2) << "out of range is refused";
    grid->SetSelectRow(-1);
    EXPECT_EQ(grid->GetSelectRow(), -1);
}

TEST_F(GridTest, ClicksSelectAndDoubleClicksSendDoubleSelectInstead) {
    OpenGrid(5);
    EXPECT_TRUE(client->GridClick(At(2, 1), XWindow::MOUSE_LDOWN));
    EXPECT_EQ(std::make_pair(grid->GetSelectRow(), grid->GetSelectCol()), std::make_pair(2, 1));
    EXPECT_FALSE(grid->IsDblClick());
    EXPECT_TRUE(client->GridClick(At(1, 0), XWindow::MOUSE_LDBLCLK));
    EXPECT_TRUE(grid->IsDblClick());
    EXPECT_EQ(LoggingGrid::log, (std::vector<std::wstring>{L"Select", L"DoubleSelect"}));
    EXPECT_FALSE(client->GridClick(CPoint(45, 5), XWindow::MOUSE_LDOWN)) << "the header";
    EXPECT_EQ(grid->GetSelectRow(), 1) << "a click off the rows changes nothing";

    // A handler may close the grid from its own selection event.
    LoggingGrid::destroyOn = L"DoubleSelect";
    const IXORef alive = grid->WeakRef();
    client->XOnLButtonDblClk(0, At(1, 1));
    Pump(2);
    EXPECT_FALSE(alive.Alive());
}

TEST_F(GridTest, KeysMoveTheSelectionAndPageAndReportTheEndsOnce) {
    OpenGrid(25,
             R"(KeyEvent="True")",
             R"(<this.Body Rect="0,0,100%,10"><this.Item Field="code"/></this.Body>)");
    ASSERT_EQ(client->GetRowPerPage(), 10);
    grid->SetSelectRow(0);
    Key(plat::VK_NEXT);
    EXPECT_EQ(std::make_pair(grid->GetStartRow(), grid->GetSelectRow()), std::make_pair(10, 10));
    Key(plat::VK_NEXT);
    EXPECT_EQ(std::make_pair(grid->GetStartRow(), grid->GetSelectRow()), std::make_pair(15, 20))
        << "the page stops at 25 - 10";
    Key(plat::VK_NEXT);
    EXPECT_EQ(grid->GetSelectRow(), 24);
    Key(plat::VK_DOWN);
    EXPECT_EQ(grid->GetSelectRow(), 24);
    Key(plat::VK_HOME);
    EXPECT_EQ(std::make_pair(grid->GetStartRow(), grid->GetSelectRow()), std::make_pair(0, 0))
        << "the selection is scrolled into view";
    Key(plat::VK_UP);
    Key(plat::VK_UP);
    Key(plat::VK_END);
    EXPECT_EQ(std::make_pair(grid->GetStartRow(), grid->GetSelectRow()), std::make_pair(15, 24));
    Key(plat::VK_PRIOR);
    EXPECT_EQ(std::make_pair(grid->GetStartRow(), grid->GetSelectRow()), std::make_pair(5, 14));
    Key('A');
    const std::vector<std::wstring> expected{L"Key:NEXT",
                                             L"Key:NEXT",
                                             L"HitBottom",
                                             L"Key:NEXT",
                                             L"Key:DOWN",
                                             L"HitTop",
                                             L"Key:HOME",
                                             L"Key:UP",
                                             L"Key:UP",
                                             L"HitBottom",
                                             L"Key:END",
                                             L"Key:PRIOR"};
    EXPECT_EQ(LoggingGrid::log, expected) << "each end once; other keys are no events";

    data->SetRowCount(0);
    data->NotifyChange(0, 0);
    Key(plat::VK_DOWN);
    EXPECT_EQ(grid->GetSelectRow(), -1) << "no rows, no selection";
}

TEST_F(GridTest, ScrollingStaysWithinTheRowsAndTellsTheScrollBar) {
    OpenGrid(30, "", std::string(kThreeColumns) + R"(
        <this.VScroll Size="12"><ScrollBar Name="bar" Rect="0,0,100%,100%"/></this.VScroll>)");
    auto* bar = dynamic_cast<XScrollBar*>(UI(L"bar"));
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->Width(), 12);
    const int page = client->GetRowPerPage();
    ASSERT_EQ(page, 3);
    EXPECT_EQ(std::make_pair(bar->GetMax(), bar->GetPage()), std::make_pair(29, page));

    grid->Scroll(-5);
    EXPECT_EQ(grid->GetStartRow(), 0);
    EXPECT_EQ(LoggingGrid::log, std::vector<std::wstring>{L"HitTop"});
    grid->Scroll(100);
    EXPECT_EQ(grid->GetStartRow(), 27) << "30 - 3";
    EXPECT_EQ(bar->GetPos(), 27);
    grid->CenterRow(10);
    EXPECT_EQ(grid->GetStartRow(), 9);

    // The user's move on the bar comes back as "#ScrollPos#".
    bar->ScrollTo(20);
    EXPECT_EQ(grid->GetStartRow(), 20);
    client->XOnMouseWheel(0, 120, CPoint(5, 30));
    EXPECT_EQ(grid->GetStartRow(), 19);

    // Rows removed pull the page back within them.
    data->SetRowCount(10);
    data->NotifyChange(0, 0);
    EXPECT_EQ(grid->GetStartRow(), 7);
    EXPECT_EQ(bar->GetMax(), 9);
    data->SetRowCount(0);
    data->NotifyChange(0, 0);
    EXPECT_EQ(grid->GetStartRow(), 0);
}

TEST_F(GridTest, ScrollMessagesStayInsideTheGrid) {
    OpenWindow(R"(<Grid Name="g1" Rect="0,0,100,100" Col="1">
          <this.Body><this.Item Text="x"/></this.Body>
          <this.VScroll><ScrollBar Name="inside" Rect="0,0,100%,100%"/></this.VScroll></Grid>
        <ScrollBar Name="outside" Rect="150,0,10,100" Max="77"/>)");
    grid = dynamic_cast<XGrid*>(UI(L"g1"));
    ASSERT_TRUE(grid);
    grid->SetRecordSize(40);
    grid->Scroll(3);
    EXPECT_EQ(dynamic_cast<XScrollBar*>(UI(L"inside"))->GetPos(), 3);
    EXPECT_EQ(dynamic_cast<XScrollBar*>(UI(L"outside"))->GetMax(), 77)
        << "a blocked message does not reach the bar beside the grid";
}

TEST_F(GridTest, OneChangedRowRepaintsThatRowAloneAndManyCoalesce) {
    OpenGrid(40, R"(PaintDelay="10")");
    Rows();
    const int start = 0;
    data->NotifyChange(XGridClient::CHANGE_ROW, 2);
    EXPECT_EQ(client->GetDirtyRect(), client->GetRowRect(2));
    EXPECT_EQ(PaintedRows(), 1);

    data->NotifyChange(XGridClient::CHANGE_ROW, 1);
    data->NotifyChange(XGridClient::CHANGE_ROW, 3);
    data->NotifyChange(XGridClient::CHANGE_ROW, 1);
    EXPECT_TRUE(client->TimerRunning(XWindow::TIMER_PAINT)) << "one delayed paint";
    EXPECT_EQ(PaintedRows(), 3) << "the union of rows 1 to 3";

    data->NotifyChange(XGridClient::CHANGE_ROW, 30);
    EXPECT_TRUE(client->GetDirtyRect().IsRectEmpty()) << "a row out of view costs nothing";
    EXPECT_EQ(grid->GetStartRow(), start);

    data->NotifyChange(XGridClient::CHANGE_FIRST_ROW, 1);
    EXPECT_EQ(client->GetDirtyRect(), client->GetRowRect(0));
    client->DoPaint();

    // Reversed, a new last data row is the first row on the screen.
    grid->SetReverseRow(true);
    client->DoPaint();
    data->NotifyChange(XGridClient::CHANGE_LAST_ROW, 1);
    EXPECT_EQ(client->GetDirtyRect(), client->GetRowRect(0));
    client->DoPaint();
    data->NotifyChange(XGridClient::CHANGE_ROW, 39);
    EXPECT_EQ(client->GetDirtyRect(), client->GetRowRect(0));
}

TEST_F(GridTest, TheSelectionFollowsRowsInsertedAndRemovedAtTheTop) {
    OpenGrid(10);
    grid->SetSelectRow(4);
    data->NotifyChange(XGridClient::CHANGE_INSERTED_TOP, 3);
    EXPECT_EQ(grid->GetSelectRow(), 7);
    data->NotifyChange(XGridClient::CHANGE_REMOVED_TOP, 2);
    EXPECT_EQ(grid->GetSelectRow(), 5);
    data->NotifyChange(0, 0);
    EXPECT_EQ(grid->GetSelectRow(), 5) << "a refresh keeps the selection";
    data->NotifyChange(XGridClient::CHANGE_INSERTED_TOP, 2000000000);
    EXPECT_EQ(grid->GetSelectRow(), -1) << "pushed past the rows";

    // A row added at the bottom repaints that row alone; more than one, the whole body.
    client->DoPaint();
    data->NotifyChange(XGridClient::CHANGE_ADDED_BOTTOM, 1);
    EXPECT_TRUE(client->GetDirtyRect().IsRectEmpty()) << "the last row is off the page";
    grid->Scroll(100);
    client->DoPaint();
    data->NotifyChange(XGridClient::CHANGE_ADDED_BOTTOM, 1);
    EXPECT_EQ(client->GetDirtyRect(), client->GetRowRect(9));
    client->DoPaint();
    data->NotifyChange(XGridClient::CHANGE_ADDED_BOTTOM, 2);
    EXPECT_EQ(client->GetDirtyRect(), client->GetBodyRect());
}

TEST_F(GridTest, ColumnsShowHideInsertAndDeleteInEveryTable) {
    OpenGrid(3);
    EXPECT_TRUE(grid->HideCol(0));
    for (XTable* t : {grid->GetHead(), grid->GetBody(), grid->GetTail()})
        EXPECT_FALSE(t->VisibleCol(0));
    int left = 0, width = 0;
    grid->GetColPos(1, left, width);
    EXPECT_EQ(left, 0);
    EXPECT_TRUE(grid->ShowCol(0));
    EXPECT_FALSE(grid->ShowCol(7));

    XElement col(L"Col");
    col.SetValue(L"Width", L"30");
    EXPECT_TRUE(grid->InsertCol(1, &col));
    EXPECT_EQ(client->GetColCount(), 4);
    for (XTable* t : {grid->GetHead(), grid->GetBody(), grid->GetTail()})
        EXPECT_EQ(t->GetColCount(), 4);
    grid->GetColPos(2, left, width);
    EXPECT_EQ(std::make_pair(left, width), std::make_pair(70, 50)) << "the old column 1";
    EXPECT_EQ(grid->GridToDataField(2), 1);
    EXPECT_TRUE(grid->DeleteCol(1));
    EXPECT_EQ(grid->GridToDataField(1), 1);
    EXPECT_FALSE(grid->DeleteCol(3));
    EXPECT_FALSE(grid->InsertCol(9, nullptr));
}

TEST_F(GridTest, ColumnOrderAndSelectionComeBackWithTheSavedLayout) {
    OpenGrid(5, R"(Save="True" SelectKeyField="code")");
    grid->GetHead()->MoveCol(0, 1);
    EXPECT_EQ(grid->GetBody()->GetDisplayOrder(), (std::vector<int>{1, 0, 2}))
        << "the body follows the header";
    grid->SetSelectRow(3);
    XElement settings(L"Settings");
    grid->SaveObject(&settings);
    XElement* section = settings.GetFirstChild();
    ASSERT_TRUE(section);
    EXPECT_EQ(*section->FindValue(L"ColIndex"), L"1 0 2 ");

    grid->GetHead()->SetDisplayOrder({0, 1, 2});
    grid->SetSelectRow(-1);
    section->SetValue(L"ColIndex", L"2 9 2 x");
    grid->LoadObject(&settings);
    EXPECT_EQ(grid->GetHead()->GetDisplayOrder(), (std::vector<int>{2, 0, 1}))
        << "bad entries are passed over, the rest follow in order";
    EXPECT_EQ(grid->GetSelectRow(), 3) << "found again by its key";
}

TEST_F(GridTest, MalformedGridsBuildNothingOrPaintNothing) {
    OpenWindow(R"(<Grid Name="none" Rect="0,0,100,50"><this.Body><this.Item/></this.Body></Grid>
        <Grid Name="nobody" Rect="0,50,100,50" Col="2"><this.Head/></Grid>
        <Grid Name="huge" Rect="100,0,100,50" Col="10000">
          <this.Col Col="9999" Width="-50"/><this.Col Col="10000" Width="20"/>
          <this.Body><this.Item Field="missing" ColSpan="99999"/></this.Body></Grid>)");
    auto* none = dynamic_cast<XGrid*>(UI(L"none"));
    ASSERT_TRUE(none);
    EXPECT_EQ(none->GetClient(), nullptr);
    EXPECT_EQ(none->GetSelectRow(), -1);
    EXPECT_EQ(none->GetRowPerPage(), 0);
    none->Scroll(5);
    EXPECT_FALSE(none->StartEdit(0, 0, L"Edit.xml", L"Screen", L""));

    auto* nobody = dynamic_cast<XGrid*>(UI(L"nobody"));
    ASSERT_TRUE(nobody && nobody->GetClient());
    nobody->SetRecordSize(20);
    EXPECT_EQ(nobody->GetRowPerPage(), 0);
    int row = 0, column = 0;
    EXPECT_FALSE(nobody->GetClient()->CalcRowCol(CPoint(5, 30), row, column));
    nobody->Scroll(3);
    nobody->GetClient()->KeyDownProcess(plat::VK_NEXT);
    EXPECT_EQ(nobody->GetStartRow(), 0);

    auto* huge = dynamic_cast<XGrid*>(UI(L"huge"));
    ASSERT_TRUE(huge && huge->GetBody());
    EXPECT_EQ(huge->GetBody()->GetColCount(), 10000);
    EXPECT_EQ(huge->GridToDataField(0), -1) << "a missing field binds nothing";
    huge->GetClient()->SetRecordSize(3);
    huge->GetClient()->Refresh();
    huge->GetClient()->DoPaint();
    Pump(2);
    EXPECT_GT(huge->GetClient()->GetPaintedRows(), 0);
}

} // namespace
} // namespace orvo::test
