#pragma once
// XTabPanel ("TabPanel"): pages on top of one another, one shown at a time. Each visual child
// object is a page, in markup order; "Page" is the index shown first (0 when absent). Its
// "switch" children ("Item", "Value", "Id") let a gate element choose the page: when a gate
// applies an element whose "Item" has the "Value" (without regard to case), page "Id" is
// shown, and the gate's walk goes on into that page. Scripts read and set "Page".
#include <string>
#include <vector>

#include "ui/xui.h"

class XTabPanel : public XUI {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"TabPanel")

    struct Switch {
        std::wstring item;
        std::wstring value;
        int page = 0;
    };

    // "Page" after the visual object's attributes.
    int SetElement(XElement* e) override;
    // A "switch" with all of "Item", "Value" and "Id" ("Item" and "Value" not empty) is kept;
    // others are dropped.
    int SetMethod(const wchar_t* name, XElement* e) override;
    // At initialisation the recorded page is shown and the others hidden.
    int RunObjectEvent(int id) override;

    // The first switch the element matches whose page is not already shown selects that page.
    // The object of the new page, or null when nothing changed.
    XDO* SwitchPage(XElement* element);
    // Before initialisation only records the index; afterwards hides the current page and
    // shows page `index` (either may be out of range, and then there is nothing to hide or
    // show).
    void SelectPage(int index);
    int GetPage() const { return m_page; }
    int GetPageCount() const { return static_cast<int>(Pages().size()); }
    // The object of page `index`, or null.
    XDO* GetPageObject(int index) const;
    const std::vector<Switch>& GetSwitches() const { return m_switches; }

protected:
    ~XTabPanel() override = default;

private:
    std::vector<XUI*> Pages() const;
    void ShowPage(int index, bool show) const;

    int m_page = 0;
    std::vector<Switch> m_switches;
};
