#pragma once

#include <cstdint>

namespace hovrel::common {

// The one flag that stops the road: set by Ctrl+C, by the window's Cancel,
// by the --timeout watchdog and by the --min-rate floor, read by the road
// between steps, by the host while a fetch runs and by the library between
// chunks. Setting it is a plain 32-bit store, the one kind
// of write the library expects, and safe from a console control handler.
class CancelFlag {
  public:
    CancelFlag() = default;
    CancelFlag(const CancelFlag&) = delete;
    CancelFlag& operator=(const CancelFlag&) = delete;

    void Set() noexcept { value_ = 1; }
    bool IsSet() const noexcept { return value_ != 0; }

    // What HV_DownloadVerify takes as its cancel flag.
    const volatile std::int32_t* ForLibrary() const noexcept { return &value_; }

  private:
    volatile std::int32_t value_ = 0;
};

} // namespace hovrel::common
