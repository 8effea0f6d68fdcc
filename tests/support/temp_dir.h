#pragma once
// A fresh folder under the system temp folder for one test, removed with everything in it.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

#include "platform/base/path.h"

class TempDir {
public:
    TempDir() {
        std::random_device seed;
        const auto base = std::filesystem::temp_directory_path();
        do {
            m_path =
                base / ("orvo_test_" + std::to_string(::getpid()) + "_" + std::to_string(seed()));
        } while (!std::filesystem::create_directory(m_path));
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path Path(std::string_view name) const { return m_path / name; }
    std::wstring Wide() const { return plat::FromFsPath(m_path); }
    // Writes `bytes` to `name` inside the folder and returns the file's path.
    std::wstring Write(std::string_view name, std::string_view bytes) const {
        std::ofstream out(Path(name), std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return Path(name).wstring();
    }

private:
    std::filesystem::path m_path;
};
