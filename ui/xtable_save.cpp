// A table's row and column geometry saved with the screen and read back.
#include <algorithm>
#include <cwchar>
#include <string>

#include "core/element.h"
#include "platform/base/nocase.h"
#include "ui/xtable.h"

namespace {

void SaveEntry(const CRowColInfo& e, XElement* out) {
    out->SetValue(L"Gap", e.gap);
    out->SetValue(L"MinSize", e.minSize);
    out->SetValue(L"GripSize", e.gripSize);
    out->SetValue(L"GripWeight", e.gripWeight);
    out->SetBool(L"Show", e.shown);
    out->SetBool(L"Resize", e.resize);
    out->SetBool(L"Resizable", e.resizable);
    out->SetBool(L"Swap", e.swap);
    e.CPosEx::SaveObject(out);
}

void LoadEntry(CRowColInfo& e, const XElement* in) {
    e.SetElement(in);
    e.CPosEx::LoadObject(in);
}

// Row or column entries as "Row0", "Row1" ... children and a count.
void SaveEntries(const std::vector<CRowColInfo>& entries, const wchar_t* tag, XElement* section) {
    section->SetValue(std::wstring(tag) + L"Count", static_cast<int>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto* child = new XElement(tag + std::to_wstring(i), section);
        section->AppendChild(child);
        SaveEntry(entries[i], child);
    }
}

void LoadEntries(std::vector<CRowColInfo>& entries, const wchar_t* tag, const XElement* section) {
    int count = 0;
    if (!section->GetValue(std::wstring(tag) + L"Count", count))
        return;
    const std::size_t n = std::min(entries.size(), static_cast<std::size_t>(std::max(count, 0)));
    for (std::size_t i = 0; i < n; ++i) {
        if (const XElement* child = section->FindChild(tag + std::to_wstring(i)))
            LoadEntry(entries[i], child);
    }
}

bool IsEntryTag(const std::wstring& tag) {
    for (const wchar_t* prefix : {L"Row", L"Col"}) {
        const std::size_t n = std::wcslen(prefix);
        if (tag.size() > n && plat::EqualsNoCase(std::wstring_view(tag).substr(0, n), prefix) &&
            tag.find_first_not_of(L"0123456789", n) == std::wstring::npos)
            return true;
    }
    return false;
}

} // namespace

XElement* XTable::OwnSection(XElement* settings, bool create) const {
    if (!settings || !IsSaveLoad() || GetName().empty())
        return nullptr;
    for (XElement* c = settings->GetFirstChild(); c; c = c->GetNextSibling()) {
        std::wstring name;
        if (plat::EqualsNoCase(c->GetTagName(), L"Object") && c->GetValue(L"name", name) &&
            plat::EqualsNoCase(name, GetName()))
            return c;
    }
    if (!create)
        return nullptr;
    auto* section = new XElement(L"Object", settings);
    section->SetValue(L"name", GetName());
    settings->AppendChild(section);
    return section;
}

void XTable::SaveObject(XElement* settings) {
    if (m_saveRow || m_saveCol) {
        if (XElement* section = OwnSection(settings, true)) {
            // The geometry saved before gives way to today's.
            for (XElement* c = section->GetFirstChild(); c;) {
                XElement* next = c->GetNextSibling();
                if (IsEntryTag(c->GetTagName()))
                    delete c->LinkCut();
                c = next;
            }
            if (m_saveRow)
                SaveEntries(m_rows, L"Row", section);
            if (m_saveCol)
                SaveEntries(m_cols, L"Col", section);
        }
    }
    XUI::SaveObject(settings);
}

void XTable::LoadObject(XElement* settings) {
    if (const XElement* section = OwnSection(settings, false)) {
        if (m_saveRow)
            LoadEntries(m_rows, L"Row", section);
        if (m_saveCol)
            LoadEntries(m_cols, L"Col", section);
        for (int r = 0; r < GetRowCount(); ++r)
            for (int c = 0; c < GetColCount(); ++c)
                if (XUI* cell = GetItem(r, c))
                    cell->SetShow(m_rows[static_cast<std::size_t>(r)].shown &&
                                  m_cols[static_cast<std::size_t>(c)].shown);
        Relayout();
    }
    XUI::LoadObject(settings);
}
