#pragma once

// The editor's project commands without a window: New, Open, Save, Save As, Save As
// Template, the item commands with undo and redo, the close query, and the outputs of Build
// HTML, Publish and Preview. It keeps what the main window keeps of the project (the current
// file, the history that says whether it is modified, the item whose page is shown) and
// asks its questions through UserPrompts, so the editor's handlers stay one call each and
// the command-line tool runs the same sequences.
//
// Every change of the project is one step of the history, made on the core's tree and list
// together; a window only shows the result and selects the node the step names.

#include "DesignTree.h"
#include "EditHistory.h"
#include "PropertyPages.h"
#include "ShowGenerator.h"
#include "TzybAppletAgent.h"
#include "UserPrompts.h"
#include "platform/FileStamp.h"

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
    // A project was opened, or saved under a name chosen in the dialog: it goes to the top
    // of the recent files.
    virtual void projectOpened(const std::string & /*fileName*/) {}
    // The tree was cleared to its root, which is now to be selected.
    virtual void treeReset() {}
    // A step was made, undone or redone: the Edit menu's captions change.
    virtual void historyChanged() {}
    // A save wrote the project file and published the show beside it.
    virtual void projectSaved(const std::string & /*projectFile*/) {}
};

class ProjectCommands
{
public:
    static constexpr const char *projectFilter = "Velloria Files (*.jfs)|*.jfs";

    // The generator makes the outputs of the project the agent holds.
    ProjectCommands(TzybAppletAgent &agent, ShowGenerator &generator, DesignTree &tree,
                    PropertyPages &pages, UserPrompts &prompts, ProjectEvents &events,
                    std::filesystem::path templatesFolder);

    // Changed since the last save or open: the history is away from the saved state.
    bool modified() const { return !m_history.isClean(); }
    // False marks the state now as the saved one; true as one the history cannot reach.
    void setModified(bool modified);
    const std::string &currentFileName() const { return m_currentFileName; }
    DesignTree::Node currentItemNode() const { return m_currentItemNode; }
    // The folder of the current file; empty for an untitled project.
    std::string projectFolder() const;

    // File commands.
    void newProject();
    // Nothing when the user cancelled or the name is empty. A file of another kind or
    // without a project leaves the open project as it was.
    std::optional<LoadResult> openProjectFile(const std::string &fileName);
    void open();
    // A template opens as an untitled copy: the next Save asks for a name, and the template
    // never goes to the recent files.
    std::optional<LoadResult> openTemplate(const std::string &fileName);
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

    // Item commands, on the selected node; each is one step of the history.
    void insertItem(DesignTree::Node selected);
    void deleteItem(DesignTree::Node selected);
    void moveUp(DesignTree::Node selected);
    void moveDown(DesignTree::Node selected);
    // A dragged node dropped as the child at `position` of parent (counted as the children
    // stand before the drag). False when the tree refuses the place: into its own subtree.
    bool moveItem(DesignTree::Node node, DesignTree::Node parent, int position);
    // New items under parent, one per picture, in the order given: one step. A folder gives
    // its JPEG files sorted by name. `values` gives the other fields of each new item (a new
    // item's by default). A file that cannot become a slide is refused with ProjectValueError
    // naming it and saying why, and then nothing is added.
    void addPictures(DesignTree::Node parent, const std::vector<std::string> &chosen,
                     std::optional<TItemData> values = std::nullopt);
    // The tree's selection moved: the page of the item left is stored, the new item's shown.
    void selectionChanged(DesignTree::Node selected);

    void undo();
    void redo();
    const EditHistory &history() const { return m_history; }
    // The node the last step, undo or redo names for the selection; nullptr: keep it.
    DesignTree::Node selectionAfterEdit() const { return m_selectAfter; }

    // Values the user changed on the pages since they were shown become one step of the
    // history; the fields not changed stay exactly as they were read. False when nothing
    // changed.
    bool commitPages();
    // The pages hold a change not yet committed, as while a field is being typed in.
    bool pagesChanged() const;
    // Fills the pages from the project.
    void showPages();
    // The pages into the project, as every save and build does first: the changes become a
    // step and the element id and the array name are derived from the name.
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
    // Assembles the preview again and tells the open preview page to reload itself (the
    // page polls a stamp file beside it); nothing without an item to show.
    void refreshPreview();
    // The page of the last build, as the HTML code window shows it.
    const std::string &lastHtmlText() const { return m_htmlText; }
    // The file a save writes for the path chosen ("demo" writes demo.jfs).
    static std::string projectFileOf(const std::string &path);

private:
    // False when the user cancelled, also the save dialog after Yes.
    bool askToSave();
    // Makes the edit a step of the history and notes what it selects.
    void perform(std::unique_ptr<class ProjectEdit> edit);
    // A tree edit is near: the page shown is committed and let go, since its node may go.
    void leaveItemPage();
    void historyMoved();
    // Undo or redo: the page is committed first, so an edit being typed is what goes back.
    void travel(bool (EditHistory::*can)() const,
                DesignTree::Node (EditHistory::*step)(EditTarget &));
    void clearHistory();
    void writePreviewStamp();
    // False when the user chose not to replace an existing project.
    bool mayReplace(const std::string &path);
    // False when the folder holds another project's show and the user chose not to replace it.
    bool mayPublishBeside(const std::string &path);
    // False when the project on disk changed since it was read or written here and the user
    // cancelled; reloads it when the user chose so.
    bool checkDiskBeforeSave(bool &reloaded);
    void resetTree();
    LoadResult openChosen(const std::string &fileName, bool remember = true);
    bool isWithin(DesignTree::Node node, DesignTree::Node subtree) const;
    bool saveWithDialog();
    // Where the open and save dialogs start.
    std::string dialogFolder() const;
    void saveAndPublish(const std::string &path);
    int itemIndexOf(DesignTree::Node node) const;
    // The chosen files with each folder replaced by its pictures, all of them checked.
    std::vector<std::string> checkedPictures(const std::vector<std::string> &chosen);

    TzybAppletAgent &m_agent;
    ShowGenerator &m_generator;
    DesignTree &m_tree;
    PropertyPages &m_pages;
    UserPrompts &m_prompts;
    ProjectEvents &m_events;
    std::filesystem::path m_templatesFolder;
    std::string m_saveDialogFolder;
    std::string m_currentFileName;
    std::string m_htmlText;
    int m_previewStamp = 0;
    DesignTree::Node m_currentItemNode = nullptr;
    DesignTree::Node m_selectAfter = nullptr;
    EditHistory m_history;
    // The pages as they stood right after they were filled: a field that still reads so was
    // not changed by the user, whatever the project holds.
    TAppletData m_shownApplet;
    ItemPage m_shownItem;
    // The project file as this program last read or wrote it.
    FileStamp m_diskStamp;
    std::optional<std::chrono::milliseconds> m_lockPatience;
};
