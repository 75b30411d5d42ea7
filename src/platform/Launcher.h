#pragma once

// What the program starts outside itself: a page or address with the desktop's default
// handler, or a chosen program with one argument. Nothing waits for what was started; a
// start that fails says so, and the caller tells the user which program it tried. The editor starts
// things through Qt; tests record what would have been started.

#include <string>

class Launcher
{
public:
    virtual ~Launcher() = default;

    // A web address or a local file, with the desktop's default handler.
    // False when no handler could be started.
    virtual bool openWithDefault(const std::string &urlOrPath) = 0;
    // A program with exactly one argument, however many blanks it holds.
    // False when the program is missing or cannot be run.
    virtual bool startProgram(const std::string &program, const std::string &argument) = 0;
};
