#pragma once

#include <stdexcept>

// Raised by the core for every failure a command stops on; the message is meant for the
// user and names the file or field and the reason.
class VelloriaError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A value of the project that a command refuses: the message names the field but not the
// project, which the command that holds the project adds.
class ProjectValueError : public VelloriaError
{
public:
    using VelloriaError::VelloriaError;
};
