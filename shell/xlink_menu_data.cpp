#include "shell/xlink_menu_data.h"

#include "core/element.h"
#include "shell/menu_man.h"
#include "ui/contracts.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XLinkMenuData>();

} // namespace

ORVO_DISPATCH(XLinkMenuData,
              XDO,
              ORVO_PROVIDE(orvo::contract::LinkMenuRowCount, GetRowCount),
              ORVO_PROVIDE(orvo::contract::LinkMenuRowText, GetRowText),
              ORVO_PROVIDE(orvo::contract::LinkMenuRowMenuID, GetRowMenuID))

int XLinkMenuData::SetElement(XElement* e) {
    if (!XDO::SetElement(e) || !e)
        return 0;
    m_rows.clear();
    std::wstring id;
    e->GetValue(L"MenuID", id);
    for (const XMenuMan::Entry* link : XMenuMan::Instance().Links(id))
        m_rows.push_back({link->id, link->text.empty() ? link->id : link->text});
    return 1;
}

std::wstring XLinkMenuData::GetRowText(int row) const {
    return row >= 0 && row < GetRowCount() ? m_rows[static_cast<std::size_t>(row)].text
                                           : std::wstring();
}

std::wstring XLinkMenuData::GetRowMenuID(int row) const {
    return row >= 0 && row < GetRowCount() ? m_rows[static_cast<std::size_t>(row)].id
                                           : std::wstring();
}
