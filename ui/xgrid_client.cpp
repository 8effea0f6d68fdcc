// The grid client's tables, columns, geometry, selection and messages.
#include "ui/xgrid_client.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <memory>
#include <vector>

#include "core/element.h"
#include "core/scr_man.h"
#include "platform/base/nocase.h"
#include "ui/xgrid.h"
#include "ui/xtable.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XGridClient>();

// A table a grid builds without a "Rect" of its own spans the client, one row high.
constexpr const wchar_t* kDefaultTableRect = L"0,0,100%,20";

// Every visual object inside `table`: its cells and what they hold.
template <class Visit> void ForEachCellObject(XTable* table, Visit visit) {
    if (!table)
        return;
    std::vector<XDO*> pending;
    if (table->child())
        pending.push_back(table->child());
    while (!pending.empty()) {
        XDO* node = pending.back();
        pending.pop_back();
        if (node->next())
            pending.push_back(node->next());
        if (node->child())
            pending.push_back(node->child());
        if (auto* visual = dynamic_cast<XUI*>(node))
            visit(*visual);
    }
}

} // namespace

ORVO_DISPATCH(XGridClient, XWindow)

XGridClient::XGridClient() {
    m_nStyle |= XDO_STYLE_NATIVEWND;
    SetFlag(UI_CANFOCUS, 0);
}

XGridClient::~XGridClient() = default;

// ---- building
// ------------------------------------------------------------------------------------

void XGridClient::Configure(XElement* e) {
    if (!e)
        return;
    e->GetBool(L"MouseUI", m_bMouseUI);
    e->GetBool(L"KeyEvent", m_bKeyEvent);
    e->GetBool(L"HighlightRow", m_bHighlightRow);
    e->GetBool(L"HighlightCol", m_bHighlightCol);
    e->GetBool(L"ReverseRow", m_bReverseRow);
    e->GetBool(L"HideEmptyRow", m_bHideEmptyRow);
    if (int toggle = 0; e->GetValue(L"ToggleRow", toggle))
        m_nToggleRow = std::max(toggle, 0);
    int cols = 0;
    if (e->GetValue(L"Col", cols) && cols > 0 && cols <= XTable::kMaxItems) {
        m_nCols = cols;
        m_columns.assign(static_cast<std::size_t>(cols), CRowColInfo());
    }
}

bool XGridClient::DefineTable(const wchar_t* method, XElement* e) {
    static constexpr const wchar_t* kNames[] = {L"Head", L"Body", L"Tail"};
    XTable** tables[] = {&m_pHead, &m_pBody, &m_pTail};
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
        if (!method || !plat::EqualsNoCase(method, kNames[i]))
            continue;
        if (*tables[i] || !e || m_nCols < 1)
            return false;
        *tables[i] = BuildTable(kNames[i], e);
        return *tables[i] != nullptr;
    }
    return false;
}

XTable* XGridClient::BuildTable(const wchar_t* name, XElement* e) {
    std::unique_ptr<XElement> element(e->CloneFromOutside(nullptr));
    element->SetTagName(L"Table");
    element->SetValue(L"Col", m_nCols);
    element->SetValue(L"Name", name);
    if (!element->FindValue(L"Row"))
        element->SetValue(L"Row", 1);
    if (!element->FindValue(L"Rect"))
        element->SetValue(L"Rect", kDefaultTableRect);
    const bool body = plat::EqualsNoCase(name, L"Body");
    if (body)
        element->SetValue(L"Show", L"False");
    auto* table = dynamic_cast<XTable*>(XScrMan::Instance().MakeScrObj(element.get(), this));
    if (!table)
        return nullptr;
    if (body)
        table->SetUserState(ROW_NORMAL, 1);
    CopyColumns(table);
    return table;
}

void XGridClient::CopyColumns(XTable* table) const {
    if (table)
        table->SetColInfos(m_columns);
}

void XGridClient::DefineCol(XElement* e) {
    int index = m_nNextCol;
    if (e)
        e->GetValue(L"Col", index);
    if (!e || index < 0 || index >= m_nCols)
        return;
    m_nNextCol = index + 1;
    CRowColInfo& entry = m_columns[static_cast<std::size_t>(index)];
    if (const std::wstring* width = e->FindValue(L"Width"))
        entry.SetSizeText(width->c_str());
    entry.SetElement(e);
    for (XTable* table : {m_pHead, m_pBody, m_pTail})
        CopyColumns(table);
}

void XGridClient::DefineExtra(XElement* e) {
    if (!e)
        return;
    std::unique_ptr<XElement> object(e->CloneFromOutside(nullptr));
    std::wstring based = L"TextBox";
    e->GetValue(L"Based", based);
    object->SetTagName(based);
    object->RemoveKey(L"Based");
    if (plat::EqualsNoCase(based, L"TextBox") && !object->FindValue(L"Text_Align"))
        object->SetValue(L"Text_Align", L"center,vcenter");
    if (!object->FindValue(L"Rect"))
        object->SetValue(L"Rect", L"0,0,100%,100%");
    int column = 0;
    e->GetValue(L"Col", column);
    XElement cellElement(L"Cell");
    cellElement.SetValue(L"Style", L"Hollow");
    cellElement.SetValue(L"Rect", L"0,0,0,0");
    cellElement.AppendChild(object.release());
    XScrMan& screens = XScrMan::Instance();
    XDO* cell = GetCreateState() >= 2 ? screens.MakeObject(&cellElement, this)
                                      : screens.MakeScrObj(&cellElement, this);
    if (cell)
        m_extras.push_back({cell->WeakRef(), column});
}

// ---- life
// ----------------------------------------------------------------------------------------

int XGridClient::CreateInstance() {
    return XWindow::CreateInstance() && CreateOwnWindow(plat::WindowKind::Child, L"");
}

int XGridClient::RunObjectEvent(int id) {
    const orvo::IXORef alive = WeakRef();
    if (id == EVT_AFTERCREATE)
        BindSource();
    const int result = XWindow::RunObjectEvent(id);
    if (alive.Alive() && m_onObjectEvent)
        m_onObjectEvent(this, id);
    if (!alive.Alive() || id != EVT_INITIALIZE)
        return result;
    if (m_pHead) {
        m_pHead->AddDragSync(m_pBody);
        m_pHead->AddDragSync(m_pTail);
        m_pHead->SetTableListener(this);
    }
    m_bInitialized = true;
    UpdateLogicalWidth();
    LayoutTables();
    SendVScroll();
    SendHScroll();
    Refresh();
    return result;
}

void XGridClient::BindSource() {
    XMetaIOData* source = m_pGrid ? m_pGrid->GetDataSource() : nullptr;
    if (!source)
        source = FindDataSource();
    m_source = source ? source->WeakRef() : orvo::IXORef();
    if (!source)
        return;
    source->AddListener(this);
    for (XTable* table : {m_pHead, m_pBody, m_pTail})
        ForEachCellObject(table, [source](XUI& object) { object.InheritDataSource(source); });
}

XMetaIOData* XGridClient::GetSource() const {
    return AsMetaIOData(m_source.Get());
}

int XGridClient::RunMsg(int fromUp, XElement* msg, XDO* sender, XDO* origin, int& sendDown) {
    if (msg && m_onMsg && m_onMsg(this, msg))
        return 1;
    if (msg && plat::EqualsNoCase(msg->GetTagName(), L"#ScrollPos#")) {
        bool vertical = true;
        msg->GetBool(L"VScroll", vertical);
        int position = 0;
        msg->GetValue(L"CurPos", position);
        if (vertical) {
            const int last = std::max(GetRowCount() - GetRowPerPage(), 0);
            m_nStartRow = std::clamp(position, 0, last);
            RepaintBody();
        } else {
            HScrollMsgPaint(position - GetLogX(), false, true);
        }
    }
    return XWindow::RunMsg(fromUp, msg, sender, origin, sendDown);
}

void XGridClient::OnSizeChange() {
    XWindow::OnSizeChange();
    if (!m_bInitialized)
        return;
    UpdateLogicalWidth();
    LayoutTables();
    if (m_pGrid && m_pGrid->HasHScroll())
        HScrollMsgPaint(0, true, false);
    ScrollMsgPaint(0, true, true);
}

// ---- tables' places
// ------------------------------------------------------------------------------

void XGridClient::UpdateLogicalWidth() {
    int width = 1;
    for (XTable* table : {m_pHead, m_pBody, m_pTail})
        if (table)
            width = std::max(width, table->GetPixelWidth());
    m_nLogicalWidth = width;
}

void XGridClient::LayoutTables() {
    const CRect inner = GetInner().rect;
    const int width = std::max(inner.Width(), m_nLogicalWidth);
    auto place = [&](XTable* table, int top) {
        table->SetLayoutReference(CRect(inner.left, top, inner.left + width, inner.bottom));
        if (table->Recalc(this))
            table->OnSizeChange();
    };
    int top = inner.top;
    if (m_pHead) {
        place(m_pHead, top);
        top = m_pHead->bottom;
    }
    if (m_pBody)
        place(m_pBody, top);
    if (m_pTail) {
        // Its height comes from its own rectangle; then it sits on the inner bottom.
        place(m_pTail, inner.top);
        place(m_pTail, inner.bottom - m_pTail->Height());
    }
    PlaceExtras();
}

void XGridClient::PlaceExtras() {
    if (!m_pHead)
        return;
    for (const Extra& extra : m_extras) {
        auto* cell = dynamic_cast<XUI*>(extra.cell.Get());
        const CRowColInfo* column = m_pHead->GetColInfo(extra.column);
        if (!cell || !column)
            continue;
        const CRect inner = m_pHead->GetInner().rect;
        const CRect clientInner = GetInner().rect;
        cell->PlaceByPixels(CRect(inner.left - clientInner.left + column->position,
                                  inner.top - clientInner.top,
                                  inner.left - clientInner.left + column->End(),
                                  inner.bottom - clientInner.top));
        if (cell->Recalc(this))
            cell->OnSizeChange();
    }
}

void XGridClient::OnTableRecalc(XTable* table) {
    if (table == m_pHead)
        PlaceExtras();
}

void XGridClient::OnTableDragEnd(XTable*) {
    const int before = m_nLogicalWidth;
    UpdateLogicalWidth();
    if (m_nLogicalWidth != before) {
        LayoutTables();
        HScrollMsgPaint(0, true, true);
    } else {
        Refresh();
    }
}

// ---- columns
// -------------------------------------------------------------------------------------

bool XGridClient::InsertCol(int index, XElement* e) {
    if (index < 0 || index > m_nCols || m_nCols >= XTable::kMaxItems)
        return false;
    ++m_nCols;
    m_columns.insert(m_columns.begin() + index, CRowColInfo());
    if (e) {
        e->SetValue(L"Col", index);
        DefineCol(e);
    }
    for (XTable* table : {m_pHead, m_pBody, m_pTail}) {
        if (!table)
            continue;
        if (!table->InsertCol(index))
            table->InsertEmptyCol(index);
        CopyColumns(table);
    }
    if (XMetaIOData* source = GetSource())
        ForEachCellObject(m_pBody, [source](XUI& object) { object.InheritDataSource(source); });
    UpdateLogicalWidth();
    Refresh();
    return true;
}

bool XGridClient::DeleteCol(int index) {
    if (index < 0 || index >= m_nCols)
        return false;
    for (XTable* table : {m_pHead, m_pBody, m_pTail})
        if (table)
            table->DeleteCol(index);
    m_columns.erase(m_columns.begin() + index);
    --m_nCols;
    m_nNextCol = std::min(m_nNextCol, m_nCols);
    if (m_nSelectCol >= m_nCols)
        m_nSelectCol = -1;
    UpdateLogicalWidth();
    Refresh();
    return true;
}

bool XGridClient::ShowCol(int column) {
    bool done = false;
    for (XTable* table : {m_pHead, m_pBody, m_pTail})
        if (table)
            done = table->ShowCol(column) || done;
    if (done && column >= 0 && column < m_nCols)
        m_columns[static_cast<std::size_t>(column)].shown = true;
    return done;
}

bool XGridClient::HideCol(int column) {
    bool done = false;
    for (XTable* table : {m_pHead, m_pBody, m_pTail})
        if (table)
            done = table->HideCol(column) || done;
    if (done && column >= 0 && column < m_nCols)
        m_columns[static_cast<std::size_t>(column)].shown = false;
    return done;
}

bool XGridClient::GetColPos(int column, int& left, int& width) const {
    const CRowColInfo* entry = m_pBody ? m_pBody->GetColInfo(column) : nullptr;
    if (!entry)
        return false;
    left = m_pBody->GetInner().rect.left + entry->position;
    width = entry->shown ? entry->Size() : 0;
    return true;
}

XUI* XGridClient::GetBodyObject(int column) const {
    return m_pBody ? dynamic_cast<XUI*>(m_pBody->GetSubItem(0, column)) : nullptr;
}

int XGridClient::GridToDataField(int column) const {
    const XUI* object = GetBodyObject(column);
    return object ? object->GetDataField() : -1;
}

int XGridClient::DataToGridField(int field) const {
    if (field < 0)
        return -1;
    for (int c = 0; c < m_nCols; ++c)
        if (GridToDataField(c) == field)
            return c;
    return -1;
}

int XGridClient::GetFieldIndex(const wchar_t* name) const {
    XMetaIOData* source = GetSource();
    return source && name ? DataToGridField(source->GetFieldIndex(name)) : -1;
}

// ---- data and geometry
// ---------------------------------------------------------------------------

int XGridClient::GetRowCount() const {
    XMetaIOData* source = GetSource();
    return std::max(source ? source->GetRows() : m_nRecordSize, 0);
}

void XGridClient::SetRecordSize(int count) {
    m_nRecordSize = std::max(count, 0);
    if (!GetSource())
        ScrollMsgPaint(0, true, true);
}

int XGridClient::ConvertedRow(int row) const {
    return m_bReverseRow ? GetRowCount() - row - 1 : row;
}

int XGridClient::GetRowHeight() const {
    return m_pBody ? std::max(m_pBody->Height(), 0) : 0;
}

int XGridClient::GetRowPerPage() const {
    const int h = GetRowHeight();
    if (h < 1)
        return 0;
    const int head = m_pHead ? m_pHead->Height() : 0;
    const int tail = m_pTail ? m_pTail->Height() : 0;
    // A last row missing no more than a quarter of its height, up to 2 pixels, still counts.
    const long long room =
        static_cast<long long>(GetInner().rect.Height()) - tail - head + std::min(h / 4, 2);
    return static_cast<int>(std::clamp<long long>(room / h, 0, INT_MAX));
}

CRect XGridClient::GetBodyRect() const {
    const CRect inner = GetInner().rect;
    const int top = m_pBody ? m_pBody->top : inner.top;
    const int bottom = m_pTail ? m_pTail->top : inner.bottom;
    return CRect(inner.left,
                 top,
                 std::max(inner.right, inner.left + m_nLogicalWidth),
                 std::max(bottom, top));
}

CRect XGridClient::GetRowRect(int row) const {
    const int h = GetRowHeight();
    if (!m_pBody || h < 1 || row < m_nStartRow || row >= m_nStartRow + GetRowPerPage() + 1)
        return CRect();
    const long long top =
        static_cast<long long>(m_pBody->top) + static_cast<long long>(row - m_nStartRow) * h;
    if (top + h > INT_MAX)
        return CRect();
    return CRect(m_pBody->left, static_cast<int>(top), m_pBody->right, static_cast<int>(top) + h);
}

CRect XGridClient::GetCellRect(int row, int column) const {
    CRect rect = GetRowRect(row);
    int left = 0;
    int width = 0;
    if (rect.IsRectEmpty() || !GetColPos(column, left, width))
        return CRect();
    rect.left = left;
    rect.right = left + width;
    return rect;
}

bool XGridClient::CalcRowCol(CPoint point, int& row, int& column) const {
    row = column = -1;
    const int h = GetRowHeight();
    if (!m_pBody || h < 1)
        return false;
    const int bottom = m_pTail ? m_pTail->top : GetInner().rect.bottom;
    if (point.y < m_pBody->top || point.y >= bottom)
        return false;
    const long long r = (static_cast<long long>(point.y) - m_pBody->top) / h + m_nStartRow;
    if (r < 0 || r >= GetRowCount())
        return false;
    row = static_cast<int>(r);
    const int x = point.x - m_pBody->GetInner().rect.left;
    for (int c = 0; c < m_nCols; ++c) {
        const CRowColInfo* entry = m_pBody->GetColInfo(c);
        if (entry->shown && x > entry->position && x < entry->End()) {
            column = c;
            break;
        }
    }
    return true;
}

namespace {

bool TableRowCol(const XTable* table, CPoint point, int& row, int& column) {
    row = column = -1;
    if (!table)
        return false;
    const CRect inner = table->GetInner().rect;
    return table->GetRowCol(CPoint(point.x - inner.left, point.y - inner.top), row, column);
}

} // namespace

bool XGridClient::CalcRowColHead(CPoint point, int& row, int& column) const {
    return TableRowCol(m_pHead, point, row, column);
}

bool XGridClient::CalcRowColTail(CPoint point, int& row, int& column) const {
    return TableRowCol(m_pTail, point, row, column);
}

// ---- selection
// -----------------------------------------------------------------------------------

void XGridClient::SetSelectRow(int row) {
    if (row >= -1 && row < GetRowCount())
        Select(row, m_nSelectCol);
}

void XGridClient::SetSelectCol(int column) {
    if (column >= -1 && column < m_nCols)
        Select(m_nSelectRow, column);
}

void XGridClient::Select(int row, int column) {
    if (row == m_nSelectRow && column == m_nSelectCol)
        return;
    const int before = m_nSelectRow;
    m_nSelectRow = row;
    m_nSelectCol = column;
    RepaintRow(before);
    if (row != before)
        RepaintRow(row);
}

bool XGridClient::MakeSelectRowVisible() {
    if (m_nSelectRow < 0 || m_nSelectRow >= GetRowCount())
        return false;
    const int start = m_nStartRow;
    ScrollToShow(m_nSelectRow);
    return start != m_nStartRow;
}

void XGridClient::ScrollToShow(int row) {
    const int page = std::max(GetRowPerPage(), 1);
    if (row < m_nStartRow)
        ScrollMsgPaint(row - m_nStartRow, true, true);
    else if (row >= m_nStartRow + page)
        ScrollMsgPaint(row - (m_nStartRow + page - 1), true, true);
}

void XGridClient::SetReverseRow(bool reverse) {
    if (reverse == m_bReverseRow)
        return;
    m_bReverseRow = reverse;
    Refresh();
}

void XGridClient::SendEventToGrid(const wchar_t* name) {
    if (!m_pGrid || !name)
        return;
    XElement event(name);
    m_pGrid->SendEvent(&event, this);
}
