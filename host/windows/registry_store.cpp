#include "registry_store.h"

#include "handles.h"
#include "registry_names.h"
#include "utf8.h"

#include <windows.h>

#include <vector>

namespace hovrel::windows {

using road::RawValue;

namespace {

std::wstring Wide(const char* ascii) {
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

std::string Narrow(const std::wstring& wide) {
    std::string text;
    return common::WideToUtf8(wide, text) ? text : std::string("?");
}

RawValue Read(HKEY root, const std::wstring& path, const char* name) {
    RawValue value;
    UniqueRegistryKey key;
    const LSTATUS opened = RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, key.put());
    if (opened != ERROR_SUCCESS) {
        if (opened != ERROR_FILE_NOT_FOUND) {
            value.type = RawValue::Type::Unreadable;
        }
        return value;
    }
    const std::wstring valueName = Wide(name);
    DWORD type = 0;
    DWORD size = 0;
    const LSTATUS queried =
        RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size);
    if (queried != ERROR_SUCCESS) {
        if (queried != ERROR_FILE_NOT_FOUND) {
            value.type = RawValue::Type::Unreadable;
        }
        return value;
    }
    // Room for a terminator the writer may have left out.
    std::vector<BYTE> data(size + sizeof(wchar_t), 0);
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, data.data(), &size) !=
        ERROR_SUCCESS) {
        return value;
    }
    value.type = RawValue::Type::Other;
    if (type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD number = 0;
        memcpy(&number, data.data(), sizeof number);
        value.type = RawValue::Type::Dword;
        value.number = number;
    } else if (type == REG_QWORD && size == sizeof(ULONGLONG)) {
        ULONGLONG number = 0;
        memcpy(&number, data.data(), sizeof number);
        value.type = RawValue::Type::Qword;
        value.number = number;
    } else if (type == REG_SZ) {
        std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0') {
            text.pop_back();
        }
        if (common::WideToUtf8(text, value.text)) {
            value.type = RawValue::Type::Text;
        }
    }
    return value;
}

bool Write(const std::wstring& path, const char* name, DWORD type, const void* data, DWORD size) {
    UniqueRegistryKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return RegSetValueExW(key.get(), Wide(name).c_str(), 0, type, static_cast<const BYTE*>(data),
                          size) == ERROR_SUCCESS;
}

} // namespace

RegistryStore::RegistryStore(const std::wstring& product)
    : userKey_(Wide(road::registry::kUserKeyPrefix) + product),
      policyKey_(Wide(road::registry::kPolicyKeyPrefix) + product) {}

RawValue RegistryStore::ReadUser(const char* name) {
    return Read(HKEY_CURRENT_USER, userKey_, name);
}

RawValue RegistryStore::ReadPolicy(const char* name) {
    return Read(HKEY_LOCAL_MACHINE, policyKey_, name);
}

bool RegistryStore::WriteNumber(const char* name, RawValue::Type type, std::uint64_t value) {
    if (type == RawValue::Type::Dword) {
        const DWORD number = static_cast<DWORD>(value);
        return Write(userKey_, name, REG_DWORD, &number, sizeof number);
    }
    const ULONGLONG number = value;
    return Write(userKey_, name, REG_QWORD, &number, sizeof number);
}

bool RegistryStore::WriteText(const char* name, const std::string& value) {
    std::wstring text;
    if (!common::Utf8ToWide(value, text)) {
        return false;
    }
    return Write(userKey_, name, REG_SZ, text.c_str(),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

bool RegistryStore::DeleteUserValue(const char* name) {
    const LSTATUS status =
        RegDeleteKeyValueW(HKEY_CURRENT_USER, userKey_.c_str(), Wide(name).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool RegistryStore::DeleteUserState() {
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, userKey_.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

std::string RegistryStore::UserPlace() const {
    return "HKCU\\" + Narrow(userKey_);
}

std::string RegistryStore::PolicyPlace() const {
    return "HKLM\\" + Narrow(policyKey_);
}

} // namespace hovrel::windows
