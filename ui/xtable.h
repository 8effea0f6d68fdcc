#pragma once
// XTable ("Table"): visual objects laid out in rows and columns. Row heights and column
// widths are position expressions: pixels, percentages of what the pixel entries leave, or
// automatic shares of the rest. Each "Item" is an object wrapped in a cell placed at a grid
// position with its spans; separator lines follow rows and columns; rows and columns show,
// hide, insert from templates and delete; tables kept in step share column geometry.
#include <memory>
#include <string>
#include <vector>

#include "ui/table_parts.h"
#include "ui/xui.h"

class XTable : public XUI {
    ORVO_DISPATCH_MAP()

public:
    XTable();
    ORVO_KEY(L"Table")

    // The most grid positions a table takes ("Row" x "Col"); more leaves it empty.
    static constexpr long long kMaxItems = 100000;

    // "Row", "Col", "Flow", "RowGap", "ColGap", "RowSize", "ColSize", "SaveRow", "SaveCol".
    int SetElement(XElement* e) override;
    // "Item", "Row", "Col", "InsertRow", "InsertCol", "RowLine", "ColLine".
    int SetMethod(const wchar_t* name, XElement* e) override;
    // Before creation a table whose columns are not all in pixels leaves fixed-width mode;
    // dragging moves the track and the drag's end applies it.
    int RunObjectEvent(int id) override;
    // A table with grips or movable columns watches its window's mouse and keys.
    int CreateInstance() override;
    // Shows the sizing cursor over a grip, starts a resize or a column move on a press there,
    // and Escape cancels one.
    int OnPreTranslateMsg(MSG* msg) override;
    // Lays out the rows and columns against the inner rectangle, then places every cell.
    using XUI::Recalc;
    int Recalc(XRect* parent) override;
    void OnPaintAfterChild(CDC* dc) override;
    // With "Save" and a name, "SaveRow" and "SaveCol" keep the rows' and columns' geometry in
    // an "Object" section of `settings` named after the table; loading reads it back.
    void SaveObject(XElement* settings) override;
    void LoadObject(XElement* settings) override;
    // "row,col": the visual item object there.
    XUI* GetSubUI(const wchar_t* text) override;

    // ---- geometry --------------------------------------------------------------------------
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    int GetColCount() const { return static_cast<int>(m_cols.size()); }
    const CRowColInfo* GetRowInfo(int index) const { return Entry(m_rows, index); }
    const CRowColInfo* GetColInfo(int index) const { return Entry(m_cols, index); }
    int GetRowSize(int index) const;
    int GetColSize(int index) const;
    // The written value (truncated) instead of the resolved size when `written`; plus the gap
    // when `withGap`.
    int GetRowSizeEx(int index, bool written, bool withGap) const;
    int GetColSizeEx(int index, bool written, bool withGap) const;
    void SetRowSize(int index, const wchar_t* expression);
    void SetColSize(int index, const wchar_t* expression);
    bool ShowRow(int index) { return ShowHide(true, index, true); }
    bool HideRow(int index) { return ShowHide(true, index, false); }
    bool ShowCol(int index) { return ShowHide(false, index, true); }
    bool HideCol(int index) { return ShowHide(false, index, false); }
    bool VisibleRow(int index) const;
    bool VisibleCol(int index) const;
    // The column shown `n`-th (rows are shown in order); -1 out of range.
    int GetNthDispCol(int n) const;
    const std::vector<int>& GetDisplayOrder() const { return m_order; }
    // The columns in `order` come first, the ones it leaves out after them in their own
    // order; indexes out of range and repeats are passed over. Followers take the order.
    void SetDisplayOrder(const std::vector<int>& order);
    // With two columns or more, the first two displayed exchange places.
    bool MoveCol(int from, int to);
    // The row and column whose spans strictly contain `point`; false on an edge or outside.
    bool GetRowCol(CPoint point, int& row, int& col) const;

    // ---- items -----------------------------------------------------------------------------
    // The cell at (row, col), or null.
    XUI* GetItem(int row, int col) const;
    // The object inside that cell, or null.
    XDO* GetSubItem(int row, int col) const;
    const CTableItem* GetTableItem(int row, int col) const;
    std::wstring GetCellData(int row, int col) const;
    void SetCellData(int row, int col, const wchar_t* text);

    // ---- rows and columns from templates ---------------------------------------------------
    // Inserts a row at `index` (or appends one out of range) and builds the "InsertRow"
    // template's items in it; false without a template.
    bool InsertRow(int index);
    bool InsertCol(int index);
    // A column without items, for a table without a template that keeps in step with others.
    bool InsertEmptyCol(int index);
    bool DeleteRow(int index);
    bool DeleteCol(int index);

    // ---- lines and followers ---------------------------------------------------------------
    const std::vector<CTableLine>& GetRowLines() const { return m_rowLines; }
    const std::vector<CTableLine>& GetColLines() const { return m_colLines; }
    // `other` takes this table's column geometry whenever it changes here.
    void AddDragSync(XTable* other);
    // Every column entry from `columns` (one per column; otherwise nothing changes), then a
    // new layout: a grid keeps its tables' columns as one set.
    void SetColInfos(const std::vector<CRowColInfo>& columns);
    // Laid out against `reference` instead of the enclosing rectangle's inner rectangle, from
    // now on: a container stacks tables (a grid's header, body and tail).
    void SetLayoutReference(const CRect& reference) {
        m_reference = reference;
        m_hasReference = true;
    }
    // The width all pixel columns need with the frame around them; 0 when some column is
    // not in pixels (the table then takes the width it is given).
    int GetPixelWidth() const;
    void SetTableListener(CTableListener* listener) { m_listener = listener; }
    // All columns in pixels when created: every column has a grip, the last included, and a
    // resize changes that column alone.
    bool IsFixedWidth() const { return m_fixedWidth; }
    // Grips and movable columns under `point` (window coordinates plus its logical x); with
    // `commit` the one found becomes the drag of the process.
    bool GetResizeInfo(CPoint point, bool commit);
    bool GetSwapInfo(CPoint point, bool commit);

protected:
    ~XTable() override;

private:
    static const CRowColInfo* Entry(const std::vector<CRowColInfo>& v, int i) {
        return i >= 0 && i < static_cast<int>(v.size()) ? &v[static_cast<std::size_t>(i)] : nullptr;
    }
    // Sizes and positions of rows (heights against `extent`) or of columns (widths).
    void RecalcRowCol(std::vector<CRowColInfo>& entries, int extent, bool columns);
    void RecalcLineInfo();
    void PlaceCells();
    void ReadLine(XElement* e, bool rows);
    void DefineEntry(XElement* e, bool rows);
    // Builds an "Item" element's object in a cell at the fill cursor (or at its "Row"/"Col");
    // `now` also creates both at once, for rows inserted into a live table.
    void AddItem(XElement* e, bool now);
    void AdvanceCursor();
    bool ShowHide(bool rows, int index, bool show);
    void Relayout();
    bool InsertEntry(bool rows, int index, bool empty = false);
    bool DeleteEntry(bool rows, int index);
    void SyncFollowers();
    XElement* OwnSection(XElement* settings, bool create) const;
    // The next shown entry after `index` (columns in display order), or -1.
    int NeighbourOf(bool rows, int index) const;
    void MoveTrack(CPoint point);
    void EndDrag(CPoint point);
    void ApplyResize(bool rows, int index, int size);
    void ApplySwap(int column, CPoint point, bool moved);
    void AfterDrag();
    // The line a resize or a column move follows the cursor with, over the table.
    void DrawTrack(CDC* dc) const;
    CTableItem* ItemAt(int row, int col);

    int m_rowGap = 0;
    int m_colGap = 0;
    int m_fillRow = 0;
    int m_fillCol = 0;
    int m_nextRow = 0;
    int m_nextCol = 0;
    bool m_vertical = false;
    bool m_saveRow = false;
    bool m_saveCol = false;
    std::vector<CTableItem> m_items; // row-major
    std::vector<CRowColInfo> m_rows;
    std::vector<CRowColInfo> m_cols;
    std::vector<int> m_order; // column display order
    std::vector<CTableLine> m_rowLines;
    std::vector<CTableLine> m_colLines;
    std::unique_ptr<XElement> m_insertRow;
    std::unique_ptr<XElement> m_insertCol;
    std::vector<orvo::IXORef> m_followers;
    CTableListener* m_listener = nullptr;
    CRect m_reference;
    bool m_hasReference = false;
    bool m_fixedWidth = true;
    bool m_gripRows = false;     // the last grip found was a row's
    bool m_sizingCursor = false; // this table showed the sizing cursor
};
