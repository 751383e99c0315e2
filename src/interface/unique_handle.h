#pragma once

#include <cstdint>
#include <utility>

namespace hovrel {

// Owns one platform handle and closes it when the owner leaves scope, so that
// handles opened one after another close in reverse order on every path.
// Handle is a pointer-sized handle type; InvalidBits is the value that means
// "not open" (0 for most kinds, -1 for files).
template <typename Handle, auto Close, std::intptr_t InvalidBits = 0> class UniqueHandle {
  public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    static Handle Invalid() noexcept { return reinterpret_cast<Handle>(InvalidBits); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Invalid(); }

    // For APIs that return the handle through an out-parameter.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }

    void reset(Handle handle = Invalid()) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (old != Invalid()) {
            Close(old);
        }
    }

    Handle release() noexcept { return std::exchange(handle_, Invalid()); }

  private:
    Handle handle_ = Invalid();
};

} // namespace hovrel
