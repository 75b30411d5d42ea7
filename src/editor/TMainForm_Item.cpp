// The design tree, the item commands, the page tabs and the pages' choosers.

#include "QtText.h"
#include "TMainForm.h"
#include "TfrmMsgBox_LinkTip.h"
#include "generate/TextEscaping.h"
#include "model/DecimalText.h"
#include "model/LocalPathToURL.h"
#include "ui_TMainForm.h"

#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <limits>

namespace {

// A tool bar picture of our own, for desktops without an icon theme.
QIcon drawnIcon(const QString &letters, const QColor &colour)
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(colour.darker(140));
    painter.drawRoundedRect(QRectF(2, 2, 28, 28), 6, 6);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(letters.size() > 1 ? 12 : 18);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, letters);
    return QIcon(picture);
}

} // namespace

void TMainForm::setUpIcons()
{
    struct Look
    {
        QAction *action;
        const char *themeName;
        const char *letters;
        QColor colour;
    };
    const Look looks[] = {
        {m_ui->New1, "document-new", "N", QColor(0x3b7dd8)},
        {m_ui->Open1, "document-open", "O", QColor(0xd89b3b)},
        {m_ui->Save1, "document-save", "S", QColor(0x3ba55c)},
        {m_ui->Insert2, "list-add", "+", QColor(0x3ba55c)},
        {m_ui->AddPictures1, "insert-image", "\u25a3", QColor(0x2a9d8f)},
        {m_ui->Delete2, "list-remove", "-", QColor(0xd8453b)},
        {m_ui->MoveUp2, "go-up", "\u2191", QColor(0x6b6bd8)},
        {m_ui->MoveDown2, "go-down", "\u2193", QColor(0x6b6bd8)},
        {m_ui->BuildHTML1, "text-html", "<>", QColor(0x8a5bd8)},
        {m_ui->Preview1, "document-print-preview", "\u25b6", QColor(0x2a9d8f)},
        {m_ui->Topic1, "help-contents", "?", QColor(0x607080)},
    };
    for (const Look &look : looks)
        look.action->setIcon(
            QIcon::fromTheme(QString::fromLatin1(look.themeName),
                             drawnIcon(QString::fromUtf8(look.letters), look.colour)));
    const std::pair<QAction *, const char *> buttons[] = {{m_ui->New1, "tlbtnNew"},
                                                          {m_ui->Open1, "tlbtnOpen"},
                                                          {m_ui->Save1, "tlbtnSave"},
                                                          {m_ui->Insert2, "tlbtnInsert"},
                                                          {m_ui->AddPictures1, "tlbtnAddPictures"},
                                                          {m_ui->Delete2, "tlbtnDelete"},
                                                          {m_ui->MoveUp2, "tlbtnMoveUp"},
                                                          {m_ui->MoveDown2, "tlbtnMoveDown"},
                                                          {m_ui->BuildHTML1, "tlbtnBuildHTML"},
                                                          {m_ui->Preview1, "tlbtnPreview"},
                                                          {m_ui->Topic1, "tlbtnHelp"}};
    const char *hints[] = {"Create a new project",
                           "Open a project from the file that you saved before",
                           "Save the current project to a file",
                           "Insert a new item",
                           "Add JPEG pictures as new items, several at once",
                           "Delete selected item",
                           "Move the selected item up",
                           "Move the selected item down",
                           "Build the HTML code",
                           "preview the applet in web browser",
                           "Show help document"};
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        QWidget *button = m_ui->tlbr1->widgetForAction(buttons[i].first);
        button->setObjectName(QString::fromLatin1(buttons[i].second));
        // On the action: a tool button takes its tooltip from its action at every change.
        buttons[i].first->setToolTip(QString::fromLatin1(hints[i]));
    }
}

void TMainForm::setUpPopupMenu()
{
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    const std::pair<QAction *, const char *> entries[] = {{m_ui->Insert2, "Insert1"},
                                                          {m_ui->AddPictures1, "AddPictures2"},
                                                          {m_ui->Delete2, "Delete1"},
                                                          {m_ui->MoveUp2, "MoveUp1"},
                                                          {m_ui->MoveDown2, "MoveDown1"}};
    for (const auto &[shared, name] : entries) {
        QAction *entry = m_popup->addAction(shared->text());
        entry->setObjectName(QString::fromLatin1(name));
        connect(entry, &QAction::triggered, shared, &QAction::trigger);
        connect(shared, &QAction::changed, entry, [entry, shared] {
            entry->setEnabled(shared->isEnabled());
            entry->setIcon(shared->icon());
        });
    }
    connect(m_ui->trvwDesignPanel, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) {
                if (QTreeWidgetItem *clicked = m_ui->trvwDesignPanel->itemAt(at))
                    m_ui->trvwDesignPanel->setCurrentItem(clicked);
                UpdateItemCommands();
                m_popup->popup(m_ui->trvwDesignPanel->viewport()->mapToGlobal(at));
            });
}

// Typing only changes what Save offers; a field's edit becomes a step when it is done, so
// Undo takes back the whole value, not a key.
void TMainForm::connectPages()
{
    connect(m_ui->trvwDesignPanel, &QTreeWidget::currentItemChanged, this,
            &TMainForm::trvwDesignPanelChange);
    std::vector<QLineEdit *> edits{m_ui->edt_pSliderName,
                                   m_ui->edt_IToolTip,
                                   m_ui->edtOriginalImagePath,
                                   m_ui->edtpInternalUse_RootDir_Local,
                                   m_ui->edtpInternalUse_RootDir_Remote,
                                   m_ui->cmbx_ILink->lineEdit(),
                                   m_ui->cmbx_ITarget->lineEdit()};
    for (QLineEdit *edit : edits) {
        // A field keeps any length the project file holds: the default 32,767 would cut
        // long links and tooltips silently.
        edit->setMaxLength(std::numeric_limits<int>::max());
        connect(edit, &QLineEdit::textEdited, this, &TMainForm::spnedtApWidthChange);
        connect(edit, &QLineEdit::editingFinished, this, &TMainForm::pageEditFinished);
    }
    for (QSpinBox *spin : {m_ui->spnedt_pWidth, m_ui->spedt_pHeight, m_ui->spnedt_pStep,
                           m_ui->spnedt_pDelay, m_ui->spnedt_pContainerBorderWidth}) {
        spin->setKeyboardTracking(false);
        connect(spin, &QSpinBox::valueChanged, this, &TMainForm::pageEditFinished);
        // Save is offered while the number is typed, before the box takes it.
        if (auto *typed = spin->findChild<QLineEdit *>())
            connect(typed, &QLineEdit::textEdited, this, &TMainForm::spnedtApWidthChange);
    }
    for (QComboBox *box : {m_ui->cmbx_ILink, m_ui->cmbx_ITarget})
        connect(box, &QComboBox::activated, this, &TMainForm::pageEditFinished);
    connect(m_ui->cmbx_pContainerBorderStyle, &QComboBox::currentIndexChanged, this,
            &TMainForm::pageEditFinished);
    connect(m_ui->rdbtnpInternalUse_RootDir_Local_Checked, &QRadioButton::toggled, this,
            &TMainForm::pageEditFinished);
    for (QPushButton *panel : {m_ui->pnl_pBgColor, m_ui->pnl_pContainerBorderColor})
        connect(panel, &QPushButton::clicked, this, [this, panel] { pnlApBgClrClick(panel); });
    connect(m_ui->spdbtnItURL, &QToolButton::clicked, this, &TMainForm::spdbtnItURLClick);
    connect(m_ui->spdbtnOriginalImagePath, &QToolButton::clicked, this,
            &TMainForm::spdbtnItemImageNormalClick);
    connect(m_ui->edtOriginalImagePath, &QLineEdit::textChanged, this,
            [this](const QString &path) { showItemPicture(path); });
}

void TMainForm::setUpEditMenu()
{
    QMenu *edit = new QMenu(QStringLiteral("&Edit"), this);
    edit->setObjectName(QStringLiteral("mnitEdit"));
    m_ui->MainMenu1->insertMenu(m_ui->MainMenu1->actions().at(1), edit);
    m_undo = edit->addAction(QStringLiteral("&Undo"));
    m_undo->setObjectName(QStringLiteral("Undo1"));
    m_undo->setShortcut(QKeySequence::Undo);
    m_redo = edit->addAction(QStringLiteral("&Redo"));
    m_redo->setObjectName(QStringLiteral("Redo1"));
    m_redo->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    m_undo->setIcon(QIcon::fromTheme(QStringLiteral("edit-undo"),
                                     drawnIcon(QStringLiteral("\u21b6"), QColor(0x607080))));
    m_redo->setIcon(QIcon::fromTheme(QStringLiteral("edit-redo"),
                                     drawnIcon(QStringLiteral("\u21b7"), QColor(0x607080))));
    QAction *before = m_ui->Insert2;
    m_ui->tlbr1->insertAction(before, m_undo);
    m_ui->tlbr1->insertAction(before, m_redo);
    m_ui->tlbr1->insertSeparator(before);
    m_ui->tlbr1->widgetForAction(m_undo)->setObjectName(QStringLiteral("tlbtnUndo"));
    m_ui->tlbr1->widgetForAction(m_redo)->setObjectName(QStringLiteral("tlbtnRedo"));
    connect(m_undo, &QAction::triggered, this, &TMainForm::Undo1Click);
    connect(m_redo, &QAction::triggered, this, &TMainForm::Redo1Click);
    // The tool bar's own menu may hide it too; the View entry follows.
    connect(m_ui->tlbr1, &QToolBar::visibilityChanged, m_ui->ToolBar1, &QAction::setChecked);
    historyChanged();
}

DesignTree::Node TMainForm::selectedNode() const
{
    return m_view->nodeOf(m_ui->trvwDesignPanel->currentItem());
}

void TMainForm::trvwDesignPanelChange()
{
    if (m_treeRebuilding)
        return;
    UpdatePageTabs();
    const DesignTree::Node selected = selectedNode();
    run([&] { m_commands->selectionChanged(selected); });
    UpdateItemCommands();
}

void TMainForm::runEdit(const std::function<void()> &command)
{
    m_treeRebuilding = true;
    run(command);
    m_treeRebuilding = false;
    DesignTree::Node target = m_commands->selectionAfterEdit();
    if (!target)
        target = selectedNode();
    selectNode(target ? target : m_designTree.root());
}

// The page of the node is shown even when the widget's current item is already it: Qt may
// have moved the current item there itself while the command ran.
void TMainForm::selectNode(DesignTree::Node node)
{
    if (QTreeWidgetItem *item = m_view->itemOf(node)) {
        const QSignalBlocker quiet(m_ui->trvwDesignPanel);
        m_ui->trvwDesignPanel->setCurrentItem(item);
        m_ui->trvwDesignPanel->scrollToItem(item);
    }
    trvwDesignPanelChange();
}

void TMainForm::UpdateItemCommands()
{
    const DesignTree::Node selected = selectedNode();
    const bool isItem = selected && selected != m_designTree.root();
    m_ui->Insert2->setEnabled(selected == m_designTree.root());
    m_ui->Delete2->setEnabled(isItem);
    m_ui->MoveUp2->setEnabled(isItem && m_designTree.previousSibling(selected));
    m_ui->MoveDown2->setEnabled(isItem && m_designTree.nextSibling(selected));
    UpdatePageTabs();
}

// The tabs change only when the selection moves between the root and an item.
void TMainForm::UpdatePageTabs()
{
    const DesignTree::Node selected = selectedNode();
    const int current = selected ? m_designTree.absoluteIndex(selected) : 0;
    if (m_lastTabsIndex != -2009 &&
        (current == m_lastTabsIndex || (current > 0 && m_lastTabsIndex > 0)))
        return;
    QTabWidget *tabs = m_ui->pgcntrl1;
    const bool item = current > 0;
    tabs->setTabVisible(tabs->indexOf(m_ui->tbshtScript), !item);
    tabs->setTabVisible(tabs->indexOf(m_ui->tbshtPath), !item);
    tabs->setTabVisible(tabs->indexOf(m_ui->tbshtItemGeneral), item);
    tabs->setCurrentWidget(item ? m_ui->tbshtItemGeneral : m_ui->tbshtScript);
    m_lastTabsIndex = current;
}

// The new item is not selected: Insert is offered on the root, which stays selected.
void TMainForm::Insert1Click()
{
    const DesignTree::Node selected = selectedNode();
    runEdit([&] { m_commands->insertItem(selected); });
    if (QTreeWidgetItem *item = m_view->itemOf(selected))
        item->setExpanded(true);
}

void TMainForm::Delete1Click()
{
    const DesignTree::Node selected = selectedNode();
    runEdit([&] { m_commands->deleteItem(selected); });
}

void TMainForm::MoveUp1Click()
{
    const DesignTree::Node selected = selectedNode();
    runEdit([&] { m_commands->moveUp(selected); });
}

void TMainForm::MoveDown1Click()
{
    const DesignTree::Node selected = selectedNode();
    runEdit([&] { m_commands->moveDown(selected); });
}

void TMainForm::spnedtApWidthChange()
{
    if (!m_showingPages)
        m_ui->Save1->setEnabled(m_commands->modified() || m_commands->pagesChanged());
}

void TMainForm::pageEditFinished()
{
    if (!m_showingPages && !m_treeRebuilding)
        run([&] { m_commands->commitPages(); });
}

void TMainForm::pnlApBgClrClick(QPushButton *panel)
{
    if (const std::optional<QColor> chosen =
            m_prompts.chooseColour(panel->property("colour").value<QColor>())) {
        setPanelColour(panel, *chosen);
        pageEditFinished();
    }
}

void TMainForm::spdbtnItURLClick()
{
    if (TfrmMsgBox_LinkTip::wanted(m_settings))
        m_prompts.showLinkTip();
    const std::optional<std::string> chosen = m_prompts.chooseFileToOpen(
        "HTML files(*.htm;*.html)|*.htm;*.html|Any file (*.*)|*.*", m_commands->projectFolder());
    if (!chosen)
        return;
    m_ui->cmbx_ILink->setCurrentText(toQString(LocalPathToURL(*chosen)));
    pageEditFinished();
}

void TMainForm::spdbtnItemImageNormalClick()
{
    if (const std::optional<std::string> chosen = m_prompts.chooseFileToOpen(
            "All Image Files(*.jpg;*.jpeg)|*.jpg;*.jpeg", picturesFolder())) {
        m_ui->edtOriginalImagePath->setText(toQString(*chosen));
        pageEditFinished();
    }
}

// The tree's icons and the item page's picture come from one loader, which makes them off the
// window's thread; the page shows its picture again when the loader has made it.
void TMainForm::setUpPictures()
{
    m_view->showOriginals(m_pictures, [this](DesignTree::Node node) {
        const int k = m_designTree.absoluteIndex(node);
        // While a command runs, the tree and the items may be a step apart.
        if (k < 1 || std::size_t(k) > m_agent.items().size())
            return ItemOriginal{};
        return ItemOriginal{m_agent.items()[std::size_t(k - 1)].IOriginalImagePath,
                            parseWholeNumber(m_agent.appletData().pHeight).value_or(0)};
    });
    connect(&m_pictures, &PictureLoader::ready, this, [this](const QString &path) {
        if (path == m_shownPicture)
            showItemPicture(path);
    });
}

// A small picture of the original, or a word that it is missing. The page's layout does not
// change with the picture: the label keeps its size.
void TMainForm::showItemPicture(const QString &path)
{
    m_shownPicture = path.trimmed();
    QLabel &label = *m_ui->lblPicture;
    if (m_shownPicture.isEmpty()) {
        label.setPixmap(QPixmap());
        label.setText(QString());
        label.setToolTip(QString());
        return;
    }
    const qreal ratio = devicePixelRatioF();
    const PictureLoader::Picture picture =
        m_pictures.picture(m_shownPicture, QSize(240, 120) * ratio, PictureLoader::Urgency::now);
    using State = PictureLoader::Picture::State;
    if (picture.state == State::shown) {
        QPixmap pixmap = picture.pixmap;
        pixmap.setDevicePixelRatio(ratio);
        label.setPixmap(pixmap);
    } else {
        label.setPixmap(QPixmap());
        label.setText(picture.state == State::missing   ? QStringLiteral("Picture not found")
                      : picture.state == State::refused ? QStringLiteral("Cannot show this picture")
                                                        : QString());
    }
    label.setToolTip(picture.state == State::refused ? picture.problem : QString());
}
