#pragma once
// CTabStop: one control in a screen's tab order, declared as
//   <this.TabStop Control="qty" DefaultButton="False"/>
// The control is found among the screen's objects once they all exist; a grid gives its
// client, which is what takes the keys.
#include <string>

#include "core/element.h"
#include "nubra/ixo_ref.h"

class XDO;

class CTabStop {
public:
    // 0 rejects the declaration (a message says so when "Control" is missing).
    int SetElement(XElement* e);
    // Finds the control below the library; a message names a control that is not there.
    void LinkObject(XDO* lib);

    const std::wstring& ControlName() const { return m_controlName; }
    // The linked control while it lives, else null.
    XDO* Control() const;
    bool IsDefaultButton() const { return m_defaultButton; }

private:
    std::wstring m_controlName; // lower case
    orvo::IXORef m_control;
    bool m_defaultButton = false;
};
