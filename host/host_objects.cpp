#include "host/host_objects.h"

#include "platform/base/nocase.h"

namespace kestrel {

const orvo::DispatchMap& Application::ClassDispatch() {
    static const orvo::DispatchMap map(&IXO::ClassDispatch(), {orvo::Method<&Application::GetValue>(L"GetValue")});
    return map;
}

int Application::GetValue(const wchar_t* key, std::wstring& out) {
    if (!key || !plat::EqualsNoCase(key, L"Cfg") || m_configFile.empty())
        return 0;
    out = m_configFile;
    return 1;
}

const orvo::DispatchMap& SystemDb::ClassDispatch() {
    static const orvo::DispatchMap map(&IXO::ClassDispatch(), {orvo::Property<&SystemDb::m_userName>(L"UserName")});
    return map;
}

} // namespace kestrel
