#include "flow/xsort.h"

#include <algorithm>
#include <cstdlib>

#include "core/notice_messages.h"
#include "platform/base/format.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"

namespace {
[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XSort>();

// The number in a cell's text as the sort reads it: leading blanks and tabs skipped, digits
// and signs kept (and the point for floating numbers), thousands commas dropped, ending at
// any other character.
std::wstring NumberText(const std::wstring& text, bool point) {
    std::wstring kept;
    std::size_t i = text.find_first_not_of(L" \t");
    for (; i != std::wstring::npos && i < text.size(); ++i) {
        const wchar_t c = text[i];
        if ((c >= L'0' && c <= L'9') || c == L'+' || c == L'-' || (point && c == L'.'))
            kept += c;
        else if (c != L',')
            break;
    }
    return kept;
}
} // namespace

ORVO_DISPATCH(XSort,
              XReformIOData,
              ORVO_METHOD(ChangeFTO),
              ORVO_METHOD(ChangeTO),
              ORVO_METHOD(ChangeT),
              ORVO_METHOD(ChangeO),
              ORVO_METHOD(GetSortRow),
              ORVO_METHOD(GetOrder),
              ORVO_METHOD(GetType),
              ORVO_METHOD(GetField))

int XSort::StrToType(const wchar_t* word) {
    const std::wstring_view w = word ? word : L"";
    if (plat::EqualsNoCase(w, L"NONE"))
        return SORT_NONE;
    if (plat::EqualsNoCase(w, L"STR") || plat::EqualsNoCase(w, L"STRING"))
        return SORT_STR;
    if (plat::EqualsNoCase(w, L"INT") || plat::EqualsNoCase(w, L"INTEGER"))
        return SORT_INT;
    if (plat::EqualsNoCase(w, L"FLOAT") || plat::EqualsNoCase(w, L"DOUBLE"))
        return SORT_FLOAT;
    return -1;
}

int XSort::StrToOrder(const wchar_t* word) {
    const std::wstring_view w = word ? word : L"";
    if (plat::EqualsNoCase(w, L"ASC") || plat::EqualsNoCase(w, L"ASCENDING"))
        return SORT_ASC;
    if (plat::EqualsNoCase(w, L"DESC") || plat::EqualsNoCase(w, L"DESCENDING"))
        return SORT_DESC;
    return -1;
}

int XSort::SetElement(XElement* e) {
    if (!XReformIOData::SetElement(e))
        return 0;
    if (!e->GetValue(L"Field", m_field) || m_field.empty()) {
        ConfirmMsg(L"Sort 의 Field가 지정되지 않았습니다.", 0, 0);
        return 0;
    }
    std::wstring word;
    if (e->GetValue(L"Type", word)) {
        const int type = StrToType(word.c_str());
        if (type < 0) {
            ConfirmMsg(
                plat::Format(L"Unknown Type. <sort type=\"%s\"> NONE|STRING|INT|FLOAT\n", word),
                0,
                0);
            return 0;
        }
        m_type = static_cast<SORT_TYPE>(type);
    }
    if (e->GetValue(L"Order", word)) {
        const int order = StrToOrder(word.c_str());
        if (order < 0) {
            ConfirmMsg(plat::Format(L"Unknown Order. <sort order=\"%s\"> ASC|DESC\n", word), 0, 0);
            return 0;
        }
        m_order = static_cast<SORT_ORDER>(order);
    }
    return 1;
}

int XSort::CreateInstance() {
    if (!XMappedRows::CreateInstance())
        return 0;
    XMetaIOData* source = GetDataSource();
    m_fieldIndex = source ? source->GetFieldIndex(m_field.c_str()) : -1;
    return 1;
}

void XSort::SortRows() {
    XMetaIOData* source = GetDataSource();
    const int count = source ? source->GetRows() : 0;
    m_rows.clear();
    if (count <= 0)
        return;
    m_rows.resize(static_cast<std::size_t>(count));
    for (int r = 0; r < count; ++r)
        m_rows[static_cast<std::size_t>(r)] = r;
    if (m_type == SORT_NONE || m_fieldIndex < 0)
        return;
    // Keys are read once per row, then the row numbers are ordered by them.
    auto text = [&](int row) {
        std::wstring value;
        source->GetVal(row, m_fieldIndex, value, 0);
        return value;
    };
    const bool descending = m_order == SORT_DESC;
    if (m_type == SORT_STR) {
        std::vector<std::wstring> keys(m_rows.size());
        for (int r = 0; r < count; ++r)
            keys[static_cast<std::size_t>(r)] = text(r);
        std::sort(m_rows.begin(), m_rows.end(), [&](int a, int b) {
            const int c =
                keys[static_cast<std::size_t>(a)].compare(keys[static_cast<std::size_t>(b)]);
            return descending ? c > 0 : c < 0;
        });
        return;
    }
    std::vector<double> keys(m_rows.size());
    // A 32-bit integer field's text is its number written out, and reads back as exactly that
    // number either way: its cells are read as numbers, without the round trip through text.
    int number = 0;
    const bool integers =
        source->GetFieldType(m_fieldIndex) == DT_INT && source->GetVal(0, m_fieldIndex, number, 0);
    for (int r = 0; r < count; ++r) {
        double& key = keys[static_cast<std::size_t>(r)];
        if (integers && source->GetVal(r, m_fieldIndex, number, 0)) {
            key = number;
            continue;
        }
        const std::wstring digits = NumberText(text(r), m_type == SORT_FLOAT);
        key = m_type == SORT_FLOAT ? plat::_wtof(digits) : static_cast<double>(plat::_wtoi(digits));
    }
    std::sort(m_rows.begin(), m_rows.end(), [&](int a, int b) {
        const double ka = keys[static_cast<std::size_t>(a)];
        const double kb = keys[static_cast<std::size_t>(b)];
        return descending ? ka > kb : ka < kb;
    });
}

int XSort::RunObjectEvent(int n) {
    const int result = XMappedRows::RunObjectEvent(n);
    if (n == EVT_INITIALIZE)
        SortRows(); // what the source holds now; later changes arrive as notifications
    return result;
}

void XSort::Refresh() {
    SortRows();
    NotifyChange(0, 0);
}

void XSort::OnNotifierChanged(XDO* notifier, int notifyId, int code, int value) {
    XMappedRows::OnNotifierChanged(notifier, notifyId, code, value);
    if (notifier != GetDataSource())
        return;
    SortRows();
    NotifyChange(code, 0);
}

int XSort::Change(const std::wstring& field, int type, int order) {
    XMetaIOData* source = GetDataSource();
    if (!source || type < 0 || order < 0)
        return 0;
    const int index = source->GetFieldIndex(field.c_str());
    if (index < 0)
        return 0;
    if (index == m_fieldIndex && type == m_type && order == m_order && field == m_field)
        return 1;
    m_field = field;
    m_fieldIndex = index;
    m_type = static_cast<SORT_TYPE>(type);
    m_order = static_cast<SORT_ORDER>(order);
    Refresh();
    return 1;
}

int XSort::ChangeFTO(const wchar_t* field, const wchar_t* type, const wchar_t* order) {
    return Change(field ? field : L"", StrToType(type), StrToOrder(order));
}

int XSort::ChangeTO(const wchar_t* type, const wchar_t* order) {
    return Change(m_field, StrToType(type), StrToOrder(order));
}

int XSort::ChangeT(const wchar_t* type) {
    return Change(m_field, StrToType(type), m_order);
}

int XSort::ChangeO(const wchar_t* order) {
    return Change(m_field, m_type, StrToOrder(order));
}

int XSort::GetSortRow(int sourceRow) const {
    const auto it = std::find(m_rows.begin(), m_rows.end(), sourceRow);
    return it == m_rows.end() ? -1 : static_cast<int>(it - m_rows.begin());
}

std::wstring XSort::GetOrder() const {
    return m_order == SORT_DESC ? L"DESC" : L"ASC";
}

std::wstring XSort::GetType() const {
    switch (m_type) {
    case SORT_STR:
        return L"STR";
    case SORT_INT:
        return L"INT";
    case SORT_FLOAT:
        return L"FLOAT";
    default:
        return L"NONE";
    }
}
