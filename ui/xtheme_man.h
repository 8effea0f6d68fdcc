#pragma once
// XThemeMan ("ThemeMan"): holds the current theme, loaded from the file the project's "Theme"
// setting names. A failed load keeps the theme that was current.
#include <memory>
#include <vector>

#include "nubra/ixo.h"
#include "ui/xtheme.h"

class XThemeMan : public IXO {
    ORVO_DISPATCH_MAP()

public:
    static XThemeMan& Instance();

    ORVO_KEY(L"ThemeMan")

    int InitializeIXO() { return LoadCurrentTheme(); }
    // <project path>/<"Theme" setting>, through "Project" and "Parser"; 0 when a step fails or
    // the root is not "Theme".
    int LoadCurrentTheme();
    // Makes the theme of `root` current; 0 (and nothing changed) when the root is not "Theme".
    int LoadTheme(XElement* root);

    // Null before the first successful load.
    XTheme* CurrentTheme() const { return m_current.get(); }
    // No current theme, as before the first load (shutdown, tests).
    void Reset();

private:
    std::unique_ptr<XTheme> m_current;
    // Objects keep pointers into the theme they resolved their styles from.
    std::vector<std::unique_ptr<XTheme>> m_replaced;
};
