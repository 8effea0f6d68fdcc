#pragma once
// User libraries named the Windows way. "Foo.dll" is looked for as libFoo.so, Foo.so and
// Foo.dll, in each search folder in turn; "Foo" as libFoo.so, Foo.so and Foo; a Linux name
// ("Foo.so", "libFoo.so.1") as written, then with "lib" in front when it lacks it. File
// names compare without case, like every path here.
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class Module {
public:
    Module() = default;
    Module(Module&& other) noexcept;
    Module& operator=(Module&& other) noexcept;
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    ~Module();

    // `name` may carry a folder (relative names are taken in each search folder); an
    // absolute name is tried as it is with the same file-name candidates.
    static Module Open(std::wstring_view name, const std::vector<std::wstring>& searchDirs);
    // Searches ModuleSearchDirs().
    static Module Open(std::wstring_view name);

    bool IsLoaded() const { return m_handle != nullptr; }
    explicit operator bool() const { return IsLoaded(); }
    void* Symbol(const char* name) const;
    const std::wstring& Path() const { return m_path; }
    // dlerror() text of the last failed Open, for messages.
    const std::string& Error() const { return m_error; }

private:
    void* m_handle = nullptr;
    std::wstring m_path;
    std::string m_error;
};

// File names tried for a module name, in order.
std::vector<std::wstring> ModuleFileCandidates(std::wstring_view name);
// The program's module folders: the running executable's folder, then the folder of the
// shared library that holds this code.
std::vector<std::wstring> ModuleSearchDirs();

} // namespace plat
