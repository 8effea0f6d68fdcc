#include "nubra/paths.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

#include "platform/base/path.h"

namespace {

std::wstring WithoutTrailingSeparator(std::wstring path) {
    while (path.size() > 1 && (path.back() == L'/' || path.back() == L'\\')) {
        path.pop_back();
    }
    return path;
}

std::wstring& WorkPathSetting() {
    static std::wstring path;
    return path;
}

} // namespace

std::wstring GetCurDir() {
    return WithoutTrailingSeparator(plat::CurrentDirectory());
}

std::wstring GetExePath() {
    return WithoutTrailingSeparator(plat::ExecutableDirectory());
}

std::wstring GetModulePath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&GetModulePath), &info) == 0 || !info.dli_fname) {
        return {};
    }
    std::error_code ec;
    const std::filesystem::path library = std::filesystem::absolute(info.dli_fname, ec);
    if (ec) {
        return {};
    }
    return WithoutTrailingSeparator(plat::FromFsPath(library.parent_path()));
}

std::wstring GetWorkPath() {
    const std::wstring& path = WorkPathSetting();
    return path.empty() ? GetCurDir() : path;
}

void SetWorkPath(std::wstring_view path) {
    WorkPathSetting() = WithoutTrailingSeparator(plat::NormalizeSeparators(path));
}

bool FileExists(std::wstring_view path) {
    return !path.empty() && plat::PathExists(path);
}
