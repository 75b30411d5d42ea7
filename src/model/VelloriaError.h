#pragma once

#include <stdexcept>

// Raised by the core for every failure a command stops on; the message is meant for the
// user and names the file or field and the reason.
class VelloriaError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};
