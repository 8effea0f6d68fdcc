#pragma once
// Screenshots of the terminal: every top-level window of a frame as it is painted now.
#include <string>

namespace kestrel {

// Writes the client area of each frame's top-level window, child windows included, to
// `folder`/<frame name>.png (a frame without a name is "frame<N>"). False with `error` when
// the folder cannot be made or an image cannot be written; the count of images otherwise.
bool WriteScreenshots(const std::wstring& folder, int& written, std::wstring& error);

} // namespace kestrel
