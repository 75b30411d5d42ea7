#pragma once

// A main window as each window test starts it: a folder, settings and prompts of its own,
// the runtime script in place, shown offscreen; whatever a test left unsaved is dropped at
// the end without a question.

#include "TMainForm.h"
#include "common/TempFolder.h"
#include "editor/ScriptedEditorPrompts.h"
#include "platform/MemorySettingsStore.h"

class NoLauncher : public Launcher
{
public:
    bool openWithDefault(const std::string &) override { return true; }
    bool startProgram(const std::string &, const std::string &) override { return true; }
};

template <class Prompts = ScriptedEditorPrompts> struct WindowUnderTest
{
    WindowUnderTest()
    {
        writeBytes(folder.file("velloria.js"), "// runtime");
        const AppFolders folders(folder.path());
        project = std::make_unique<EditorProject>(folders);
        window = std::make_unique<TMainForm>(prompts, settings, launcher, folders, *project);
        window->show();
    }
    ~WindowUnderTest() { window->commands().setModified(false); }

    TempFolder folder;
    MemorySettingsStore settings;
    Prompts prompts;
    NoLauncher launcher;
    std::unique_ptr<EditorProject> project;
    std::unique_ptr<TMainForm> window;
};
