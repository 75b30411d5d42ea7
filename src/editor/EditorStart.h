#pragma once

// The editor as it starts: its folders made ready, a scratch folder of its own for the
// generated scripts and the preview, the desktop told which program opens projects, and
// the main window over the user's settings and the desktop's launcher.
// Shared by the program and its start-up benchmark, so that the benchmark measures the
// real start.

#include "EditorProject.h"
#include "QtLauncher.h"
#include "QtUserPrompts.h"
#include "TMainForm.h"
#include "platform/FileSettingsStore.h"
#include "platform/ScratchFolder.h"

#include <optional>

class EditorStart
{
public:
    EditorStart();

    // The folders of the program file given, made ready, with the desktop told about the
    // program: what the start does before the window, also for a test of an installation.
    static AppFolders preparedFolders(const std::filesystem::path &program);

    // Declared before the window, so that it goes after the window has cleared its preview.
    // None only when no folder could be made anywhere: the writable folder serves then.
    std::optional<ScratchFolder> scratch;
    AppFolders folders;
    FileSettingsStore settings;
    QtLauncher launcher;
    QtUserPrompts prompts;
    EditorProject project;
    TMainForm window;

private:
    explicit EditorStart(const AppFolders &prepared);
};
