// The exception classes of the base library and its support libraries.
#pragma once

#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/rc_string.h"

// Failure of the text and expression utilities: one message text.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

class EOFException : public Exception {
public:
    explicit EOFException(const std::string& message = "End of file error") : Exception(message) {}
};

// Malformed text or data.
class FormatException : public Exception {
public:
    explicit FormatException(const std::string& message) : Exception(message) {}
};

class LostWindowException : public Exception {
public:
    explicit LostWindowException(const std::string& message = "Lost window") : Exception(message) {}
};

class UserCancelledException : public Exception {
public:
    explicit UserCancelledException(const std::string& message = "User cancelled") : Exception(message) {}
};

namespace QorDebug {
// A broken internal rule (an index out of range, a negative count).
class Assert : public std::runtime_error {
public:
    explicit Assert(const std::string& message) : std::runtime_error(message) {}
};
} // namespace QorDebug

namespace QorFiles {
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};
} // namespace QorFiles

namespace QorThreads {
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};
} // namespace QorThreads

namespace QorPNG {
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};
} // namespace QorPNG

namespace QorZLib {
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};
} // namespace QorZLib

namespace Wex {

// Base of the base library's own exceptions.
class xException : public std::exception {
public:
    const char* what() const noexcept override;
};

// An exception whose message is a reference-counted text (it takes a reference on it).
class xExceptionWithRCString : public xException {
public:
    explicit xExceptionWithRCString(refString message) noexcept : fMessage(std::move(message)) {}
    explicit xExceptionWithRCString(std::string_view message);

    const refString& GetMessage() const noexcept { return fMessage; }
    const char* what() const noexcept override;

private:
    refString fMessage;
};

// Malformed stored data.
class xInvalidFormat : public xExceptionWithRCString {
public:
    explicit xInvalidFormat(std::string_view message = "Invalid data format") : xExceptionWithRCString(message) {}
};

// A failed operating-system call: its status and the status's text.
class xOSError : public xException {
public:
    xOSError(int32_t status, std::string_view message);

    int32_t GetStatus() const noexcept { return fStatus; }
    const char* what() const noexcept override;

private:
    int32_t fStatus;
    refString fMessage;
};

// An OS status of the Mac interfaces (or of their stand-ins here).
class xMacOSError : public xOSError {
public:
    explicit xMacOSError(int32_t status);
};

class xCannotReadBeyondEnd : public xException {
public:
    const char* what() const noexcept override;
};

class xCannotWriteBeyondEnd : public xException {
public:
    const char* what() const noexcept override;
};

// The message text of an OS status, e.g. "File not found (OS status -43)".
std::string FormatMacOSStatus(int32_t status);

} // namespace Wex
