// Resource file markup walked by "ResMan" over a project whose folders hold good images and
// broken ones (empty, truncated, junk, a header claiming a huge picture, a folder and a pipe
// named like images). Every image kept is drawn into a small memory DC over ordinary,
// inverted and whole-range rectangles; every "Name" and "File" text of the markup is asked
// for on demand, as an image and as an icon handle; and the same markup read as a theme draws
// its events, whose "Image" lists and primitives find their images in that "ResMan".
// Nothing may crash or hang.
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QString>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/element.h"
#include "core/xml_parser.h"
#include "fuzz_support.h"
#include "offscreen_app.h"
#include "platform/base/nocase.h"
#include "platform/base/path.h"
#include "platform/gui/dc.h"
#include "ui/paint_target.h"
#include "ui/ui_style.h"
#include "ui/xres_man.h"
#include "ui/xtheme.h"

namespace {

using namespace std::literals;

// "Project" for the fuzzer: the aliases "Image" and "Icons" under a temp folder.
class FuzzProject : public IXO {
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

ORVO_DISPATCH(FuzzProject, IXO, ORVO_METHOD(GetPath))

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    plat::WriteFileBytes(plat::FromFsPath(path), bytes);
}

// The same good and broken files in both alias folders.
void FillFolder(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    QImage picture(24, 16, QImage::Format_ARGB32);
    picture.fill(qRgba(200, 40, 40, 160));
    picture.setPixel(3, 3, qRgb(255, 0, 255));
    const QByteArray bmp = Encoded(picture.convertToFormat(QImage::Format_RGB32), "BMP");
    const QByteArray ico = Encoded(picture.scaled(16, 16), "ICO");
    const std::string_view bmpBytes(bmp.constData(), static_cast<std::size_t>(bmp.size()));
    WriteBytes(folder / "good.bmp", bmpBytes);
    WriteBytes(folder / "Good.ico", std::string_view(ico.constData(), ico.size()));
    WriteBytes(folder / "png.ico", Encoded(picture, "PNG").toStdString());
    WriteBytes(folder / "empty.bmp", "");
    WriteBytes(folder / "junk.ico", "\0\0\1\0\1\0 not much of an icon"sv);
    WriteBytes(folder / "truncated.bmp", bmpBytes.substr(0, bmpBytes.size() / 2));
    // A 40000 x 40000 bitmap that stops after its header.
    std::string huge(bmpBytes.substr(0, 54));
    huge[18] = huge[22] = '\x40';
    huge[19] = huge[23] = '\x9c';
    WriteBytes(folder / "huge.bmp", huge);
    std::filesystem::create_directories(folder / "folder.bmp");
    ::mkfifo((folder / "pipe.bmp").c_str(), 0600);
}

struct Fixture {
    std::filesystem::path root;
    FuzzProject project;

    Fixture() {
        root = std::filesystem::temp_directory_path() /
               ("orvo_resources_fuzz_" + std::to_string(::getpid()));
        FillFolder(root / "image");
        FillFolder(root / "icons");
        project.root = plat::FromFsPath(root);
        IXO::Register(L"Project", &project);
    }
    ~Fixture() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
};

struct FuzzObject : orvo::PaintTarget {
    CRect PaintRect() const override { return CRect(2, 3, 60, 40); }
    int PaintFlags() const override { return 0; }
};

const CRect kRects[] = {
    CRect(2, 3, 60, 40),
    CRect(50, 40, 5, 2),
    CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX),
};

// Every "Name" and "File" text in the tree, in document order.
std::vector<std::wstring> NamesIn(const XElement* root) {
    std::vector<std::wstring> names;
    std::vector<const XElement*> pending{root};
    while (!pending.empty()) {
        const XElement* element = pending.back();
        pending.pop_back();
        if (!element)
            continue;
        pending.push_back(element->GetNextSibling());
        pending.push_back(element->GetFirstChild());
        std::wstring text;
        for (const wchar_t* key : {L"Name", L"File"})
            if (element->GetValue(key, text))
                names.push_back(text);
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orvo::fuzz::EnsureOffscreenApplication();
    static Fixture fixture;
    XMLParser parser;
    XElement* parsed = nullptr;
    if (!parser.ParseMemory(std::string_view(reinterpret_cast<const char*>(data), size), &parsed) ||
        !parsed)
        return 0;
    const std::unique_ptr<XElement> root(parsed);
    XResMan resMan;
    resMan.LoadResources(root.get());

    CBitmap bitmap;
    bitmap.CreateBitmap(64, 48);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&bitmap);
    CRect before;
    dc.GetClipBox(&before);
    for (const std::wstring& name : resMan.GetImageNames()) {
        CResImg* image = resMan.GetImageObject(name.c_str());
        // A bitmap whose file is missing or broken is kept with size 0.
        orvo::fuzz::Check(image != nullptr && image->GetWidth() >= 0 && image->GetHeight() >= 0);
        for (const CRect& rect : kRects)
            image->Draw(&dc, rect);
    }
    CRect after;
    dc.GetClipBox(&after);
    orvo::fuzz::Check(before == after);

    for (const std::wstring& name : NamesIn(root.get())) {
        if (CResImg* image = resMan.GetImageObject(name.c_str()))
            image->Draw(&dc, kRects[0]);
        orvo::DestroyIconHandle(resMan.GetIconHandle(name.c_str(), true));
        resMan.GetIconHandle(name.c_str(), false);
    }

    IXO::Register(L"ResMan", &resMan);
    XTheme theme; // goes before "ResMan": its primitives point at the images
    theme.SetElement(root.get());
    FuzzObject object;
    for (CUIStyle* style : theme.GetStyles()) {
        for (std::size_t i = 0; i < style->EventCount(); ++i) {
            for (const CRect& rect : kRects)
                style->EventAt(i)->Draw(&dc, rect, &object);
        }
    }
    return 0;
}
