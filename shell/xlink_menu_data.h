#pragma once
// XLinkMenuData ("LinkMenuData"): the screens linked to one screen, as rows of a menu. "MenuID"
// names the screen; the menu service's file lists its links ("Link" entries of its "Item").
// The screen context menu builds one for the clicked frame and shows a line per row.
#include <string>
#include <vector>

#include "core/xdo.h"

class XLinkMenuData : public XDO {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"LinkMenuData")

    // "Menu" (the menu's name), "MenuID", and "sys"/"user", the sources of the links: the
    // project's menu file is the system's; links of the user's own are not kept yet.
    int SetElement(XElement* e) override;

    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    // "" for a row out of range.
    std::wstring GetRowText(int row) const;
    std::wstring GetRowMenuID(int row) const;

protected:
    ~XLinkMenuData() override = default;

private:
    struct Row {
        std::wstring id;
        std::wstring text;
    };
    std::vector<Row> m_rows;
};
