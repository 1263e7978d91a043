#pragma once

#include <exception>
#include <string>

namespace ORDO {

// Every ORDO error travels as one of these classes. The message is fixed English text; the
// statement is the text of the innermost statement in which the error arose, filled in by the
// block runner on the way out (empty when thrown).
class Exception : public std::exception {
public:
    explicit Exception(std::string message, std::string statement = {})
        : message(std::move(message)), statement(std::move(statement))
    {
    }
    ~Exception() override = default;
    const char* what() const noexcept override { return message.c_str(); }

    std::string message;
    std::string statement;
};

// The subclasses differ by type only, so that a host can catch them apart.
class SyntaxException : public Exception {
public:
    using Exception::Exception;
};

class RunTimeException : public Exception {
public:
    using Exception::Exception;
};

class FormatException : public Exception {
public:
    using Exception::Exception;
};

class AbortedException : public Exception {
public:
    using Exception::Exception;
};

[[noreturn]] void ThrowSyntaxError(std::string message);
[[noreturn]] void ThrowRunTimeError(std::string message);

} // namespace ORDO
