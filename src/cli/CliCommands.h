#pragma once

// The commands of velloria-cli over one project agent. Failures raise VelloriaError
// (message naming the file and the reason) or CliFailure (message already shown).

#include "model/InMemoryDesignTree.h"
#include "model/TzybAppletAgent.h"
#include "model/UserPrompts.h"
#include "platform/AppFolders.h"

#include <filesystem>
#include <iosfwd>
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
    // a web site needs lands in `folder` (the project's own when empty).
    void publish(const std::string &file, const std::string &folder, bool useCache);
    void scale(const std::string &in, const std::string &out, int height);
    // Shows the slide cache's folder, entries and size, or empties it.
    void cache(bool clear);

private:
    template <typename Command> void onProject(const std::string &file, Command command);
    void writeNewProject(const std::string &file, bool force);
    void addItems(const std::string &file, const std::vector<std::string> &images,
                  const NewItemOptions &options);
    void publishProject(const std::string &file, const std::string &folder, bool useCache);
    void warnOfMissingOriginals(const std::string &file) const;
    void load(const std::string &file);
    void report(const std::string &file, LoadResult result);
    void showError(const std::string &text) override;
    Answer askYesNoCancel(const std::string &question) override;
    bool askYesNo(const std::string &question) override;
    std::optional<std::string> chooseFileToOpen(const std::string &filter) override;
    std::optional<std::string> chooseFileToSave(const std::string &filter,
                                                const std::string &initialFolder) override;

    std::ostream &m_out;
    TzybAppletAgent m_agent;
    AppFolders m_folders;
    InMemoryDesignTree m_tree;
    std::string m_currentFile;
};
