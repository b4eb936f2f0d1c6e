#pragma once
// The one exception type for run-time errors whose handling the program's behaviour depends on.
// It carries the classic error number, so callers handle exactly the errors they are defined for.
#include <stdexcept>
#include <string>

namespace sq {

enum ErrorNumber : int {
    kInvalidCall = 5,
    kOverflow = 6,
    kSubscriptOutOfRange = 9,
    kDivisionByZero = 11,
    kTypeMismatch = 13,
    kFileNotFound = 53,
    kDeviceIoError = 57,
    kDiskFull = 61,
    kPermissionDenied = 70,
    kPathNotFound = 76,
    kObjectNotSet = 91,
    kInvalidPropertyValue = 380,
};

class VbError : public std::runtime_error {
public:
    explicit VbError(int number, const std::string& what = {})
        : std::runtime_error(what.empty() ? defaultText(number) : what), m_number(number) {}
    [[nodiscard]] int number() const noexcept { return m_number; }
    static std::string defaultText(int number);

private:
    int m_number;
};

[[noreturn]] inline void raise(int number, const std::string& what = {}) {
    throw VbError(number, what);
}

// The error of a file the system refused, by the system's error number (or kNotRegularFile, a
// target that is no regular file): the classic number of its kind (76 a folder that is not there,
// 70 a file or folder that refuses writing, 61 a disk that is full, 57 anything else) with the
// reason's own text.
[[nodiscard]] VbError fileError(int systemError);

// Runs one statement of a handler that passes over run-time errors: a VbError skips just that
// statement and the handler goes on with the next.
template <typename Fn>
void skipOnError(Fn&& fn) {
    try {
        fn();
    } catch (const VbError&) {
    }
}

}  // namespace sq
