#pragma once

// The project the editor works on and what works on it: the agent with its design tree, the
// generator over the agent, the slide cache, and the commands. Built before the window and
// handed to it, so that the window only shows the project and calls the commands.

#include "generate/ShowBuilder.h"
#include "generate/SlideCache.h"
#include "model/InMemoryDesignTree.h"
#include "model/ProjectCommands.h"
#include "model/TzybAppletAgent.h"
#include "platform/AppFolders.h"

#include <memory>

class EditorProject
{
public:
    // Slides made before are taken from the per-user cache.
    explicit EditorProject(const AppFolders &folders);

    // The commands fill the pages given and tell events of their steps; made once, for the
    // window that shows both.
    ProjectCommands &commandsFor(PropertyPages &pages, UserPrompts &prompts, ProjectEvents &events);

    TzybAppletAgent agent;
    InMemoryDesignTree tree;
    ShowBuilder builder{agent};
    SlideCache slideCache;

private:
    std::filesystem::path m_templatesFolder;
    std::unique_ptr<ProjectCommands> m_commands;
};
