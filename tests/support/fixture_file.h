#pragma once
// The text of a file under tests/fixtures (ORVO_FIXTURES names the folder), or "" and a test
// failure when it cannot be read.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

inline std::string FixtureText(const std::string& relative) {
    const char* fixtures = std::getenv("ORVO_FIXTURES");
    if (!fixtures) {
        ADD_FAILURE() << "ORVO_FIXTURES is not set; run the tests through ctest";
        return {};
    }
    std::ifstream in(std::string(fixtures) + "/" + relative, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read fixture " << relative;
        return {};
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
