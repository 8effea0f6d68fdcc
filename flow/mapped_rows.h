#pragma once
// XMappedRows: the part filters and sorts share. The view holds, for each of its rows, the
// source row shown there, and reads every value from the source through that map; it keeps
// row numbers only, never values. Writes go to the source unchanged, as for any proxy.
#include <vector>

#include "data/reform_io_data.h"

class XMappedRows : public XReformIOData {
public:
    int CreateInstance() override;

    int GetRows() override;
    int GetOrgRow(int row) override;

    bool GetVal(int row, int col, int& out, int flag = 0) override;
    bool GetVal(int row, int col, std::wstring*& out, int flag = 0) override;
    bool GetVal(int row, int col, std::wstring& out, int flag = 0) override;
    bool GetVal(int row, int col, CVariant& out, int flag = 0) override;
    bool GetVal(const std::vector<int>& path, std::wstring*& out, int flag = 0) override;
    bool GetVal(const std::vector<int>& path, std::wstring& out, int flag = 0) override;
    bool GetVal(const std::vector<int>& path, CVariant& out, int flag = 0) override;
    bool GetValEx(int row, int col, int& out, int flag, int base) override;
    std::wstring GetValueVB(int row, int col, int flag) override;

protected:
    // The source row at view row `row`, or -1 outside the map or without a source.
    int SourceRow(int row);
    // The path with its row translated and only its first two elements kept; false when
    // the row is outside the map.
    bool SourcePath(const std::vector<int>& path, std::vector<int>& out);

    std::vector<int> m_rows; // source row of each view row, in view order
};
