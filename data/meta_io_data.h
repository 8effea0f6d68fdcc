#pragma once
// XMetaIOData: the one interface of everything that holds tabular data (structures, proxies,
// filtered and sorted views). Visual objects, formulas and gates read and write cells only
// through it. A concrete class overrides the path forms and the counts; the (row, column)
// forms fall back on the path forms through shared scratch values.
//
// A cell path is the list GetRowFieldIndex gives: (row, field) pairs, inner structures
// included. The integer `flag` passes through unchanged; structures ignore it.
#include <string>
#include <vector>

#include "core/xdo.h"
#include "data/data_type.h"
#include "data/variant.h"

class XMetaIOData : public XDO {
    ORVO_DISPATCH_MAP()

public:
    XMetaIOData();
    ORVO_KEY(L"MetaIOData")

    virtual int GetRows() { return 0; }
    virtual int GetCols() { return 0; }
    // The field index of a name that resolves to exactly (row, field); else -1.
    virtual int GetFieldIndex(const wchar_t* name);
    virtual bool GetRowFieldIndex(const wchar_t* path, std::vector<int>& out);
    virtual DT_DATA_TYPE GetFieldType(const std::vector<int>& path);
    virtual DT_DATA_TYPE GetFieldType(int col);
    virtual CFormat* GetFieldFormat(const std::vector<int>& path);
    virtual CFormat* GetFieldFormat(int col);

    virtual bool GetVal(int row, int col, int& out, int flag = 0);
    virtual bool GetVal(int row, int col, std::wstring*& out, int flag = 0);
    virtual bool GetVal(int row, int col, std::wstring& out, int flag = 0);
    virtual bool GetVal(int row, int col, CVariant& out, int flag = 0);
    // The string object of a variable-length string cell.
    virtual bool GetVal(const std::vector<int>& path, std::wstring*& out, int flag = 0);
    virtual bool GetVal(const std::vector<int>& path, std::wstring& out, int flag = 0);
    virtual bool GetVal(const std::vector<int>& path, CVariant& out, int flag = 0);
    // A 32-bit integer, 64-bit integer or double cell as it is stored, with no variant made:
    // calculations read cells by the million. False for every other cell, and by default.
    struct CellNumber {
        DT_DATA_TYPE type = DT_NONE;
        std::int64_t whole = 0; // DT_INT, DT_INT64
        double real = 0;        // DT_DOUBLE
    };
    virtual bool GetNumber(const std::vector<int>& path, CellNumber& out);
    // `base` 1 means the column is counted from 1.
    virtual bool GetValEx(int row, int col, int& out, int flag, int base);
    // The cell's text; empty when it cannot be read.
    virtual std::wstring GetValueVB(int row, int col, int flag);

    virtual bool SetVal(int row, int col, int value, int flag = 0);
    virtual bool SetVal(int row, int col, const wchar_t* text, int flag = 0);
    virtual bool SetVal(int row, int col, const CVariant& value, int flag = 0);
    virtual bool SetVal(const std::vector<int>& path, const wchar_t* text, int flag = 0);
    virtual bool SetVal(const std::vector<int>& path, const CVariant& value, int flag = 0);
    // The column is not adjusted by `base`: writers have always passed it zero-based.
    virtual bool SetValEx(int row, int col, int value, int flag, int base);
    virtual bool SetValueVB(int row, int col, const wchar_t* text, int flag);

protected:
    // Shared scratch of the default forms. All IO data runs on the UI thread, and a default
    // form is never re-entered from inside another call.
    static std::vector<int> s_iIndex2;
    static std::vector<int> s_iIndex4;
    static CVariant s_var;

    static const std::vector<int>& CellPath(int row, int col);
};

// The IO data behind an object, or null when it is not IO data.
XMetaIOData* AsMetaIOData(IXO* object);
