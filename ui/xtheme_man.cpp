#include "ui/xtheme_man.h"

#include "core/element.h"
#include "core/project_setting_file.h"
#include "platform/base/nocase.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterInstance(&XThemeMan::Instance());

} // namespace

XThemeMan& XThemeMan::Instance() {
    // Never destroyed: objects torn down at exit may still hold styles of the theme.
    static XThemeMan* const instance = new XThemeMan();
    return *instance;
}

ORVO_DISPATCH(XThemeMan, IXO, ORVO_METHOD(InitializeIXO), ORVO_METHOD(LoadCurrentTheme))

int XThemeMan::LoadCurrentTheme() {
    const std::unique_ptr<XElement> root = orvo::ReadProjectSettingFile(L"Theme");
    return root ? LoadTheme(root.get()) : 0;
}

int XThemeMan::LoadTheme(XElement* root) {
    if (!root || !plat::EqualsNoCase(root->GetTagName(), L"Theme"))
        return 0;
    auto theme = std::make_unique<XTheme>();
    theme->SetElement(root->GetFirstChild());
    if (m_current)
        m_replaced.push_back(std::move(m_current));
    m_current = std::move(theme);
    return 1;
}

void XThemeMan::Reset() {
    m_current.reset();
    m_replaced.clear();
}
