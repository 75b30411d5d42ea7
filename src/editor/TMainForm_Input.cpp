// What the window takes from the keyboard and the mouse beyond the menus: refusals where a
// value is typed, keys and dragged nodes in the tree, and the tree's pictures.

#include "LinkCompletion.h"
#include "PageSpinBox.h"
#include "QtText.h"
#include "TMainForm.h"
#include "model/PageRules.h"
#include "ui_TMainForm.h"

#include <QComboBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>

namespace {

QIcon drawnTreePicture(bool root)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x405060));
    painter.setBrush(root ? QColor(0x3b7dd8) : QColor(0xf2f2f2));
    painter.drawRect(QRectF(1.5, 2.5, 13, 11));
    painter.setBrush(root ? QColor(0xffffff) : QColor(0x6aa84f));
    painter.drawEllipse(QRectF(4, 5, 4, 4));
    return QIcon(picture);
}

// The theme's pictures of a show and of a picture, or ours where the desktop has no theme.
QIcon treePicture(bool root)
{
    static const QIcon rootIcon =
        QIcon::fromTheme(QStringLiteral("view-presentation"), drawnTreePicture(true));
    static const QIcon itemIcon =
        QIcon::fromTheme(QStringLiteral("image-x-generic"), drawnTreePicture(false));
    return root ? rootIcon : itemIcon;
}

} // namespace

// A value the project file cannot hold never gets past the field it is typed into.
void TMainForm::watchTypedText()
{
    for (QLineEdit *edit :
         {m_ui->edt_IToolTip, m_ui->edtOriginalImagePath, m_ui->edtpInternalUse_RootDir_Local,
          m_ui->edtpInternalUse_RootDir_Remote, m_ui->cmbx_ILink->lineEdit(),
          m_ui->cmbx_ITarget->lineEdit()})
        connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString &text) {
            const char *reason = unstorableTextReason(toBytes(text));
            if (!reason)
                return;
            m_prompts.showError(reason);
            edit->clear();
        });
    connect(m_ui->edt_pSliderName, &QLineEdit::textEdited, this, &TMainForm::checkName);
    // A spin edit drops a number past its bounds without a word: say which rule it breaks, at
    // the box and in the hint line.
    for (PageSpinBox *spin : findChildren<PageSpinBox *>())
        connect(spin, &PageSpinBox::refused, this, [this, spin](const QString &why) {
            m_hint->setText(why);
            QToolTip::showText(spin->mapToGlobal(QPoint(0, spin->height())), why, spin);
        });
    // The link is completed before the page's step takes it: a choice is one step.
    disconnect(m_ui->cmbx_ILink, &QComboBox::activated, this, &TMainForm::pageEditFinished);
    new LinkCompletion(*m_ui->cmbx_ILink);
    connect(m_ui->cmbx_ILink, &QComboBox::activated, this, &TMainForm::pageEditFinished);
}

// The name becomes a script identifier of the page: a character that would break the show
// is refused at once, and the hint line says why.
void TMainForm::checkName(const QString &text)
{
    const std::string name = toBytes(text.trimmed());
    if (name.empty() || isScriptIdentifier(name)) {
        m_lastGoodName = text;
        return;
    }
    m_ui->edt_pSliderName->setText(m_lastGoodName);
    m_hint->setText(QString::fromLatin1(pagerules::nameRule));
}

void TMainForm::setUpTree()
{
    QTreeWidget *tree = m_ui->trvwDesignPanel;
    m_view->setPictures(treePicture(true), treePicture(false));
    tree->setAcceptDrops(true);
    tree->viewport()->setAcceptDrops(true);
    // Every row is one line with a small picture; saying so spares the view summing the
    // heights of all rows above an item, which made a 100,000-item project take seconds.
    tree->setUniformRowHeights(true);
    tree->setDragEnabled(true);
    tree->setDragDropMode(QAbstractItemView::DragDrop);
    tree->installEventFilter(this);
    tree->viewport()->installEventFilter(this);
}

bool TMainForm::treeKeyPressed(QKeyEvent *key)
{
    if (key->key() == Qt::Key_Insert && m_ui->Insert2->isEnabled()) {
        Insert1Click();
        return true;
    }
    if (key->key() == Qt::Key_Delete && m_ui->Delete2->isEnabled()) {
        Delete1Click();
        return true;
    }
    return false;
}

void TMainForm::dropTreeNode(QTreeWidgetItem *dragged, const QPoint &at)
{
    const DesignTree::Node node = m_view->nodeOf(dragged);
    QTreeWidgetItem *over = m_ui->trvwDesignPanel->itemAt(at);
    const DesignTree::Node target = over ? m_view->nodeOf(over) : m_designTree.root();
    DesignTree::Node parent = target;
    int position = m_designTree.childCount(target);
    if (over && target != m_designTree.root()) {
        const QRect place = m_ui->trvwDesignPanel->visualItemRect(over);
        const int edge = std::max(2, place.height() / 4);
        if (at.y() < place.top() + edge || at.y() > place.bottom() - edge) {
            parent = m_designTree.parent(target);
            position = m_designTree.position(target) + (at.y() < place.top() + edge ? 0 : 1);
        }
    }
    runEdit([&] { m_commands->moveItem(node, parent, position); });
}

// A small help button in the top-right corner of each group, opening its topic page.
void TMainForm::setUpHelpButtons()
{
    const std::tuple<QGroupBox *, const char *, int> groups[] = {
        {m_ui->grpbx_General, "SpeedButton1", 1},
        {m_ui->grpbx_Size, "SpeedButton12", 2},
        {m_ui->grpbx_Scrolling, "SpeedButton11", 3},
        {m_ui->grpbx_SliderBorder, "SpeedButton5", 5},
        {m_ui->grpbx_PathReplacement, "SpeedButton28", 7},
        {m_ui->grpbx_OriginalImagePath, "SpeedButton13", 8},
        {m_ui->grpbx_Link, "SpeedButton24", 9},
        {m_ui->grpbx_Tooltip, "SpeedButton19", 10}};
    for (const auto &[group, name, tag] : groups) {
        auto *button = new QToolButton(group);
        button->setObjectName(QString::fromLatin1(name));
        button->setProperty("tag", tag);
        button->setAutoRaise(true);
        button->setIcon(QIcon::fromTheme(QStringLiteral("help-contextual"),
                                         style()->standardIcon(QStyle::SP_MessageBoxQuestion)));
        button->setToolTip(QStringLiteral("Help on this group"));
        const int pageTag = tag;
        connect(button, &QToolButton::clicked, this,
                [this, pageTag] { SpeedButton1Click(pageTag); });
        group->installEventFilter(this);
        m_helpButtons.push_back(button);
    }
}

void TMainForm::placeHelpButton(QWidget *group)
{
    for (QToolButton *button : m_helpButtons)
        if (button->parentWidget() == group)
            button->setGeometry(helpButtonPlace(group));
}

// Beside the title, above the frame's line: a button over the line looks misplaced.
QRect TMainForm::helpButtonPlace(QWidget *group) const
{
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = static_cast<QGroupBox *>(group)->title();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.lineWidth = 1;
    const QRect frame = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                       QStyle::SC_GroupBoxFrame, group);
    const int side = std::clamp(frame.top() - 1, 14, 22);
    return {group->width() - side - 2, std::max(0, frame.top() - 1 - side), side, side};
}
