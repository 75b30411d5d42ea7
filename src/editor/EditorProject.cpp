#include "EditorProject.h"

#include "platform/ProjectLock.h"

EditorProject::EditorProject(const AppFolders &folders)
    : agent(folders), slideCache(SlideCache::defaultFolder(), slidePipelineVersion,
                                 SlideCache::sizeLimitFromEnvironment()),
      m_templatesFolder(folders.templates())
{
    builder.setSlideCache(&slideCache);
}

ProjectCommands &EditorProject::commandsFor(PropertyPages &pages, UserPrompts &prompts,
                                            ProjectEvents &events)
{
    m_commands = std::make_unique<ProjectCommands>(agent, builder, tree, pages, prompts, events,
                                                   m_templatesFolder);
    // Two editors saving one project at once take turns.
    m_commands->lockProjectWhileSaving(ProjectLock::defaultPatience);
    return *m_commands;
}
