#pragma once
// Paths written on Windows use '\' and any letter case. Every function here accepts both
// separators; results use '/'. ResolvePath finds the file a Windows user meant when the
// exact spelling does not exist.
#include <filesystem>
#include <string>
#include <string_view>

namespace plat {

// '\' becomes '/', runs of separators become one, a trailing one goes ("/" stays).
std::wstring NormalizeSeparators(std::wstring_view path);
std::filesystem::path ToFsPath(std::wstring_view path);
std::wstring FromFsPath(const std::filesystem::path& path);

// The existing path that matches `path` with each component compared without case (the
// exact spelling is tried first). Components from the first one that matches nothing on
// are kept as given, so a file about to be created lands in the existing folder; when
// nothing matches, the normalized input is returned.
std::wstring ResolvePath(std::wstring_view path);

bool PathExists(std::wstring_view path); // after resolution
bool IsDirectory(std::wstring_view path);
bool IsRegularFile(std::wstring_view path);
bool IsAbsolutePath(std::wstring_view path);
std::wstring JoinPath(std::wstring_view dir, std::wstring_view name);
std::wstring ParentPath(std::wstring_view path); // without trailing separator
std::wstring FileNameOf(std::wstring_view path);
std::wstring ExtensionOf(std::wstring_view path); // with the dot, or empty
bool CreateDirectories(std::wstring_view path);
std::wstring CurrentDirectory();
std::wstring ExecutablePath();
std::wstring ExecutableDirectory();

// Whole-file reads and writes; false on any failure (missing, unreadable, too large).
bool ReadFileBytes(std::wstring_view path, std::string& out);
bool WriteFileBytes(std::wstring_view path, std::string_view bytes);

} // namespace plat
