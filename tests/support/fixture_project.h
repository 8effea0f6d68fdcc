#pragma once
// Project fixtures live in tests/fixtures/projects/<name> (ORVO_FIXTURES names tests/fixtures).
// Tests that may create folders work on a copy, never on the source tree.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

// Copies project `name` into `into`; false (and a test failure) when it cannot.
inline bool CopyFixtureProject(const std::string& name, const TempDir& into) {
    const char* fixtures = std::getenv("ORVO_FIXTURES");
    if (!fixtures) {
        ADD_FAILURE() << "ORVO_FIXTURES is not set; run the tests through ctest";
        return false;
    }
    std::error_code ec;
    std::filesystem::copy(std::filesystem::path(fixtures) / "projects" / name,
                          into.Path(),
                          std::filesystem::copy_options::recursive,
                          ec);
    if (ec)
        ADD_FAILURE() << "cannot copy project " << name << ": " << ec.message();
    return !ec;
}
