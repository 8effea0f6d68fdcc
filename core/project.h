#pragma once
// XProject ("Project"): screens never name disk locations; they name path aliases,
// definition kinds and per-user folders, and this service resolves them. At start-up it reads
// the project configuration file named by the application INI file; afterwards it answers
// lookups, reads INI files by kind, keeps named variables and opens the start page.
//
// Folders come back with '/' separators and a trailing '/', each component matched without
// case against what exists, since project files written on Windows use '\' and any case.
#include <string>

#include "nubra/ixo.h"
#include "platform/base/string_map.h"

class XElement;

class XProject : public IXO {
    ORVO_DISPATCH_MAP()

public:
    // The instance registered at start-up.
    static XProject& Instance();

    ORVO_KEY(L"Project")

    // Reads the project configuration; 0 when the executable's folder cannot be found.
    int InitializeIXO();
    // Opens the start page through "ScrMan" "OpenPage" when one is set. Always 1.
    int Start();

    // Null alias: the base path. Otherwise the alias's folder under the base path; 0 when the
    // alias is unknown. A null `out` only tests presence.
    int GetPath(const wchar_t* alias, std::wstring* out);
    // The file registered for a definition kind ("MetaSet", "ProjectCfg", ...).
    int GetFile(const wchar_t* kind, std::wstring& out);
    // The per-user folder of a user alias: <"User" path>/<user name>/<alias folder>/, every
    // level created. 1 whenever the alias is known, even when there is no "User" path to
    // build it under (then `out` is left alone).
    int GetUserPath(const wchar_t* alias, std::wstring& out);

    // The element tree of the file of `kind` (else of `fallbackKind`), loaded by "ScrMan"
    // "LoadPage"; the caller owns it. Null when neither loads.
    XElement* GetConfig(const wchar_t* kind, const wchar_t* fallbackKind);
    // A copy of the element at `path` ("/A/B": A below the root element, then B; a bare name:
    // the first element of that name in document order) in the file of `kind`, else of
    // `fallbackKind`, without its siblings; the caller owns it. The loaded trees are deleted.
    XElement* GetConfigNode(const wchar_t* kind, const wchar_t* fallbackKind, const wchar_t* path);

    int SetVar(const wchar_t* name, const wchar_t* value);
    // Empty when the variable is not set.
    std::wstring GetVar(const wchar_t* name);
    // The base path for scripts; the alias is not used.
    std::wstring GetPathVB(const wchar_t* alias);

    // The non-empty value of section/key in the INI file of `kind`; 0 when the kind is not
    // registered or the value is empty.
    int
    GetINIStr(const wchar_t* kind, const wchar_t* section, const wchar_t* key, std::wstring& out);
    // The first kind's value, else the second's: a user setting with the project's as fallback.
    int GetINIStrEx(const wchar_t* kind1,
                    const wchar_t* section1,
                    const wchar_t* kind2,
                    const wchar_t* section2,
                    const wchar_t* key,
                    std::wstring& out);

    // ---- for the host and tests ---------------------------------------------------------------
    const std::wstring& GetModulePath() const { return m_modulePath; }
    const std::wstring& GetBasePath() const { return m_basePath; }
    // The application INI file; empty when the host gave no "Cfg" value.
    const std::wstring& GetINIFile() const { return m_iniFile; }
    // Relative to the base path, as written in the configuration.
    const std::wstring& GetStartPage() const { return m_startPage; }
    // Forgets everything read or set, as before start-up.
    void Reset();

private:
    void ReadConfiguration(const XElement* root);
    // Each answers false when the walk must stop.
    bool ApplyElement(const XElement& element);
    bool AddPath(const XElement& element);
    bool AddFile(const XElement& element);
    void ChangeBasePath(const XElement& element);
    XElement* LoadConfig(const wchar_t* kind);

    std::wstring m_modulePath; // ends with '/'
    std::wstring m_basePath;   // ends with '/'; empty until start-up
    std::wstring m_iniFile;
    std::wstring m_startPage;
    CMapStringToString m_paths;     // alias -> folder relative to the base path
    CMapStringToString m_files;     // kind -> full path
    CMapStringToString m_userPaths; // alias -> folder relative to the user's folder
    CMapStringToString m_vars;
};
