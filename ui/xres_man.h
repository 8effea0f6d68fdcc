#pragma once
// XResMan ("ResMan"): turns an image name into a loaded icon or bitmap. It preloads what the
// project's resource file declares and loads any other "<name>.ico" or "<name>.bmp" from the
// project's "Image" folder on first request. It owns every image it hands out.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "nubra/ixo.h"
#include "ui/res_icon.h"
#include "ui/res_image.h"

class XElement;

class XResMan : public IXO {
    ORVO_DISPATCH_MAP()

public:
    static XResMan& Instance();
    XResMan();
    ~XResMan() override;

    ORVO_KEY(L"ResMan")

    // Preloads the file the project names as "Resource"; 0 when there is none or it does not
    // parse, and images then load only on request.
    int InitializeIXO();
    // Every "Icon" and "Bitmap" element with a "Name" in `root`, its children and its
    // following siblings, in document order (tags without case). An image that loads is kept
    // under its lower-case name, replacing an earlier one; one that fails is dropped.
    void LoadResources(const XElement* root);

    // The image kept under `name` (without case), else "<name>" loaded from the "Image"
    // folder when it ends in ".ico" or ".bmp". Null when it cannot be had; a failure is not
    // kept, so the next request tries again.
    CResImg* GetImageObject(const wchar_t* name);
    // The icon of `name`, found or loaded as GetImageObject does; null for a bitmap or an
    // image that cannot be had. With `copy` the caller owns the handle (see IconHandle).
    orvo::IconHandle GetIconHandle(const wchar_t* name, bool copy);

    // The lower-case names of the images kept, sorted.
    std::vector<std::wstring> GetImageNames() const;
    // Keeps no image, as before the first load (shutdown, tests); images handed out stay
    // valid until the service goes.
    void Reset();

private:
    // Loads the image `element` declares and keeps it under the lower-case `name`; null when
    // the tag declares no image or the image does not load.
    CResImg* Declare(const XElement& element, const std::wstring& name);

    std::unordered_map<std::wstring, std::unique_ptr<CResImg>> m_images;
    // Images a later declaration replaced: draw events and primitives may still point at them.
    std::vector<std::unique_ptr<CResImg>> m_replaced;
};
