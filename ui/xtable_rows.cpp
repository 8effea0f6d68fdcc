// Rows and columns of a live table inserted from its templates and deleted.
#include "core/element.h"
#include "core/object_lifetime.h"
#include "ui/xtable.h"

bool XTable::InsertRow(int index) {
    return InsertEntry(true, index);
}

bool XTable::InsertCol(int index) {
    return InsertEntry(false, index);
}

bool XTable::InsertEmptyCol(int index) {
    return InsertEntry(false, index, true);
}

bool XTable::DeleteRow(int index) {
    return DeleteEntry(true, index);
}

bool XTable::DeleteCol(int index) {
    return DeleteEntry(false, index);
}

bool XTable::InsertEntry(bool rows, int index, bool empty) {
    const std::unique_ptr<XElement>& templ = rows ? m_insertRow : m_insertCol;
    const long long rowsAfter = GetRowCount() + (rows ? 1 : 0);
    const long long colsAfter = GetColCount() + (rows ? 0 : 1);
    if ((!templ && !empty) || rowsAfter * colsAfter > kMaxItems)
        return false;
    std::vector<CRowColInfo>& entries = rows ? m_rows : m_cols;
    const int count = static_cast<int>(entries.size());
    if (index < 0 || index > count)
        index = count;
    // The grid positions move: a new row (or column) of empty items at `index`.
    std::vector<CTableItem> items(static_cast<std::size_t>(rowsAfter * colsAfter));
    for (int r = 0; r < GetRowCount(); ++r)
        for (int c = 0; c < GetColCount(); ++c) {
            const int nr = rows && r >= index ? r + 1 : r;
            const int nc = !rows && c >= index ? c + 1 : c;
            items[static_cast<std::size_t>(nr * colsAfter + nc)] = *GetTableItem(r, c);
        }
    m_items = std::move(items);
    CRowColInfo entry;
    entry.gap = rows ? m_rowGap : m_colGap;
    entries.insert(entries.begin() + index, entry);
    if (!rows) {
        for (int& shown : m_order)
            shown += shown >= index ? 1 : 0;
        m_order.insert(m_order.begin() + std::min<std::size_t>(index, m_order.size()), index);
    }
    // The template's items fill the new row (or column) from its start.
    m_fillRow = rows ? index : 0;
    m_fillCol = rows ? 0 : index;
    const bool vertical = m_vertical;
    m_vertical = !rows;
    for (XElement* e = templ && !empty ? templ->GetFirstChild() : nullptr; e;
         e = e->GetNextSibling()) {
        std::wstring object;
        std::wstring method;
        if (!e->IsMethod(object, method) || method != L"Item")
            continue;
        const auto item = std::make_unique<XElement>(e->GetTagName(), nullptr);
        if (const CMapStringToString* attributes = e->GetAttributes())
            for (const auto& [key, value] : *attributes)
                item->SetValue(key, value);
        if (XElement* children = e->GetFirstChild())
            item->AppendChild(children->CloneFromOutside(item.get()));
        item->SetValue(rows ? L"Row" : L"Col", index);
        AddItem(item.get(), true);
    }
    m_vertical = vertical;
    Relayout();
    return true;
}

bool XTable::DeleteEntry(bool rows, int index) {
    std::vector<CRowColInfo>& entries = rows ? m_rows : m_cols;
    if (index < 0 || index >= static_cast<int>(entries.size()))
        return false;
    const int rowsAfter = GetRowCount() - (rows ? 1 : 0);
    const int colsAfter = GetColCount() - (rows ? 0 : 1);
    std::vector<CTableItem> items(static_cast<std::size_t>(rowsAfter) *
                                  static_cast<std::size_t>(colsAfter));
    std::vector<XUI*> removed;
    for (int r = 0; r < GetRowCount(); ++r)
        for (int c = 0; c < GetColCount(); ++c) {
            const CTableItem& item = *GetTableItem(r, c);
            if ((rows ? r : c) == index) {
                if (item.cell)
                    removed.push_back(item.cell);
                continue;
            }
            const int nr = rows && r > index ? r - 1 : r;
            const int nc = !rows && c > index ? c - 1 : c;
            items[static_cast<std::size_t>(nr) * static_cast<std::size_t>(colsAfter) +
                  static_cast<std::size_t>(nc)] = item;
        }
    m_items = std::move(items);
    entries.erase(entries.begin() + index);
    if (!rows) {
        std::erase(m_order, index);
        for (int& shown : m_order)
            shown -= shown > index ? 1 : 0;
    }
    for (XUI* cell : removed)
        orvo::DestroyObject(cell);
    Relayout();
    return true;
}
