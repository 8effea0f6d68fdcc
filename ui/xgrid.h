#pragma once
// XGrid ("Grid"): the rows of an IO data object as a scrolling list. A window holding a 2 x 2
// frame table: the client (XGridClient) with the header, the body template and the tail, a
// vertical scroll bar column and a horizontal scroll bar row, both 0 wide until "VScroll" and
// "HScroll" give them a size and a scroll bar. "Col" (the column count) is required: a grid
// without it builds nothing and answers every query with 0 or -1.
//
// Events: object event 10 "Select" (a click on a row), "DoubleSelect", "HitTop",
// "HitBottom" and, with "KeyEvent", "Key" with the key's name.
#include <string>

#include "nubra/ixo_ref.h"
#include "ui/xwnd.h"

class XGridClient;
class XTable;

class XGrid : public XWnd {
    ORVO_DISPATCH_MAP()

public:
    XGrid();
    ORVO_KEY(L"Grid")

    // "PaintDelay", "MouseUI", "KeyEvent", "HighlightRow", "HighlightCol", "ReverseRow",
    // "ToggleRow", "HideEmptyRow", "ShowTail", "BlockScrollMsg", "Col"; "SelectKeyField"
    // (a field name) and "SelectKey" pick the row selected when the grid is made.
    int SetElement(XElement* e) override;
    // "Head", "Body", "Tail", "Col", "VScroll", "HScroll", "Extra".
    int SetMethod(const wchar_t* name, XElement* e) override;
    // The scroll messages stay inside a grid that blocks them; no window without columns.
    int CreateInstance() override;
    // Once made, the row whose key field holds the selection key is selected.
    int RunObjectEvent(int id) override;
    // A data control that names the grid as a listener reaches the client.
    void OnNotifierChanged(XDO* notifier, int notifyId, int a, int b) override;
    // "ColIndex": the header's column display order; with a key field, "SelectKey".
    void SaveObject(XElement* settings) override;
    void LoadObject(XElement* settings) override;

    // ---- parts ---------------------------------------------------------------------------------
    XGridClient* GetClient() const;
    XTable* GetFrame() const;
    XTable* GetHead() const;
    XTable* GetBody() const;
    XTable* GetTail() const;
    bool HasHScroll() const { return m_bHScroll; }
    // Shows or hides the horizontal scroll row, when the grid has one.
    void ShowHScroll(bool show);

    // ---- script interface ----------------------------------------------------------------------
    int GetFieldIndex(const wchar_t* name);
    int GridToDataField(int column);
    int DataToGridField(int field);
    int ConvertedRow(int row);
    void SetRecordSize(int count);
    void Scroll(int delta);
    void CenterRow(int row);
    bool MakeSelectRowVisible();
    bool IsDblClick();
    int GetSelectRow();
    int GetSelectCol();
    void SetSelectRow(int row);
    void SetSelectCol(int column);
    int GetStartRow();
    int GetEndRow();
    bool GetColPos(int column, int& left, int& width);
    bool ShowCol(int column);
    bool HideCol(int column);
    // Opens `page` (in the project folder of `pathKind`) over the cell to edit its value; the
    // page gets "RectFrame", "Width", "Height", "__Opener", "Text", "GridRow", "GridCol",
    // "HScroll" and the attributes written in `more`. False when it did not open.
    bool StartEdit(
        int row, int column, const wchar_t* page, const wchar_t* pathKind, const wchar_t* more);
    // As a plain object: the core asks for it by name without knowing the grid.
    XDO* GetClientVB();
    // "Repaint": the client's window as well as the grid.
    void RepaintVB() override;
    bool GetReverseRow() const;
    void SetReverseRow(bool reverse);

    // ---- native --------------------------------------------------------------------------------
    CRect GetBodyRect() const;
    CRect GetCellRect(int row, int column) const;
    int GetRowPerPage() const;
    // A point of the client (its coordinates plus the logical x) on the screen; false without
    // a window.
    bool ClientToScreen(CPoint& point) const;
    bool InsertCol(int index, XElement* e);
    bool DeleteCol(int index);

protected:
    ~XGrid() override = default;

private:
    void BuildFrame(XElement* e);
    // "VScroll" and "HScroll": the size of the scroll column or row and its scroll bar.
    void DefineScroll(XElement* e, bool vertical);
    void BlockScrollMessages();
    void SelectByKey();

    orvo::IXORef m_frame;
    orvo::IXORef m_client;
    bool m_bShowTail = true;
    bool m_bBlockScrollMsg = true;
    bool m_bHScroll = false;
    std::wstring m_selectKey;
    std::wstring m_selectKeyField;
};
