#include "CliCommands.h"

#include "ProjectInfo.h"
#include "model/VelloriaError.h"
#include "platform/FileIO.h"
#include "platform/ProgramFolder.h"

#include <cerrno>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

CliCommands::CliCommands(std::ostream &out) : m_out(out), m_agent(programFolder())
{
    m_agent.setMessageSink(this);
    m_agent.SetDefaults();
}

void CliCommands::showError(const std::string &text)
{
    std::cerr << "velloria-cli: \"" << m_currentFile << "\": " << text << '\n';
}

void CliCommands::load(const std::string &file)
{
    m_currentFile = file;
    switch (m_agent.LoadFromFile(file, m_tree)) {
    case LoadResult::Loaded:
        return;
    case LoadResult::Incomplete:
        std::cerr << "velloria-cli: warning: \"" << file << "\" ends inside its item list; "
                  << m_agent.itemCount() << " items were read\n";
        return;
    case LoadResult::NoProject:
        throw VelloriaError("\"" + file + "\" holds no Velloria project");
    case LoadResult::Refused:
        throw CliFailure{}; // the agent has said why
    }
}

void CliCommands::newProject(const std::string &file, bool force)
{
    if (!force && fs::exists(file))
        throw VelloriaError("\"" + file + "\" already exists; use --force to replace it");
    m_agent.SetDefaults();
    m_agent.SaveToFile(file);
}

void CliCommands::info(const std::string &file, bool json)
{
    load(file);
    if (json)
        m_out << projectJson(m_agent, m_tree) << '\n';
    else
        printProjectText(m_out, m_agent, m_tree);
}

void CliCommands::resave(const std::string &in, const std::string &out)
{
    load(in);
    m_agent.SaveToFile(out);
}

void CliCommands::add(const std::string &file, const std::vector<std::string> &images,
                      const NewItemOptions &options)
{
    load(file);
    for (const std::string &image : images) {
        std::error_code ec;
        const auto status = fs::status(image, ec);
        if (!fs::is_regular_file(status))
            throw VelloriaError(
                fileio::ioErrorText("add image", image, fs::exists(status) ? EISDIR : ENOENT));
    }
    for (const std::string &image : images) {
        const DesignTree::Node node = m_agent.insertChildItem(m_tree, m_tree.root());
        const int index = m_tree.absoluteIndex(node) - 1;
        TItemData item = m_agent.GetItem(index);
        item.IOriginalImagePath = fs::absolute(image).lexically_normal().string();
        item.ILink = options.link;
        item.ITarget = options.target;
        item.IToolTip = options.toolTip;
        m_agent.SetItem(item, index);
    }
    m_agent.SaveToFile(file);
}
