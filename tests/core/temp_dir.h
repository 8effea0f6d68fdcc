#pragma once
// A fresh folder per test, removed afterwards.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        m_path = std::filesystem::temp_directory_path() / ("orvo-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::filesystem::path Path(std::string_view name) const { return m_path / name; }
    std::wstring Write(std::string_view name, std::string_view bytes) const {
        std::ofstream out(Path(name), std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return Path(name).wstring();
    }
    const std::filesystem::path& Root() const { return m_path; }

private:
    std::filesystem::path m_path;
};
