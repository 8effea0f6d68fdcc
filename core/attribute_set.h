#pragma once
// Attribute sets: named bundles of default attributes. An "attribute" element defines a
// bundle; any element carrying attribute="name" receives the bundle's keys it does not set
// itself (the parser applies them). The bundles live under the one "attributeset" object,
// loaded from the project's attribute set file.
#include "core/attribute_bundle.h"
#include "core/xdo.h"

class XAttribute : public XDO, public orvo::AttributeBundle {
public:
    ORVO_KEY(L"attribute")
    int SetElement(XElement* e) override;
    const CMapStringToString& GetBundle() const override { return m_bundle; }

private:
    CMapStringToString m_bundle;
};

class XAttributeSet : public XDO {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"attributeset")
    static XAttributeSet& Instance();

    int InitializeIXO();
    // The first bundle of that name, or null.
    IXO* GetAttributeByName(const wchar_t* name);
};
