// The file commands and the close query.

#include "ProjectCommands.h"

#include "OtherShow.h"
#include "PageStore.h"
#include "TextUtil.h"
#include "platform/FileIO.h"
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

ProjectCommands::ProjectCommands(TzybAppletAgent &agent, ShowGenerator &generator, DesignTree &tree,
                                 PropertyPages &pages, UserPrompts &prompts, ProjectEvents &events,
                                 fs::path templatesFolder)
    : m_agent(agent), m_generator(generator), m_tree(tree), m_pages(pages), m_prompts(prompts),
      m_events(events), m_templatesFolder(std::move(templatesFolder))
{
    // A file of another kind is reported by the load itself.
    m_agent.setMessageSink(&m_prompts);
    // What the pages hold now is what they were filled with: only later edits are changes.
    m_shownApplet = m_pages.appletPages();
}

void ProjectCommands::setModified(bool modified)
{
    if (modified)
        m_history.forgetClean();
    else
        m_history.markClean();
    m_events.modifiedChanged(this->modified());
}

void ProjectCommands::clearHistory()
{
    m_history.clear();
    m_selectAfter = nullptr;
    m_events.modifiedChanged(false);
    m_events.historyChanged();
}

// Yes followed by a cancelled save dialog keeps the project and ends the command, as the
// close query does: going on would drop the work the user just asked to save.
bool ProjectCommands::askToSave()
{
    commitPages();
    if (!modified())
        return true;
    switch (m_prompts.askYesNoCancel("Save changes to files?")) {
    case UserPrompts::Answer::cancel:
        return false;
    case UserPrompts::Answer::yes:
        return save();
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
    m_diskStamp = {};
    resetTree();
    m_agent.SetDefaults();
    showPages();
    clearHistory();
}

std::optional<LoadResult> ProjectCommands::openProjectFile(const std::string &fileName)
{
    if (fileName.empty() || !askToSave())
        return std::nullopt;
    m_agent.ClearPreview();
    return openChosen(fileName);
}

std::optional<LoadResult> ProjectCommands::openTemplate(const std::string &fileName)
{
    if (fileName.empty() || !askToSave())
        return std::nullopt;
    m_agent.ClearPreview();
    const std::string previous = m_currentFileName;
    const FileStamp previousStamp = m_diskStamp;
    const LoadResult result = openChosen(fileName, false);
    if (result == LoadResult::Refused || result == LoadResult::NoProject) {
        m_currentFileName = previous;
        m_diskStamp = previousStamp;
    } else {
        m_currentFileName.clear();
        m_diskStamp = {};
    }
    return result;
}

void ProjectCommands::open()
{
    if (!askToSave())
        return;
    m_agent.ClearPreview();
    if (const std::optional<std::string> chosen =
            m_prompts.chooseFileToOpen(projectFilter, dialogFolder()))
        openChosen(*chosen);
}

// A load that fails leaves tree and list showing the project that was open; only a file
// that held a project becomes the current one and goes to the recent files. A file that
// holds no project says so.
LoadResult ProjectCommands::openChosen(const std::string &fileName, bool remember)
{
    m_currentItemNode = nullptr;
    const FileStamp stamp = FileStamp::of(fileName);
    m_events.treeRebuilding(true);
    LoadResult result;
    try {
        result = m_agent.LoadFromFile(fileName, m_tree);
    } catch (...) {
        m_events.treeRebuilding(false);
        m_events.treeReset();
        throw;
    }
    const bool adopted = result != LoadResult::Refused && result != LoadResult::NoProject;
    if (adopted && remember)
        m_events.projectOpened(fileName);
    m_events.treeRebuilding(false);
    showPages();
    if (adopted) {
        m_currentFileName = fileName;
        m_diskStamp = stamp;
        m_agent.CopyResourceFiles(folderAndName(fileName).first);
        clearHistory();
    }
    m_events.treeReset();
    if (result == LoadResult::NoProject)
        m_prompts.showError("\"" + fileName + "\" holds no Velloria project; nothing was opened.");
    return result;
}

std::string ProjectCommands::projectFileOf(const std::string &path)
{
    const auto [folder, name] = folderAndName(path);
    return folder + TzybAppletAgent::projectFileName(name);
}

// Another project's show in the folder would be replaced by this one: the user decides,
// before anything is written.
bool ProjectCommands::mayPublishBeside(const std::string &path)
{
    const auto [folder, name] = folderAndName(path);
    const std::optional<std::string> other = otherShowIn(folder, name, m_agent.GetAppletData());
    return !other ||
           m_prompts.askToReplace(*other + "\n\nReplace that show with this one? Cancel saves "
                                           "nothing; a folder of its own keeps both shows.");
}

// The lock is the one of the file written, which velloria-cli takes for the same project.
void ProjectCommands::saveAndPublish(const std::string &path)
{
    const std::string written = projectFileOf(path);
    fileio::refuseReadOnly(written);
    std::optional<ProjectLock> lock;
    if (m_lockPatience)
        lock.emplace(written, *m_lockPatience);
    const auto [folder, name] = folderAndName(path);
    m_generator.SaveAndPublish(folder, name, m_tree);
    m_diskStamp = FileStamp::of(written);
    m_events.projectSaved(written);
}

bool ProjectCommands::save()
{
    storePages();
    if (m_currentFileName.empty())
        return saveWithDialog();
    bool reloaded = false;
    if (!checkDiskBeforeSave(reloaded))
        return false;
    if (reloaded)
        return true;
    if (!mayPublishBeside(m_currentFileName))
        return false;
    saveAndPublish(m_currentFileName);
    setModified(false);
    return true;
}

// Another program (velloria-cli, a second editor) may have written the project since this
// one read or wrote it: overwriting it silently would lose that work.
bool ProjectCommands::checkDiskBeforeSave(bool &reloaded)
{
    const std::string written = projectFileOf(m_currentFileName);
    const FileStamp now = FileStamp::of(written);
    if (!now.exists || !m_diskStamp.exists || now == m_diskStamp)
        return true;
    switch (m_prompts.askReloadOverwriteCancel(
        "\"" + written +
        "\" was changed by another program since it was opened or saved here.\n\n"
        "Reload it and lose the changes made here, overwrite it with this window's project, or "
        "cancel and save nothing?")) {
    case UserPrompts::Answer::yes: {
        const std::string file = m_currentFileName;
        m_agent.ClearPreview();
        openChosen(file, false);
        reloaded = true;
        return true;
    }
    case UserPrompts::Answer::no:
        return true;
    case UserPrompts::Answer::cancel:
        break;
    }
    return false;
}

bool ProjectCommands::mayReplace(const std::string &path)
{
    const std::string written = projectFileOf(path);
    std::error_code ignored;
    if (!fs::exists(written, ignored) ||
        (!m_currentFileName.empty() && projectFileOf(m_currentFileName) == written))
        return true;
    return m_prompts.askYesNo("\"" + written +
                              "\" already exists. Do you want to replace it with this project?");
}

std::string ProjectCommands::projectFolder() const
{
    if (m_currentFileName.empty())
        return {};
    return fs::absolute(m_currentFileName).parent_path().string();
}

// Where the project is: its pictures and its other versions are usually beside it.
std::string ProjectCommands::dialogFolder() const
{
    const std::string folder = projectFolder();
    return folder.empty() ? m_saveDialogFolder : folder;
}

// A project saved under a new name is one the user will want again, as one opened.
bool ProjectCommands::saveWithDialog()
{
    const std::optional<std::string> chosen =
        m_prompts.chooseFileToSave(projectFilter, dialogFolder());
    if (!chosen || !mayReplace(*chosen) || !mayPublishBeside(*chosen))
        return false;
    saveAndPublish(*chosen);
    setModified(false);
    m_currentFileName = *chosen;
    m_events.projectOpened(projectFileOf(*chosen));
    return true;
}

bool ProjectCommands::saveAs()
{
    storePages();
    return saveWithDialog();
}

// A template is a project file only: no site is published into the templates folder, and
// the show stays the project it was, so a later Save never writes into a template.
bool ProjectCommands::saveAsTemplate()
{
    std::error_code ignored;
    fs::create_directory(m_templatesFolder, ignored);
    // It stays the dialog's folder for the later saves of this run.
    m_saveDialogFolder = m_templatesFolder.string();
    storePages();
    const std::optional<std::string> chosen =
        m_prompts.chooseFileToSave(projectFilter, m_saveDialogFolder);
    if (!chosen || !mayReplace(*chosen))
        return false;
    const std::string written = projectFileOf(*chosen);
    std::optional<ProjectLock> lock;
    if (m_lockPatience)
        lock.emplace(written, *m_lockPatience);
    m_agent.UpdateLevelsFromTree(m_tree);
    m_agent.SaveToFile(written);
    return true;
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
    commitPages();
    bool closes = true;
    if (modified()) {
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
