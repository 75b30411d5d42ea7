#pragma once

// A project agent with an installation folder and a project folder of its own, and helpers
// to add items and photos as the editor would.

#include "OriginalJpegs.h"
#include "common/RecordingProgress.h"
#include "common/TempFolder.h"
#include "generate/ShowBuilder.h"
#include "model/InMemoryDesignTree.h"
#include "model/TzybAppletAgent.h"

#include <gtest/gtest.h>

namespace buildfixture {

namespace fs = std::filesystem;

class BuildAndPublish : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(install());
        fs::create_directories(project());
        agent.setProgressDisplay(&progress);
        agent.SetDefaults();
        TAppletData d = agent.GetAppletData();
        d.pSliderDivID = "Velloria1_div"; // as the editor's pages store it
        d.pConfigName = "Velloria1cfg";
        agent.SetAppletData(d);
        writeBytes(inInstall("velloria.js"), "// runtime");
    }

    fs::path install() const { return folder.path() / "install"; }
    fs::path project() const { return folder.path() / "project"; }
    std::string inInstall(const std::string &name) const { return (install() / name).string(); }
    std::string inProject(const std::string &name) const { return (project() / name).string(); }

    std::string photo(const std::string &name, int width, int height)
    {
        const std::string path = (folder.path() / name).string();
        writeBytes(path, encodeOriginal(renderPhoto(width, height)));
        return path;
    }

    void addItem(const std::string &original, const std::string &link = "page.html")
    {
        const DesignTree::Node node = agent.insertChildItem(tree, tree.root());
        const int index = tree.absoluteIndex(node) - 1;
        TItemData item = agent.GetItem(index);
        item.IOriginalImagePath = original;
        item.ILink = link;
        agent.SetItem(item, index);
    }

    void setParameter(std::string TAppletData::*field, const std::string &value)
    {
        TAppletData d = agent.GetAppletData();
        d.*field = value;
        agent.SetAppletData(d);
    }

    std::string previewed(const std::string &name) const
    {
        return readBytes((agent.previewFolder() / name).string());
    }

    TempFolder folder;
    RecordingProgress progress;
    TzybAppletAgent agent{install()};
    ShowBuilder builder{agent};
    InMemoryDesignTree tree;
};

} // namespace buildfixture
