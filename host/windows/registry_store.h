#pragma once

// The product's state in the registry: the user's values under
// HKCU\Software\Hovrel\<product>, the policy under
// HKLM\Software\Policies\Hovrel\<product>. Each value is read and written on
// its own (one RegSetValueExW each), so a value is either old or new.

#include "user_state.h"

#include <string>

namespace hovrel::windows {

class RegistryStore : public road::StateStore {
  public:
    explicit RegistryStore(const std::wstring& product);

    road::RawValue ReadUser(const char* name) override;
    road::RawValue ReadPolicy(const char* name) override;
    bool WriteNumber(const char* name, road::RawValue::Type type, std::uint64_t value) override;
    bool WriteText(const char* name, const std::string& value) override;
    bool DeleteUserValue(const char* name) override;
    bool DeleteUserState() override;
    std::string UserPlace() const override;
    std::string PolicyPlace() const override;

  private:
    std::wstring userKey_;
    std::wstring policyKey_;
};

} // namespace hovrel::windows
