#include "core/project.h"

#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/contracts.h"
#include "core/element.h"
#include "core/notice_messages.h"
#include "nubra/attr_readers.h"
#include "nubra/call_site.h"
#include "nubra/paths.h"
#include "platform/base/ini_file.h"
#include "platform/base/nocase.h"
#include "platform/base/path.h"

class XDO;

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterInstance(&XProject::Instance());

std::wstring_view Text(const wchar_t* text) {
    return text ? std::wstring_view(text) : std::wstring_view();
}

std::wstring WithSeparator(std::wstring_view path) {
    std::wstring folder = plat::NormalizeSeparators(path);
    if (folder.empty() || folder.back() != L'/')
        folder += L'/';
    return folder;
}

// The folder as it exists on disk (components matched without case), ending with '/'.
std::wstring ExistingFolder(std::wstring_view path) {
    return WithSeparator(plat::ResolvePath(path));
}

// Goes one level down from `folder` (which ends with '/'), creating the level when missing.
std::wstring EnterFolder(const std::wstring& folder, std::wstring_view name) {
    const std::wstring path = plat::ResolvePath(folder + std::wstring(name));
    plat::CreateDirectories(path);
    return ExistingFolder(path);
}

// The host's "systemdb" knows who is logged in; nobody is "Guest".
std::wstring UserName() {
    std::wstring name;
    if (auto getName = orvo::ResolveGetter<orvo::contract::SystemDbUserName>())
        name = getName();
    return name.empty() ? std::wstring(L"Guest") : name;
}

} // namespace

XProject& XProject::Instance() {
    // Never destroyed: other objects' destructors may still ask for paths at exit.
    static XProject* const instance = new XProject();
    return *instance;
}

ORVO_DISPATCH(XProject,
              IXO,
              ORVO_METHOD(InitializeIXO),
              ORVO_METHOD(Start),
              ORVO_PROVIDE(orvo::contract::ProjectGetPath, GetPath),
              ORVO_PROVIDE(orvo::contract::ProjectGetFile, GetFile),
              ORVO_METHOD(GetUserPath),
              ORVO_METHOD(GetConfig),
              ORVO_METHOD(GetConfigNode),
              ORVO_METHOD(SetVar),
              ORVO_METHOD(GetVar),
              ORVO_METHOD(GetPathVB),
              ORVO_PROVIDE(orvo::contract::ProjectGetINIStr, GetINIStr),
              ORVO_PROVIDE(orvo::contract::ProjectGetINIStrEx, GetINIStrEx))

int XProject::InitializeIXO() {
    static orvo::ContractCall<orvo::contract::ApplicationGetValue> s_appValue;
    static orvo::ContractCall<orvo::contract::ParserDoParse> s_parse;
    // Initialising again starts over, so entries read the first time are not duplicates.
    Reset();
    const std::wstring module = GetExePath();
    if (module.empty())
        return 0;
    m_modulePath = WithSeparator(module);
    const std::wstring work = GetWorkPath();
    m_basePath = ExistingFolder(work.empty() ? module : work);

    // Without a "Cfg" value there is no application INI file: the configuration is
    // "Project.xaml" and the kind "ProjectCfg" names no file. Absolute names are taken as given.
    std::wstring cfg;
    if (auto getValue = s_appValue.Get(); getValue && getValue(L"Cfg", cfg) && !cfg.empty())
        m_iniFile = plat::ResolvePath(plat::JoinPath(m_basePath, cfg));
    std::wstring configName = plat::IniGet(m_iniFile, L"Init", L"ProjectConfig", L"");
    if (configName.empty())
        configName = L"Project.xaml";

    XElement* tree = nullptr;
    auto parse = s_parse.Get();
    if (parse && parse(plat::JoinPath(m_basePath, configName).c_str(), &tree)) {
        ReadConfiguration(tree);
        delete tree;
    }
    m_files.Set(L"projectcfg", m_iniFile);

    std::wstring userRoot;
    if (GetPath(L"User", &userRoot))
        plat::CreateDirectories(userRoot);
    return 1;
}

void XProject::Reset() {
    m_modulePath.clear();
    m_basePath.clear();
    m_iniFile.clear();
    m_startPage.clear();
    m_paths.Clear();
    m_files.Clear();
    m_userPaths.Clear();
    m_vars.Clear();
}

// Document order (an element, its children, then its following siblings), with an explicit
// stack: a configuration is small, but its shape is the author's.
void XProject::ReadConfiguration(const XElement* root) {
    std::vector<const XElement*> pending{root};
    while (!pending.empty()) {
        const XElement* element = pending.back();
        pending.pop_back();
        if (!ApplyElement(*element))
            return;
        if (element->GetNextSibling())
            pending.push_back(element->GetNextSibling());
        if (element->GetFirstChild())
            pending.push_back(element->GetFirstChild());
    }
}

bool XProject::ApplyElement(const XElement& element) {
    const std::wstring& tag = element.GetTagName();
    if (plat::EqualsNoCase(tag, L"Project"))
        element.GetValue(L"StartPage", m_startPage);
    else if (plat::EqualsNoCase(tag, L"Path"))
        ChangeBasePath(element);
    else if (plat::EqualsNoCase(tag, L"Path.Add"))
        return AddPath(element);
    else if (plat::EqualsNoCase(tag, L"File.Add"))
        return AddFile(element);
    return true;
}

// "BasePath" is taken from the present base path, as changing into it would; a folder that
// does not exist leaves the base path as it was. The process's current folder is never
// changed for this.
void XProject::ChangeBasePath(const XElement& element) {
    std::wstring value;
    if (!element.GetValue(L"BasePath", value))
        return;
    std::error_code ec;
    const auto folder = std::filesystem::canonical(
        plat::ToFsPath(plat::ResolvePath(plat::JoinPath(m_basePath, value))), ec);
    if (!ec && std::filesystem::is_directory(folder, ec))
        m_basePath = WithSeparator(plat::FromFsPath(folder));
}

bool XProject::AddPath(const XElement& element) {
    std::wstring key;
    std::wstring folder;
    bool perUser = false;
    element.GetValue(L"key", key);
    element.GetValue(L"folder", folder);
    element.GetBool(L"UserID", perUser);
    if (m_paths.Contains(key)) {
        ConfirmMsg(element.GetTagName() + L" : already registered " + key);
        return false;
    }
    (perUser ? m_userPaths : m_paths).Set(key, folder);
    return true;
}

bool XProject::AddFile(const XElement& element) {
    std::wstring kind;
    std::wstring alias;
    std::wstring file;
    element.GetValue(L"Key", kind);
    element.GetValue(L"Path", alias);
    element.GetValue(L"File", file);
    if (m_files.Contains(kind)) {
        ConfirmMsg(element.GetTagName() + L" : already registered " + kind);
        return false;
    }
    std::wstring folder;
    if (!GetPath(alias.c_str(), &folder)) {
        ConfirmMsg(alias + L"로 지정된 경로가 없습니다");
        return false;
    }
    m_files.Set(kind, plat::NormalizeSeparators(folder + file));
    return true;
}

int XProject::Start() {
    static orvo::ContractCall<orvo::contract::ScrManOpenPage> s_openPage;
    if (m_startPage.empty())
        return 1;
    if (auto openPage = s_openPage.Get())
        openPage(plat::ResolvePath(m_basePath + m_startPage).c_str(), nullptr, nullptr);
    return 1;
}

int XProject::GetPath(const wchar_t* alias, std::wstring* out) {
    if (!alias) {
        // Before start-up there is no base path to give.
        if (m_basePath.empty())
            return 0;
        if (out)
            *out = m_basePath;
        return 1;
    }
    const std::wstring* folder = m_paths.Find(alias);
    if (!folder)
        return 0;
    if (out)
        *out = ExistingFolder(m_basePath + *folder);
    return 1;
}

int XProject::GetFile(const wchar_t* kind, std::wstring& out) {
    const std::wstring* file = kind ? m_files.Find(kind) : nullptr;
    if (!file)
        return 0;
    out = plat::ResolvePath(*file);
    return 1;
}

int XProject::GetUserPath(const wchar_t* alias, std::wstring& out) {
    if (!alias)
        return GetPath(nullptr, &out);
    const std::wstring* known = m_userPaths.Find(alias);
    if (!known)
        return 0;
    const std::wstring folder = plat::NormalizeSeparators(*known);
    std::wstring path;
    if (!GetPath(L"User", &path))
        return 1;
    path = EnterFolder(path, UserName());
    std::size_t start = 0;
    while (start < folder.size()) {
        std::size_t end = folder.find(L'/', start);
        if (end == std::wstring::npos)
            end = folder.size();
        if (end > start)
            path = EnterFolder(path, std::wstring_view(folder).substr(start, end - start));
        start = end + 1;
    }
    out = path;
    return 1;
}

XElement* XProject::LoadConfig(const wchar_t* kind) {
    static orvo::ContractCall<orvo::contract::ScrManLoadPage> s_loadPage;
    std::wstring file;
    if (!GetFile(kind, file))
        return nullptr;
    auto loadPage = s_loadPage.Get();
    return loadPage ? loadPage(file.c_str()) : nullptr;
}

XElement* XProject::GetConfig(const wchar_t* kind, const wchar_t* fallbackKind) {
    XElement* tree = LoadConfig(kind);
    if (!tree && fallbackKind)
        tree = LoadConfig(fallbackKind);
    return tree;
}

XElement*
XProject::GetConfigNode(const wchar_t* kind, const wchar_t* fallbackKind, const wchar_t* path) {
    if (Text(path).empty())
        return nullptr;
    for (const wchar_t* candidate : {kind, fallbackKind}) {
        XElement* tree = candidate ? LoadConfig(candidate) : nullptr;
        if (!tree)
            continue;
        // A copy as the parser's Clone makes it: the found element with the siblings after it.
        const XElement* found = tree->FindEx(path);
        XElement* copy = found ? found->Clone() : nullptr;
        delete tree;
        if (copy)
            return copy;
    }
    return nullptr;
}

int XProject::SetVar(const wchar_t* name, const wchar_t* value) {
    if (!name)
        return 0;
    m_vars.Set(name, Text(value));
    return 1;
}

std::wstring XProject::GetVar(const wchar_t* name) {
    std::wstring value;
    if (name)
        ::GetValue(&m_vars, name, value);
    return value;
}

std::wstring XProject::GetPathVB(const wchar_t*) {
    return m_basePath;
}

int XProject::GetINIStr(const wchar_t* kind,
                        const wchar_t* section,
                        const wchar_t* key,
                        std::wstring& out) {
    std::wstring file;
    if (!GetFile(kind, file))
        return 0;
    std::wstring value = plat::IniGet(file, Text(section), Text(key), L"");
    if (value.empty())
        return 0;
    out = std::move(value);
    return 1;
}

int XProject::GetINIStrEx(const wchar_t* kind1,
                          const wchar_t* section1,
                          const wchar_t* kind2,
                          const wchar_t* section2,
                          const wchar_t* key,
                          std::wstring& out) {
    return GetINIStr(kind1, section1, key, out) || GetINIStr(kind2, section2, key, out) ? 1 : 0;
}
