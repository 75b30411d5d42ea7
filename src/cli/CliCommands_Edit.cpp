// The commands that edit a project as the editor's pages and item commands do.

#include "CliCommands.h"
#include "generate/ShowField.h"
#include "model/PageRules.h"
#include "model/PlainPropertyPages.h"
#include "model/ProjectCommands.h"
#include "model/TextUtil.h"
#include "platform/TemporaryFile.h"
#include "platform/VelloriaError.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string itemName(int number)
{
    return "item " + std::to_string(number);
}

// The Item General page refuses what the project file cannot hold as it is typed.
void putOnPage(std::string &control, const std::optional<std::string> &typed,
               const std::string &field)
{
    if (!typed)
        return;
    if (const char *reason = unstorableTextReason(*typed))
        throw ProjectValueError(field + ": " + reason);
    control = *typed;
}

} // namespace

std::string storedPicturePath(const std::string &typed)
{
    // The build trims the stored path: "sp.jpg " checked as it was typed would be another
    // file than the one the show is made of.
    return fs::absolute(trimmed(typed)).lexically_normal().string();
}

// Each command that writes into a folder also clears up after runs killed there, not only a
// publish.
void prepareToReplace(const std::string &file)
{
    fileio::refuseReadOnly(file);
    std::error_code error;
    const fs::path place = fs::weakly_canonical(fs::absolute(file), error);
    TemporaryFile::removeLeftovers(error ? fs::absolute(file).parent_path() : place.parent_path(),
                                   {place.filename().string()});
}

void CliCommands::editProject(
    const std::string &file,
    const std::function<void(ProjectCommands &, PlainPropertyPages &)> &edit)
{
    onProject(file, [&] {
        prepareToReplace(file);
        load(file);
        PlainPropertyPages pages;
        pages.showApplet(m_agent.GetAppletData());
        ProjectEvents events;
        ProjectCommands commands(m_agent, m_builder, m_tree, pages, *this, events,
                                 m_folders.templates());
        // Asked "Are you sure ...?", the command line has answered by running the command;
        // what the editor would show in a message box refuses the command.
        std::vector<std::string> refusals;
        struct Answering
        {
            CliCommands &cli;
            ~Answering()
            {
                cli.m_refusals = nullptr;
                cli.m_confirmed = false;
            }
        } answering{*this};
        m_refusals = &refusals;
        m_confirmed = true;
        edit(commands, pages);
        if (!refusals.empty())
            throw ProjectValueError(refusals.front());
        commands.storePages();
        m_agent.SaveToFile(file);
    });
}

DesignTree::Node CliCommands::itemNode(int number, bool rootToo) const
{
    if (number < (rootToo ? 0 : 1) || number > m_agent.itemCount())
        throw ProjectValueError(itemName(number) + ": no such item; the items are numbered 1 to " +
                                std::to_string(m_agent.itemCount()) + " as info shows them.");
    return m_tree.nodeAt(number);
}

void CliCommands::set(const std::string &file, const std::vector<std::string> &assignments)
{
    editProject(file, [&](ProjectCommands &, PlainPropertyPages &pages) {
        for (const std::string &assignment : assignments)
            applyShowField(pages.applet, assignment);
    });
}

void CliCommands::item(const std::string &file, int number, const ItemEdit &edit)
{
    editProject(file, [&](ProjectCommands &commands, PlainPropertyPages &pages) {
        commands.selectionChanged(itemNode(number, false));
        const std::string where = itemName(number) + ", ";
        putOnPage(pages.item.link, edit.link, where + "link");
        putOnPage(pages.item.target, edit.target, where + "target");
        putOnPage(pages.item.toolTip, edit.toolTip, where + "tooltip");
        putOnPage(pages.item.originalImagePath, edit.picture, where + "picture");
        if (edit.picture) {
            // As the picture chooser gives it: the full path.
            pages.item.originalImagePath = storedPicturePath(*edit.picture);
            checkPicture(pages.item.originalImagePath);
        }
    });
}

void CliCommands::remove(const std::string &file, int number)
{
    editProject(file, [&](ProjectCommands &commands, PlainPropertyPages &) {
        commands.deleteItem(itemNode(number, true));
        if (!m_refusals->empty())
            throw ProjectValueError(itemName(number) + ": " + m_refusals->front());
    });
}

// The editor offers Move Up only to an item with a previous sibling and Move Down only to
// one with a next sibling.
void CliCommands::move(const std::string &file, int number, bool up)
{
    editProject(file, [&](ProjectCommands &commands, PlainPropertyPages &) {
        const DesignTree::Node node = itemNode(number, false);
        if (up && !m_tree.previousSibling(node))
            throw ProjectValueError(itemName(number) +
                                    ": it is the first item of its level and cannot move up.");
        if (!up && !m_tree.nextSibling(node))
            throw ProjectValueError(itemName(number) +
                                    ": it is the last item of its level and cannot move down.");
        if (up)
            commands.moveUp(node);
        else
            commands.moveDown(node);
    });
}
