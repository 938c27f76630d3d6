#include "AgreementStore.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "AgreementKey.h"
#include "ZUVO_Common.h"
#include "framework/Handles.h"

namespace zuvo::dlg {

namespace {

struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { RegCloseKey(handle); }
};
using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;

}  // namespace

bool IsAgreementAccepted(const std::wstring& productName) {
    std::optional<std::wstring> path = AgreementKeyPath(productName);
    if (!path) {
        return false;
    }
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path->c_str(), 0, KEY_QUERY_VALUE, &opened) !=
        ERROR_SUCCESS) {
        return false;
    }
    UniqueRegistryKey key(opened);
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    LSTATUS status = RegQueryValueExW(key.get(), kAgreementValueName, nullptr, &type,
                                      reinterpret_cast<BYTE*>(&value), &size);
    return status == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(value) && value == 1;
}

bool RememberAgreementAccepted(const std::wstring& productName) {
    std::optional<std::wstring> path = AgreementKeyPath(productName);
    if (!path) {
        return false;
    }
    HKEY created = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, path->c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &created, nullptr);
    if (status != ERROR_SUCCESS) {
        DbgOutputA(2, "ZUVO_EULADlg: cannot create the agreement key, error %ld\r\n", status);
        return false;
    }
    UniqueRegistryKey key(created);
    const DWORD accepted = 1;
    status = RegSetValueExW(key.get(), kAgreementValueName, 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&accepted), sizeof(accepted));
    if (status != ERROR_SUCCESS) {
        DbgOutputA(2, "ZUVO_EULADlg: cannot write the agreement value, error %ld\r\n", status);
        return false;
    }
    return true;
}

}  // namespace zuvo::dlg
