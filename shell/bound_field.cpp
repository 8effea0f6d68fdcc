#include "shell/bound_field.h"

#include "data/data_source.h"
#include "ui/xui.h"

namespace orvo {

void BoundField::NoteCreationRow() {
    m_creationRow = CDataSource().GetDataRecord();
}

void BoundField::Listen(XUI& object) {
    if (XMetaIOData* source = object.FindDataSource())
        source->AddListener(&object);
}

int BoundField::Row(const XUI& object) const {
    // As XUI draws it: the row a container painting row by row sets, else the first of an own
    // source or of one made current without a row.
    if (int current = CDataSource::CurrentRowOf(object.FindDataSource()); current >= 0)
        return current;
    return object.GetDataSource() || m_creationRow < 0 ? 0 : m_creationRow;
}

bool BoundField::Read(const XUI& object, std::wstring& out) const {
    XMetaIOData* source = object.FindDataSource();
    return source && object.GetDataField() >= 0 &&
           source->GetVal(Row(object), object.GetDataField(), out);
}

bool BoundField::Write(const XUI& object, const std::wstring& value) const {
    XMetaIOData* source = object.FindDataSource();
    if (!source || object.GetDataField() < 0 ||
        !source->SetVal(Row(object), object.GetDataField(), value.c_str()))
        return false;
    source->NotifyChange(0, 0);
    return true;
}

const CFormat* BoundField::FieldFormat(const XUI& object) {
    XMetaIOData* source = object.FindDataSource();
    return source && object.GetDataField() >= 0 ? source->GetFieldFormat(object.GetDataField())
                                                : nullptr;
}

} // namespace orvo
