// The exception classes of the platform layer. Every error is an exception with a short, fixed
// message; the classes let a caller tell the kinds apart.
#pragma once

#include <stdexcept>
#include <string>

namespace vxplan {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// A string that is not a date, time or number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// An operation that the object's state does not allow now.
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

// An argument outside what the operation accepts.
class EInvalidArgument : public Exception {
public:
    using Exception::Exception;
};

// An index outside a list.
class EListError : public Exception {
public:
    using Exception::Exception;
};

// A printer that cannot do what was asked (not printing, already printing, cannot open).
class EPrinter : public Exception {
public:
    using Exception::Exception;
};

// A thread that cannot be started, resumed or waited for.
class EThread : public Exception {
public:
    using Exception::Exception;
};

}  // namespace vxplan
