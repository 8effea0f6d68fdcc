#pragma once
// XProxyIOData ("ProxyIOData"): stands for another IO data object, named by "DataSource"
// (else "Data") and found from the proxy's own place when it is created. Every operation goes
// to that target unchanged; without one the proxy is an empty data object and reports no
// error.
//
// The target is held weakly: a proxy that outlives its target reads as having none instead
// of reaching a destroyed object. A target that would lead back to the proxy (itself, or a
// proxy chain ending here) is refused, so forwarding always ends.
#include <string>
#include <vector>

#include "data/meta_io_data.h"
#include "nubra/ixo_ref.h"

class XProxyIOData : public XMetaIOData {
public:
    XProxyIOData();
    ORVO_KEY(L"ProxyIOData")

    int SetElement(XElement* e) override;
    int CreateInstance() override;

    // The object stood for, or null when unresolved or destroyed.
    virtual XMetaIOData* GetDataSource();

    int GetRows() override;
    int GetCols() override;
    int GetFieldIndex(const wchar_t* name) override;
    bool GetRowFieldIndex(const wchar_t* path, std::vector<int>& out) override;
    DT_DATA_TYPE GetFieldType(const std::vector<int>& path) override;
    DT_DATA_TYPE GetFieldType(int col) override;
    CFormat* GetFieldFormat(const std::vector<int>& path) override;
    CFormat* GetFieldFormat(int col) override;

    bool GetVal(int row, int col, int& out, int flag = 0) override;
    bool GetVal(int row, int col, std::wstring*& out, int flag = 0) override;
    bool GetVal(int row, int col, std::wstring& out, int flag = 0) override;
    bool GetVal(int row, int col, CVariant& out, int flag = 0) override;
    bool GetVal(const std::vector<int>& path, std::wstring*& out, int flag = 0) override;
    bool GetVal(const std::vector<int>& path, std::wstring& out, int flag = 0) override;
    bool GetVal(const std::vector<int>& path, CVariant& out, int flag = 0) override;
    bool GetNumber(const std::vector<int>& path, CellNumber& out) override;
    bool GetValEx(int row, int col, int& out, int flag, int base) override;
    std::wstring GetValueVB(int row, int col, int flag) override;

    bool SetVal(int row, int col, int value, int flag = 0) override;
    bool SetVal(int row, int col, const wchar_t* text, int flag = 0) override;
    bool SetVal(int row, int col, const CVariant& value, int flag = 0) override;
    bool SetVal(const std::vector<int>& path, const wchar_t* text, int flag = 0) override;
    bool SetVal(const std::vector<int>& path, const CVariant& value, int flag = 0) override;
    bool SetValEx(int row, int col, int value, int flag, int base) override;
    bool SetValueVB(int row, int col, const wchar_t* text, int flag) override;

protected:
    std::wstring m_strLink;

private:
    // True when standing for `candidate` would make forwarding come back to this proxy.
    bool LeadsBackHere(XMetaIOData* candidate);

    orvo::IXORef m_target;
};
