#include "data/proxy_io_data.h"

namespace {
[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XProxyIOData>();
} // namespace

XProxyIOData::XProxyIOData() {
    m_nStyle |= XDO_STYLE_CLASS;
}

int XProxyIOData::SetElement(XElement* e) {
    if (!XMetaIOData::SetElement(e))
        return 0;
    m_strLink.clear();
    // An empty "DataSource" names nothing, so "Data" still gets its say.
    if (e && (!e->GetValue(L"DataSource", m_strLink) || m_strLink.empty()))
        e->GetValue(L"Data", m_strLink);
    return 1;
}

int XProxyIOData::CreateInstance() {
    if (!XMetaIOData::CreateInstance())
        return 0;
    m_target = orvo::IXORef();
    XMetaIOData* found = m_strLink.empty() ? nullptr : AsMetaIOData(FindLink(this, m_strLink));
    if (found && !LeadsBackHere(found))
        m_target = found->WeakRef();
    return 1;
}

bool XProxyIOData::LeadsBackHere(XMetaIOData* candidate) {
    // Every link was checked when it was made, so the chain has no loop of its own and ends.
    for (XMetaIOData* node = candidate; node;) {
        if (node == this)
            return true;
        auto* proxy = dynamic_cast<XProxyIOData*>(node);
        node = proxy ? static_cast<XMetaIOData*>(proxy->m_target.Get()) : nullptr;
    }
    return false;
}

XMetaIOData* XProxyIOData::GetDataSource() {
    // Only IO data is ever stored, so the weak reference names an XMetaIOData or nothing.
    return static_cast<XMetaIOData*>(m_target.Get());
}

// ---- counts and fields ------------------------------------------------------------------------

int XProxyIOData::GetRows() {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetRows() : XMetaIOData::GetRows();
}

int XProxyIOData::GetCols() {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetCols() : XMetaIOData::GetCols();
}

int XProxyIOData::GetFieldIndex(const wchar_t* name) {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetFieldIndex(name) : XMetaIOData::GetFieldIndex(name);
}

bool XProxyIOData::GetRowFieldIndex(const wchar_t* path, std::vector<int>& out) {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetRowFieldIndex(path, out) : XMetaIOData::GetRowFieldIndex(path, out);
}

DT_DATA_TYPE XProxyIOData::GetFieldType(const std::vector<int>& path) {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetFieldType(path) : XMetaIOData::GetFieldType(path);
}

DT_DATA_TYPE XProxyIOData::GetFieldType(int col) {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetFieldType(col) : XMetaIOData::GetFieldType(col);
}

CFormat* XProxyIOData::GetFieldFormat(const std::vector<int>& path) {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetFieldFormat(path) : XMetaIOData::GetFieldFormat(path);
}

CFormat* XProxyIOData::GetFieldFormat(int col) {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetFieldFormat(col) : XMetaIOData::GetFieldFormat(col);
}

// ---- reading ---------------------------------------------------------------------------------

bool XProxyIOData::GetVal(int row, int col, int& out, int flag) {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetVal(row, col, out, flag) : XMetaIOData::GetVal(row, col, out, flag);
}

bool XProxyIOData::GetVal(int row, int col, std::wstring*& out, int flag) {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetVal(row, col, out, flag) : XMetaIOData::GetVal(row, col, out, flag);
}

bool XProxyIOData::GetVal(int row, int col, std::wstring& out, int flag) {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetVal(row, col, out, flag) : XMetaIOData::GetVal(row, col, out, flag);
}

bool XProxyIOData::GetVal(int row, int col, CVariant& out, int flag) {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetVal(row, col, out, flag) : XMetaIOData::GetVal(row, col, out, flag);
}

bool XProxyIOData::GetVal(const std::vector<int>& path, std::wstring*& out, int flag) {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetVal(path, out, flag) : XMetaIOData::GetVal(path, out, flag);
}

bool XProxyIOData::GetVal(const std::vector<int>& path, std::wstring& out, int flag) {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetVal(path, out, flag) : XMetaIOData::GetVal(path, out, flag);
}

bool XProxyIOData::GetVal(const std::vector<int>& path, CVariant& out, int flag) {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetVal(path, out, flag) : XMetaIOData::GetVal(path, out, flag);
}

bool XProxyIOData::GetNumber(const std::vector<int>& path, CellNumber& out) {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetNumber(path, out) : XMetaIOData::GetNumber(path, out);
}

bool XProxyIOData::GetValEx(int row, int col, int& out, int flag, int base) {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetValEx(row, col, out, flag, base)
                  : XMetaIOData::GetValEx(row, col, out, flag, base);
}

std::wstring XProxyIOData::GetValueVB(int row, int col, int flag) {
    XMetaIOData* target = GetDataSource();
    return target ? target->GetValueVB(row, col, flag) : XMetaIOData::GetValueVB(row, col, flag);
}

// ---- writing ---------------------------------------------------------------------------------

bool XProxyIOData::SetVal(int row, int col, int value, int flag) {
    XMetaIOData* target = GetDataSource();
    return target ? target->SetVal(row, col, value, flag)
                  : XMetaIOData::SetVal(row, col, value, flag);
}

bool XProxyIOData::SetVal(int row, int col, const wchar_t* text, int flag) {
    XMetaIOData* target = GetDataSource();
    return target ? target->SetVal(row, col, text, flag)
                  : XMetaIOData::SetVal(row, col, text, flag);
}

bool XProxyIOData::SetVal(int row, int col, const CVariant& value, int flag) {
    XMetaIOData* target = GetDataSource();
    return target ? target->SetVal(row, col, value, flag)
                  : XMetaIOData::SetVal(row, col, value, flag);
}

bool XProxyIOData::SetVal(const std::vector<int>& path, const wchar_t* text, int flag) {
    XMetaIOData* target = GetDataSource();
    return target ? target->SetVal(path, text, flag) : XMetaIOData::SetVal(path, text, flag);
}

bool XProxyIOData::SetVal(const std::vector<int>& path, const CVariant& value, int flag) {
    XMetaIOData* target = GetDataSource();
    return target ? target->SetVal(path, value, flag) : XMetaIOData::SetVal(path, value, flag);
}

bool XProxyIOData::SetValEx(int row, int col, int value, int flag, int base) {
    XMetaIOData* target = GetDataSource();
    return target ? target->SetValEx(row, col, value, flag, base)
                  : XMetaIOData::SetValEx(row, col, value, flag, base);
}

bool XProxyIOData::SetValueVB(int row, int col, const wchar_t* text, int flag) {
    XMetaIOData* target = GetDataSource();
    return target ? target->SetValueVB(row, col, text, flag)
                  : XMetaIOData::SetValueVB(row, col, text, flag);
}
