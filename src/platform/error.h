// SPDX-License-Identifier: GPL-3.0-or-later
// One small error type for the whole program.
//
// Components report failures of their members to the caller as numeric error
// codes (6 overflow, 394 run-time-only member used at design time, ...), and
// platform calls report failure as values rather than exceptions, so that a
// window handler can skip a failing step and go on with the next one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "platform/check.h"

namespace platform {

// Numeric codes in the range a host of these components expects.
enum class ErrorCode : int32_t {
    kNone = 0,
    kInvalidCall = 5,  // invalid procedure call or argument
    kOverflow = 6,     // arithmetic overflow inside a component
    kOutOfMemory = 7,
    kSubscript = 9,  // index out of range
    kFileNotFound = 53,
    kFileIo = 57,
    kPathNotFound = 76,
    kInvalidPropertyValue = 380,  // a property refused the value it was given
    kInvalidPicture = 481,
    kRunTimeOnly = 394,  // member not available at design time
    kUnsupported = 445,  // object does not support this action
    kPlatform = 1000,    // a platform service failed (see the message)
};

struct Error {
    ErrorCode code = ErrorCode::kNone;
    std::string message;

    int32_t number() const { return static_cast<int32_t>(code); }
};

inline Error MakeError(ErrorCode code, std::string message = {}) {
    return Error{code, std::move(message)};
}

// A value or an error. C++20 has no std::expected; this keeps the same shape
// so it can be swapped later.
template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : value_(std::move(value)) {}      // NOLINT: implicit by design
    Result(Error error) : error_(std::move(error)) {}  // NOLINT

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }

    // Reading the value of an error is a programming error: check ok() first.
    T& value() & { return *Checked(); }
    const T& value() const& { return *Checked(); }
    T&& value() && { return std::move(*Checked()); }
    T* operator->() { return &*Checked(); }
    const T* operator->() const { return &*Checked(); }
    T& operator*() { return *Checked(); }
    const T& operator*() const { return *Checked(); }

    T value_or(T fallback) const { return value_ ? *value_ : std::move(fallback); }
    const Error& error() const { return error_; }

  private:
    std::optional<T>& Checked() {
        KOVELIN_CHECK(value_.has_value(), "A result's value was read although it holds an error.");
        return value_;
    }
    const std::optional<T>& Checked() const {
        KOVELIN_CHECK(value_.has_value(), "A result's value was read although it holds an error.");
        return value_;
    }

    std::optional<T> value_;
    Error error_;
};

// Success or an error, for operations with no value.
class [[nodiscard]] Status {
  public:
    Status() = default;
    Status(Error error) : error_(std::move(error)) {}  // NOLINT: implicit by design

    static Status Ok() { return Status(); }

    bool ok() const { return error_.code == ErrorCode::kNone; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return error_; }

  private:
    Error error_;
};

}  // namespace platform
