#pragma once

// The commands of velloria-cli over one project agent. Failures raise VelloriaError
// (message naming the file and the reason) or CliFailure (message already shown).

#include "generate/ShowBuilder.h"
#include "model/InMemoryDesignTree.h"
#include "model/TzybAppletAgent.h"
#include "model/UserPrompts.h"
#include "platform/AppFolders.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

struct CliFailure
{};

struct NewItemOptions
{
    std::string link;
    std::string target = "_self";
    std::string toolTip;
};

// What `item` changes; options not given keep their value.
struct ItemEdit
{
    std::optional<std::string> link;
    std::optional<std::string> target;
    std::optional<std::string> toolTip;
    std::optional<std::string> picture;
};

struct PublishOptions
{
    std::string folder; // the project's own when empty
    bool useCache = true;
    // The report's path and the code to paste under a word on where it goes, the path alone,
    // or the code alone, marked as the page marks it (for scripts that paste it).
    enum class Print { reportAndCode, report, code } print = Print::reportAndCode;
    // Publish even where the folder holds another project's show, replacing it.
    bool replaceOtherShow = false;
};

class PlainPropertyPages;
class ProjectCommands;

// Every command that changes a project reads it, changes it and writes it back under the
// project's lock, checking everything before it writes: a refused command leaves the file
// as it was. Items are numbered as `info` shows them: node N of the tree is item N, the
// root (the show itself) being 0.
class CliCommands : private UserPrompts
{
public:
    CliCommands(std::ostream &out, const AppFolders &folders);

    void newProject(const std::string &file, bool force);
    void info(const std::string &file, bool json);
    void resave(const std::string &in, const std::string &out);
    void add(const std::string &file, const std::vector<std::string> &images,
             const NewItemOptions &options);
    // Opens the project as the editor does, then saves it as File > Save does: everything
    // a web site needs lands in the options' folder. Refused where that folder holds
    // another project's show, unless told to replace it.
    // Prints the report's path, the code to paste into a web page, or both.
    void publish(const std::string &file, const PublishOptions &options);
    // FIELD=VALUE with the names of showFields(), through the Script and Path pages.
    void set(const std::string &file, const std::vector<std::string> &assignments);
    // Through the Item General page of item `number`.
    void item(const std::string &file, int number, const ItemEdit &edit);
    // Delete: the item with everything below it.
    void remove(const std::string &file, int number);
    void move(const std::string &file, int number, bool up);
    // With sharpOut, also the slide at twice the size, from the same decode.
    void scale(const std::string &in, const std::string &out, int height,
               const std::string &sharpOut = {});
    // Shows the slide cache's folder, entries and size, or empties it.
    void cache(bool clear);

private:
    void onProject(const std::string &file, const std::function<void()> &command);
    // Opens the project, runs `edit` on the editor's commands over it, and saves the project
    // file as Save stores and writes it (without building the site).
    void editProject(const std::string &file,
                     const std::function<void(ProjectCommands &, PlainPropertyPages &)> &edit);
    DesignTree::Node itemNode(int number, bool rootToo) const;
    void printCodeToPaste(PublishOptions::Print print) const;
    void writeNewProject(const std::string &file, bool force);
    void addItems(const std::string &file, const std::vector<std::string> &images,
                  const NewItemOptions &options);
    void publishProject(const std::string &file, const PublishOptions &options);
    void warnOfMissingOriginals(const std::string &file) const;
    void load(const std::string &file);
    void report(const std::string &file, LoadResult result);
    void showError(const std::string &text) override;
    Answer askYesNoCancel(const std::string &question) override;
    bool askYesNo(const std::string &question) override;
    std::optional<std::string> chooseFileToOpen(const std::string &filter,
                                                const std::string &initialFolder) override;
    std::optional<std::string> chooseFileToSave(const std::string &filter,
                                                const std::string &initialFolder) override;

    std::ostream &m_out;
    TzybAppletAgent m_agent;
    ShowBuilder m_builder{m_agent};
    AppFolders m_folders;
    InMemoryDesignTree m_tree;
    std::string m_currentFile;
    // While a command edits, what the core would show in a message box is its refusal.
    std::vector<std::string> *m_refusals = nullptr;
    bool m_confirmed = false;
};

// Refused unless it is a file that can be read as a JPEG picture; only its header is read.
void checkPicture(const std::string &path);

// A picture as the project stores it and the build reads it: trimmed, the full path.
std::string storedPicturePath(const std::string &typed);

// Before a project file is written: refuses one that is read-only, and removes the leftovers
// of killed runs in its folder.
void prepareToReplace(const std::string &file);
