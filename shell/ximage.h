#pragma once
// XImage ("Image"): a "ResMan" image over the object's theme style: centred at its own size,
// or stretched over the rectangle with "Stretch". An image that cannot be had leaves the
// style's painting alone.
#include <string>

#include "ui/xui.h"

class XImage : public XUI {
    ORVO_DISPATCH_MAP()

public:
    XImage();
    ORVO_KEY(L"Image")

    // "Image" (a name for "ResMan") and "Stretch" after the visual object's attributes.
    int SetElement(XElement* e) override;
    void Draw(CDC* dc) override;

    std::wstring GetImage() const { return m_name; }
    // Looks the image up again; an unknown name draws nothing.
    void SetImage(const std::wstring& name);
    bool GetStretch() const { return m_stretch; }
    void SetStretch(bool stretch);
    // Null when the name gives no image.
    CResImg* GetResImg() const { return m_image; }

protected:
    ~XImage() override = default;

private:
    std::wstring m_name;
    CResImg* m_image = nullptr; // owned by "ResMan"
    bool m_stretch = false;
};
