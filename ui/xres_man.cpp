#include "ui/xres_man.h"

#include <algorithm>
#include <string_view>

#include "core/contracts.h"
#include "core/element.h"
#include "nubra/call_site.h"
#include "platform/base/nocase.h"
#include "ui/contracts.h"
#include "ui/res_bitmap.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterInstance(&XResMan::Instance());

std::unique_ptr<CResImg> MakeImage(std::wstring_view tag) {
    if (plat::EqualsNoCase(tag, L"Icon"))
        return std::make_unique<CResIcon>();
    if (plat::EqualsNoCase(tag, L"Bitmap"))
        return std::make_unique<CResBitmap>();
    return nullptr;
}

// The tag an image file of this name is declared with; null for other extensions.
const wchar_t* TagForFile(std::wstring_view name) {
    const std::size_t dot = name.rfind(L'.');
    if (dot == std::wstring_view::npos)
        return nullptr;
    const std::wstring_view extension = name.substr(dot + 1);
    if (plat::EqualsNoCase(extension, L"ico"))
        return L"Icon";
    if (plat::EqualsNoCase(extension, L"bmp"))
        return L"Bitmap";
    return nullptr;
}

} // namespace

XResMan& XResMan::Instance() {
    // Never destroyed: themes torn down at exit may still point at its images.
    static XResMan* const instance = new XResMan();
    return *instance;
}

XResMan::XResMan() = default;
XResMan::~XResMan() = default;

ORVO_DISPATCH(XResMan,
              IXO,
              ORVO_METHOD(InitializeIXO),
              ORVO_PROVIDE(orvo::contract::ResManGetImageObject, GetImageObject),
              ORVO_METHOD(GetIconHandle))

int XResMan::InitializeIXO() {
    static orvo::ContractCall<orvo::contract::ProjectGetFile> s_getFile;
    static orvo::ContractCall<orvo::contract::ParserDoParse> s_parse;
    auto getFile = s_getFile.Get();
    auto parse = s_parse.Get();
    std::wstring path;
    XElement* parsed = nullptr;
    if (!getFile || !parse || !getFile(L"Resource", path) || !parse(path.c_str(), &parsed) ||
        !parsed)
        return 0;
    const std::unique_ptr<XElement> root(parsed);
    LoadResources(root.get());
    return 1;
}

void XResMan::LoadResources(const XElement* root) {
    // An explicit stack: nothing stops a resource file from nesting deeply.
    std::vector<const XElement*> pending{root};
    while (!pending.empty()) {
        const XElement* element = pending.back();
        pending.pop_back();
        if (!element)
            continue;
        pending.push_back(element->GetNextSibling());
        pending.push_back(element->GetFirstChild());
        std::wstring name;
        if (element->GetValue(L"Name", name) && !name.empty())
            Declare(*element, name);
    }
}

CResImg* XResMan::Declare(const XElement& element, const std::wstring& name) {
    std::unique_ptr<CResImg> image = MakeImage(element.GetTagName());
    if (!image || !image->Load(&element))
        return nullptr;
    std::unique_ptr<CResImg>& slot = m_images[plat::ToLower(name)];
    if (slot)
        m_replaced.push_back(std::move(slot));
    slot = std::move(image);
    return slot.get();
}

CResImg* XResMan::GetImageObject(const wchar_t* name) {
    if (!name || !*name)
        return nullptr;
    const auto found = m_images.find(plat::ToLower(name));
    if (found != m_images.end())
        return found->second.get();
    const wchar_t* tag = TagForFile(name);
    if (!tag)
        return nullptr;
    XElement element(tag);
    element.SetValue(L"Name", name);
    element.SetValue(L"File", name);
    element.SetValue(L"Path", L"Image");
    return Declare(element, name);
}

orvo::IconHandle XResMan::GetIconHandle(const wchar_t* name, bool copy) {
    CResImg* image = GetImageObject(name);
    if (!image || image->GetKind() != CResImg::KIND_ICON)
        return nullptr;
    return static_cast<CResIcon*>(image)->GetHandle(copy);
}

std::vector<std::wstring> XResMan::GetImageNames() const {
    std::vector<std::wstring> names;
    names.reserve(m_images.size());
    for (const auto& entry : m_images)
        names.push_back(entry.first);
    std::sort(names.begin(), names.end());
    return names;
}

void XResMan::Reset() {
    for (auto& [name, image] : m_images)
        m_replaced.push_back(std::move(image));
    m_images.clear();
}
