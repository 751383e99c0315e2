#pragma once

// "Ok, or one line saying why not", the one shape every host function that
// can fail for a reason worth telling returns.

#include <optional>
#include <string>
#include <utility>

namespace hovrel::common {

class [[nodiscard]] Status {
  public:
    static Status Ok() { return Status(); }
    static Status Failure(std::string reason) { return Status(std::move(reason)); }

    bool ok() const { return !reason_; }
    explicit operator bool() const { return ok(); }
    // Empty when ok.
    const std::string& reason() const {
        static const std::string none;
        return reason_ ? *reason_ : none;
    }

  private:
    Status() = default;
    explicit Status(std::string reason) : reason_(std::move(reason)) {}

    std::optional<std::string> reason_;
};

// A value, or the reason there is none.
template <typename T> class [[nodiscard]] Result {
  public:
    Result(T value) : value_(std::move(value)) {}
    // From a failed Status; a Status that is ok carries no value to take.
    Result(Status failure) : failure_(std::move(failure)) {}
    static Result Failure(std::string reason) { return Result(Status::Failure(std::move(reason))); }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return *value_; }
    T& value() & { return *value_; }
    T&& value() && { return std::move(*value_); }
    const std::string& reason() const { return failure_.reason(); }

  private:
    std::optional<T> value_;
    Status failure_ = Status::Ok();
};

} // namespace hovrel::common
