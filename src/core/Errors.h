#pragma once
// The runtime's error classes. Code of the system raises these and catches none of them;
// the window's single catching point turns whatever leaves a handler into a message box.

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string &Message) : std::runtime_error(Message), FMessage(Message) {}
    // The whole message: what() stops at a NUL character that a pasted text may carry.
    const std::string &Message() const { return FMessage; }

private:
    std::string FMessage;
};

// A text that is not a number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A bad argument handed to a building block (for instance a filter with no coefficients).
class EArgumentError : public Exception {
public:
    using Exception::Exception;
};

// A file that could not be written.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

// Floating-point faults.
class EMathError : public Exception {
public:
    using Exception::Exception;
};

class EZeroDivide : public EMathError {
public:
    EZeroDivide() : EMathError("Floating point division by zero") {}
};

class EOverflow : public EMathError {
public:
    EOverflow() : EMathError("Floating point overflow") {}
};

class EInvalidOp : public EMathError {
public:
    EInvalidOp() : EMathError("Invalid floating point operation") {}
};

// The text the message box shows for an error message: a full stop is appended when the
// message's last character has a code above that of '.'. Messages are UTF-8, so a last
// character outside ASCII (a lead or continuation byte >= 0x80) also gets one.
std::string MessageBoxText(const std::string &Message);
