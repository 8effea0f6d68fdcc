#pragma once
// Folders the framework reads its files from. Every folder comes back without a trailing
// separator (the root stays "/"), so callers join with one separator as on Windows.
#include <string>
#include <string_view>

// The process's current folder.
std::wstring GetCurDir();
// The folder of the running executable.
std::wstring GetExePath();
// The folder of libnubra.so itself.
std::wstring GetModulePath();
// The project's working folder as the host set it; the current folder until it does.
std::wstring GetWorkPath();
// An empty path goes back to following the current folder.
void SetWorkPath(std::wstring_view path);
// True for an existing file or folder; '\' separators and any letter case are accepted.
bool FileExists(std::wstring_view path);
