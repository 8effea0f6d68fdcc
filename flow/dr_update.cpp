#include "flow/dr_update.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "core/element.h"
#include "core/notice_messages.h"
#include "core/xdo.h"
#include "data/struct.h"
#include "flow/link_output.h"
#include "nubra/format.h"
#include "platform/base/nocase.h"

namespace {

// Listener codes the control is notified with (the second value in brackets).
enum UpdateNotify : int {
    NOTIFY_TOP_ROW = 0x10001,    // row 0 overwritten (1)
    NOTIFY_BOTTOM_ROW = 0x10002, // the last row overwritten (1)
    NOTIFY_ROWS_ADDED = 0x10004, // rows added (how many)
    NOTIFY_KEY_ROW = 0x10007,    // a row found by its key overwritten (the row)
};

CDRUpdate::Method MethodOf(const std::wstring& name) {
    if (plat::EqualsNoCase(name, L"Copy"))
        return CDRUpdate::METHOD_COPY;
    if (plat::EqualsNoCase(name, L"Add"))
        return CDRUpdate::METHOD_ADD;
    if (plat::EqualsNoCase(name, L"Update"))
        return CDRUpdate::METHOD_UPDATE;
    if (plat::EqualsNoCase(name, L"UpdateByKey"))
        return CDRUpdate::METHOD_UPDATE_BY_KEY;
    return CDRUpdate::METHOD_NONE;
}

// Points an inner-structure path (row, inner field, inner row, column) at another inner row.
void MoveInnerRow(std::vector<int>& path, int innerRow, int innerField) {
    if (innerRow >= 0 && innerField >= 0 && path.size() > 3 && path[1] == innerField)
        path[2] = innerRow;
}

} // namespace

// ---- fields -----------------------------------------------------------------------------------

int CDRUpdateField::SetElement(XElement* e, XMetaIOData* source, XMetaIOData* control) {
    if (!e)
        return 0;
    std::wstring text;
    if (e->GetValue(L"Link", text))
        m_targets.Parse(text, control);
    if (e->GetValue(L"Item", text) || e->GetValue(L"Src", text)) {
        if (!source || !source->GetRowFieldIndex(text.c_str(), m_sourcePath))
            return 0;
        m_mode = MODE_ITEM;
    }
    orvo::ReadFormulaType(e, m_formula);
    if (e->GetValue(L"Formula", text)) {
        if (!m_formula.SetFormula(source, text))
            return 0;
        m_mode = MODE_FORMULA;
    } else if (e->GetValue(L"Postfix", text)) {
        if (!m_formula.SetPostfix(source, text))
            return 0;
        m_mode = MODE_FORMULA;
    }
    if (m_mode == MODE_NONE)
        return 0;
    if (e->GetValue(L"Format", text)) {
        m_format = std::make_unique<CFormat>();
        m_format->SetFormat(text);
    }
    m_formatString = orvo::ReadFormatString(e);
    return 1;
}

int CDRUpdateField::Update(XStruct* source,
                           int sourceRow,
                           int innerRow,
                           int innerField,
                           XMetaIOData* control,
                           int targetRow) {
    for (CDataLink& target : m_targets) {
        if (target.GetKind() == CDataLink::STRUCT_FIELD && !target.Path().empty())
            target.Path()[0] = targetRow;
    }
    std::wstring value;
    if (m_mode == MODE_ITEM) {
        if (sourceRow >= 0 && !m_sourcePath.empty())
            m_sourcePath[0] = sourceRow;
        MoveInnerRow(m_sourcePath, innerRow, innerField);
        if (!source || !source->GetVal(m_sourcePath, value, 0))
            return 1;
    } else if (m_mode == MODE_FORMULA) {
        if (sourceRow >= 0 || (innerRow >= 0 && innerField >= 0))
            m_formula.ChangeFieldRow(sourceRow, innerRow, innerField);
        if (!m_formula.Evaluate(source, value))
            return 1;
    } else {
        return 1;
    }
    if (m_format)
        value = m_format->GetString(value);
    if (!m_formatString.empty())
        value = orvo::WrapWithFormatString(m_formatString, value);
    for (const CDataLink& target : m_targets)
        target.Write(control, value);
    return 1;
}

void CDRUpdateField::LinkObject(XDO* owner) {
    m_formula.LinkObject(owner);
    m_targets.Resolve(owner);
}

// ---- the update -------------------------------------------------------------------------------

int CDRUpdate::SetElement(XElement* e, XMetaIOData* source, XDO* owner, int clear) {
    if (!e)
        return 0;
    m_clear = clear;
    e->GetBool(L"Clear", m_clear);

    std::wstring text;
    e->GetValue(L"Control", text);
    XDO* found = owner && !text.empty() ? FindLink(owner, text) : nullptr;
    XStruct* control =
        orvo::HasStyle(found, XDO_STYLE_STRUCT) ? orvo::KindOf<XStruct>(found) : nullptr;
    if (!control) {
        ConfirmMsg(L"<DataRequest.Update Control=\"" + text +
                   L"\">\n연결 Structure 를 찾지 못했습니다.");
        return 0;
    }
    m_control = control->WeakRef();

    text.clear();
    e->GetValue(L"Method", text);
    m_method = MethodOf(text);
    if (m_method == METHOD_NONE)
        return 0;
    if (e->GetValue(L"Where", text))
        m_where = plat::EqualsNoCase(text, L"Top") ? WHERE_TOP : WHERE_BOTTOM;
    e->GetBool(L"ReverseRow", m_reverseRow);
    e->GetValue(L"SkipRow", m_skipRow);
    // A negative skip would ask for source rows that do not exist.
    m_skipRow = std::max(m_skipRow, 0);

    auto* sourceStruct = orvo::KindOf<XStruct>(source);
    if (e->GetValue(L"InnerStruct", text)) {
        m_innerField = sourceStruct ? sourceStruct->GetFieldIndex(text.c_str()) : -1;
        if (m_innerField < 0)
            return 0;
    }
    if (m_method == METHOD_UPDATE_BY_KEY) {
        std::wstring sourceKey;
        std::wstring targetKey;
        if (!source || !e->GetValue(L"SrcKey", sourceKey) ||
            !source->GetRowFieldIndex(sourceKey.c_str(), m_sourceKey) ||
            !e->GetValue(L"TargetKey", targetKey) ||
            !control->GetRowFieldIndex(targetKey.c_str(), m_targetKey))
            return 0;
    }

    m_fields.clear();
    for (XElement* child = e->GetFirstChild(); child; child = child->GetNextSibling()) {
        if (!plat::EqualsNoCase(child->GetTagName(), L"Field"))
            continue;
        auto field = std::make_unique<CDRUpdateField>();
        if (field->SetElement(child, source, control))
            m_fields.push_back(std::move(field));
    }
    return 1;
}

XStruct* CDRUpdate::GetControl() const {
    auto* control = orvo::KindOf<XStruct>(m_control.Get());
    return control && !control->IsTornDown() ? control : nullptr;
}

int CDRUpdate::SourceRows(XStruct* received) const {
    if (m_innerField < 0)
        return std::max(received->GetRecordCount(), 0);
    return received->GetRecordCount() > 0 ? received->GetISCnt(m_innerField) : 0;
}

void CDRUpdate::UpdateFields(XStruct* received, XStruct* control, int sourceRow, int targetRow) {
    for (const auto& field : m_fields) {
        if (m_innerField >= 0)
            field->Update(received, -1, sourceRow, m_innerField, control, targetRow);
        else
            field->Update(received, sourceRow, -1, -1, control, targetRow);
    }
}

int CDRUpdate::Update(XStruct* received) {
    if (!received || !GetControl())
        return 0;
    switch (m_method) {
    case METHOD_COPY:
        return MethodCopy(received);
    case METHOD_ADD:
        return MethodAdd(received);
    case METHOD_UPDATE:
        return MethodUpdate(received);
    case METHOD_UPDATE_BY_KEY:
        return MethodUpdateByKey(received);
    default:
        return 0;
    }
}

int CDRUpdate::MethodCopy(XStruct* received) {
    XStruct* control = GetControl();
    if (!control || !received)
        return 0;
    if (control != received)
        control->CopyStruct(*received);
    control->NotifyChange(0, 0);
    return 1;
}

int CDRUpdate::MethodUpdate(XStruct* received) {
    XStruct* control = GetControl();
    if (!control || !received)
        return 0;
    const int count = control->GetRecordCount();
    if (count < 1)
        return 1;
    const bool bottom = m_where == WHERE_BOTTOM;
    UpdateFields(received, control, -1, bottom ? count - 1 : 0);
    control->NotifyChange(bottom ? NOTIFY_BOTTOM_ROW : NOTIFY_TOP_ROW, 1);
    return 1;
}

int CDRUpdate::MethodUpdateByKey(XStruct* received) {
    XStruct* control = GetControl();
    if (!control || !received || m_sourceKey.empty() || m_targetKey.empty())
        return 0;
    const int rows = SourceRows(received);
    std::vector<int> sourceKey = m_sourceKey;
    std::vector<int> targetKey = m_targetKey;
    CVariant key;
    CVariant candidate;
    for (int i = 0; i < rows; ++i) {
        if (m_innerField >= 0)
            MoveInnerRow(sourceKey, i, m_innerField);
        else
            sourceKey[0] = i;
        if (!received->GetVal(sourceKey, key, 0))
            return 0;
        for (int j = 0; j < control->GetRecordCount(); ++j) {
            targetKey[0] = j;
            if (!control->GetVal(targetKey, candidate, 0) || !(candidate == key))
                continue;
            UpdateFields(received, control, i, j);
            control->NotifyChange(NOTIFY_KEY_ROW, j);
            // A listener may have closed the screen.
            control = GetControl();
            if (!control)
                return 1;
            break;
        }
    }
    return 1;
}

int CDRUpdate::MethodAdd(XStruct* received) {
    XStruct* control = GetControl();
    if (!control || !received)
        return 0;
    const int rows = SourceRows(received);
    const std::int64_t max = control->GetMaxRow();
    const std::int64_t current = std::max(control->GetRecordCount(), 0);
    // Without fields, received rows of the control's own layout go in at the top whole: the
    // tick and fill lists, where the newest row comes first and a ring drops its oldest.
    if (m_fields.empty() && m_where == WHERE_TOP && !m_reverseRow && m_innerField < 0 &&
        m_skipRow <= 0 && rows > 0 && control->GetRecord() == received->GetRecord()) {
        const int added = control->InsertRowsAtTop(*received, 0, rows);
        if (added > 0) {
            if (max > 0 && current + rows > max)
                control->NotifyChange(0, 0);
            else
                control->NotifyChange(NOTIFY_ROWS_ADDED, added);
            return 1;
        }
    }
    std::int64_t added = static_cast<std::int64_t>(rows) - m_skipRow;
    if (added <= 0)
        return 1;
    const std::int64_t total = current + added;
    const std::int64_t count = max > 0 && total > max ? max : total;
    if (count > INT_MAX)
        return 0;
    const std::int64_t overflow = total - count;
    added = std::min(added, count);

    if (overflow > 0)
        control->ShiftUp(static_cast<int>(std::min<std::int64_t>(overflow, INT_MAX)));
    const bool sized = max <= 0 ? control->ConfirmDataMem(static_cast<int>(count))
                                : control->SetRowCount(static_cast<unsigned int>(count));
    if (!sized)
        return 0;

    const bool top = m_where == WHERE_TOP;
    if (top && !m_reverseRow && count != added) {
        // ShiftDown keeps cells as they are (doubles, inner rows); it refuses structures with
        // variable-length strings, which move by text instead.
        if (!control->ShiftDown(static_cast<int>(added)))
            XStruct::ShiftRecordTillEnd(control,
                                        static_cast<int>(count),
                                        control->GetFieldCount(),
                                        static_cast<int>(added));
    }
    for (std::int64_t k = 0; k < added; ++k) {
        std::int64_t source = 0;
        std::int64_t target = 0;
        if (m_reverseRow) {
            source = added - 1 - k;
            target = count - added + k;
        } else if (top) {
            source = added - 1 - k;
            target = k;
        } else {
            source = rows - added + k;
            target = count - added + k;
        }
        UpdateFields(received, control, static_cast<int>(source), static_cast<int>(target));
    }
    if (overflow > 0)
        control->NotifyChange(0, 0);
    else
        control->NotifyChange(NOTIFY_ROWS_ADDED, static_cast<int>(added));
    return 1;
}

void CDRUpdate::Clear() {
    XStruct* control = m_clear ? GetControl() : nullptr;
    if (!control)
        return;
    // A ring keeps its rows and its MaxRow: RmStruct would forget the limit, and the next
    // Add would grow the control without bound.
    if (control->GetMaxRow() > 0)
        control->SetRowCount(0);
    else
        control->RmStruct();
    control->NotifyChange(0, 0);
}

void CDRUpdate::LinkObject(XDO* owner) {
    for (const auto& field : m_fields)
        field->LinkObject(owner);
}
