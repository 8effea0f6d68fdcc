#pragma once
// A throw-away project for image tests: "Project" answers the path aliases "Image" and
// "Icons" and the files of a temp folder, a fresh "ResMan" serves the images, and
// pictures are written there as BMP or ICO files byte by byte (UI tests use no Qt).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "nubra/ixo.h"
#include "platform/base/colorref.h"
#include "platform/base/nocase.h"
#include "support/project_files.h"
#include "support/scoped_registration.h"
#include "support/temp_dir.h"
#include "ui/xres_man.h"

namespace orvo::test {

class ImageProjectStandIn : public ProjectFilesStandIn {
    ORVO_DISPATCH_MAP()

public:
    int GetPath(const wchar_t* alias, std::wstring* out) {
        const std::wstring folder = alias ? plat::ToLower(alias) : L"";
        if (!folder.empty() && folder != L"image" && folder != L"icons")
            return 0;
        if (out)
            *out = root + L"/" + folder + L"/";
        return 1;
    }
    std::wstring root;
};

ORVO_DISPATCH_INLINE(ImageProjectStandIn, ProjectFilesStandIn, ORVO_METHOD(GetPath))

// 0xAARRGGBB of the pixel at (x, y).
using Pixels = std::function<std::uint32_t(int x, int y)>;

// A 24-bit BMP file, or with `icon` an ICO file of one 32-bit image keeping its alpha.
inline std::string ImageFile(int width, int height, const Pixels& pixels, bool icon) {
    std::string out = icon ? "" : "BM";
    const auto put = [&out](std::initializer_list<std::pair<std::uint32_t, int>> fields) {
        for (const auto& [value, bytes] : fields)
            for (int i = 0; i < bytes; ++i)
                out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
    };
    const auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);
    const std::uint32_t depth = icon ? 4 : 3, stride = (w * depth + 3) / 4 * 4;
    const std::uint32_t mask = icon ? (w + 31) / 32 * 4 * h : 0; // empty: the alpha decides
    const std::uint32_t dibSize = 40 + stride * h + mask;
    if (icon) {
        put({{0, 2}, {1, 2}, {1, 2}});                                         // one icon image
        put({{w, 1}, {h, 1}, {0, 2}, {1, 2}, {32, 2}, {dibSize, 4}, {22, 4}}); // its entry
    } else {
        put({{14 + dibSize, 4}, {0, 4}, {54, 4}});
    }
    put({{40, 4}, {w, 4}, {icon ? 2 * h : h, 4}, {1, 2}, {8 * depth, 2}});
    out.append(24, '\0'); // uncompressed, no resolution, no palette
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x)
            put({{pixels(x, y), static_cast<int>(depth)}});
        out.append(stride - w * depth, '\0');
    }
    out.append(mask, '\0');
    return out;
}

// 4x3 cells of `cell` pixels, each of its own colour SampleColour(column, row).
inline COLORREF SampleColour(int x, int y) {
    return RGB(50 * x + 20, 80 * y + 20, 200);
}
inline Pixels Sample(int cell = 1) {
    return [cell](int x, int y) {
        const COLORREF c = SampleColour(x / cell, y / cell);
        return 0xFF000000u | GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
    };
}

struct ImageProject {
    TempDir dir;
    ImageProjectStandIn project;
    XResMan resMan;
    ScopedRegistration projectRegistration{L"Project", &project};
    ScopedRegistration resManRegistration{L"ResMan", &resMan};

    ImageProject() {
        project.root = dir.Wide();
        std::filesystem::create_directory(dir.Path("image"));
        std::filesystem::create_directory(dir.Path("icons"));
    }
    // The sample's cells of `cell` pixels, at `path` inside the project.
    void WriteSample(std::string_view path, int cell = 1) const {
        dir.Write(path, ImageFile(4 * cell, 3 * cell, Sample(cell), false));
    }
    void WriteIcon(std::string_view path, const Pixels& pixels) const {
        dir.Write(path, ImageFile(16, 16, pixels, true));
    }
    void WriteResource(std::string_view markup) {
        project.files[L"Resource"] = dir.Write("Resource.xml", markup);
    }
};

} // namespace orvo::test
