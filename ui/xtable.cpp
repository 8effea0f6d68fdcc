#include "ui/xtable.h"

#include <algorithm>

#include "core/element.h"
#include "core/object_lifetime.h"
#include "core/scr_man.h"
#include "nubra/ixo_ref.h"
#include "nubra/tok.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"
#include "ui/xtheme.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XTable>();
// The plain visual object a table wraps each item in.
[[maybe_unused]] const int g_cell =
    IXO::Register(L"Cell", [] { return static_cast<IXO*>(new XUI); });

} // namespace

ORVO_DISPATCH(XTable,
              XUI,
              ORVO_METHOD(ShowRow),
              ORVO_METHOD(HideRow),
              ORVO_METHOD(ShowCol),
              ORVO_METHOD(HideCol),
              ORVO_METHOD(GetRowSize),
              ORVO_METHOD(GetColSize),
              ORVO_METHOD(SetRowSize),
              ORVO_METHOD(SetColSize),
              ORVO_METHOD(GetRowSizeEx),
              ORVO_METHOD(GetColSizeEx),
              ORVO_METHOD(GetRowCount),
              ORVO_METHOD(GetColCount),
              ORVO_METHOD(GetCellData),
              ORVO_METHOD(SetCellData),
              ORVO_METHOD(MoveCol),
              ORVO_METHOD(VisibleRow),
              ORVO_METHOD(VisibleCol))

XTable::XTable() = default;

XTable::~XTable() = default;

int XTable::SetElement(XElement* e) {
    if (!XUI::SetElement(e) || !e)
        return 0;
    e->GetBool(L"SaveRow", m_saveRow);
    e->GetBool(L"SaveCol", m_saveCol);
    int rows = 0;
    int cols = 0;
    if (e->GetValue(L"Row", rows) && e->GetValue(L"Col", cols) && rows > 0 && cols > 0 &&
        static_cast<long long>(rows) * cols <= kMaxItems) {
        m_rows.resize(static_cast<std::size_t>(rows));
        m_cols.resize(static_cast<std::size_t>(cols));
        m_items.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
        m_order.resize(static_cast<std::size_t>(cols));
        for (int c = 0; c < cols; ++c)
            m_order[static_cast<std::size_t>(c)] = c;
    }
    if (const std::wstring* flow = e->FindValue(L"Flow"))
        m_vertical = plat::EqualsNoCase(*flow, L"Vertical");
    e->GetValue(L"RowGap", m_rowGap);
    e->GetValue(L"ColGap", m_colGap);
    // The gap of every entry but the last.
    for (std::size_t r = 0; r + 1 < m_rows.size(); ++r)
        m_rows[r].gap = m_rowGap;
    for (std::size_t c = 0; c + 1 < m_cols.size(); ++c)
        m_cols[c].gap = m_colGap;
    if (const std::wstring* size = e->FindValue(L"RowSize"))
        for (CRowColInfo& row : m_rows)
            row.SetSizeText(size->c_str());
    if (const std::wstring* size = e->FindValue(L"ColSize"))
        for (CRowColInfo& col : m_cols)
            col.SetSizeText(size->c_str());
    return 1;
}

int XTable::SetMethod(const wchar_t* name, XElement* e) {
    const std::wstring_view method(name ? name : L"");
    if (!e)
        return XUI::SetMethod(name, e);
    if (plat::EqualsNoCase(method, L"Item"))
        AddItem(e, false);
    else if (plat::EqualsNoCase(method, L"Row"))
        DefineEntry(e, true);
    else if (plat::EqualsNoCase(method, L"Col"))
        DefineEntry(e, false);
    else if (plat::EqualsNoCase(method, L"RowLine"))
        ReadLine(e, true);
    else if (plat::EqualsNoCase(method, L"ColLine"))
        ReadLine(e, false);
    else if (plat::EqualsNoCase(method, L"InsertRow") || plat::EqualsNoCase(method, L"InsertCol")) {
        auto holder = std::make_unique<XElement>(std::wstring(method), nullptr);
        if (XElement* first = e->GetFirstChild())
            holder->AppendChild(first->CloneFromOutside(holder.get()));
        (plat::EqualsNoCase(method, L"InsertRow") ? m_insertRow : m_insertCol) = std::move(holder);
    } else {
        return XUI::SetMethod(name, e);
    }
    return 1;
}

void XTable::DefineEntry(XElement* e, bool rows) {
    std::vector<CRowColInfo>& entries = rows ? m_rows : m_cols;
    int& next = rows ? m_nextRow : m_nextCol;
    int index = next;
    e->GetValue(rows ? L"Row" : L"Col", index);
    CRowColInfo* entry = const_cast<CRowColInfo*>(Entry(entries, index));
    if (!entry)
        return;
    next = index + 1;
    if (const std::wstring* size = e->FindValue(rows ? L"Height" : L"Width"))
        entry->SetSizeText(size->c_str());
    entry->SetElement(e);
}

void XTable::ReadLine(XElement* e, bool rows) {
    CTableLine line;
    if (const std::wstring* range = e->FindValue(L"Line")) {
        CTok tok(*range, L",");
        tok.GetNext(line.from);
        tok.GetNext(line.to);
    }
    if (const std::wstring* positions = e->FindValue(L"Pos")) {
        CTok tok(*positions, L",");
        int index = 0;
        while (tok.GetNext(index))
            line.positions.push_back({false, index, 0});
    }
    e->GetValue(L"Weight", line.weight);
    if (const std::wstring* colour = e->FindValue(L"Color"))
        if (XTheme* theme = CurrentTheme())
            theme->GetColor(colour->c_str(), &line.colour);
    (rows ? m_rowLines : m_colLines).push_back(std::move(line));
}

// ---- items -------------------------------------------------------------------------------------

void XTable::AddItem(XElement* e, bool now) {
    int row = m_fillRow;
    int col = m_fillCol;
    int given = 0;
    if (e->GetValue(L"Row", given) && given >= 0 && given < GetRowCount())
        row = given;
    if (e->GetValue(L"Col", given) && given >= 0 && given < GetColCount())
        col = given;
    CTableItem* slot = ItemAt(row, col);
    AdvanceCursor();
    if (!slot || slot->cell)
        return;
    std::wstring based = L"TextBox";
    e->GetValue(L"Based", based);
    IXO::Registered tag = IXO::Lookup(based);
    if (!tag.factory)
        tag = IXO::Lookup(L"TextBox");
    auto* item = tag.factory ? dynamic_cast<XDO*>(tag.factory()) : nullptr;
    if (!item)
        return;
    if (!e->FindValue(L"Text_Align"))
        e->SetValue(L"Text_Align", L"center,vcenter");
    if (!e->FindValue(L"Rect"))
        e->SetValue(L"Rect", L"0,0,100%,100%");
    XElement cellElement(L"Cell");
    cellElement.SetValue(L"Style", L"Hollow");
    cellElement.SetValue(L"Rect", L"0,0,0,0");
    XScrMan& screens = XScrMan::Instance();
    auto* cell = dynamic_cast<XUI*>(now ? screens.MakeObject(&cellElement, this)
                                        : screens.MakeScrObj(&cellElement, this));
    if (!cell) {
        orvo::DestroyObject(item);
        return;
    }
    cell->AddChild(item);
    if (!item->SetElement(e)) {
        orvo::DestroyObject(cell);
        return;
    }
    if (XElement* children = e->GetFirstChild())
        now ? screens.MakeObject(children, item) : screens.MakeScrObj(children, item);
    if (now)
        screens.CreateScreen(item);
    int span = 1;
    slot->rowSpan = e->GetValue(L"RowSpan", span) && span > 1 ? span : 1;
    slot->colSpan = e->GetValue(L"ColSpan", span) && span > 1 ? span : 1;
    slot->cell = cell;
}

void XTable::AdvanceCursor() {
    if (m_vertical) {
        if (++m_fillRow >= GetRowCount()) {
            m_fillRow = 0;
            ++m_fillCol;
        }
    } else if (++m_fillCol >= GetColCount()) {
        m_fillCol = 0;
        ++m_fillRow;
    }
}

CTableItem* XTable::ItemAt(int row, int col) {
    if (row < 0 || row >= GetRowCount() || col < 0 || col >= GetColCount())
        return nullptr;
    return &m_items[static_cast<std::size_t>(row) * m_cols.size() + static_cast<std::size_t>(col)];
}

const CTableItem* XTable::GetTableItem(int row, int col) const {
    return const_cast<XTable*>(this)->ItemAt(row, col);
}

XUI* XTable::GetItem(int row, int col) const {
    const CTableItem* item = GetTableItem(row, col);
    return item ? item->cell : nullptr;
}

XDO* XTable::GetSubItem(int row, int col) const {
    XUI* cell = GetItem(row, col);
    return cell ? cell->child() : nullptr;
}

XUI* XTable::GetSubUI(const wchar_t* text) {
    if (!text)
        return nullptr;
    CTok tok(text, L",");
    int row = -1;
    int col = -1;
    if (!tok.GetNext(row) || !tok.GetNext(col))
        return nullptr;
    return dynamic_cast<XUI*>(GetSubItem(row, col));
}

std::wstring XTable::GetCellData(int row, int col) const {
    std::wstring text;
    if (XDO* item = GetSubItem(row, col))
        item->GetData(&text);
    return text;
}

void XTable::SetCellData(int row, int col, const wchar_t* text) {
    if (XDO* item = GetSubItem(row, col))
        item->SetData(text ? text : L"");
}
