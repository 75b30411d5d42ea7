// A generation run and a save with publishing, as the editor starts them: what lands where,
// what the project holds afterwards, and what a refused run leaves alone.

#include "BuildFixture.h"
#include "DecodedJpeg.h"
#include "generate/SlideCache.h"
#include "platform/VelloriaError.h"

namespace fs = std::filesystem;

namespace {

using buildfixture::BuildAndPublish;

TEST_F(BuildAndPublish, slidesTakeTheShowsHeightAndTheirPosition)
{
    addItem(photo("a.jpg", 400, 300));
    addItem(photo("b.jpg", 333, 250));
    addItem(photo("c.jpg", 90, 240));
    builder.BuildHTML(inProject("show.html"), tree);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(agent.GetItem(i).IImageFileName, "slider" + std::to_string(i) + ".jpg");
    EXPECT_EQ(agent.GetItem(1).IWidth, "160");
    EXPECT_EQ(agent.GetItem(1).IHeight, "120");
    EXPECT_EQ(agent.GetItem(2).IWidth, "45");
    const DecodedJpeg slide = decodeJpeg(previewed("slider2.jpg"));
    EXPECT_EQ(slide.width, 45);
    EXPECT_EQ(slide.height, 120);
    // Each original has at least twice the show's 120 rows, so each slide has a sharp one.
    EXPECT_EQ(agent.previewFiles(),
              (TStringArray{"slider0.jpg", "slider0@2x.jpg", "slider1.jpg", "slider1@2x.jpg",
                            "slider2.jpg", "slider2@2x.jpg"}));
    EXPECT_EQ(filesIn(install()),
              (std::set<std::string>{"preview", "velloria.js", "velloriacfg.js", "velloria.css"}));
    EXPECT_TRUE(fs::exists(inProject("show.html")));
    EXPECT_EQ(tree.caption(tree.nodeAt(1)), "Item");
    EXPECT_EQ(progress.statuses, std::vector<std::string>{"Making HTML Codes ... ..."});
    EXPECT_FALSE(progress.busy);
}

TEST_F(BuildAndPublish, aMissingPictureKeepsItsFieldsAndLeavesAGap)
{
    addItem(folder.file("gone.jpg"));
    addItem(photo("b.jpg", 400, 300));
    TItemData kept = agent.GetItem(0);
    kept.IWidth = "";
    kept.IHeight = "";
    agent.SetItem(kept, 0);
    builder.BuildHTML(inProject("show.html"), tree);
    EXPECT_EQ(agent.GetItem(0).IImageFileName, "");
    EXPECT_EQ(agent.GetItem(1).IImageFileName, "slider1.jpg");
    EXPECT_EQ(tree.caption(tree.nodeAt(1)), "Warning: Original image not found.");
    EXPECT_EQ(tree.caption(tree.nodeAt(2)), "Item");
    const std::string script = readBytes(inInstall("velloriacfg.js"));
    EXPECT_NE(script.find("CIVelloria1(['','page.html','_self','',,]);\r\n"
                          "CIVelloria1(['slider1.jpg','page.html','_self','',160,120,"
                          "'slider1@2x.jpg']);"),
              std::string::npos);
}

TEST_F(BuildAndPublish, slidesOfALongListComeInTreeOrderWhateverTheWorkerOrder)
{
    const std::string wide = photo("wide.jpg", 320, 120);
    const std::string tall = photo("tall.jpg", 60, 240);
    TStringArray expected;
    for (int i = 0; i < 70; ++i) {
        addItem(i % 7 == 3 ? folder.file("none.jpg") : (i % 2 ? wide : tall));
        if (i % 7 != 3)
            expected.push_back("slider" + std::to_string(i) + ".jpg");
        // The tall original has twice the show's 120 rows; the wide one has not.
        if (i % 7 != 3 && i % 2 == 0)
            expected.push_back("slider" + std::to_string(i) + "@2x.jpg");
    }
    builder.BuildHTML(inProject("show.html"), tree);
    EXPECT_EQ(agent.previewFiles(), expected);
    for (int i = 0; i < 70; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(agent.GetItem(i).IWidth, i % 7 == 3 ? "160" : (i % 2 ? "320" : "30"));
        EXPECT_EQ(tree.caption(tree.nodeAt(i + 1)),
                  i % 7 == 3 ? "Warning: Original image not found." : "Item");
    }
}

// Each step is counted once its slide and every slide before it are in place, and no later
// slide is in place yet; a broken picture stops the run at its own step.
class StepsInOrder : public RecordingProgress
{
public:
    explicit StepsInOrder(const TzybAppletAgent &agent) : m_agent(agent) {}
    void advance(int step) override
    {
        RecordingProgress::advance(step);
        // A step of none only keeps the window alive while a slow picture is made.
        if (step == 0)
            return;
        slidesAtStep.push_back(m_agent.previewFiles().size());
        statusAtStep.push_back(status);
    }
    std::vector<std::size_t> slidesAtStep;
    std::vector<std::string> statusAtStep;

private:
    const TzybAppletAgent &m_agent;
};

class ProgressSteps : public BuildAndPublish, public ::testing::WithParamInterface<int>
{};

TEST_P(ProgressSteps, oneStepPerItemInTreeOrder)
{
    const int brokenAt = GetParam();
    const std::string wide = photo("wide.jpg", 320, 120);
    const std::string broken = folder.file("broken.jpg");
    writeBytes(broken, encodeOriginal(renderPhoto(320, 120)).substr(0, 900));
    StepsInOrder steps(agent);
    agent.setProgressDisplay(&steps);
    std::vector<std::size_t> expected; // slides in place at each step
    for (int i = 0; i < 45; ++i) {
        const bool missing = i % 5 == 2;
        addItem(i == brokenAt ? broken : missing ? folder.file("none.jpg") : wide);
        if (brokenAt < 0 || i < brokenAt)
            expected.push_back((expected.empty() ? 0 : expected.back()) + !missing);
    }
    try {
        builder.BuildHTML(inProject("show.html"), tree);
        EXPECT_LT(brokenAt, 0);
    } catch (const VelloriaError &e) {
        EXPECT_NE(std::string(e.what()).find("broken.jpg"), std::string::npos) << e.what();
    }
    EXPECT_EQ(steps.maximum, 45);
    EXPECT_EQ(steps.slidesAtStep, expected);
    EXPECT_EQ(steps.statusAtStep,
              std::vector<std::string>(expected.size(), "Making HTML Codes ... ..."));
}

INSTANTIATE_TEST_SUITE_P(BuildAndPublish, ProgressSteps, ::testing::Values(-1, 0, 29));

struct RootCase
{
    const char *checked;
    const char *link;
    const char *expected;
};

class RootReplacement : public BuildAndPublish, public ::testing::WithParamInterface<RootCase>
{};

TEST_P(RootReplacement, turnsLinksBetweenLocalAndWebPaths)
{
    setParameter(&TAppletData::pInternalUse_RootDir_Local, "C:\\site\\");
    setParameter(&TAppletData::pInternalUse_RootDir_Remote, "http://www.example.com/");
    setParameter(&TAppletData::pInternalUse_RootDir_Local_Checked, GetParam().checked);
    addItem(folder.file("none.jpg"), GetParam().link);
    builder.BuildHTML(inProject("show.html"), tree);
    EXPECT_EQ(agent.GetItem(0).ILink, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    BuildAndPublish, RootReplacement,
    ::testing::Values(RootCase{"1", "http://www.example.com/a.html", "C:\\site\\a.html"},
                      RootCase{"1", "HTTP://WWW.Example.com/a.html#http://www.example.com/",
                               "C:\\site\\a.html#C:\\site\\"},
                      RootCase{"0", "c:\\SITE\\b.html", "http://www.example.com/b.html"},
                      RootCase{"0", "other.html", "other.html"}));

TEST_F(BuildAndPublish, rootsTurnLinksBackAndEmptyRootsLeaveThemAlone)
{
    setParameter(&TAppletData::pInternalUse_RootDir_Local, "/home/me/site/");
    setParameter(&TAppletData::pInternalUse_RootDir_Remote, "https://me.example/");
    setParameter(&TAppletData::pInternalUse_RootDir_Local_Checked, "0");
    addItem(folder.file("none.jpg"), "/home/me/site/x.html");
    builder.BuildHTML(inProject("show.html"), tree);
    EXPECT_EQ(agent.GetItem(0).ILink, "https://me.example/x.html");
    setParameter(&TAppletData::pInternalUse_RootDir_Local_Checked, "1");
    builder.BuildHTML(inProject("show.html"), tree);
    EXPECT_EQ(agent.GetItem(0).ILink, "/home/me/site/x.html");
    setParameter(&TAppletData::pInternalUse_RootDir_Remote, "   ");
    setParameter(&TAppletData::pInternalUse_RootDir_Local_Checked, "0");
    builder.BuildHTML(inProject("show.html"), tree);
    EXPECT_EQ(agent.GetItem(0).ILink, "/home/me/site/x.html");
}

TEST_F(BuildAndPublish, buildingTwiceGivesTheSameBytes)
{
    addItem(photo("a.jpg", 500, 375));
    setParameter(&TAppletData::pContainerBorderStyle, "0");
    builder.BuildHTML(inProject("show.html"), tree);
    EXPECT_EQ(agent.GetAppletData().pContainerBorderWidth, "0");
    const std::string files[] = {inInstall("velloriacfg.js"), inInstall("velloria.css"),
                                 inProject("show.html"),
                                 (agent.previewFolder() / "slider0.jpg").string()};
    std::vector<std::string> first;
    for (const std::string &file : files)
        first.push_back(readBytes(file));
    builder.BuildHTML(inProject("show.html"), tree);
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(readBytes(files[i]), first[i]) << files[i];
    EXPECT_NE(first[1].find("BORDER:#FFFF00 0px none;"), std::string::npos);
}

TEST_F(BuildAndPublish, cachedSlidesAreTheSameBytes)
{
    addItem(photo("a.jpg", 640, 480));
    builder.BuildHTML(inProject("show.html"), tree);
    const std::string fresh = previewed("slider0.jpg");
    const SlideCache cache(folder.path() / "cache");
    builder.setSlideCache(&cache);
    builder.BuildHTML(inProject("show.html"), tree);
    EXPECT_EQ(filesIn(folder.path() / "cache").size(), 1u);
    builder.BuildHTML(inProject("show.html"), tree);
    EXPECT_EQ(previewed("slider0.jpg"), fresh);
}

class RefusedBuild : public BuildAndPublish
{
protected:
    // A save that must stop before it writes anything of its own.
    void expectRefused(const std::string &messagePart)
    {
        writeBytes(inProject("show.jfs"), "the saved project");
        try {
            builder.SaveAndPublish(project().string() + "/", "show.jfs", tree);
            FAIL() << "published";
        } catch (const VelloriaError &e) {
            EXPECT_NE(std::string(e.what()).find(messagePart), std::string::npos) << e.what();
        }
        EXPECT_EQ(filesIn(project()), std::set<std::string>{"show.jfs"});
        EXPECT_EQ(readBytes(inProject("show.jfs")), "the saved project");
        EXPECT_FALSE(progress.busy);
        EXPECT_EQ(progress.status, "");
    }
};

TEST_F(RefusedBuild, badParametersStopTheRunBeforeAnyFile)
{
    addItem(photo("a.jpg", 400, 300));
    setParameter(&TAppletData::pHeight, "0");
    expectRefused("Height must be at least 1 pixel");
    setParameter(&TAppletData::pHeight, "120");
    setParameter(&TAppletData::pSliderName, "My show");
    expectRefused("Name 'My show'");
    EXPECT_FALSE(fs::exists(agent.previewFolder()));
    EXPECT_FALSE(fs::exists(inInstall("velloria.css")));
}

TEST_F(RefusedBuild, anUnreadablePictureNamesTheFileAndLeavesNoSlide)
{
    addItem(photo("a.jpg", 400, 300));
    const std::string broken = folder.file("broken.jpg");
    const std::string whole = encodeOriginal(renderPhoto(400, 300));
    writeBytes(broken, whole.substr(0, whole.size() / 2));
    addItem(broken);
    expectRefused("broken.jpg");
    EXPECT_FALSE(fs::exists(agent.previewFolder() / "slider1.jpg"));
    for (const auto &file : filesIn(install()))
        EXPECT_EQ(file.find("slider"), std::string::npos) << file;
}

TEST_F(RefusedBuild, valuesTheProjectFileCannotHoldStopTheRunFirst)
{
    addItem(folder.file("none.jpg"), "a#$@b");
    expectRefused("Item 1, Link: The text can't include");
}

TEST_F(RefusedBuild, aKeptSizeThatIsNoNumberCannotReachTheScript)
{
    addItem(folder.file("none.jpg"));
    TItemData item = agent.GetItem(0);
    item.IWidth = "1]);alert(1);//";
    agent.SetItem(item, 0);
    expectRefused("Item 1, Slide Width: '1]);alert(1);//' is not a whole number.");
}

TEST_F(BuildAndPublish, savePutsEverythingASiteNeedsBesideTheProject)
{
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
        addItem(photo(name, 400, 300));
    ASSERT_TRUE(builder.SaveAndPublish(project().string() + "/", "show.jfs", tree));
    EXPECT_EQ(filesIn(project()),
              (std::set<std::string>{"show.html", "velloria.js", "velloriacfg.js", "velloria.css",
                                     "show.jfs", "show_PublishReport.txt", "slider0.jpg",
                                     "slider0@2x.jpg", "slider1.jpg", "slider1@2x.jpg",
                                     "slider2.jpg", "slider2@2x.jpg"}));
    EXPECT_EQ(readBytes(inProject("velloria.js")), "// runtime");
    EXPECT_EQ(readBytes(inProject("slider1.jpg")), previewed("slider1.jpg"));
    EXPECT_NE(readBytes(inProject("show.jfs")).find("slider2.jpg#$@"), std::string::npos);
    EXPECT_NE(readBytes(inProject("show_PublishReport.txt"))
                  .find("  slider0.jpg\r\n  slider0@2x.jpg\r\n  slider1.jpg\r\n  "
                        "slider1@2x.jpg\r\n  slider2.jpg\r\n  slider2@2x.jpg\r\n\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(progress.statuses,
              (std::vector<std::string>{"Making HTML Codes ... ...", "Saving Data ... ...",
                                        "Making Publish Report ... ...",
                                        "Copying Publishable Files ... ..."}));
    EXPECT_FALSE(progress.busy);
}

TEST_F(BuildAndPublish, slidesOfMissingOriginalsComeFromThePreview)
{
    const std::string original = photo("a.jpg", 400, 300);
    addItem(original);
    builder.SaveAndPublish(project().string() + "/", "show.jfs", tree);
    const std::string published = readBytes(inProject("slider0.jpg"));
    fs::remove(original);
    fs::remove(inProject("slider0.jpg"));
    builder.SaveAndPublish(project().string() + "/", "show.jfs", tree);
    EXPECT_EQ(readBytes(inProject("slider0.jpg")), published);
}

// What happens to the item between its first publish and a publish to a second site.
enum class Then { nothing, lowerOriginal, originalGone, originalAndSharpSlideGone };

struct SharpCase
{
    const char *name;
    int rows; // of the 400-pixel-wide original, in a show 120 pixels high
    Then then;
    bool sharp; // whether the second site has slider0@2x.jpg, in its script and report
};

class SharpSlides : public BuildAndPublish, public ::testing::WithParamInterface<SharpCase>
{};

TEST_P(SharpSlides, travelWithTheirSlideOrNotAtAll)
{
    const SharpCase &c = GetParam();
    const std::string original = photo("a.jpg", 400, c.rows);
    addItem(original);
    const std::string site = project().string() + "/";
    builder.SaveAndPublish(site, "show.jfs", tree);
    if (c.then == Then::lowerOriginal)
        writeBytes(original, encodeOriginal(renderPhoto(400, 200)));
    if (c.then == Then::originalGone || c.then == Then::originalAndSharpSlideGone) {
        fs::remove(original);
        if (c.then == Then::originalAndSharpSlideGone)
            fs::remove(inProject("slider0@2x.jpg"));
        agent.ClearPreview(); // opened again: the slides come from beside the project
        agent.CopyResourceFiles(site);
    }
    const fs::path second = folder.path() / "second";
    fs::create_directory(second);
    builder.SaveAndPublish(second.string() + "/", "show.jfs", tree);
    EXPECT_EQ(fs::exists(second / "slider0@2x.jpg"), c.sharp);
    const std::string script = readBytes((second / "velloriacfg.js").string());
    EXPECT_EQ(script.find(",'slider0@2x.jpg']);\r\n") != std::string::npos, c.sharp) << script;
    const std::string report = readBytes((second / "show_PublishReport.txt").string());
    EXPECT_EQ(report.find("  slider0.jpg\r\n  slider0@2x.jpg\r\n") != std::string::npos, c.sharp);
    if (!c.sharp)
        return;
    const DecodedJpeg sharp = decodeJpeg(readBytes((second / "slider0@2x.jpg").string()));
    EXPECT_EQ(sharp.width, 2 * std::stoi(agent.GetItem(0).IWidth));
    EXPECT_EQ(sharp.height, 240);
}

INSTANTIATE_TEST_SUITE_P(
    BuildAndPublish, SharpSlides,
    ::testing::Values(SharpCase{"lowerThanTwiceTheShow", 239, Then::nothing, false},
                      SharpCase{"exactlyTwiceTheShow", 240, Then::nothing, true},
                      SharpCase{"replacedByALowerOriginal", 300, Then::lowerOriginal, false},
                      SharpCase{"keptWithItsSlide", 300, Then::originalGone, true},
                      SharpCase{"keptSlideWithoutOne", 300, Then::originalAndSharpSlideGone,
                                false}),
    [](const auto &test) { return std::string(test.param.name); });

struct NameCase
{
    const char *given;
    const char *published;
};

class PublishedName : public ::testing::TestWithParam<NameCase>
{};

TEST_P(PublishedName, dropsEveryCopyOfTheExtension)
{
    EXPECT_EQ(TzybAppletAgent::publishedName(GetParam().given), GetParam().published);
}

INSTANTIATE_TEST_SUITE_P(BuildAndPublish, PublishedName,
                         ::testing::Values(NameCase{"show.jfs", "show"},
                                           NameCase{"show.JFS", "show"},
                                           NameCase{"show.jfs.jfs", "show"},
                                           NameCase{"show", "show"}, NameCase{"show.txt", "show"},
                                           NameCase{"my.show.jfs", "my.show"}));

TEST_F(BuildAndPublish, aNameOfOnlyAnExtensionIsRefused)
{
    EXPECT_THROW(builder.SaveAndPublish(project().string() + "/", ".jfs", tree), VelloriaError);
    EXPECT_TRUE(filesIn(project()).empty());
}

TEST_F(BuildAndPublish, anEmptyProjectPublishesAnEmptyImageList)
{
    builder.SaveAndPublish(project().string() + "/", "empty", tree);
    EXPECT_NE(
        readBytes(inProject("empty_PublishReport.txt")).find("script files!\r\n\r\n\r\n====="),
        std::string::npos);
    EXPECT_TRUE(fs::exists(inProject("empty.jfs")));
}

} // namespace
