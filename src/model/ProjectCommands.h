#pragma once

// The editor's project commands without a window: New, Open, Save, Save As, Save As
// Template, the item commands, the close query, and the outputs of Build HTML, Publish and
// Preview. It keeps what the main window keeps of the project (the current file, the
// modified flag, the item whose page is shown) and asks its questions through UserPrompts,
// so the editor's handlers stay one call each and the command-line tool runs the same
// sequences.

#include "DesignTree.h"
#include "PropertyPages.h"
#include "TzybAppletAgent.h"
#include "UserPrompts.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// What the window shows of the commands' state. Every method may be left as it is.
class ProjectEvents
{
public:
    virtual ~ProjectEvents() = default;
    // Save is enabled exactly while the project is modified.
    virtual void modifiedChanged(bool /*modified*/) {}
    // While set, the window's tree handlers do nothing.
    virtual void treeRebuilding(bool /*rebuilding*/) {}
    // A project was opened: it goes to the top of the recent files.
    virtual void projectOpened(const std::string & /*fileName*/) {}
    // The tree was cleared to its root, which is now to be selected.
    virtual void treeReset() {}
};

class ProjectCommands
{
public:
    static constexpr const char *projectFilter = "Velloria Files (*.jfs)|*.jfs";

    ProjectCommands(TzybAppletAgent &agent, DesignTree &tree, PropertyPages &pages,
                    UserPrompts &prompts, ProjectEvents &events,
                    std::filesystem::path templatesFolder);

    bool modified() const { return m_modified; }
    void setModified(bool modified);
    const std::string &currentFileName() const { return m_currentFileName; }
    DesignTree::Node currentItemNode() const { return m_currentItemNode; }

    // File commands.
    void newProject();
    // Nothing when the user cancelled or the name is empty. A file of another kind or
    // without a project leaves the open project as it was.
    std::optional<LoadResult> openProjectFile(const std::string &fileName);
    void open();
    // False when the user cancelled the file dialog.
    bool save();
    bool saveAs();
    bool saveAsTemplate();
    // Save As without a dialog, to a path chosen elsewhere.
    void saveAsPath(const std::string &path);
    // The parameters the program was started with, joined with blanks: a path with blanks
    // arrives as several. Errors are dropped.
    void openFromCommandLine(const std::vector<std::string> &arguments);
    // Saves then take the project file's lock, waiting up to `patience` for a command that
    // holds it, so an editor and velloria-cli never write one site at the same time. Off
    // by default: the command-line tool holds the lock for its whole command.
    void lockProjectWhileSaving(std::chrono::milliseconds patience) { m_lockPatience = patience; }
    // True when the window may close.
    bool closeQuery();

    // Item commands, on the selected node.
    void insertItem(DesignTree::Node selected);
    void deleteItem(DesignTree::Node selected);
    void moveUp(DesignTree::Node selected);
    void moveDown(DesignTree::Node selected);
    // The tree's selection moved: the page of the item left is stored, the new item's shown.
    void selectionChanged(DesignTree::Node selected);

    // The pages into the project, as every save and build does first.
    void storePages();

    // Outputs. The page's text for the HTML code window, or nothing after telling the user
    // that there is no item to build.
    std::optional<std::string> buildHtmlText();
    // The publish report, which also lands in the preview folder.
    std::string publishReport();
    // Assembles page, scripts and slides in the preview folder and gives the page's path.
    // With no item to build it goes on with the page of the last build, as the HTML code
    // window still shows it.
    std::filesystem::path assemblePreview();
    // The page of the last build, as the HTML code window shows it.
    const std::string &lastHtmlText() const { return m_htmlText; }

private:
    // False when the user cancelled.
    bool askToSave();
    void resetTree();
    LoadResult openChosen(const std::string &fileName);
    void storeItemPage(DesignTree::Node node);
    bool isWithin(DesignTree::Node node, DesignTree::Node subtree) const;
    bool saveWithDialog();
    void saveAndPublish(const std::string &path);
    int itemIndexOf(DesignTree::Node node) const;

    TzybAppletAgent &m_agent;
    DesignTree &m_tree;
    PropertyPages &m_pages;
    UserPrompts &m_prompts;
    ProjectEvents &m_events;
    std::filesystem::path m_templatesFolder;
    std::string m_saveDialogFolder;
    std::string m_currentFileName;
    std::string m_htmlText;
    DesignTree::Node m_currentItemNode = nullptr;
    bool m_modified = false;
    std::optional<std::chrono::milliseconds> m_lockPatience;
};
