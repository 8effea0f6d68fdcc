#pragma once
// The objects the host itself registers for the framework: "Application", which names the
// settings file, and "systemdb", which knows the signed-in user.
#include <string>

#include "nubra/ixo.h"

namespace kestrel {

class Application : public IXO {
    ORVO_DISPATCH_MAP()

public:
    explicit Application(std::wstring configFile) : m_configFile(std::move(configFile)) {}
    ORVO_KEY(L"Application")
    // "Cfg": the settings file, relative to the project folder.
    int GetValue(const wchar_t* key, std::wstring& out);

private:
    std::wstring m_configFile;
};

class SystemDb : public IXO {
    ORVO_DISPATCH_MAP()

public:
    explicit SystemDb(std::wstring userName) : m_userName(std::move(userName)) {}
    ORVO_KEY(L"systemdb")

private:
    std::wstring m_userName;
};

} // namespace kestrel
