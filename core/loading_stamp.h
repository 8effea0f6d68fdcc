#pragma once
// The loading time stamp of a screen ("GetLoadingTick"): read from the clock once when a
// build starts, so the libraries of one screen share it and a page of thousands of objects
// asks the clock once rather than once per object.
#include <cstdint>

namespace orvo {

// Held by the building code while a tree is built; a nested build keeps the outer stamp.
class LoadingStampScope {
public:
    LoadingStampScope();
    ~LoadingStampScope();
    LoadingStampScope(const LoadingStampScope&) = delete;
    LoadingStampScope& operator=(const LoadingStampScope&) = delete;
};

// The stamp of the build under way, or the clock's time outside any build.
std::int64_t LoadingStamp();

} // namespace orvo
