#pragma once

// What the program starts outside itself: a page or address with the desktop's default
// handler, or a chosen program with one argument. Nothing is reported when a start fails,
// and nothing waits for what was started. The editor starts things through Qt; tests
// record what would have been started.

#include <string>

class Launcher
{
public:
    virtual ~Launcher() = default;

    // A web address or a local file, with the desktop's default handler.
    virtual void openWithDefault(const std::string &urlOrPath) = 0;
    // A program with exactly one argument, however many blanks it holds.
    virtual void startProgram(const std::string &program, const std::string &argument) = 0;
};
