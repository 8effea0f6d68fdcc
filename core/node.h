#pragma once
// A name and value pair for callers that need one.
#include <string>

struct XNode {
    std::wstring name;
    std::wstring value;
};
