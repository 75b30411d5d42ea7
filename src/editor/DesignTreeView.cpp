#include "DesignTreeView.h"

#include "PictureLoader.h"
#include "QtText.h"
#include "generate/SlidePicture.h"

#include <QFileInfo>
#include <QPainter>
#include <QTreeWidget>
#include <vector>

namespace {

// Large enough to tell photos apart, small enough for a screenful of items.
constexpr int iconSide = 40;
// The icons made of pictures are kept for repaints; a project of thousands starts afresh.
constexpr qsizetype maxFilledIcons = 4000;

QString sizeText(QSize size)
{
    return QStringLiteral("%1 x %2 pixels").arg(size.width()).arg(size.height());
}

} // namespace

DesignTreeView::DesignTreeView(QTreeWidget &widget, InMemoryDesignTree &tree)
    : m_widget(widget), m_tree(tree)
{
    rebuild();
}

DesignTreeView::~DesignTreeView()
{
    QObject::disconnect(m_pictureMade);
    m_following = false;
    m_tree.setObserver(nullptr);
    while (m_widget.topLevelItemCount() > 0)
        destroy(m_widget.topLevelItem(0));
}

void DesignTreeView::pause()
{
    m_following = false;
    m_tree.setObserver(nullptr);
}

// The new items are linked below each other while none is in the widget, which costs the
// widget nothing, and go in with the root in one insertion.
void DesignTreeView::rebuild()
{
    m_tree.setObserver(nullptr);
    while (m_widget.topLevelItemCount() > 0)
        destroy(m_widget.topLevelItem(0));
    m_items.clear();
    NodeItem *root = makeItem(m_tree.root());
    std::vector<std::pair<DesignTree::Node, NodeItem *>> pending{{m_tree.root(), root}};
    while (!pending.empty()) {
        const auto [node, item] = pending.back();
        pending.pop_back();
        for (int i = 0, n = m_tree.childCount(node); i < n; ++i) {
            const DesignTree::Node child = m_tree.child(node, i);
            NodeItem *childItem = makeItem(child);
            item->addChild(childItem);
            pending.emplace_back(child, childItem);
        }
    }
    m_widget.addTopLevelItem(root);
    root->setExpanded(true);
    m_tree.setObserver(this);
    m_following = true;
}

DesignTreeView::NodeItem *DesignTreeView::makeItem(DesignTree::Node node)
{
    auto *item = new NodeItem(*this, node, toQString(m_tree.caption(node)));
    item->setIcon(0, node == m_tree.root() ? m_rootPicture : m_itemPicture);
    m_items[node] = item;
    return item;
}

void DesignTreeView::setPictures(const QIcon &root, const QIcon &item)
{
    m_givenPictures = {root, item};
    m_rootPicture = m_loader ? filled(root.pixmap(m_widget.iconSize(), ratio())) : root;
    m_itemPicture = m_loader ? filled(item.pixmap(m_widget.iconSize(), ratio())) : item;
    for (const auto &[node, shown] : m_items)
        shown->setIcon(0, node == m_tree.root() ? m_rootPicture : m_itemPicture);
}

void DesignTreeView::showOriginals(PictureLoader &loader,
                                   std::function<ItemOriginal(DesignTree::Node)> originalOf)
{
    m_loader = &loader;
    m_originalOf = std::move(originalOf);
    m_widget.setIconSize(QSize(iconSide, iconSide));
    setPictures(m_givenPictures.first, m_givenPictures.second);
    QObject::disconnect(m_pictureMade);
    // A picture missing or refused leaves its row as it was painted: only a new picture
    // costs a repaint, which matters while a command on a large tree brings rows into view.
    m_pictureMade = QObject::connect(
        &loader, &PictureLoader::ready, &m_widget, [this](const QString &path, QSize box) {
            if (box == m_widget.iconSize() * ratio() &&
                m_loader->picture(path, box).state == PictureLoader::Picture::State::shown)
                refresh();
        });
    refresh();
}

void DesignTreeView::refresh()
{
    m_widget.viewport()->update();
}

bool DesignTreeView::showsOriginalOf(DesignTree::Node node) const
{
    return m_loader && m_following && node != m_tree.root();
}

QVariant DesignTreeView::NodeItem::data(int column, int role) const
{
    if (column == 0 &&
        (role == Qt::DisplayRole || role == Qt::DecorationRole || role == Qt::ToolTipRole) &&
        view.showsOriginalOf(node))
        return view.originalData(*this, role);
    return QTreeWidgetItem::data(column, role);
}

// "Image: dunes.jpg"; the picture fitted into the icon at the screen's own pixels.
QVariant DesignTreeView::originalData(const NodeItem &item, int role) const
{
    const ItemOriginal original = m_originalOf(item.node);
    const QString path = toQString(original.path).trimmed();
    if (role == Qt::DisplayRole) {
        const QString caption = item.QTreeWidgetItem::data(0, role).toString();
        return path.isEmpty() ? caption
                              : caption + QStringLiteral(": ") + QFileInfo(path).fileName();
    }
    if (path.isEmpty())
        return item.QTreeWidgetItem::data(0, role);
    const PictureLoader::Picture picture = m_loader->picture(path, m_widget.iconSize() * ratio());
    using State = PictureLoader::Picture::State;
    if (role == Qt::DecorationRole) {
        if (picture.state != State::shown)
            return m_itemPicture;
        const auto found = m_filledIcons.constFind(picture.pixmap.cacheKey());
        if (found != m_filledIcons.cend())
            return *found;
        if (m_filledIcons.size() >= maxFilledIcons)
            m_filledIcons.clear();
        return *m_filledIcons.insert(picture.pixmap.cacheKey(), filled(picture.pixmap));
    }
    switch (picture.state) {
    case State::shown: {
        QString tip = path + QStringLiteral("\nPicture: ") + sizeText(picture.original);
        if (original.slideHeight > 0) {
            const SlideSize slide = slideSizeFor(picture.original.width(),
                                                 picture.original.height(), original.slideHeight);
            tip += QStringLiteral("\nSlide: ") + sizeText(QSize(slide.width, slide.height));
        }
        return tip;
    }
    case State::missing:
        return path + QStringLiteral("\nNot found");
    case State::refused:
        return picture.problem;
    case State::loading:
        break;
    }
    return path;
}

qreal DesignTreeView::ratio() const
{
    return m_widget.devicePixelRatioF();
}

// Every icon fills the icon's square, so that the items' text lines up whatever their
// picture's shape, and the first row, whose height all rows take, is as high as a picture.
QIcon DesignTreeView::filled(QPixmap picture) const
{
    const QSize box = m_widget.iconSize() * ratio();
    picture.setDevicePixelRatio(1);
    if (picture.width() > box.width() || picture.height() > box.height())
        picture = picture.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPixmap canvas(box);
    canvas.fill(Qt::transparent);
    QPainter(&canvas).drawPixmap((box.width() - picture.width()) / 2,
                                 (box.height() - picture.height()) / 2, picture);
    canvas.setDevicePixelRatio(ratio());
    return QIcon(canvas);
}

QTreeWidgetItem *DesignTreeView::itemOf(DesignTree::Node node) const
{
    const auto found = m_items.find(node);
    return found == m_items.end() ? nullptr : found->second;
}

DesignTree::Node DesignTreeView::nodeOf(const QTreeWidgetItem *item) const
{
    return item ? static_cast<const NodeItem *>(item)->node : nullptr;
}

QTreeWidgetItem *DesignTreeView::rootItem() const
{
    return itemOf(m_tree.root());
}

void DesignTreeView::placeItem(QTreeWidgetItem *item, DesignTree::Node node)
{
    QTreeWidgetItem *parent = itemOf(m_tree.parent(node));
    if (parent)
        parent->insertChild(m_tree.position(node), item);
}

void DesignTreeView::nodeAdded(DesignTree::Node node)
{
    placeItem(makeItem(node), node);
}

// The item keeps its subtree and whether it is open.
void DesignTreeView::nodeMoved(DesignTree::Node node)
{
    QTreeWidgetItem *item = itemOf(node);
    if (!item || !item->parent())
        return;
    const bool expanded = item->isExpanded();
    item->parent()->takeChild(item->parent()->indexOfChild(item));
    placeItem(item, node);
    item->setExpanded(expanded);
}

void DesignTreeView::nodeRemoving(DesignTree::Node node)
{
    if (QTreeWidgetItem *item = itemOf(node))
        destroy(item);
}

void DesignTreeView::captionChanged(DesignTree::Node node)
{
    if (QTreeWidgetItem *item = itemOf(node))
        item->setText(0, toQString(m_tree.caption(node)));
}

// Qt walks an item's whole subtree whenever it is taken out, and its destructor recurses:
// both are fine for a few levels and ruinous for a deep chain. Once the top is out of the
// widget, the items are emptied from the bottom up, so each one taken is already a leaf.
void DesignTreeView::destroy(QTreeWidgetItem *item)
{
    if (QTreeWidgetItem *parent = item->parent())
        parent->takeChild(parent->indexOfChild(item));
    else if (const int top = m_widget.indexOfTopLevelItem(item); top >= 0)
        m_widget.takeTopLevelItem(top);
    std::vector<QTreeWidgetItem *> order{item};
    for (std::size_t i = 0; i < order.size(); ++i)
        for (int c = 0, n = order[i]->childCount(); c < n; ++c)
            order.push_back(order[i]->child(c));
    for (std::size_t i = order.size(); i-- > 0;) {
        m_items.erase(static_cast<NodeItem *>(order[i])->node);
        qDeleteAll(order[i]->takeChildren());
    }
    delete item;
}
