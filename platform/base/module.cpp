#include "platform/base/module.h"

#include "platform/base/nocase.h"
#include "platform/base/path.h"
#include "platform/base/text.h"

#include <dlfcn.h>
#include <utility>

namespace plat {

namespace {

void AddUnique(std::vector<std::wstring>& list, std::wstring item) {
    for (const std::wstring& existing : list) {
        if (existing == item) {
            return;
        }
    }
    list.push_back(std::move(item));
}

// The folder holding this code's shared object (or the executable when linked in).
std::wstring OwnFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&OwnFolder), &info) == 0 || info.dli_fname == nullptr) {
        return {};
    }
    std::error_code ec;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(info.dli_fname, ec);
    return ec ? std::wstring() : FromFsPath(canonical.parent_path());
}

} // namespace

Module::Module(Module&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)), m_path(std::move(other.m_path)),
      m_error(std::move(other.m_error)) {}

Module& Module::operator=(Module&& other) noexcept {
    if (this != &other) {
        if (m_handle != nullptr) {
            dlclose(m_handle);
        }
        m_handle = std::exchange(other.m_handle, nullptr);
        m_path = std::move(other.m_path);
        m_error = std::move(other.m_error);
    }
    return *this;
}

Module::~Module() {
    if (m_handle != nullptr) {
        dlclose(m_handle);
    }
}

Module Module::Open(std::wstring_view name, const std::vector<std::wstring>& searchDirs) {
    Module module;
    // Folder by folder, each with all its candidates, as the Windows loader searches; each path
    // is resolved only when the ones before it did not load (resolving reads folders).
    const std::vector<std::wstring> candidates = ModuleFileCandidates(name);
    std::vector<std::wstring> tried;
    const auto tryPath = [&](const std::wstring& unresolved) {
        const std::wstring path = ResolvePath(unresolved);
        for (const std::wstring& done : tried) {
            if (done == path) {
                return false;
            }
        }
        tried.push_back(path);
        if (!IsRegularFile(path)) {
            return false;
        }
        dlerror();
        void* handle = dlopen(ToFsPath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle != nullptr) {
            module.m_handle = handle;
            module.m_path = path;
            module.m_error.clear();
            return true;
        }
        // Keep looking: "Foo.dll" beside a libFoo.so may well be a Windows binary.
        const char* error = dlerror();
        module.m_error = error != nullptr ? error : "cannot load " + ToUtf8(path);
        return false;
    };
    if (IsAbsolutePath(name)) {
        for (const std::wstring& candidate : candidates) {
            if (tryPath(candidate)) {
                return module;
            }
        }
    } else {
        for (const std::wstring& dir : searchDirs) {
            for (const std::wstring& candidate : candidates) {
                if (tryPath(JoinPath(dir, candidate))) {
                    return module;
                }
            }
        }
    }
    if (module.m_error.empty()) {
        module.m_error = "module not found: " + ToUtf8(name);
    }
    return module;
}

Module Module::Open(std::wstring_view name) {
    return Open(name, ModuleSearchDirs());
}

void* Module::Symbol(const char* name) const {
    if (m_handle == nullptr || name == nullptr) {
        return nullptr;
    }
    return dlsym(m_handle, name);
}

std::vector<std::wstring> ModuleFileCandidates(std::wstring_view name) {
    const std::wstring normalized = NormalizeSeparators(name);
    const std::wstring file = FileNameOf(normalized);
    if (file.empty()) {
        return {};
    }
    const std::wstring folder = normalized.size() > file.size()
                                    ? normalized.substr(0, normalized.size() - file.size())
                                    : std::wstring();
    const std::wstring extension = ExtensionOf(file);
    const bool hasLibPrefix = file.starts_with(L"lib");
    std::vector<std::wstring> names;
    if (EqualsNoCase(extension, L".dll")) {
        const std::wstring stem = file.substr(0, file.size() - extension.size());
        names = {L"lib" + stem + L".so", stem + L".so", file};
    } else if (extension == L".so" || file.find(L".so.") != std::wstring::npos) {
        // Already a Linux name; only the usual prefix may be missing.
        names = {file};
        if (!hasLibPrefix) {
            names.push_back(L"lib" + file);
        }
    } else {
        names = {L"lib" + file + L".so", file + L".so", file};
    }
    std::vector<std::wstring> out;
    for (const std::wstring& n : names) {
        AddUnique(out, folder + n);
    }
    return out;
}

std::vector<std::wstring> ModuleSearchDirs() {
    // Neither folder moves while the process runs; finding them reads the file system.
    static const std::vector<std::wstring> dirs = [] {
        std::vector<std::wstring> found;
        if (std::wstring exe = ExecutableDirectory(); !exe.empty()) {
            AddUnique(found, std::move(exe));
        }
        if (std::wstring own = OwnFolder(); !own.empty()) {
            AddUnique(found, std::move(own));
        }
        return found;
    }();
    return dirs;
}

} // namespace plat
