// The file commands and the close query.

#include "ProjectCommands.h"

#include "PageStore.h"
#include "TextUtil.h"
#include "platform/ProjectLock.h"

namespace fs = std::filesystem;

namespace {

// "dir/show.jfs" -> "dir/" and "show.jfs"; a bare name lies in the current folder.
std::pair<std::string, std::string> folderAndName(const std::string &path)
{
    const fs::path p(path);
    const std::string folder = p.has_parent_path() ? p.parent_path().string() + "/" : "";
    return {folder, p.filename().string()};
}

} // namespace

ProjectCommands::ProjectCommands(TzybAppletAgent &agent, DesignTree &tree, PropertyPages &pages,
                                 UserPrompts &prompts, ProjectEvents &events,
                                 fs::path templatesFolder)
    : m_agent(agent), m_tree(tree), m_pages(pages), m_prompts(prompts), m_events(events),
      m_templatesFolder(std::move(templatesFolder))
{
    // A file of another kind is reported by the load itself.
    m_agent.setMessageSink(&m_prompts);
}

void ProjectCommands::setModified(bool modified)
{
    m_modified = modified;
    m_events.modifiedChanged(modified);
}

// Yes saves and goes on even when the save dialog is cancelled: the changes are dropped.
bool ProjectCommands::askToSave()
{
    if (!m_modified)
        return true;
    switch (m_prompts.askYesNoCancel("Save changes to files?")) {
    case UserPrompts::Answer::cancel:
        return false;
    case UserPrompts::Answer::yes:
        save();
        return true;
    case UserPrompts::Answer::no:
        return true;
    }
    return true;
}

void ProjectCommands::resetTree()
{
    m_events.treeRebuilding(true);
    const DesignTree::Node root = m_tree.root();
    for (int n = m_tree.childCount(root); n > 0; --n)
        m_tree.deleteNode(m_tree.child(root, n - 1));
    m_events.treeRebuilding(false);
    m_events.treeReset();
}

void ProjectCommands::newProject()
{
    if (!askToSave())
        return;
    m_agent.ClearPreview();
    m_currentItemNode = nullptr;
    m_currentFileName.clear();
    resetTree();
    m_agent.SetDefaults();
    m_pages.showApplet(m_agent.GetAppletData());
    setModified(false);
}

std::optional<LoadResult> ProjectCommands::openProjectFile(const std::string &fileName)
{
    if (fileName.empty() || !askToSave())
        return std::nullopt;
    m_agent.ClearPreview();
    return openChosen(fileName);
}

void ProjectCommands::open()
{
    if (!askToSave())
        return;
    m_agent.ClearPreview();
    if (const std::optional<std::string> chosen = m_prompts.chooseFileToOpen(projectFilter))
        openChosen(*chosen);
}

// A load that fails leaves tree and list showing the project that was open; only a file
// that held a project becomes the current one and goes to the recent files.
LoadResult ProjectCommands::openChosen(const std::string &fileName)
{
    m_currentItemNode = nullptr;
    resetTree();
    m_events.treeRebuilding(true);
    LoadResult result;
    try {
        result = m_agent.LoadFromFile(fileName, m_tree);
    } catch (...) {
        m_events.treeRebuilding(false);
        throw;
    }
    const bool adopted = result != LoadResult::Refused && result != LoadResult::NoProject;
    if (adopted)
        m_events.projectOpened(fileName);
    m_events.treeRebuilding(false);
    m_pages.showApplet(m_agent.GetAppletData());
    if (adopted) {
        m_currentFileName = fileName;
        m_agent.CopyResourceFiles(folderAndName(fileName).first);
    }
    m_events.treeReset();
    setModified(false);
    return result;
}

void ProjectCommands::saveAndPublish(const std::string &path)
{
    std::optional<ProjectLock> lock;
    if (m_lockPatience)
        lock.emplace(path, *m_lockPatience);
    const auto [folder, name] = folderAndName(path);
    m_agent.SaveAndPublish(folder, name, m_tree);
}

bool ProjectCommands::save()
{
    storePages();
    if (m_currentFileName.empty())
        return saveWithDialog();
    saveAndPublish(m_currentFileName);
    setModified(false);
    return true;
}

bool ProjectCommands::saveWithDialog()
{
    const std::optional<std::string> chosen =
        m_prompts.chooseFileToSave(projectFilter, m_saveDialogFolder);
    if (!chosen)
        return false;
    saveAndPublish(*chosen);
    setModified(false);
    m_currentFileName = *chosen;
    return true;
}

bool ProjectCommands::saveAs()
{
    storePages();
    return saveWithDialog();
}

bool ProjectCommands::saveAsTemplate()
{
    std::error_code ignored;
    fs::create_directory(m_templatesFolder, ignored);
    // It stays the dialog's folder for the later saves of this run.
    m_saveDialogFolder = m_templatesFolder.string();
    return saveAs();
}

void ProjectCommands::saveAsPath(const std::string &path)
{
    storePages();
    saveAndPublish(path);
    setModified(false);
    m_currentFileName = path;
}

void ProjectCommands::openFromCommandLine(const std::vector<std::string> &arguments)
{
    std::string text;
    for (const std::string &argument : arguments)
        text += argument + " ";
    text = trimmed(text);
    if (text.empty())
        return;
    setModified(false);
    try {
        openProjectFile(text);
    } catch (...) {
        // A start with a file that cannot be opened starts with the new project.
    }
}

// The preview folder is cleared only when the window really closes: a window that stays
// open still needs the kept slides in it for its next save.
bool ProjectCommands::closeQuery()
{
    bool closes = true;
    if (m_modified) {
        switch (m_prompts.askYesNoCancel("Save changes to files before Exit?")) {
        case UserPrompts::Answer::cancel:
            return false;
        case UserPrompts::Answer::no:
            break;
        case UserPrompts::Answer::yes:
            closes = save();
            break;
        }
    }
    if (closes)
        m_agent.ClearPreview();
    return closes;
}
