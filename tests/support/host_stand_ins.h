#pragma once
// The host's objects the project service asks by name: "Application" names the application
// INI file ("Cfg"), "systemdb" knows the logged-in user ("UserName").
#include <string>

#include "nubra/ixo.h"
#include "platform/base/nocase.h"

class ApplicationStandIn : public IXO {
    ORVO_DISPATCH_MAP()

public:
    int GetValue(const wchar_t* key, std::wstring& out) {
        if (!key || !plat::EqualsNoCase(key, L"Cfg") || cfg.empty())
            return 0;
        out = cfg;
        return 1;
    }

    std::wstring cfg = L"Kestrel.ini"; // empty: the host has no "Cfg" value
};

ORVO_DISPATCH_INLINE(ApplicationStandIn, IXO, ORVO_METHOD(GetValue))

class SystemDbStandIn : public IXO {
    ORVO_DISPATCH_MAP()

public:
    explicit SystemDbStandIn(std::wstring name) : userName(std::move(name)) {}

    std::wstring userName;
};

ORVO_DISPATCH_INLINE(SystemDbStandIn, IXO, ORVO_PROPERTY_AS(userName, UserName))
