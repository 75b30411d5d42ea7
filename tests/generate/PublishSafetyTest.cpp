// What a save with publishing does with hostile or odd projects and folders: nothing is
// written anywhere but at its own path, a refused run leaves the site as it was, and no
// picture is lost to another.

#include "BuildFixture.h"
#include "platform/VelloriaError.h"

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class PublishSafety : public buildfixture::BuildAndPublish
{
protected:
    void publish(const std::string &fileName = "show.jfs")
    {
        builder.SaveAndPublish(project().string() + "/", fileName, tree);
    }
    std::string refusal(const std::string &fileName = "show.jfs")
    {
        try {
            publish(fileName);
        } catch (const VelloriaError &e) {
            return e.what();
        }
        return "published";
    }
    void setItemField(int index, std::string TItemData::*field, const std::string &value)
    {
        TItemData item = agent.GetItem(index);
        item.*field = value;
        agent.SetItem(item, index);
    }
    std::map<std::string, std::string> siteBytes()
    {
        std::map<std::string, std::string> bytes;
        for (const std::string &name : filesIn(project()))
            bytes[name] = readBytes(inProject(name));
        return bytes;
    }
};

// A link planted in the site folder is replaced by the file; what it points at stays.
TEST_F(PublishSafety, linksAtGeneratedPathsAreReplacedNeverWrittenThrough)
{
    addItem(photo("a.jpg", 400, 300));
    const std::string privateFile = folder.file("private");
    writeBytes(privateFile, "private");
    for (const char *name : {"show.html", "velloria.css", "slider0.jpg", "show_PublishReport.txt"})
        fs::create_symlink(privateFile, inProject(name));
    fs::create_symlink(folder.file("created-outside"), inProject("velloriacfg.js"));
    publish();
    EXPECT_EQ(readBytes(privateFile), "private");
    EXPECT_FALSE(fs::exists(folder.file("created-outside")));
    for (const std::string &name : filesIn(project()))
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(inProject(name)))) << name;
}

// Nothing changes on disk until everything is ready: a report path that is a folder, a
// pipe where the style sheet goes, or a missing runtime script stop the run first.
TEST_F(PublishSafety, aRefusedPublishLeavesTheSiteAsItWas)
{
    addItem(photo("a.jpg", 400, 300));
    publish();
    const auto before = siteBytes();
    addItem(photo("b.jpg", 400, 300));
    setParameter(&TAppletData::pWidth, "300");

    fs::remove(inProject("show_PublishReport.txt"));
    fs::create_directory(inProject("show_PublishReport.txt"));
    EXPECT_NE(refusal().find("show_PublishReport.txt\": it is a folder"), std::string::npos);
    fs::remove(inProject("show_PublishReport.txt"));
    fs::remove(inProject("velloria.css"));
    ::mkfifo(inProject("velloria.css").c_str(), 0600);
    EXPECT_NE(refusal().find("velloria.css\": it is a named pipe (FIFO)"), std::string::npos);
    fs::remove(inProject("velloria.css"));
    fs::remove(inInstall("velloria.js"));
    EXPECT_NE(refusal().find("velloria.js\": No such file or directory"), std::string::npos);

    auto after = siteBytes();
    after["show_PublishReport.txt"] = before.at("show_PublishReport.txt");
    after["velloria.css"] = before.at("velloria.css");
    EXPECT_EQ(after, before);
}

struct CraftedName
{
    const char *stored;
};

class CraftedSlideName : public PublishSafety, public ::testing::WithParamInterface<CraftedName>
{};

// A stored slide name that is no bare name, or names a file the run writes itself, is
// dropped: it is neither copied nor listed, and the project file is the one just saved.
TEST_P(CraftedSlideName, isDroppedAndNeverOverwritesTheRunsOwnFiles)
{
    addItem(folder.file("gone.jpg"));
    setItemField(0, &TItemData::IImageFileName, GetParam().stored);
    fs::create_directories(agent.previewFolder());
    writeBytes((agent.previewFolder() / "show.jfs").string(), "old project");
    publish();
    EXPECT_EQ(agent.GetItem(0).IImageFileName, "");
    const std::string saved = readBytes(inProject("show.jfs"));
    EXPECT_EQ(saved.find("old project"), std::string::npos);
    EXPECT_NE(saved.find("</Item_Parameters>"), std::string::npos);
    const std::string report = readBytes(inProject("show_PublishReport.txt"));
    EXPECT_NE(report.find("script files!\r\n\r\n\r\n"), std::string::npos) << report;
    EXPECT_EQ(readBytes(inProject("velloriacfg.js")).find(GetParam().stored), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(PublishSafety, CraftedSlideName,
                         ::testing::Values(CraftedName{"show.jfs"}, CraftedName{"SHOW.html"},
                                           CraftedName{"../../x.jpg"}, CraftedName{"velloria.js"},
                                           CraftedName{"show_PublishReport.txt"}));

// The second item keeps slider0.jpg from an earlier publish; the first item's new slide
// must not take that name, or the kept picture's only copy would be gone.
TEST_F(PublishSafety, aKeptSlideKeepsItsPicture)
{
    addItem(photo("a.jpg", 400, 300));
    addItem(folder.file("gone.jpg"));
    setItemField(1, &TItemData::IImageFileName, "slider0.jpg");
    const std::string kept = readBytes(photo("kept.jpg", 40, 30));
    writeBytes(inProject("slider0.jpg"), kept);
    agent.CopyResourceFiles(project().string() + "/");
    publish();
    EXPECT_EQ(agent.GetItem(0).IImageFileName, "slider0_1.jpg");
    EXPECT_EQ(agent.GetItem(1).IImageFileName, "slider0.jpg");
    EXPECT_EQ(readBytes(inProject("slider0.jpg")), kept);
    EXPECT_EQ(readBytes(inProject("slider0_1.jpg")).substr(0, 2), "\xFF\xD8");
    // With the kept item gone, the slide takes its usual name again.
    agent.deleteItemSubtree(tree, tree.nodeAt(2));
    publish();
    EXPECT_EQ(agent.GetItem(0).IImageFileName, "slider0.jpg");
}

// A link named like a kept slide must not put the file it points at on the site.
TEST_F(PublishSafety, keptSlidesAreNeverTakenThroughALink)
{
    addItem(folder.file("gone.jpg"));
    setItemField(0, &TItemData::IImageFileName, "slider0.jpg");
    writeBytes(folder.file("secret"), "secret");
    fs::create_symlink(folder.file("secret"), inProject("slider0.jpg"));
    agent.CopyResourceFiles(project().string() + "/");
    EXPECT_FALSE(fs::exists(agent.previewFolder() / "slider0.jpg"));
    fs::create_directory(folder.file("site"));
    builder.SaveAndPublish(folder.file("site") + "/", "show.jfs", tree);
    EXPECT_FALSE(fs::exists(folder.file("site/slider0.jpg")));
}

TEST_F(PublishSafety, anOriginalThatIsNoFileIsRefusedNotDropped)
{
    addItem(photo("a.jpg", 400, 300));
    fs::create_directory(folder.file("folder.jpg"));
    addItem(folder.file("folder.jpg"));
    EXPECT_EQ(refusal(),
              "Cannot read picture \"" + folder.file("folder.jpg") + "\": it is a folder");
    EXPECT_EQ(filesIn(project()), std::set<std::string>{});
}

// Where one root holds the other, a converted link holds the root it came from: a second
// save must not convert it again.
TEST_F(PublishSafety, nestedRootsConvertEachLinkOnce)
{
    setParameter(&TAppletData::pInternalUse_RootDir_Local, "/site/");
    setParameter(&TAppletData::pInternalUse_RootDir_Remote, "http://host/site/");
    addItem(folder.file("gone.jpg"), "/site/a.html");
    for (const char *checked : {"0", "0", "1", "1", "0"}) {
        setParameter(&TAppletData::pInternalUse_RootDir_Local_Checked, checked);
        publish();
        EXPECT_EQ(agent.GetItem(0).ILink,
                  *checked == '1' ? "/site/a.html" : "http://host/site/a.html");
    }
}

TEST_F(PublishSafety, numbersAreWrittenInTheirPlainSpelling)
{
    addItem(photo("a.jpg", 400, 300));
    setParameter(&TAppletData::pWidth, "0160");
    setParameter(&TAppletData::pContainerBorderStyle, "0");
    setParameter(&TAppletData::pContainerBorderWidth, "");
    publish();
    EXPECT_EQ(agent.GetAppletData().pWidth, "160");
    EXPECT_EQ(agent.GetAppletData().pContainerBorderWidth, "0");
    EXPECT_NE(readBytes(inProject("show.html")).find("width:160px"), std::string::npos);
    EXPECT_NE(readBytes(inProject("velloriacfg.js")).find("'Velloria1_div',160,"),
              std::string::npos);
}

TEST_F(PublishSafety, aProjectNameKeepsTheCaseOfItsExtension)
{
    publish("show.JFS");
    EXPECT_EQ(filesIn(project()).count("show.JFS"), 1u);
    EXPECT_EQ(filesIn(project()).count("show.jfs"), 0u);
    publish("show.txt");
    EXPECT_EQ(filesIn(project()).count("show.jfs"), 1u);
}

// A tool that uploads the site by time sends only what changed.
TEST_F(PublishSafety, filesThatHoldTheirBytesAlreadyAreLeftAlone)
{
    addItem(photo("a.jpg", 400, 300));
    publish();
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const char *name : {"slider0.jpg", "show.jfs"})
        fs::last_write_time(inProject(name), old);
    setParameter(&TAppletData::pDelay, "5");
    publish();
    EXPECT_EQ(fs::last_write_time(inProject("slider0.jpg")), old);
    EXPECT_NE(fs::last_write_time(inProject("show.jfs")), old);
}

} // namespace
