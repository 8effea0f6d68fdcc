#include "data/meta_io_data.h"

namespace {
[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XMetaIOData>();
} // namespace

std::vector<int> XMetaIOData::s_iIndex2(2, 0);
std::vector<int> XMetaIOData::s_iIndex4(4, 0);
CVariant XMetaIOData::s_var;

ORVO_DISPATCH(XMetaIOData,
              XDO,
              ORVO_METHOD(GetRows),
              ORVO_METHOD(GetCols),
              ORVO_METHOD(GetFieldIndex),
              ORVO_METHOD(GetValueVB),
              ORVO_METHOD(SetValueVB))

XMetaIOData::XMetaIOData() {
    m_nStyle |= XDO_STYLE_IODATA;
}

XMetaIOData* AsMetaIOData(IXO* object) {
    auto* xdo = dynamic_cast<XDO*>(object);
    return xdo && (xdo->GetObjectStyle() & XDO_STYLE_IODATA) ? dynamic_cast<XMetaIOData*>(xdo)
                                                             : nullptr;
}

const std::vector<int>& XMetaIOData::CellPath(int row, int col) {
    s_iIndex2.resize(2);
    s_iIndex2[0] = row;
    s_iIndex2[1] = col;
    return s_iIndex2;
}

int XMetaIOData::GetFieldIndex(const wchar_t* name) {
    std::vector<int> path;
    if (!name || !GetRowFieldIndex(name, path) || path.size() != 2)
        return -1;
    return path[1];
}

bool XMetaIOData::GetRowFieldIndex(const wchar_t*, std::vector<int>&) {
    return false;
}

DT_DATA_TYPE XMetaIOData::GetFieldType(const std::vector<int>&) {
    return DT_NONE;
}

DT_DATA_TYPE XMetaIOData::GetFieldType(int col) {
    return GetFieldType(CellPath(0, col));
}

CFormat* XMetaIOData::GetFieldFormat(const std::vector<int>&) {
    return nullptr;
}

CFormat* XMetaIOData::GetFieldFormat(int col) {
    return GetFieldFormat(CellPath(0, col));
}

// ---- reading ---------------------------------------------------------------------------------

bool XMetaIOData::GetVal(int row, int col, int& out, int flag) {
    if (!GetVal(CellPath(row, col), s_var, flag))
        return false;
    return s_var.GetInt(out);
}

bool XMetaIOData::GetVal(int row, int col, std::wstring*& out, int flag) {
    return GetVal(CellPath(row, col), out, flag);
}

bool XMetaIOData::GetVal(int row, int col, std::wstring& out, int flag) {
    return GetVal(CellPath(row, col), out, flag);
}

bool XMetaIOData::GetVal(int row, int col, CVariant& out, int flag) {
    return GetVal(CellPath(row, col), out, flag);
}

bool XMetaIOData::GetVal(const std::vector<int>& path, std::wstring*& out, int flag) {
    CVariant value;
    if (!GetVal(path, value, flag))
        return false;
    return value.GetPtStr(out);
}

bool XMetaIOData::GetVal(const std::vector<int>& path, std::wstring& out, int flag) {
    CVariant value;
    return GetVal(path, value, flag) && value.Get(out);
}

bool XMetaIOData::GetVal(const std::vector<int>&, CVariant&, int) {
    return false;
}

bool XMetaIOData::GetNumber(const std::vector<int>&, CellNumber&) {
    return false;
}

bool XMetaIOData::GetValEx(int row, int col, int& out, int flag, int base) {
    return GetVal(row, base == 1 ? col - 1 : col, out, flag);
}

std::wstring XMetaIOData::GetValueVB(int row, int col, int flag) {
    std::wstring text;
    if (GetFieldType(col) == DT_PT_STR) {
        std::wstring* string = nullptr;
        if (GetVal(row, col, string, flag) && string)
            text = *string;
    } else if (!GetVal(row, col, text, flag)) {
        text.clear();
    }
    return text;
}

// ---- writing ---------------------------------------------------------------------------------

bool XMetaIOData::SetVal(int row, int col, int value, int flag) {
    CVariant number;
    number.SetInt(value);
    return SetVal(CellPath(row, col), number, flag);
}

bool XMetaIOData::SetVal(int row, int col, const wchar_t* text, int flag) {
    return SetVal(CellPath(row, col), text, flag);
}

bool XMetaIOData::SetVal(int row, int col, const CVariant& value, int flag) {
    return SetVal(CellPath(row, col), value, flag);
}

bool XMetaIOData::SetVal(const std::vector<int>& path, const wchar_t* text, int flag) {
    if (!text)
        return false;
    CVariant value;
    value.SetString(text);
    return SetVal(path, value, flag);
}

bool XMetaIOData::SetVal(const std::vector<int>&, const CVariant&, int) {
    return false;
}

bool XMetaIOData::SetValEx(int row, int col, int value, int flag, int) {
    return SetVal(row, col, value, flag);
}

bool XMetaIOData::SetValueVB(int row, int col, const wchar_t* text, int flag) {
    return SetVal(row, col, text, flag);
}
