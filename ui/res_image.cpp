#include "ui/res_image.h"

#include <string_view>

#include "core/contracts.h"
#include "core/element.h"
#include "nubra/call_site.h"
#include "platform/base/path.h"
#include "platform/gui/dib.h"

namespace {

// A ".." anywhere would let a name reach files outside its alias's folder.
bool ClimbsOut(std::wstring_view file) {
    std::size_t start = 0;
    while (start <= file.size()) {
        std::size_t end = file.find_first_of(L"/\\", start);
        if (end == std::wstring_view::npos)
            end = file.size();
        if (file.substr(start, end - start) == L"..")
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

CResImg::~CResImg() = default;

bool CResImg::ResolveFile(const XElement* element) {
    std::wstring file;
    if (!element || !element->GetValue(L"File", file) || file.empty())
        return false;
    std::wstring alias;
    if (!element->GetValue(L"Path", alias)) {
        m_filePath = plat::ResolvePath(file);
        return true;
    }
    static orvo::ContractCall<orvo::contract::ProjectGetPath> s_getPath;
    auto getPath = s_getPath.Get();
    std::wstring folder;
    if (ClimbsOut(file) || !getPath || !getPath(alias.c_str(), &folder))
        return false;
    // Joined by hand: a file name starting with a separator still lies inside the folder.
    m_filePath = plat::ResolvePath(folder + L'/' + file);
    return true;
}

bool CResImg::DecodeFile(CDib& dib) const {
    // Only regular files: a pipe or a device named like an image would block the reader.
    return plat::IsRegularFile(m_filePath) && dib.Load(m_filePath);
}
