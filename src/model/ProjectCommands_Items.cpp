// The item commands, undo and redo, and the pages' changes as steps of the history.

#include "PageStore.h"
#include "PictureFiles.h"
#include "ProjectCommands.h"
#include "ProjectEdits.h"
#include "TextUtil.h"
#include "platform/VelloriaError.h"

namespace {

std::string stepName(const std::vector<std::string> &labels, const char *several)
{
    return labels.size() == 1 ? "Edit " + labels.front() : several;
}

} // namespace

int ProjectCommands::itemIndexOf(DesignTree::Node node) const
{
    return m_tree.absoluteIndex(node) - 1;
}

void ProjectCommands::perform(std::unique_ptr<ProjectEdit> edit)
{
    EditTarget target{m_agent, m_tree};
    m_selectAfter = m_history.perform(std::move(edit), target);
    historyMoved();
}

void ProjectCommands::historyMoved()
{
    m_events.modifiedChanged(modified());
    m_events.historyChanged();
}

void ProjectCommands::leaveItemPage()
{
    commitPages();
    m_currentItemNode = nullptr;
}

bool ProjectCommands::pagesChanged() const
{
    return m_pages.appletPages() != m_shownApplet ||
           (m_currentItemNode && m_pages.itemPage() != m_shownItem);
}

bool ProjectCommands::commitPages()
{
    // A page's step does not choose the selection: the command that committed it does.
    struct KeepSelection
    {
        DesignTree::Node &selection;
        DesignTree::Node kept = selection;
        ~KeepSelection() { selection = kept; }
    } keep{m_selectAfter};
    bool changed = false;
    const TAppletData applet = m_pages.appletPages();
    if (applet != m_shownApplet) {
        const TAppletData before = m_agent.GetAppletData();
        const TAppletData after = appletWithPageChanges(before, m_shownApplet, applet);
        const std::string name = stepName(changedAppletLabels(m_shownApplet, applet), "Edit Show");
        m_shownApplet = applet;
        if (after != before) {
            perform(std::make_unique<ParametersEdit>(name, before, after));
            changed = true;
        }
    }
    const int index = m_currentItemNode ? itemIndexOf(m_currentItemNode) : -1;
    const ItemPage page = m_pages.itemPage();
    if (index >= 0 && index < m_agent.itemCount() && page != m_shownItem) {
        const TItemData before = m_agent.GetItem(index);
        const TItemData after = itemWithPageChanges(before, m_shownItem, page);
        const std::string name = stepName(changedItemLabels(m_shownItem, page), "Edit Item");
        m_shownItem = page;
        if (after != before) {
            perform(std::make_unique<ItemValuesEdit>(name, before, after, index));
            changed = true;
        }
    }
    return changed;
}

void ProjectCommands::showPages()
{
    m_pages.showApplet(m_agent.GetAppletData());
    m_shownApplet = m_pages.appletPages();
    if (m_currentItemNode) {
        m_pages.showItem(itemPageOf(m_agent.GetItem(itemIndexOf(m_currentItemNode))));
        m_shownItem = m_pages.itemPage();
    }
}

void ProjectCommands::storePages()
{
    commitPages();
    // The page writes the name's element id and array name whenever it is stored, also for
    // a project whose file holds others: not a change of the user's, so not a step.
    const TAppletData project = m_agent.GetAppletData();
    TAppletData derived = project;
    derived.pSliderDivID = trimmed(project.pSliderName) + "_div";
    derived.pConfigName = trimmed(project.pSliderName) + "cfg";
    m_agent.SetAppletData(derived);
}

// Insert is offered on the root only, but a node of any level takes a child.
void ProjectCommands::insertItem(DesignTree::Node selected)
{
    m_selectAfter = nullptr;
    if (!selected)
        return;
    leaveItemPage();
    TzybAppletAgent::ItemBlock block{{m_agent.NewItemData()}, {0}, {"Item"}};
    perform(std::make_unique<InsertItemsEdit>("Insert", m_tree.absoluteIndex(selected),
                                              m_tree.childCount(selected),
                                              std::vector{std::move(block)}));
}

void ProjectCommands::addPictures(DesignTree::Node parent, const std::vector<std::string> &chosen,
                                  std::optional<TItemData> values)
{
    m_selectAfter = nullptr;
    if (!parent || chosen.empty())
        return;
    const std::vector<std::string> pictures = checkedPictures(chosen);
    leaveItemPage();
    std::vector<TzybAppletAgent::ItemBlock> blocks;
    for (const std::string &picture : pictures) {
        TItemData item = values ? *values : m_agent.NewItemData();
        item.IOriginalImagePath = picture;
        blocks.push_back({{std::move(item)}, {0}, {"Item"}});
    }
    perform(std::make_unique<InsertItemsEdit>(pictures.size() == 1 ? "Add Picture" : "Add Pictures",
                                              m_tree.absoluteIndex(parent),
                                              m_tree.childCount(parent), std::move(blocks)));
}

// Every file is checked before anything changes, and every refusal is told at once: a
// designer who chose thirty photos fixes them all in one go, and a half-added choice would
// leave a step that holds only some of them.
std::vector<std::string> ProjectCommands::checkedPictures(const std::vector<std::string> &chosen)
{
    std::vector<std::string> pictures;
    std::vector<std::string> problems;
    for (const std::string &path : chosen) {
        std::error_code ignored;
        if (!std::filesystem::is_directory(path, ignored)) {
            pictures.push_back(path);
            continue;
        }
        const std::vector<std::string> inFolder = picturefiles::jpegFilesIn(path);
        const std::filesystem::path folder = std::filesystem::path(path).lexically_normal();
        if (inFolder.empty())
            problems.push_back(
                (folder.has_filename() ? folder : folder.parent_path()).filename().string() +
                " holds no JPEG pictures");
        pictures.insert(pictures.end(), inFolder.begin(), inFolder.end());
    }
    for (const std::string &picture : pictures)
        if (const std::optional<std::string> problem = m_generator.pictureProblem(picture))
            problems.push_back(*problem);
    if (problems.size() == 1 && chosen.size() == 1 && pictures.size() <= 1)
        throw ProjectValueError(problems.front());
    if (!problems.empty()) {
        std::string text = "No picture was added:";
        for (const std::string &problem : problems)
            text += "\n" + problem;
        throw ProjectValueError(text);
    }
    return pictures;
}

bool ProjectCommands::isWithin(DesignTree::Node node, DesignTree::Node subtree) const
{
    for (; node; node = m_tree.parent(node))
        if (node == subtree)
            return true;
    return false;
}

void ProjectCommands::deleteItem(DesignTree::Node selected)
{
    m_selectAfter = nullptr;
    if (!selected || selected == m_tree.root()) {
        m_prompts.showError("Root item cannot be deleted.");
        return;
    }
    if (!m_prompts.askYesNo("Are you sure to delete this item and all its children?"))
        return;
    leaveItemPage();
    const DesignTree::Node parent = m_tree.parent(selected);
    perform(
        std::make_unique<DeleteItemEdit>(m_tree.absoluteIndex(parent), m_tree.position(selected)));
}

void ProjectCommands::moveUp(DesignTree::Node selected)
{
    m_selectAfter = nullptr;
    if (!selected || !m_tree.previousSibling(selected))
        return;
    leaveItemPage();
    const int parent = m_tree.absoluteIndex(m_tree.parent(selected));
    const int at = m_tree.position(selected);
    perform(std::make_unique<MoveItemEdit>("Move Up", MoveItemEdit::Place{parent, at},
                                           MoveItemEdit::Place{parent, at - 1}));
}

void ProjectCommands::moveDown(DesignTree::Node selected)
{
    m_selectAfter = nullptr;
    if (!selected || !m_tree.nextSibling(selected))
        return;
    leaveItemPage();
    const int parent = m_tree.absoluteIndex(m_tree.parent(selected));
    const int at = m_tree.position(selected);
    perform(std::make_unique<MoveItemEdit>("Move Down", MoveItemEdit::Place{parent, at},
                                           MoveItemEdit::Place{parent, at + 1}));
}

bool ProjectCommands::moveItem(DesignTree::Node node, DesignTree::Node parent, int position)
{
    m_selectAfter = nullptr;
    if (!node || !parent || node == m_tree.root() || isWithin(parent, node))
        return false;
    const DesignTree::Node oldParent = m_tree.parent(node);
    const int from = m_tree.position(node);
    // The place was counted with the node among the children; the move counts without it.
    if (oldParent == parent && from < position)
        --position;
    if (oldParent == parent && from == position)
        return true;
    leaveItemPage();
    perform(std::make_unique<MoveItemEdit>(
        "Move", MoveItemEdit::Place{m_tree.absoluteIndex(oldParent), from},
        MoveItemEdit::Place{m_tree.absoluteIndex(parent), position}));
    return true;
}

void ProjectCommands::undo()
{
    travel(&EditHistory::canUndo, &EditHistory::undo);
}

void ProjectCommands::redo()
{
    travel(&EditHistory::canRedo, &EditHistory::redo);
}

void ProjectCommands::travel(bool (EditHistory::*can)() const,
                             DesignTree::Node (EditHistory::*step)(EditTarget &))
{
    m_selectAfter = nullptr;
    leaveItemPage();
    if (!(m_history.*can)())
        return;
    EditTarget target{m_agent, m_tree};
    m_selectAfter = (m_history.*step)(target);
    showPages();
    historyMoved();
}

// Selecting by itself changes nothing: only a changed page becomes a step.
void ProjectCommands::selectionChanged(DesignTree::Node selected)
{
    commitPages();
    if (!selected || selected == m_tree.root())
        return;
    if (selected != m_currentItemNode) {
        m_currentItemNode = selected;
        // A page that already shows these values stays as it is, as after a command on the
        // item that was selected: filling it again costs the window a repaint.
        const ItemPage page = itemPageOf(m_agent.GetItem(itemIndexOf(selected)));
        if (page != m_pages.itemPage())
            m_pages.showItem(page);
        m_shownItem = m_pages.itemPage();
    }
}
