// The grid's other parts: hover and pressed cells, the horizontal scroll row that shows only
// while the columns are wider than the grid, objects laid over the header, the editing page
// opened over a cell, and a source emptied while its rows paint.
#include "core/element.h"
#include "data/struct.h"
#include "platform/gui/virtual_key.h"
#include "shell/xscroll_bar.h"
#include "shell_fixture.h"
#include "support/temp_dir.h"
#include "ui/window_message.h"
#include "ui/xgrid.h"
#include "ui/xgrid_client.h"
#include "ui/xtable.h"

namespace orvo::test {
namespace {

// The editing page: keeps what it was opened with.
class EditPage : public XDO {
public:
    ORVO_KEY(L"EditPage")
    int SetElement(XElement* e) override {
        opened = e->MakeString();
        last = WeakRef();
        return XDO::SetElement(e);
    }
    static inline std::wstring opened;
    static inline IXORef last;
};

// A body cell that empties its structure the second time it is drawn.
class Emptier : public XUI {
public:
    ORVO_KEY(L"Emptier")
    void Draw(CDC* dc) override {
        if (++drawn == 2 && source)
            source->SetRowCount(0);
        XUI::Draw(dc);
    }
    static inline int drawn = 0;
    static inline XStruct* source = nullptr;
};

class GridPartsTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        RegisterFactory<EditPage>();
        RegisterFactory<Emptier>();
        EditPage::opened.clear();
        Emptier::drawn = 0;
        Emptier::source = nullptr;
    }
    void OpenGrid(const std::string& attributes, const std::string& methods) {
        OpenWindow(R"(<structure Name="Rows" count="8" MaxRow="8">
            <this.field item="code" type="String" size="8"/></structure>
          <Grid Name="grid" Data="Rows" Rect="0,0,100%,100%" )" +
                   attributes + ">" + methods + "</Grid>");
        data = dynamic_cast<XStruct*>(page->GetObjByNameDown(L"Rows"));
        grid = dynamic_cast<XGrid*>(UI(L"grid"));
        ASSERT_TRUE(data && grid && grid->GetClient());
        client = grid->GetClient();
        for (int r = 0; r < 8; ++r)
            data->SetVal(r, 0, (L"C" + std::to_wstring(r)).c_str());
    }

    XStruct* data = nullptr;
    XGrid* grid = nullptr;
    XGridClient* client = nullptr;
};

TEST_F(GridPartsTest, TheCellUnderTheMouseHoversIsPressedAndIsClicked) {
    OpenGrid(R"(Col="2" MouseUI="True")", R"(
        <this.Body Rect="0,0,100%,20"><this.Item Field="code"/>
          <this.Item Based="Probe" Name="button"/></this.Body>)");
    const CPoint button = client->GetCellRect(1, 1).CenterPoint();
    client->XOnMouseMove(0, button);
    EXPECT_EQ(client->GetHoverCell(), (XGridClient::Cell{1, 1}));
    client->XOnMouseMove(0, client->GetCellRect(1, 0).CenterPoint());
    EXPECT_EQ(client->GetHoverCell(), (XGridClient::Cell{1, 0}));
    client->XOnMouseMove(0, button);

    // The hovered row paints its cell in the hover look, and only for that row.
    Probe::log.clear();
    client->Refresh();
    client->DoPaint();
    Pump(2);
    EXPECT_EQ(Probe::log, (std::vector<std::wstring>{L"button:1", L"button:-1"}));

    client->XOnLButtonDown(0, button);
    EXPECT_EQ(client->GetPressedCell(), (XGridClient::Cell{1, 1}));
    EXPECT_EQ(grid->GetSelectRow(), 1);
    Probe::log.clear();
    client->XOnLButtonUp(0, button);
    EXPECT_EQ(Probe::log, (std::vector<std::wstring>{L"button:16", L"button:-1"}))
        << "a release over the pressed cell clicks its object";
    EXPECT_EQ(client->GetPressedCell(), XGridClient::Cell{});
    EXPECT_EQ(client->GetHoverCell(), XGridClient::Cell{});

    client->XOnLButtonDown(0, button);
    Probe::log.clear();
    client->XOnLButtonUp(0, client->GetCellRect(2, 1).CenterPoint());
    EXPECT_TRUE(Probe::log.empty()) << "released elsewhere: no click";
}

TEST_F(GridPartsTest, TheHorizontalScrollRowShowsOnlyWhileTheColumnsAreWider) {
    OpenGrid(R"(Col="3")", R"(
        <this.Col Width="120"/><this.Col Width="120"/><this.Col Width="60"/>
        <this.Head Rect="0,0,100%,16"><this.Item Text="a"/></this.Head>
        <this.Body Rect="0,0,100%,20"><this.Item Field="code"/></this.Body>
        <this.HScroll Size="12"><ScrollBar Name="across" Vertical="False" Rect="0,0,100%,100%"/>
        </this.HScroll>)");
    auto* bar = dynamic_cast<XScrollBar*>(UI(L"across"));
    ASSERT_TRUE(bar && grid->HasHScroll());
    EXPECT_EQ(client->GetLogicalWidth(), 300);
    EXPECT_TRUE(grid->GetFrame()->VisibleRow(1)) << "300 pixels of columns in 200";
    EXPECT_EQ(std::make_pair(bar->GetMax(), bar->GetPage()), std::make_pair(299, 200));

    client->HScrollMsgPaint(70, true, true);
    EXPECT_EQ(client->GetLogX(), 70);
    EXPECT_EQ(bar->GetPos(), 70);
    client->HScrollMsgPaint(500, true, true);
    EXPECT_EQ(client->GetLogX(), 100) << "no further than the columns' end";
    bar->ScrollTo(40);
    EXPECT_EQ(client->GetLogX(), 40) << "the bar's move comes back";

    // Narrower columns fit: the row goes.
    client->HScrollMsgPaint(-1000, true, true);
    XTable* head = grid->GetHead();
    head->SetColSize(0, L"20");
    client->OnTableDragEnd(head);
    EXPECT_EQ(client->GetLogicalWidth(), 200);
    EXPECT_FALSE(grid->GetFrame()->VisibleRow(1));
    EXPECT_EQ(grid->GetBody()->GetColInfo(0)->Size(), 20) << "the body follows the header";
}

TEST_F(GridPartsTest, ExtrasLieOverTheirHeaderColumnAndFollowIt) {
    OpenGrid(R"(Col="2")", R"(
        <this.Col Width="80"/><this.Col Width="Auto"/>
        <this.Head Rect="0,0,100%,18"><this.Item Text="a"/><this.Item Text="b"/></this.Head>
        <this.Body><this.Item Field="code"/></this.Body>
        <this.Extra Col="1" Name="filter" Text="▼"/>)");
    XUI* extra = UI(L"filter");
    ASSERT_TRUE(extra);
    const CRect column = grid->GetHead()->GetItem(0, 1)->ClientRect();
    EXPECT_EQ(extra->ClientRect(), column);
    grid->GetHead()->SetColSize(0, L"50");
    EXPECT_EQ(extra->ClientRect().left, 50) << "moved with the column";
}

TEST_F(GridPartsTest, EditingOpensThePageOverTheCellWithItsValue) {
    OpenGrid(R"(Col="1")", R"(<this.Body><this.Item Field="code"/></this.Body>)");
    TempDir dir;
    const std::wstring pagePath = dir.Write("edit.xml", "<EditPage/>");
    EXPECT_TRUE(grid->StartEdit(2, 0, pagePath.c_str(), L"", L"Mode=fast"));
    const std::wstring& opened = EditPage::opened; // attribute names are kept in lower case
    EXPECT_NE(opened.find(L"text=C2"), std::wstring::npos) << plat::ToUtf8(opened);
    EXPECT_NE(opened.find(L"gridrow=2"), std::wstring::npos);
    EXPECT_NE(opened.find(L"gridcol=0"), std::wstring::npos);
    EXPECT_NE(opened.find(L"mode=fast"), std::wstring::npos);
    EXPECT_NE(opened.find(L"__opener=" + XdoToPtr(grid)), std::wstring::npos);
    CRect screen;
    ASSERT_TRUE(client->GetScreenRect(screen));
    const CRect cell = client->GetCellRect(2, 0);
    EXPECT_NE(opened.find(L"rectframe=" + std::to_wstring(screen.left + cell.left) + L"," +
                          std::to_wstring(screen.top + cell.top)),
              std::wstring::npos);
    DestroyObject(static_cast<XDO*>(EditPage::last.Get()));

    EXPECT_FALSE(grid->StartEdit(20, 0, pagePath.c_str(), L"", L"")) << "a row off the page";
    EXPECT_FALSE(grid->StartEdit(0, 3, pagePath.c_str(), L"", L"")) << "no such column";
}

TEST_F(GridPartsTest, ASourceEmptiedWhileItsRowsPaintLeavesTheRestEmpty) {
    OpenGrid(R"(Col="2")", R"(
        <this.Body Rect="0,0,100%,20"><this.Item Field="code"/>
          <this.Item Based="Emptier"/></this.Body>)");
    Emptier::source = data;
    Emptier::drawn = 0;
    client->Refresh();
    client->DoPaint();
    Pump(2);
    EXPECT_GE(client->GetPaintedRows(), 3) << "every row on the page is still painted";
    EXPECT_EQ(data->GetRows(), 0);
    grid->Scroll(3);
    EXPECT_EQ(grid->GetStartRow(), 0);
}

TEST_F(GridPartsTest, AFlashPaintsBlueAtOnceAndLeavesTheNormalPaintToCome) {
    OpenGrid(R"(Col="1")", R"(<this.Body><this.Item Field="code"/></this.Body>)");
    client->DoPaint();
    Pump(2);
    const CRect row = client->GetRowRect(1);
    static std::vector<COLORREF>* s_seen = nullptr;
    std::vector<COLORREF> seen;
    s_seen = &seen;
    client->SetOnPaintEnd([](CDC* dc, XUI*) { s_seen->push_back(dc->GetPixel(5, 25)); });
    // A window repainted at once paints the subtree...
    CRect now = row;
    client->GetNativeWindow()->Invalidate(&now);
    client->GetNativeWindow()->UpdateWindow();
    ASSERT_EQ(seen.size(), 1u);
    seen.clear();
    // ...and a flash repaints at once without it.
    client->FlashRepaint(row);
    EXPECT_TRUE(seen.empty()) << "the flash is not the subtree's paint";
    EXPECT_EQ(client->GetDirtyRect(), row) << "the row's own paint comes next";
    client->DoPaint();
    Pump(2);
    ASSERT_FALSE(seen.empty());
    EXPECT_NE(seen.back(), RGB(0, 0, 255));
}

TEST_F(GridPartsTest, NativeHooksSeeMessagesFirst) {
    OpenGrid(R"(Col="1")", R"(<this.Body><this.Item Field="code"/></this.Body>
        <this.VScroll><ScrollBar Name="bar" Rect="0,0,100%,100%"/></this.VScroll>)");
    static std::vector<std::wstring> seen;
    seen.clear();
    client->RegisterPreTranslateMsg([](XGridClient*, MSG* msg) {
        seen.push_back(L"key " + std::to_wstring(msg->wParam));
        return msg->wParam == plat::VK_DOWN ? 1 : 0;
    });
    client->RegisterRunMsgEvent([](XGridClient*, XElement* msg) {
        seen.push_back(msg->GetTagName());
        return 1;
    });
    client->RegisterRunObjectEvent(
        [](XGridClient*, int id) { seen.push_back(std::to_wstring(id)); });
    grid->SetSelectRow(0);
    MSG down;
    down.message = WM_KEYDOWN;
    down.wParam = plat::VK_DOWN;
    EXPECT_EQ(client->OnPreTranslateMsg(&down), 1);
    EXPECT_EQ(grid->GetSelectRow(), 0) << "the hook took the key";
    down.wParam = plat::VK_END;
    client->OnPreTranslateMsg(&down);
    EXPECT_EQ(grid->GetSelectRow(), 7);
    dynamic_cast<XScrollBar*>(UI(L"bar"))->ScrollTo(2);
    EXPECT_EQ(grid->GetStartRow(), 3) << "the hook took the bar's move; End had scrolled to 8 - 5";
    client->RunObjectEvent(EVT_SELECT);
    const std::vector<std::wstring> expected{
        L"key 40", L"key 35", L"#VScrollSet#", L"#ScrollPos#", L"10"};
    EXPECT_EQ(seen, expected);
}

} // namespace
} // namespace orvo::test
