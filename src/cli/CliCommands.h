#pragma once

// The commands of velloria-cli over one project agent. Failures raise VelloriaError
// (message naming the file and the reason) or CliFailure (message already shown).

#include "model/InMemoryDesignTree.h"
#include "model/MessageSink.h"
#include "model/TzybAppletAgent.h"

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

class CliCommands : private MessageSink
{
public:
    explicit CliCommands(std::ostream &out);

    void newProject(const std::string &file, bool force);
    void info(const std::string &file, bool json);
    void resave(const std::string &in, const std::string &out);
    void add(const std::string &file, const std::vector<std::string> &images,
             const NewItemOptions &options);

private:
    void load(const std::string &file);
    void showError(const std::string &text) override;

    std::ostream &m_out;
    TzybAppletAgent m_agent;
    InMemoryDesignTree m_tree;
    std::string m_currentFile;
};
