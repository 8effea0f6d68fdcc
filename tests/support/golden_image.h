#pragma once
// Compares a drawing with a reference PNG kept in the source tree. On a mismatch the actual
// image and a diff (differing pixels red over a faded copy of the reference) are written to
// the build tree and their paths are part of the failure message. ORVO_UPDATE_GOLDEN=1
// rewrites the references from the actual images instead.
#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <string>

namespace orvo::test {

struct GoldenPlace {
    std::filesystem::path references; // where <name>.png lives
    std::filesystem::path failures;   // where <name>.actual.png and <name>.diff.png go
};

// `tolerance`: the largest difference allowed in any channel of a pixel (0: exact).
testing::AssertionResult MatchesGolden(const QImage& actual,
                                       const std::string& name,
                                       const GoldenPlace& place,
                                       int tolerance = 0);

// Writes `image` as a PNG at `path`, making its folder; false when it cannot.
bool SavePng(const QImage& image, const std::filesystem::path& path);

} // namespace orvo::test
