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

#include "core/xdo.h"
#include "data/struct.h"
#include "platform/base/lenient.h"
#include "shell/user_functions.h"
#include "shell/user_parameters.h"

using orvo::RefuseUserCall;
using orvo::UserParameters;

namespace {

constexpr const wchar_t* kUnbalanced = L"parentheses or quotes do not close";
constexpr const wchar_t* kGone = L"the calling object is gone";

// The object the piece at `index` names; null after telling the author.
XDO* TargetAt(const wchar_t* function,
              XDO* caller,
              const UserParameters& parameters,
              std::size_t index) {
    XDO* target = orvo::FindUserTarget(caller, parameters.At(index));
    if (!target)
        RefuseUserCall(function, parameters, L"no object " + parameters.At(index));
    return target;
}

XStruct* StructureAt(const wchar_t* function,
                     XDO* caller,
                     const UserParameters& parameters,
                     std::size_t index) {
    XDO* found = TargetAt(function, caller, parameters, index);
    if (!found)
        return nullptr;
    auto* structure =
        orvo::HasStyle(found, XDO_STYLE_STRUCT) ? dynamic_cast<XStruct*>(found) : nullptr;
    if (!structure)
        RefuseUserCall(function, parameters, parameters.At(index) + L" is not a structure");
    return structure;
}

// Refuses a dead caller, an unbalanced text and one with fewer than `needed` pieces.
bool Usable(const wchar_t* function,
            XDO* caller,
            const UserParameters& parameters,
            std::size_t needed,
            const wchar_t* form) {
    std::wstring why;
    if (!orvo::IsUsableCaller(caller))
        why = kGone;
    else if (!parameters.IsBalanced())
        why = kUnbalanced;
    else if (parameters.Count() < needed)
        why = std::wstring(L"expected ") + form;
    else
        return true;
    RefuseUserCall(function, parameters, why);
    return false;
}

} // namespace

extern "C" int SetData(XDO* caller, const wchar_t* parameter) {
    constexpr const wchar_t* kName = L"SetData";
    const UserParameters parameters(parameter);
    if (!Usable(kName, caller, parameters, 2, L"object, value"))
        return 0;
    XDO* target = TargetAt(kName, caller, parameters, 0);
    if (!target)
        return 0;
    std::wstring value;
    if (!parameters.ValueAt(1, value, caller))
        return RefuseUserCall(kName, parameters, L"no object for " + parameters.At(1));
    target->SetData(value.c_str());
    return 1;
}

extern "C" int CopyDataValue(XDO* caller, const wchar_t* parameter) {
    constexpr const wchar_t* kName = L"CopyDataValue";
    const UserParameters parameters(parameter);
    if (!Usable(kName, caller, parameters, 2, L"from, to"))
        return 0;
    XDO* from = TargetAt(kName, caller, parameters, 0);
    XDO* to = from ? TargetAt(kName, caller, parameters, 1) : nullptr;
    if (!to)
        return 0;
    std::wstring value;
    from->GetData(&value);
    to->SetData(value.c_str());
    return 1;
}

extern "C" int ClearStruct(XDO* caller, const wchar_t* parameter) {
    constexpr const wchar_t* kName = L"ClearStruct";
    const UserParameters parameters(parameter);
    if (!Usable(kName, caller, parameters, 1, L"structure"))
        return 0;
    XStruct* structure = StructureAt(kName, caller, parameters, 0);
    if (!structure)
        return 0;
    for (int row = 0; row < structure->GetRows(); ++row)
        for (int col = 0; col < structure->GetFieldCount(); ++col)
            structure->SetVal(row, col, L"");
    structure->NotifyChange(0, 0);
    return 1;
}

extern "C" int StructData2Text(XDO* caller, const wchar_t* parameter) {
    constexpr const wchar_t* kName = L"StructData2Text";
    const UserParameters parameters(parameter);
    if (!Usable(kName, caller, parameters, 2, L"structure, object[, separator]"))
        return 0;
    XStruct* structure = StructureAt(kName, caller, parameters, 0);
    XDO* target = structure ? TargetAt(kName, caller, parameters, 1) : nullptr;
    if (!target)
        return 0;
    std::wstring separator = L",";
    if (parameters.Count() > 2)
        parameters.ValueAt(2, separator);
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
    constexpr const wchar_t* kName = L"SetSTFieldValue";
    const UserParameters parameters(parameter);
    if (!Usable(kName, caller, parameters, 3, L"structure, field, value[, row]"))
        return 0;
    XStruct* structure = StructureAt(kName, caller, parameters, 0);
    if (!structure)
        return 0;
    const int field = structure->GetFieldIndex(parameters.At(1).c_str());
    if (field < 0)
        return RefuseUserCall(kName, parameters, L"no field " + parameters.At(1));
    const int row = parameters.Count() > 3 ? plat::_wtoi(parameters.At(3)) : 0;
    if (row < 0 || row >= structure->GetRows())
        return RefuseUserCall(kName, parameters, L"no row " + std::to_wstring(row));
    std::wstring value;
    if (!parameters.ValueAt(2, value, caller))
        return RefuseUserCall(kName, parameters, L"no object for " + parameters.At(2));
    if (!structure->SetVal(row, field, value.c_str()))
        return RefuseUserCall(kName, parameters, L"the field refuses " + value);
    structure->NotifyChange(0, 0);
    return 1;
}
