#include "flow/mapped_rows.h"

int XMappedRows::CreateInstance() {
    if (!XReformIOData::CreateInstance())
        return 0;
    // The view follows its source's changes: it listens to it from the start.
    if (XMetaIOData* source = GetDataSource())
        source->AddListener(this);
    return 1;
}

int XMappedRows::GetRows() {
    return GetDataSource() ? static_cast<int>(m_rows.size()) : 0;
}

int XMappedRows::GetOrgRow(int row) {
    return row >= 0 && static_cast<std::size_t>(row) < m_rows.size()
               ? m_rows[static_cast<std::size_t>(row)]
               : -1;
}

int XMappedRows::SourceRow(int row) {
    return GetDataSource() ? GetOrgRow(row) : -1;
}

bool XMappedRows::SourcePath(const std::vector<int>& path, std::vector<int>& out) {
    if (path.empty())
        return false;
    const int row = SourceRow(path[0]);
    if (row < 0)
        return false;
    out.assign({row, path.size() > 1 ? path[1] : 0});
    return true;
}

bool XMappedRows::GetVal(int row, int col, int& out, int flag) {
    const int source = SourceRow(row);
    return source >= 0 && XReformIOData::GetVal(source, col, out, flag);
}

bool XMappedRows::GetVal(int row, int col, std::wstring*& out, int flag) {
    const int source = SourceRow(row);
    return source >= 0 && XReformIOData::GetVal(source, col, out, flag);
}

bool XMappedRows::GetVal(int row, int col, std::wstring& out, int flag) {
    const int source = SourceRow(row);
    return source >= 0 && XReformIOData::GetVal(source, col, out, flag);
}

bool XMappedRows::GetVal(int row, int col, CVariant& out, int flag) {
    const int source = SourceRow(row);
    return source >= 0 && XReformIOData::GetVal(source, col, out, flag);
}

bool XMappedRows::GetVal(const std::vector<int>& path, std::wstring*& out, int flag) {
    std::vector<int> source;
    return SourcePath(path, source) && XReformIOData::GetVal(source, out, flag);
}

bool XMappedRows::GetVal(const std::vector<int>& path, std::wstring& out, int flag) {
    std::vector<int> source;
    return SourcePath(path, source) && XReformIOData::GetVal(source, out, flag);
}

bool XMappedRows::GetVal(const std::vector<int>& path, CVariant& out, int flag) {
    std::vector<int> source;
    return SourcePath(path, source) && XReformIOData::GetVal(source, out, flag);
}

bool XMappedRows::GetValEx(int row, int col, int& out, int flag, int base) {
    const int source = SourceRow(row);
    return source >= 0 && XReformIOData::GetValEx(source, col, out, flag, base);
}

std::wstring XMappedRows::GetValueVB(int row, int col, int flag) {
    const int source = SourceRow(row);
    return source >= 0 ? XReformIOData::GetValueVB(source, col, flag) : std::wstring();
}
