#pragma once
// CLinkInput ("input" of a data request): fills one field of the request structure before the
// request goes out, from a constant (written once, at set-up), from a key of the gate element,
// or from a linked object.
#include <memory>
#include <string>
#include <vector>

#include "flow/data_link.h"
#include "nubra/format.h"

class XDO;
class XElement;
class XMetaIOData;

class CLinkInput {
public:
    CLinkInput() = default;
    CLinkInput(const CLinkInput&) = delete;
    CLinkInput& operator=(const CLinkInput&) = delete;
    virtual ~CLinkInput() = default;

    // 0 drops the link: "Item" is missing or names no field of `request`.
    virtual int SetElement(XElement* e, XMetaIOData* request);
    // Parses the "Link" text into targets; resolved by LinkObject.
    virtual void MakeObject(XDO* owner);
    virtual void LinkObject(XDO* owner);

    // The gate element's value for the key, formatted, into the field; 0 when the key is missing.
    int SetGateItem(const XElement* gate, XMetaIOData* request);
    // The first target's value, formatted, into the field; 0 without a readable target.
    int SetLinkItem(XMetaIOData* request);
    int CheckGateItem(const XElement* gate, XMetaIOData* request) const;

    bool IsGateMode() const { return m_gateMode; }
    bool HasLink() const { return !m_link.empty(); }
    const CDataLinks& GetTargets() const { return m_targets; }

private:
    int Store(std::wstring value, XMetaIOData* request) const;

    bool m_gateMode = false;
    std::vector<int> m_path;
    std::wstring m_link;
    std::wstring m_gateItem;
    CDataLinks m_targets;
    std::unique_ptr<CFormat> m_format;
};
