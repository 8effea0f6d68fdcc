#include "host/screenshots.h"

#include <QImage>
#include <QString>

#include <filesystem>

#include "core/scr_man.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "ui/xframe.h"

namespace kestrel {

bool WriteScreenshots(const std::wstring& folder, int& written, std::wstring& error) {
    written = 0;
    std::error_code failed;
    const std::filesystem::path dir = plat::ToFsPath(folder);
    std::filesystem::create_directories(dir, failed);
    if (failed || !std::filesystem::is_directory(dir)) {
        error = L"cannot make the folder " + folder;
        return false;
    }
    int unnamed = 0;
    for (XDO* object : XScrMan::Instance().Frames()) {
        auto* frame = dynamic_cast<XFrame*>(object);
        plat::Window* window = frame ? frame->GetNativeWindow() : nullptr;
        if (!window || window->Kind() == plat::WindowKind::Child || !window->IsVisible())
            continue;
        QImage image = window->RenderImage();
        if (image.isNull())
            continue;
        // One image pixel per window pixel, whatever the screen's scale.
        const CRect client = window->GetClientRect();
        if (image.width() != client.Width() || image.height() != client.Height())
            image = image.scaled(client.Width(), client.Height());
        std::wstring name = frame->GetName();
        if (name.empty())
            name = L"frame" + std::to_wstring(++unnamed);
        // A name is one file name, never a path.
        for (wchar_t& c : name) {
            if (c == L'/' || c == L'\\')
                c = L'_';
        }
        const std::filesystem::path file = dir / plat::ToFsPath(name + L".png");
        if (!image.save(QString::fromStdString(file.string()), "PNG")) {
            error = L"cannot write " + plat::FromFsPath(file);
            return false;
        }
        ++written;
    }
    return true;
}

} // namespace kestrel
