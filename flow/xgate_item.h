#pragma once
// XGateItem: one "GateItem" of a gate. It names a key of the gate element and links the object
// whose value goes out under that key (output, drag) or comes in from it (input).
#include <string>

#include "core/tree_scan.h"
#include "nubra/ixo_ref.h"

class XDO;
class XElement;

class XGateItem {
public:
    enum Type : int {
        TYPE_INPUT = 1,
        TYPE_OUTPUT = 2,
        TYPE_PARAM = 4,
        TYPE_SAVE = 8,
        TYPE_DRAG = 16,
    };
    using Direction = TREE_SCAN_INFO<XDO>::DIRECTION;

    XGateItem() = default;
    XGateItem(const XGateItem&) = default;
    XGateItem& operator=(const XGateItem&) = default;
    virtual ~XGateItem() = default;

    // Always accepted; an item without "Type" simply never acts.
    int SetElement(XElement* e);
    // Links the object named by "Link", searched outward from `anchor` (the gate's first
    // child); 0 when there is no anchor. A name that finds nothing is reported and left unlinked.
    int LinkObject(XDO* anchor);
    // Adds the value under the name to `element` (output type) and `drag` (drag type) where
    // the key is still missing: the first gate of a walk to supply a key wins.
    void GetOutputInfo(XElement* element, XElement* drag, int direction);
    // Takes the element's value for the name and hands it to the linked object.
    void SetInputInfo(XElement* element, int direction);

    // Whether the item acts on a walk that reached its gate in `direction`.
    bool ActsFrom(int direction) const;
    bool HasType(int type) const { return (m_type & type) != 0; }
    const std::wstring& GetName() const { return m_name; }
    const std::wstring& GetValue() const { return m_value; }
    // Null when unlinked or when the object has gone.
    XDO* GetLinked() const;

private:
    int m_type = 0;
    std::wstring m_name; // lower case: the key in the gate element
    std::wstring m_link;
    std::wstring m_value;
    orvo::IXORef m_linked; // weakly: a closed part of the screen may take the object away
    bool m_fromUp = true;
    bool m_fromDown = true;
    bool m_fromSelf = true;
};

namespace orvo {
// The bits of a "Type" comma list: "Input"/"Apply" 1, "Output"/"Gather" 2, "Param" 4,
// "Save" 8 and, where `allowDrag`, "Drag" 16. Other words are ignored.
int ParseGateTypes(const std::wstring& text, bool allowDrag);
} // namespace orvo
