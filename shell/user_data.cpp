// Exported user functions that write data values and structures.
//
//   SetData          "object, value"                  the object's data; "Data(...)" resolved
//   CopyDataValue    "from, to"                       the data of one object into another
//   ClearStruct      "structure"                      every cell emptied, the rows kept
//   StructData2Text  "structure, object[, separator]" the rows as text into the object's data:
//                                                     cells joined by the separator (","),
//                                                     rows by ";"
//   SetSTFieldValue  "structure, field, value[, row]" one cell (row 0 unless given)
//
// StructEmpty (the rows removed) lives with the structure itself.
#include <string>

#include "data/struct.h"
#include "shell/user_call.h"
#include "shell/user_functions.h"

using orvo::UserCall;

namespace {

constexpr std::wstring_view kStructure = L"a structure";

} // namespace

extern "C" int SetData(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"SetData", caller, parameter);
    XDO* target = call.Check(2, L"object, value") ? call.Target(0) : nullptr;
    std::wstring value;
    if (!target || !call.Value(1, value))
        return 0;
    target->SetData(value.c_str());
    return 1;
}

extern "C" int CopyDataValue(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"CopyDataValue", caller, parameter);
    XDO* from = call.Check(2, L"from, to") ? call.Target(0) : nullptr;
    XDO* to = from ? call.Target(1) : nullptr;
    if (!to)
        return 0;
    std::wstring value;
    from->GetData(&value);
    to->SetData(value.c_str());
    return 1;
}

extern "C" int ClearStruct(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"ClearStruct", caller, parameter);
    auto* structure = call.Check(1, L"structure") ? call.TargetAs<XStruct>(0, kStructure) : nullptr;
    if (!structure)
        return 0;
    for (int row = 0; row < structure->GetRows(); ++row)
        for (int col = 0; col < structure->GetFieldCount(); ++col)
            structure->SetVal(row, col, L"");
    structure->NotifyChange(0, 0);
    return 1;
}

extern "C" int StructData2Text(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"StructData2Text", caller, parameter);
    auto* structure = call.Check(2, L"structure, object[, separator]")
                          ? call.TargetAs<XStruct>(0, kStructure)
                          : nullptr;
    XDO* target = structure ? call.Target(1) : nullptr;
    std::wstring separator = L",";
    if (!target || (call.Count() > 2 && !call.Value(2, separator)))
        return 0;
    std::wstring text;
    for (int row = 0; row < structure->GetRows(); ++row) {
        if (row > 0)
            text += L';';
        for (int col = 0; col < structure->GetFieldCount(); ++col) {
            std::wstring cell;
            structure->GetVal(row, col, cell);
            if (col > 0)
                text += separator;
            text += cell;
        }
    }
    target->SetData(text.c_str());
    return 1;
}

extern "C" int SetSTFieldValue(XDO* caller, const wchar_t* parameter) {
    const UserCall call(L"SetSTFieldValue", caller, parameter);
    auto* structure = call.Check(3, L"structure, field, value[, row]")
                          ? call.TargetAs<XStruct>(0, kStructure)
                          : nullptr;
    int row = 0;
    if (!structure || (call.Count() > 3 && !call.Integer(3, row)))
        return 0;
    const int field = structure->GetFieldIndex(call.At(1).c_str());
    if (field < 0)
        return call.Refuse(L"no field " + call.At(1));
    if (row < 0 || row >= structure->GetRows())
        return call.Refuse(L"no row " + std::to_wstring(row));
    std::wstring value;
    if (!call.Value(2, value))
        return 0;
    if (!structure->SetVal(row, field, value.c_str()))
        return call.Refuse(L"the field refuses " + value);
    structure->NotifyChange(0, 0);
    return 1;
}
