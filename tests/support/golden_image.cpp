#include "support/golden_image.h"

#include <QString>

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace orvo::test {

namespace {

QString ToQt(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

int ChannelDifference(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)),
                     std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b)),
                     std::abs(qAlpha(a) - qAlpha(b))});
}

} // namespace

testing::AssertionResult MatchesGolden(const QImage& actualImage,
                                       const std::string& name,
                                       const GoldenPlace& place,
                                       int tolerance) {
    const QImage actual = actualImage.convertToFormat(QImage::Format_ARGB32);
    const auto referencePath = place.references / (name + ".png");
    const char* update = std::getenv("ORVO_UPDATE_GOLDEN");
    if (update != nullptr && std::string_view(update) == "1") {
        std::filesystem::create_directories(place.references);
        if (!actual.save(ToQt(referencePath), "PNG"))
            return testing::AssertionFailure() << "cannot write " << referencePath;
        return testing::AssertionSuccess() << "rewrote " << referencePath;
    }
    const QImage reference = QImage(ToQt(referencePath)).convertToFormat(QImage::Format_ARGB32);
    int differing = 0;
    int worst = 0;
    QImage diff;
    if (!reference.isNull() && reference.size() == actual.size()) {
        diff = reference.copy();
        for (int y = 0; y < actual.height(); ++y) {
            for (int x = 0; x < actual.width(); ++x) {
                const QRgb r = reference.pixel(x, y);
                const int difference = ChannelDifference(r, actual.pixel(x, y));
                worst = std::max(worst, difference);
                if (difference > tolerance) {
                    ++differing;
                    diff.setPixel(x, y, qRgb(255, 0, 0));
                } else {
                    // Faded, so that the red marks stand out.
                    diff.setPixel(
                        x, y, qRgb(128 + qGray(r) / 2, 128 + qGray(r) / 2, 128 + qGray(r) / 2));
                }
            }
        }
        if (differing == 0)
            return testing::AssertionSuccess();
    }
    std::filesystem::create_directories(place.failures);
    const auto actualPath = place.failures / (name + ".actual.png");
    const auto diffPath = place.failures / (name + ".diff.png");
    actual.save(ToQt(actualPath), "PNG");
    auto failure = testing::AssertionFailure();
    if (reference.isNull()) {
        failure << "no reference " << referencePath << " (ORVO_UPDATE_GOLDEN=1 makes it)";
    } else if (reference.size() != actual.size()) {
        failure << "size " << actual.width() << "x" << actual.height() << " differs from "
                << reference.width() << "x" << reference.height() << " of " << referencePath;
    } else {
        diff.save(ToQt(diffPath), "PNG");
        failure << differing << " pixels differ by more than " << tolerance << " (worst " << worst
                << ") from " << referencePath << "; diff: " << diffPath;
    }
    return failure << "; actual: " << actualPath;
}

bool SavePng(const QImage& image, const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    return !ec && image.save(ToQt(path), "PNG");
}

} // namespace orvo::test
