#pragma once

// The editor as it starts: its folders made ready, the desktop told which program opens
// projects, and the main window over the user's settings and the desktop's launcher.
// Shared by the program and its start-up benchmark, so that the benchmark measures the
// real start.

#include "QtLauncher.h"
#include "QtUserPrompts.h"
#include "TMainForm.h"
#include "platform/FileSettingsStore.h"

class EditorStart
{
public:
    EditorStart();

    // The folders of the program file given, made ready, with the desktop told about the
    // program: what the start does before the window, also for a test of an installation.
    static AppFolders preparedFolders(const std::filesystem::path &program);

    AppFolders folders;
    FileSettingsStore settings;
    QtLauncher launcher;
    QtUserPrompts prompts;
    TMainForm window;
};
