// INI files as users leave them: any bytes, read, listed and rewritten.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/base/ini_file.h"
#include "platform/base/path.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("orvo_ini_fuzz_" + std::to_string(::getpid()) + ".ini");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const std::wstring path = plat::FromFsPath(file);
    for (const std::wstring& section : plat::IniSections(path)) {
        for (const std::wstring& key : plat::IniKeys(path, section))
            plat::IniGet(path, section, key, L"");
    }
    plat::IniSet(path, L"Init", L"Lang", std::wstring_view(L"KOR"));
    plat::IniSet(path, L"init", L"lang", std::nullopt);
    plat::IniRemoveSection(path, L"Init");
    return 0;
}
