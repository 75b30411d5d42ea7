#pragma once

// The main window: the design tree on the left, the property pages on the right, menus,
// tool bar, hint line and progress bar. Its handlers are thin: the project commands do
// the work, and every question goes through EditorPrompts.

#include "DesignTreeView.h"
#include "EditorProject.h"
#include "EditorPrompts.h"
#include "PictureLoader.h"
#include "WindowPlacement.h"
#include "WindowProgress.h"
#include "model/PropertyPages.h"
#include "platform/AppFolders.h"
#include "platform/Launcher.h"
#include "platform/RecentFiles.h"
#include "platform/SettingsStore.h"

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>

namespace Ui {
class TMainForm;
}
class QDropEvent;
class QUrl;
class QTreeWidgetItem;
class QKeyEvent;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QToolButton;
class QTimer;
class PageControls;
class TfrmHelp;

class TMainForm : public QMainWindow, private PropertyPages, private ProjectEvents
{
    Q_OBJECT
public:
    TMainForm(EditorPrompts &prompts, SettingsStore &settings, Launcher &launcher,
              const AppFolders &folders, EditorProject &project, QWidget *parent = nullptr);
    ~TMainForm() override;

    Ui::TMainForm &ui() { return *m_ui; }
    ProjectCommands &commands() { return *m_commands; }
    TzybAppletAgent &agent() { return m_agent; }
    TfrmHelp &helpWindow() { return *m_help; }
    QLabel &hintLine() { return *m_hint; }
    QProgressBar &progressBar() { return *m_bar; }
    QMenu &popupMenu() { return *m_popup; }
    QAction &undoAction() { return *m_undo; }
    QAction &redoAction() { return *m_redo; }
    InMemoryDesignTree &designTree() { return m_designTree; }
    DesignTreeView &treeView() { return *m_view; }
    PictureLoader &pictures() { return m_pictures; }

    // The handlers, named as the menus and buttons know them.
    void New1Click();
    void Open1Click();
    void Save1Click();
    void Save2Click();
    void SaveAsTemplate1Click();
    void Exit1Click();
    void RecentFileClick(const QString &caption);
    void Insert1Click();
    void Delete1Click();
    void MoveUp1Click();
    void MoveDown1Click();
    // Chosen JPEG pictures, or a folder's, become items under the selected node: one step.
    void AddPictures1Click();
    void AddPictureFolder1Click();
    void Undo1Click();
    void Redo1Click();
    void BuildHTML1Click();
    void Publish1Click();
    void ToolBar1Click();
    void Homepage1Click();
    void ContactUs1Click();
    void About1Click();
    void WebBrowser1Click();
    void Templet1Click();
    void Topic1Click();
    void ViewSample1Click();
    void SpeedButton1Click(int tag);
    void Preview1Click();
    // Where the browser choice looks for browsers; tests give folders of their own.
    void setProgramFolders(std::vector<std::filesystem::path> folders)
    {
        m_programFolders = std::move(folders);
    }
    void StatusBar2Click();
    void trvwDesignPanelChange();
    // A value was typed: Save follows whether the project or the pages differ from the file.
    void spnedtApWidthChange();
    // A field's edit is done: the pages' changes become a step of the history.
    void pageEditFinished();
    void pnlApBgClrClick(QPushButton *panel);
    void spdbtnItURLClick();
    void spdbtnItemImageNormalClick();
    void LoadRecentFilesMenu();
    void UpdateItemCommands();
    void UpdatePageTabs();
    // Files dropped on the tree: pictures become items in the order dropped, as Insert makes
    // them; a project is opened.
    void dropFiles(const QList<QUrl> &urls);
    // A node dragged within the tree and dropped at `at` (viewport coordinates): onto an item
    // it becomes its last child, on an item's upper or lower edge its sibling before or
    // after. One step; a place in its own subtree is refused.
    void dropTreeNode(QTreeWidgetItem *dragged, const QPoint &at);
    // The command-line open of the start.
    void openFromCommandLine(const QStringList &arguments);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // PropertyPages
    TAppletData appletPages() const override;
    void showApplet(const TAppletData &data) override;
    ItemPage itemPage() const override;
    void showItem(const ItemPage &page) override;
    // ProjectEvents
    void modifiedChanged(bool modified) override;
    void treeRebuilding(bool rebuilding) override;
    void projectOpened(const std::string &fileName) override;
    void treeReset() override;
    void historyChanged() override;
    void projectSaved(const std::string &projectFile) override;
    // "harbour.jfs* - Velloria": the project's file and whether it has unsaved changes.
    void updateTitle();
    // A web address with the desktop's browser; a message when none can be started.
    void openAddress(const std::string &address);
    // While a preview is open in the browser, each step of the project reaches it.
    void setUpLivePreview();
    void refreshPreview();

    void setUpStatusBar();
    void setUpPopupMenu();
    void setUpIcons();
    void setUpHelpButtons();
    void placeHelpButton(QWidget *group);
    QRect helpButtonPlace(QWidget *group) const;
    void connectMenus();
    void connectPages();
    void watchHints();
    void watchTypedText();
    void checkName(const QString &text);
    void setUpTree();
    void setUpEditMenu();
    // Runs a command that edits the tree, then selects the node it names and shows its page:
    // the tree's own selection changes while the command runs are not the user's.
    void runEdit(const std::function<void()> &command);
    void selectNode(DesignTree::Node node);
    bool treeKeyPressed(QKeyEvent *key);
    void addChosenPictures(DesignTree::Node parent, const std::vector<std::string> &chosen);
    void rememberPicturesFolder(const std::string &chosen);
    // Where the picture choosers start: the folder last used, else the project's, else home.
    std::string picturesFolder() const;

    // Runs a handler's work; an error ends it with an error box.
    bool run(const std::function<void()> &work);
    DesignTree::Node selectedNode() const;
    void setPanelColour(QPushButton *panel, const QColor &colour);
    void setUpPictures();
    // The item page's picture of path, made off the window's thread; shown when it is ready.
    void showItemPicture(const QString &path);

    std::unique_ptr<Ui::TMainForm> m_ui;
    std::unique_ptr<PageControls> m_pageControls;
    EditorPrompts &m_prompts;
    SettingsStore &m_settings;
    Launcher &m_launcher;
    AppFolders m_folders;
    RecentFiles m_recent;
    QLabel *m_hint = nullptr;
    QProgressBar *m_bar = nullptr;
    QMenu *m_popup = nullptr;
    std::unique_ptr<WindowProgress> m_progress;
    std::unique_ptr<WindowPlacement> m_placement;
    QTimer *m_previewRefresh = nullptr;
    bool m_previewShown = false;
    // The slide cache is trimmed when the window closes.
    EditorProject &m_project;
    TzybAppletAgent &m_agent;
    InMemoryDesignTree &m_designTree;
    PictureLoader m_pictures;
    std::unique_ptr<DesignTreeView> m_view;
    ProjectCommands *m_commands = nullptr;
    TfrmHelp *m_help = nullptr;
    bool m_treeRebuilding = false;
    bool m_showingPages = false; // the pages are filled from the project, not typed in
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    int m_lastTabsIndex = 0;
    QString m_lastGoodName;
    QString m_shownPicture; // the path whose picture the item page shows
    std::vector<std::filesystem::path> m_programFolders;
    std::vector<QToolButton *> m_helpButtons;
    std::map<QWidget *, QWidget *> m_hinted; // part under the mouse -> its control
};
