#pragma once
// Qt's offscreen platform for the image fuzz targets: decoding and drawing need a
// QGuiApplication, never a display.
#include <QGuiApplication>

#include <cstdlib>
#include <memory>

namespace orvo::fuzz {

inline void EnsureOffscreenApplication() {
    static std::unique_ptr<QGuiApplication> application = [] {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "image_fuzz";
        static char* argv[] = {name, nullptr};
        return std::make_unique<QGuiApplication>(argc, argv);
    }();
}

} // namespace orvo::fuzz
