#pragma once
// XGridClient ("GridClient"): the scrolling part of a grid. It holds up to three tables: a
// header ("Head"), a one-row body template ("Body") painted once per visible data row, and a
// footer ("Tail") at the bottom; their columns move and resize together. It keeps the first
// visible row, the selected row and column, the hovered and pressed cells, scrolls by rows
// down and by pixels across, answers keys, and repaints single rows when its data source
// reports changes. Scroll bars hear its position as "#VScrollSet#" and "#HScrollSet#" and
// answer with "#ScrollPos#".
//
// Files: xgrid_client.cpp (tables, columns, geometry, selection, messages),
// xgrid_client_paint.cpp (the rows), xgrid_client_input.cpp (mouse and keys),
// xgrid_client_scroll.cpp (scrolling and data changes).
#include <vector>

#include "ui/table_parts.h"
#include "ui/xwindow.h"

class XGrid;
class XTable;

class XGridClient : public XWindow, public CTableListener {
    ORVO_DISPATCH_MAP()

public:
    // Data change kinds of IO data listeners.
    enum ChangeKind : int {
        CHANGE_FIRST_ROW = 0x10001,
        CHANGE_LAST_ROW = 0x10002,
        CHANGE_INSERTED_TOP = 0x10003,
        CHANGE_ADDED_BOTTOM = 0x10004,
        CHANGE_REMOVED_TOP = 0x10005,
        CHANGE_REMOVED_BOTTOM = 0x10006,
        CHANGE_ROW = 0x10007,
    };
    struct Cell {
        int row = -1;
        int column = -1;
        bool operator==(const Cell&) const = default;
    };
    // User states the body is painted in.
    enum RowState : int { ROW_NORMAL = 1, ROW_SELECTED = 2, ROW_TOGGLED = 3, CELL_SELECTED = 4 };

    // Native code that hosts a grid may see the client's window messages, object events and
    // tree messages: a non-zero answer to a window or tree message consumes it; object events
    // are told after the client has run them.
    using PreTranslateCallback = int (*)(XGridClient* client, MSG* msg);
    using ObjectEventCallback = void (*)(XGridClient* client, int id);
    using MsgCallback = int (*)(XGridClient* client, XElement* msg);

    XGridClient();
    ORVO_KEY(L"GridClient")

    // ---- building (the grid passes its element and methods on) -------------------------------
    // "MouseUI", "KeyEvent", "HighlightRow", "HighlightCol", "ReverseRow", "ToggleRow",
    // "HideEmptyRow" and "Col" (the column count).
    void Configure(XElement* e);
    // Builds "Head", "Body" or "Tail" from `e` with the client's columns.
    bool DefineTable(const wchar_t* method, XElement* e);
    // "Col": the entry of the column "Col" (default the next one).
    void DefineCol(XElement* e);
    // "Extra": an object in a hollow cell laid over the header, kept aligned to it.
    void DefineExtra(XElement* e);
    void SetGrid(XGrid* grid) { m_pGrid = grid; }
    void RegisterPreTranslateMsg(PreTranslateCallback callback) { m_onPreTranslate = callback; }
    void RegisterRunObjectEvent(ObjectEventCallback callback) { m_onObjectEvent = callback; }
    void RegisterRunMsgEvent(MsgCallback callback) { m_onMsg = callback; }

    // ---- life ----------------------------------------------------------------------------------
    int CreateInstance() override;
    int RunObjectEvent(int id) override;
    int RunMsg(int fromUp, XElement* msg, XDO* sender, XDO* origin, int& sendDown) override;
    void OnNotifierChanged(XDO* notifier, int notifyId, int a, int b) override;
    // The tables go where they belong after every layout; the positions go out again.
    void OnSizeChange() override;

    // ---- CTableListener ------------------------------------------------------------------------
    void OnTableDragEnd(XTable* table) override;
    void OnTableRecalc(XTable* table) override;

    // ---- tables and columns --------------------------------------------------------------------
    XTable* GetHead() const { return m_pHead; }
    XTable* GetBody() const { return m_pBody; }
    XTable* GetTail() const { return m_pTail; }
    int GetColCount() const { return m_nCols; }
    const std::vector<CRowColInfo>& GetColumns() const { return m_columns; }
    // A default column entry at `index` and the element applied to it as a "Col"; then every
    // table inserts the column.
    bool InsertCol(int index, XElement* e);
    bool DeleteCol(int index);
    bool ShowCol(int column);
    bool HideCol(int column);
    // The body column's left (in client coordinates) and width.
    bool GetColPos(int column, int& left, int& width) const;
    // The body cell object of a column, or null.
    XUI* GetBodyObject(int column) const;
    int GridToDataField(int column) const;
    int DataToGridField(int field) const;
    int GetFieldIndex(const wchar_t* name) const;

    // ---- data ----------------------------------------------------------------------------------
    XMetaIOData* GetSource() const;
    // Rows of the data source, else the count set for a grid without one.
    int GetRowCount() const;
    void SetRecordSize(int count);
    int ConvertedRow(int row) const;

    // ---- geometry ------------------------------------------------------------------------------
    int GetRowHeight() const;
    int GetRowPerPage() const;
    int GetStartRow() const { return m_nStartRow; }
    int GetEndRow() const { return m_nStartRow + GetRowPerPage() - 1; }
    // From the body's top to the tail's top, across the client.
    CRect GetBodyRect() const;
    // Row `row`'s rectangle while it is on the page; empty otherwise.
    CRect GetRowRect(int row) const;
    CRect GetCellRect(int row, int column) const;
    // The body row and column under `point` (client coordinates plus the logical x); false
    // outside the rows. The column is -1 between columns.
    bool CalcRowCol(CPoint point, int& row, int& column) const;
    bool CalcRowColHead(CPoint point, int& row, int& column) const;
    bool CalcRowColTail(CPoint point, int& row, int& column) const;
    int GetLogicalWidth() const { return m_nLogicalWidth; }

    // ---- selection -----------------------------------------------------------------------------
    int GetSelectRow() const { return m_nSelectRow; }
    int GetSelectCol() const { return m_nSelectCol; }
    void SetSelectRow(int row);
    void SetSelectCol(int column);
    bool IsDblClick() const { return m_bDblClick; }
    bool MakeSelectRowVisible();
    bool GetReverseRow() const { return m_bReverseRow; }
    void SetReverseRow(bool reverse);
    Cell GetHoverCell() const { return m_hover; }
    Cell GetPressedCell() const { return m_pressed; }
    bool HitTop() const { return m_bHitTop; }
    bool HitBottom() const { return m_bHitBottom; }

    // ---- scrolling -----------------------------------------------------------------------------
    // Moves the first visible row by `delta`, within the rows; with `send` the scroll bar
    // hears of it, with `paint` the rows repaint.
    void ScrollMsgPaint(int delta, bool send, bool paint);
    void HScrollMsgPaint(int delta, bool send, bool paint);
    void Scroll(int delta) { ScrollMsgPaint(delta, true, true); }
    void CenterRow(int row);
    // "#VScrollSet#" and "#HScrollSet#" to the scroll bars.
    void SendVScroll();
    void SendHScroll();

    // ---- painting ------------------------------------------------------------------------------
    void Draw(CDC* dc) override;
    // The rows: the body template painted once per visible row.
    void DrawContent(CDC* dc, CRect& rect, CUIEvent* event, CUIPaintText* text) override;
    void RepaintRow(int row);
    void RepaintCell(int row, int column);
    void RepaintBody();
    // `rect` (client coordinates plus the logical x) flashes pure blue on the window at once,
    // then repaints as usual: a trader sees which rows a change touched.
    void FlashRepaint(const CRect& rect);
    // The flash, when one is being shown; otherwise the subtree as every window host paints.
    void OnPaint(CDC* dc) override;
    // Rows the last paint drew, for measuring what a change costs.
    int GetPaintedRows() const { return m_nPaintedRows; }

    // ---- input ---------------------------------------------------------------------------------
    void OnButtonDown(unsigned flags, CPoint pt, int code) override;
    void OnButtonUp(unsigned flags, CPoint pt, int code) override;
    void OnButtonDblClk(unsigned flags, CPoint pt, int code) override;
    void XOnMouseMove(unsigned flags, CPoint pt) override;
    void XOnMouseWheel(unsigned flags, short delta, CPoint pt) override;
    int OnPreTranslateMsg(MSG* msg) override;
    // Selects the row and column under `point` for a click of `code`; false off the rows.
    bool GridClick(CPoint point, int code);
    // Moves the selection for a navigation key; true when the key is one.
    bool KeyDownProcess(unsigned key);
    // With "KeyEvent", the grid hears the navigation keys as "Key" events.
    void KeyEvent(unsigned key);
    void SendEventToGrid(const wchar_t* name);

protected:
    ~XGridClient() override;

private:
    XTable* BuildTable(const wchar_t* name, XElement* e);
    void CopyColumns(XTable* table) const;
    // Takes the grid's data source and hands it to the tables' objects.
    void BindSource();
    void LayoutTables();
    void PlaceExtras();
    void UpdateLogicalWidth();
    void DrawRows(CDC* dc);
    void SetHit(bool top, bool bottom);
    void ClearHits() { m_bHitTop = m_bHitBottom = false; }
    // `mark` (the hover or the pressed cell) becomes the cell under `pt`; both repaint.
    void MarkCellUnder(CPoint pt, Cell& mark);
    // Selects (row, column), repainting the rows that change.
    void Select(int row, int column);
    bool Created() const { return GetCreateState() >= 2 && GetNativeWindow(); }
    void ScrollToShow(int row);

    int m_nCols = 0;
    int m_nNextCol = 0;
    int m_nStartRow = 0;
    int m_nRecordSize = 0;
    int m_nToggleRow = 0;
    bool m_bMouseUI = false;
    bool m_bHideEmptyRow = false;
    bool m_bReverseRow = false;
    bool m_bHighlightRow = true;
    bool m_bHighlightCol = false;
    bool m_bKeyEvent = false;
    bool m_bHitTop = false;
    bool m_bHitBottom = false;
    int m_nSelectRow = -1;
    int m_nSelectCol = -1;
    bool m_bDblClick = false;
    int m_nLogicalWidth = 1;
    std::vector<CRowColInfo> m_columns;
    XGrid* m_pGrid = nullptr;
    XTable* m_pHead = nullptr;
    XTable* m_pBody = nullptr;
    XTable* m_pTail = nullptr;
    struct Extra {
        orvo::IXORef cell;
        int column = 0;
    };
    std::vector<Extra> m_extras;
    Cell m_hover;
    Cell m_pressed;
    bool m_bInitialized = false;
    bool m_contentDrawn = false;
    int m_nPaintedRows = 0;
    CRect m_flash; // client coordinates, while a flash is on the window
    orvo::IXORef m_source;
    PreTranslateCallback m_onPreTranslate = nullptr;
    ObjectEventCallback m_onObjectEvent = nullptr;
    MsgCallback m_onMsg = nullptr;
};
