#pragma once
// XGateSwitch: a "Switch" of a gate. When the gate element of a walk matches it (by the name
// of the triggering gate, by a key and value, or both), it overrides the gate's walk
// permissions for that walk.
#include <string>

class XDO;
class XElement;

class XGateSwitch {
public:
    enum Match : int { MATCH_GATE_NAME = 1, MATCH_GATE_ITEM = 2, MATCH_BOTH = 3 };

    // 0 rejects the switch: "When" is missing, or neither "GateName" nor "GateItem" is given.
    int SetElement(XElement* e);
    // A "Value" is resolved once against the gate's first child (a "Data(...)" reference
    // becomes that object's data).
    void LinkObject(XDO* anchor);

    bool IsMatchingGatherSwitch(const XElement* element) const;
    bool IsMatchingApplySwitch(const XElement* element) const;

    // An override: whether the switch sets it, and to what.
    struct Override {
        bool present = false;
        bool value = false;
    };
    const Override& GUp() const { return m_gup; }
    const Override& GDown() const { return m_gdown; }
    const Override& AUp() const { return m_aup; }
    const Override& ADown() const { return m_adown; }
    const Override& KeepInnerItem() const { return m_keepInnerItem; }

protected:
    bool IsMatchingSwitch(const XElement* element) const;
    bool IsMatchingGateName(const XElement* element) const;
    bool IsMatchingGateItem(const XElement* element) const;

private:
    bool m_whenGather = false;
    bool m_whenApply = false;
    int m_match = 0;
    std::wstring m_gateName; // lower case
    std::wstring m_gateItem; // lower case
    std::wstring m_value;
    bool m_hasValue = false;
    Override m_gup;
    Override m_gdown;
    Override m_aup;
    Override m_adown;
    Override m_keepInnerItem{false, true};
};
