#include "shell/xtab_panel.h"

#include "core/contracts.h"
#include "core/element.h"
#include "nubra/ixo_ref.h"
#include "platform/base/lenient.h"
#include "platform/base/nocase.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterFactory<XTabPanel>();

} // namespace

ORVO_DISPATCH(XTabPanel,
              XUI,
              ORVO_PROPERTY_EX(GetPage, SelectPage, Page),
              ORVO_READONLY(GetPageCount, PageCount),
              ORVO_PROVIDE(orvo::contract::TabPanelSwitchPage, SwitchPage))

int XTabPanel::SetElement(XElement* e) {
    if (!XUI::SetElement(e) || !e)
        return 0;
    e->GetValue(L"Page", m_page);
    return 1;
}

int XTabPanel::SetMethod(const wchar_t* name, XElement* e) {
    if (!XUI::SetMethod(name, e))
        return 0;
    if (!e || !plat::EqualsNoCase(std::wstring_view(name ? name : L""), L"switch"))
        return 1;
    Switch s;
    std::wstring id;
    if (e->GetValue(L"Item", s.item) && e->GetValue(L"Value", s.value) && e->GetValue(L"Id", id) &&
        !s.item.empty() && !s.value.empty()) {
        s.page = plat::_wtoi(id);
        m_switches.push_back(std::move(s));
    }
    return 1;
}

int XTabPanel::RunObjectEvent(int id) {
    const int result = XUI::RunObjectEvent(id);
    if (id == EVT_INITIALIZE) {
        const std::vector<XUI*> pages = Pages();
        for (std::size_t i = 0; i < pages.size(); ++i)
            pages[i]->SetShow(static_cast<int>(i) == m_page);
    }
    return result;
}

XDO* XTabPanel::SwitchPage(XElement* element) {
    if (!element)
        return nullptr;
    for (const Switch& s : m_switches) {
        const std::wstring* value = element->FindValue(s.item);
        if (!value || !plat::EqualsNoCase(*value, s.value) || s.page == m_page)
            continue;
        SelectPage(s.page);
        return GetPageObject(m_page);
    }
    return nullptr;
}

void XTabPanel::SelectPage(int index) {
    if (GetCreateState() < 3) {
        m_page = index;
        return;
    }
    if (index == m_page)
        return;
    ShowPage(m_page, false);
    ShowPage(index, true);
    m_page = index;
}

XDO* XTabPanel::GetPageObject(int index) const {
    const std::vector<XUI*> pages = Pages();
    return index >= 0 && index < static_cast<int>(pages.size()) ? pages[index] : nullptr;
}

std::vector<XUI*> XTabPanel::Pages() const {
    std::vector<XUI*> pages;
    for (XDO* c = child(); c; c = c->next()) {
        if (auto* page = dynamic_cast<XUI*>(c))
            pages.push_back(page);
    }
    return pages;
}

void XTabPanel::ShowPage(int index, bool show) const {
    if (auto* page = dynamic_cast<XUI*>(GetPageObject(index)))
        page->SetShow(show);
}
