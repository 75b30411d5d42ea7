#pragma once

// Starts pages and programs the desktop's way: xdg-open through Qt for the default handler,
// a detached process for a chosen program.

#include "platform/Launcher.h"

class QtLauncher : public Launcher
{
public:
    bool openWithDefault(const std::string &urlOrPath) override;
    bool startProgram(const std::string &program, const std::string &argument) override;
};
