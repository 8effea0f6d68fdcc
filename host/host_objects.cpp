#include "host/host_objects.h"

#include "core/contracts.h"
#include "platform/base/nocase.h"

namespace kestrel {

ORVO_DISPATCH(Application, IXO, ORVO_PROVIDE(orvo::contract::ApplicationGetValue, GetValue))

int Application::GetValue(const wchar_t* key, std::wstring& out) {
    if (!key || !plat::EqualsNoCase(key, L"Cfg") || m_configFile.empty())
        return 0;
    out = m_configFile;
    return 1;
}

ORVO_DISPATCH(SystemDb, IXO, ORVO_PROVIDE_GETTER(orvo::contract::SystemDbUserName, m_userName))

} // namespace kestrel
