#include "flow/xfilter.h"

#include <algorithm>

#include "core/notice_messages.h"
#include "platform/base/nocase.h"

namespace {
[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XFilter>();

// The source's change kinds the filter follows row by row.
enum SourceChange : int {
    kFirstUpdated = 0x10001,
    kLastUpdated = 0x10002,
    kInsertedAtTop = 0x10003,
    kAddedAtBottom = 0x10004,
    kRemovedFromTop = 0x10005,
    kRemovedFromBottom = 0x10006,
};

bool PrecisionFromWord(const std::wstring& word, CFormula::PRECISION& precision) {
    if (plat::EqualsNoCase(word, L"Int") || plat::EqualsNoCase(word, L"Integer"))
        precision = CFormula::PRECISION_INT;
    else if (plat::EqualsNoCase(word, L"Int64") || plat::EqualsNoCase(word, L"Integer64"))
        precision = CFormula::PRECISION_INT64;
    else if (plat::EqualsNoCase(word, L"Double"))
        precision = CFormula::PRECISION_DOUBLE;
    else if (plat::EqualsNoCase(word, L"String"))
        precision = CFormula::PRECISION_STRING;
    else
        return false;
    return true;
}
} // namespace

int XFilter::SetElement(XElement* e) {
    if (!XMappedRows::SetElement(e))
        return 0;
    if (!e->GetValue(L"Formula", m_formulaText) || m_formulaText.empty()) {
        ConfirmMsg(L"Filter 의 Formula 가 지정되지 않았습니다.", 0, 0);
        return 0;
    }
    std::wstring word;
    CFormula::PRECISION precision = CFormula::PRECISION_INT;
    if ((e->GetValue(L"FormulaType", word) || e->GetValue(L"Type", word)) &&
        PrecisionFromWord(word, precision))
        m_formula.SetPrecision(precision);
    return 1;
}

int XFilter::CreateInstance() {
    if (!XMappedRows::CreateInstance())
        return 0;
    if (XMetaIOData* source = GetDataSource())
        m_formula.SetFormula(source, m_formulaText);
    return 1;
}

int XFilter::RunObjectEvent(int n) {
    const int result = XMappedRows::RunObjectEvent(n);
    if (n == EVT_AFTERCREATE)
        m_formula.LinkObject(this);
    else if (n == EVT_INITIALIZE && GetDataSource())
        MakeArrRow(0, GetDataSource()->GetRows(), m_rows, true); // what the source holds now
    return result;
}

bool XFilter::EvalRow(XMetaIOData* source, int row) {
    m_formula.ChangeFieldRow(row, -1, -1);
    CVariant result;
    if (!m_formula.Evaluate(source, result))
        return false;
    int value = 0;
    return result.GetInt(value) && value != 0;
}

int XFilter::MakeArrRow(int from, int to, std::vector<int>& map, bool clear) {
    if (clear)
        map.clear();
    XMetaIOData* source = GetDataSource();
    if (!source)
        return 0;
    int passed = 0;
    for (int row = std::max(from, 0); row < to; ++row) {
        if (EvalRow(source, row)) {
            map.push_back(row);
            ++passed;
        }
    }
    return passed;
}

void XFilter::OnNotifierChanged(XDO* notifier, int notifyId, int code, int value) {
    XMappedRows::OnNotifierChanged(notifier, notifyId, code, value);
    XMetaIOData* source = GetDataSource();
    if (!source || notifier != source)
        return;
    Follow(source, code, value);
}

void XFilter::Follow(XMetaIOData* source, int code, int value) {
    const int n = source->GetRows();
    auto rebuild = [&](int notifyValue) {
        MakeArrRow(0, n, m_rows, true);
        NotifyChange(0, notifyValue);
    };
    if (n <= 0) {
        rebuild(0);
        return;
    }
    switch (code) {
    case 0:
        rebuild(value);
        return;
    case kFirstUpdated: {
        const bool starts = !m_rows.empty() && m_rows.front() == 0;
        if (EvalRow(source, 0)) {
            if (!starts) {
                m_rows.insert(m_rows.begin(), 0);
                NotifyChange(kInsertedAtTop, 1);
            }
        } else if (starts) {
            m_rows.erase(m_rows.begin());
            NotifyChange(kRemovedFromTop, 1);
        }
        return;
    }
    case kLastUpdated: {
        const bool ends = !m_rows.empty() && m_rows.back() == n - 1;
        if (EvalRow(source, n - 1)) {
            if (!ends) {
                m_rows.push_back(n - 1);
                NotifyChange(kAddedAtBottom, 1);
            }
        } else if (ends) {
            m_rows.pop_back();
            NotifyChange(kRemovedFromBottom, 1);
        }
        return;
    }
    case kInsertedAtTop: {
        for (int& row : m_rows)
            row += value;
        std::vector<int> front;
        const int passed = MakeArrRow(0, std::min(value, n), front, true);
        if (passed > 0) {
            m_rows.insert(m_rows.begin(), front.begin(), front.end());
            NotifyChange(kInsertedAtTop, passed);
        }
        return;
    }
    case kAddedAtBottom: {
        const int passed = MakeArrRow(std::max(n - value, 0), n, m_rows, false);
        if (passed > 0)
            NotifyChange(kAddedAtBottom, passed);
        return;
    }
    case kRemovedFromTop: {
        const auto kept =
            std::find_if(m_rows.begin(), m_rows.end(), [&](int row) { return row >= value; });
        const auto removed = static_cast<int>(kept - m_rows.begin());
        m_rows.erase(m_rows.begin(), kept);
        for (int& row : m_rows)
            row -= value;
        if (removed > 0)
            NotifyChange(kRemovedFromTop, removed);
        return;
    }
    case kRemovedFromBottom: {
        const auto gone =
            std::find_if(m_rows.begin(), m_rows.end(), [&](int row) { return row >= n; });
        const auto removed = static_cast<int>(m_rows.end() - gone);
        m_rows.erase(gone, m_rows.end());
        if (removed > 0)
            NotifyChange(kRemovedFromBottom, removed);
        return;
    }
    default:
        rebuild(0);
        return;
    }
}

int XFilter::GetFilterRow(int sourceRow) const {
    const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), sourceRow);
    return it != m_rows.end() && *it == sourceRow ? static_cast<int>(it - m_rows.begin()) : -1;
}
