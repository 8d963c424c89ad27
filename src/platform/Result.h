#pragma once
// What a machine operation did: success, or the system's error code for why
// it failed, so that a failure can travel to where it is logged and be told
// in the system's own words (SystemInfo::ErrorText).
#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>

namespace nullvane::platform {

// Win32 error codes; the sim produces only these.
enum SystemError : uint32_t {
    seSuccess = 0,
    seFileNotFound = 2,
    sePathNotFound = 3,
    seAccessDenied = 5,
    seInvalidHandle = 6,
    seInvalidData = 13,
    seNoMoreFiles = 18,
    seWriteProtect = 19,
    seSharingViolation = 32,
    seNotSupported = 50,
    seFileExists = 80,
    seInvalidParameter = 87,
    seDiskFull = 112,
    seInvalidName = 123,
    seDirNotEmpty = 145,
    seAlreadyExists = 183,
    seDirectory = 267,
    seNotAReparsePoint = 4390,
    // A failure whose cause the system did not say (E_FAIL's code part).
    seGenFailure = 31,
};

class [[nodiscard]] TStatus {
public:
    TStatus() = default;  // success
    static TStatus Success() { return {}; }
    // A failure; a code of 0 (the system said nothing) becomes seGenFailure.
    static TStatus Failure(uint32_t code) {
        TStatus status;
        status.code_ = code == seSuccess ? seGenFailure : code;
        return status;
    }
    [[nodiscard]] bool Succeeded() const { return code_ == seSuccess; }
    explicit operator bool() const { return Succeeded(); }
    // The Win32 error code; 0 on success.
    [[nodiscard]] uint32_t Error() const { return code_; }

private:
    uint32_t code_ = seSuccess;
};

// A value, or the error code of the failure that gave none.
template <class U>
struct IsUniquePtr : std::false_type {};
template <class U, class D>
struct IsUniquePtr<std::unique_ptr<U, D>> : std::true_type {};

template <class T>
class [[nodiscard]] TResult {
public:
    TResult(T value) : value_(std::move(value)) {}  // NOLINT: a value converts
    TResult(TStatus failure) : status_(failure.Succeeded() ? TStatus::Failure(seGenFailure) : failure) {}  // NOLINT
    static TResult Failure(uint32_t code) { return TResult(TStatus::Failure(code)); }

    [[nodiscard]] bool Succeeded() const { return status_.Succeeded(); }
    explicit operator bool() const { return Succeeded(); }
    [[nodiscard]] uint32_t Error() const { return status_.Error(); }
    [[nodiscard]] TStatus Status() const { return status_; }

    // The value; only after success.
    [[nodiscard]] T& Value() & { return value_; }
    [[nodiscard]] const T& Value() const& { return value_; }
    [[nodiscard]] T&& Value() && { return std::move(value_); }
    [[nodiscard]] T ValueOr(T fallback) const& { return Succeeded() ? value_ : std::move(fallback); }
    [[nodiscard]] T ValueOr(T fallback) && { return Succeeded() ? std::move(value_) : std::move(fallback); }
    // A result holding an owned object reaches the object itself through
    // * and ->; Value() gives the owner.
    decltype(auto) operator*() & {
        if constexpr (IsUniquePtr<T>::value)
            return *value_;
        else
            return (value_);
    }
    decltype(auto) operator*() const& {
        if constexpr (IsUniquePtr<T>::value)
            return *value_;
        else
            return (value_);
    }
    auto operator->() {
        if constexpr (IsUniquePtr<T>::value)
            return value_.get();
        else
            return &value_;
    }
    auto operator->() const {
        if constexpr (IsUniquePtr<T>::value)
            return value_.get();
        else
            return &value_;
    }

private:
    T value_{};
    TStatus status_;
};

// A result equals a value when it succeeded with that value.
template <class T, class U>
    requires requires(const T& t, const U& u) { t == u; }
bool operator==(const TResult<T>& result, const U& value) {
    return result.Succeeded() && result.Value() == value;
}

}  // namespace nullvane::platform
