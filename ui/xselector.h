#pragma once
// XSelector ("Selector"): visual objects of which at most one is selected. Members join by
// naming it in their "Selector" attribute; a click on one selects it. The selector's data is
// the selected number (or, with "GateData", the selected member's data); a change runs its
// "Select" event and, with "ChangeTrigger" (the default), triggers the gates linked to it.
#include <string>
#include <vector>

#include "core/xdo.h"

class XUI;

class XSelector : public XDO {
    ORVO_DISPATCH_MAP()

public:
    XSelector();
    ORVO_KEY(L"Selector")

    int SetElement(XElement* e) override;
    int RunObjectEvent(int n) override;
    void LoadObject(XElement* settings) override;
    void SaveObject(XElement* settings) override;
    void SetData(const wchar_t* value) override;
    void GetData(std::wstring* out) override;
    int GetPropW(const wchar_t* name, const wchar_t* sub, std::wstring& out) override;
    void RemoveMember(XDO* member) override;

    // Member n becomes the selected one (none for a number that is no member's).
    void Select(int n);
    // The member's number selected, or -1 when it is not a member.
    void Select(XUI* member);
    // Selects the current number again.
    void InitSelect();
    // Sets or clears member `index`'s selected look without changing the number.
    void DoSelect(int index, int on);
    XUI* GetCurUI() const;
    // The member's number, or -1.
    int Find(const XUI* member) const;
    // 0 when it is not a member; with `reselect` nothing is selected afterwards.
    int Remove(XUI* member, int reselect);

    int GetSelectNo() const { return m_select; }
    void SetSelectNo(long n);
    int GetChangeTrigger() const { return m_changeTrigger; }
    void SetChangeTrigger(int on) { m_changeTrigger = on != 0; }
    IXO* GetSelectObj() const;

    // What members and the window host reach it by.
    int AddMember(XDO* member);
    XDO* GetCurMember() const;
    int SelectMember(XDO* member);

protected:
    void Teardown() override;

private:
    XUI* Member(int n) const;

    int m_select = -1;
    std::vector<XUI*> m_members; // not owned: each member leaves through RemoveMember
    bool m_gateData = false;
    bool m_changeTrigger = true;
};
