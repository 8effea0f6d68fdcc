#pragma once
// The markup file a project setting names: "Lang", "Theme" and the like in the "Init" section
// of the user's INI, else of the project configuration, read from the project's folder.
#include <memory>

class XElement;

namespace orvo {

// Null when the project, the setting or the file is missing, or the file is not markup.
std::unique_ptr<XElement> ReadProjectSettingFile(const wchar_t* key);

} // namespace orvo
