// The main window's creation, pages, events and the hint line.

#include "TMainForm.h"

#include "PageControls.h"
#include "QtText.h"
#include "TfrmHelp.h"
#include "generate/ValueFormatting.h"
#include "model/DecimalText.h"
#include "platform/BrowserChoice.h"
#include "platform/ProductInfo.h"
#include "ui_TMainForm.h"

#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <set>

TMainForm::TMainForm(EditorPrompts &prompts, SettingsStore &settings, Launcher &launcher,
                     const AppFolders &folders, EditorProject &project, QWidget *parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::TMainForm>()), m_prompts(prompts),
      m_settings(settings), m_launcher(launcher), m_folders(folders),
      m_recent(folders.recentFiles()), m_project(project), m_agent(project.agent),
      m_designTree(project.tree)
{
    m_ui->setupUi(this);
    m_pageControls = std::make_unique<PageControls>(*this);
    setUpStatusBar();
    setUpPopupMenu();
    setUpIcons();
    m_progress = std::make_unique<WindowProgress>(*m_hint, *m_bar);
    m_agent.setProgressDisplay(m_progress.get());
    m_ui->trvwDesignPanel->clear();
    m_view = std::make_unique<DesignTreeView>(*m_ui->trvwDesignPanel, m_designTree);
    setUpPictures();
    PropertyPages &pages = *this;
    ProjectEvents &events = *this;
    m_commands = &m_project.commandsFor(pages, m_prompts, events);
    m_help = new TfrmHelp(m_launcher, m_prompts, m_folders.help() / "index.html", this);
    setUpHelpButtons();
    m_programFolders = browserchoice::standardProgramFolders();
    m_ui->Splitter1->setSizes({337, 433});
    m_placement = std::make_unique<WindowPlacement>(*this, *m_ui->Splitter1, *m_ui->StatusBar1);
    m_placement->restore(m_settings);
    m_ui->StatusBar2->setChecked(!m_ui->StatusBar1->isHidden());
    m_ui->trvwDesignPanel->setCurrentItem(m_view->rootItem());
    m_agent.SetDefaults();
    m_commands->showPages();
    setUpEditMenu();
    setUpLivePreview();
    connectMenus();
    connectPages();
    watchHints();
    watchTypedText();
    setUpTree();
    LoadRecentFilesMenu();
    m_commands->setModified(false);
    m_lastTabsIndex = -2009;
    UpdatePageTabs();
    UpdateItemCommands();
}

TMainForm::~TMainForm()
{
    // The widgets go after the window's members: a field losing its focus then must not
    // reach the pages and the commands, which are gone by that time.
    for (QWidget *widget : findChildren<QWidget *>())
        widget->blockSignals(true);
    m_agent.setProgressDisplay(nullptr);
    // The items go leaf by leaf before the widget, whose own clean-up would recurse.
    m_view.reset();
}

void TMainForm::setUpStatusBar()
{
    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("stctxtHint"));
    m_hint->setMinimumWidth(338);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("prgrsbrMainFormBottom"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_ui->StatusBar1->addWidget(m_hint, 1);
    m_ui->StatusBar1->addPermanentWidget(m_bar);
}

bool TMainForm::run(const std::function<void()> &work)
{
    try {
        work();
        return true;
    } catch (const std::exception &e) {
        m_prompts.showError(e.what());
        return false;
    }
}

// The pages.

TAppletData TMainForm::appletPages() const
{
    // A number being typed counts, as when Save is pressed with the field still focused.
    return m_pageControls->read(m_agent.GetAppletData());
}

void TMainForm::showApplet(const TAppletData &d)
{
    const QScopedValueRollback showing(m_showingPages, true);
    m_pageControls->show(d);
    // A refused name goes back to the show's own name, not to the one of the start.
    m_lastGoodName = m_ui->edt_pSliderName->text();
}

ItemPage TMainForm::itemPage() const
{
    return {toBytes(m_ui->edtOriginalImagePath->text()), toBytes(m_ui->cmbx_ILink->currentText()),
            toBytes(m_ui->cmbx_ITarget->currentText()), toBytes(m_ui->edt_IToolTip->text())};
}

void TMainForm::showItem(const ItemPage &page)
{
    const QScopedValueRollback showing(m_showingPages, true);
    m_ui->edtOriginalImagePath->setText(toQString(page.originalImagePath));
    m_ui->cmbx_ILink->setCurrentText(toQStringFromStored(page.link));
    m_ui->cmbx_ITarget->setCurrentText(toQStringFromStored(page.target));
    m_ui->edt_IToolTip->setText(toQStringFromStored(page.toolTip));
    showItemPicture(toQString(page.originalImagePath));
}

void TMainForm::setPanelColour(QPushButton *panel, const QColor &colour)
{
    PageControls::showColour(*panel, colour);
}

// Events of the commands.

void TMainForm::modifiedChanged(bool modified)
{
    m_ui->Save1->setEnabled(modified);
    updateTitle();
}

void TMainForm::updateTitle()
{
    const std::string &file = m_commands->currentFileName();
    QString name = QStringLiteral("Untitled");
    if (!file.empty()) {
        const std::filesystem::path written = ProjectCommands::projectFileOf(file);
        name = toQString(written.filename().string());
        setWindowFilePath(toQString(std::filesystem::absolute(written).string()));
    } else {
        setWindowFilePath(QString());
    }
    setWindowTitle(name + QStringLiteral("[*] - Velloria"));
    setWindowModified(m_commands->modified());
}

// "Saved harbour.jfs and published 8 slides to ~/site".
void TMainForm::projectSaved(const std::string &projectFile)
{
    std::set<std::string> slides;
    for (const TItemData &item : m_agent.items())
        if (!item.IImageFileName.empty())
            slides.insert(item.IImageFileName);
    const std::filesystem::path file = std::filesystem::absolute(projectFile);
    QString folder = toQString(file.parent_path().string());
    const QString home = QDir::homePath();
    if (folder == home || folder.startsWith(home + QLatin1Char('/')))
        folder.replace(0, home.size(), QStringLiteral("~"));
    m_hint->setText(QStringLiteral("Saved %1 and published %2 slide%3 to %4")
                        .arg(toQString(file.filename().string()))
                        .arg(slides.size())
                        .arg(slides.size() == 1 ? QString() : QStringLiteral("s"), folder));
}

void TMainForm::historyChanged()
{
    const EditHistory &history = m_commands->history();
    const QString undoName = toQString(history.undoName());
    const QString redoName = toQString(history.redoName());
    m_undo->setText(undoName.isEmpty() ? QStringLiteral("&Undo")
                                       : QStringLiteral("&Undo ") + undoName);
    m_redo->setText(redoName.isEmpty() ? QStringLiteral("&Redo")
                                       : QStringLiteral("&Redo ") + redoName);
    m_undo->setEnabled(history.canUndo());
    m_redo->setEnabled(history.canRedo());
    // A step may have changed an item's original, which its row shows. A step can come while
    // the window closes, its view already gone: the pages' last edit is kept then.
    if (m_view)
        m_view->refresh();
    updateTitle();
    if (m_previewShown)
        m_previewRefresh->start();
}

// A load or New builds a whole tree: the view waits and shows it at once.
void TMainForm::treeRebuilding(bool rebuilding)
{
    m_treeRebuilding = rebuilding;
    if (rebuilding) {
        m_view->pause();
    } else {
        m_view->rebuild();
        updateTitle();
    }
}

// The project is open whether or not the list can be kept: the hint line says why it was
// not, rather than a message box at every open.
void TMainForm::projectOpened(const std::string &fileName)
{
    try {
        m_recent.add(fileName);
    } catch (const std::exception &e) {
        m_hint->setText(toQString(e.what()));
    }
    LoadRecentFilesMenu();
}

void TMainForm::treeReset()
{
    QTreeWidgetItem *root = m_view->rootItem();
    root->setExpanded(true);
    {
        const QSignalBlocker quiet(m_ui->trvwDesignPanel);
        m_ui->trvwDesignPanel->setCurrentItem(root);
    }
    UpdatePageTabs();
    UpdateItemCommands();
}

// Every way out runs the close query: the Exit entry, the close button, a logout.
void TMainForm::closeEvent(QCloseEvent *event)
{
    bool closes = false;
    if (!run([&] { closes = m_commands->closeQuery(); }))
        closes = false;
    if (closes) {
        m_placement->save(m_settings);
        m_project.slideCache.trim();
        event->accept();
    } else
        event->ignore();
}

void TMainForm::Exit1Click()
{
    close();
}

void TMainForm::Homepage1Click()
{
    openAddress(std::string(product::homePageUrl));
}

void TMainForm::ContactUs1Click()
{
    openAddress(std::string(product::supportUrl));
}

void TMainForm::openAddress(const std::string &address)
{
    run([&] { browserchoice::openWithDefaultBrowser(m_launcher, address); });
}

void TMainForm::About1Click()
{
    m_prompts.showAbout();
}

void TMainForm::Undo1Click()
{
    runEdit([&] { m_commands->undo(); });
}

void TMainForm::Redo1Click()
{
    runEdit([&] { m_commands->redo(); });
}

void TMainForm::ToolBar1Click()
{
    m_ui->tlbr1->setVisible(m_ui->ToolBar1->isChecked());
}

void TMainForm::StatusBar2Click()
{
    m_ui->StatusBar1->setVisible(m_ui->StatusBar2->isChecked());
}

// The hint line shows the hint of what the mouse is over; only the tree and the tool
// buttons have one.
// The hint line shows the hint of the control under the mouse; of these only the tree and
// the tool buttons have one, and the others clear the line.
void TMainForm::watchHints()
{
    Ui::TMainForm &ui = *m_ui;
    std::vector<QWidget *> watched{ui.tbshtScript,
                                   ui.pnl_pBgColor,
                                   ui.pnl_pContainerBorderColor,
                                   ui.spnedt_pWidth,
                                   ui.spedt_pHeight,
                                   ui.spnedt_pStep,
                                   ui.spnedt_pDelay,
                                   ui.spnedt_pContainerBorderWidth,
                                   ui.grpbx_Link,
                                   ui.spdbtnItURL,
                                   ui.edt_IToolTip,
                                   ui.spdbtnOriginalImagePath,
                                   ui.pnlTreeView,
                                   ui.trvwDesignPanel->viewport()};
    for (QToolButton *button : ui.tlbr1->findChildren<QToolButton *>())
        watched.push_back(button);
    // The mouse moves over a control's inner parts (a spin box's edit, say): they speak for it.
    for (QWidget *owner : watched) {
        std::vector<QWidget *> parts{owner};
        for (QWidget *part : owner->findChildren<QWidget *>())
            parts.push_back(part);
        for (QWidget *part : parts) {
            part->setMouseTracking(true);
            part->installEventFilter(this);
            m_hinted.emplace(part, owner);
        }
    }
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    const bool inTree =
        watched == m_ui->trvwDesignPanel || watched == m_ui->trvwDesignPanel->viewport();
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
        placeHelpButton(qobject_cast<QWidget *>(watched));
    if (inTree && event->type() == QEvent::KeyPress &&
        treeKeyPressed(static_cast<QKeyEvent *>(event)))
        return true;
    if (inTree && (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove)) {
        auto *drag = static_cast<QDropEvent *>(event);
        if (drag->mimeData()->hasUrls() || drag->source() == m_ui->trvwDesignPanel) {
            drag->acceptProposedAction();
            return true;
        }
    }
    // A node dragged in the tree moves by a command. The drop is answered as a copy: a move
    // would have the widget remove the dragged row itself, behind the core's back.
    if (inTree && event->type() == QEvent::Drop &&
        static_cast<QDropEvent *>(event)->source() == m_ui->trvwDesignPanel) {
        auto *drop = static_cast<QDropEvent *>(event);
        const DesignTree::Node dragged = selectedNode();
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        // After the drag has ended: the widget still works on its rows until then.
        const QPoint at = drop->position().toPoint();
        QTimer::singleShot(0, this, [this, dragged, at] {
            if (QTreeWidgetItem *item = m_view->itemOf(dragged))
                dropTreeNode(item, at);
        });
        return true;
    }
    // A press anywhere in the tree renews the item commands for the node then selected.
    if (inTree && event->type() == QEvent::MouseButtonPress && !m_treeRebuilding)
        QTimer::singleShot(0, this, [this] { UpdateItemCommands(); });
    if (inTree && event->type() == QEvent::Drop) {
        auto *drop = static_cast<QDropEvent *>(event);
        dropFiles(drop->mimeData()->urls());
        drop->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::MouseMove && !m_treeRebuilding) {
        const auto found = m_hinted.find(qobject_cast<QWidget *>(watched));
        if (found != m_hinted.end()) {
            QWidget *owner = found->second;
            m_hint->setText(owner == m_ui->trvwDesignPanel->viewport()
                                ? m_ui->trvwDesignPanel->toolTip()
                            : owner->parentWidget() == m_ui->tlbr1 ? owner->toolTip()
                                                                   : QString());
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
