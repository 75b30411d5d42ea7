// velloria-cli as a user runs it: exit status, what it prints, what it leaves on disk.

#include "CliRun.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

namespace {

TEST_F(Cli, newWritesTheDefaultProjectAndWillNotOverwrite)
{
    EXPECT_EQ(cli({"new", file("a.jfs")}).status, 0);
    const std::string bytes = readBytes(file("a.jfs"));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 15);
    writeBytes(file("a.jfs"), "mine");
    const CliRun again = cli({"new", file("a.jfs")});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("already exists"), std::string::npos);
    EXPECT_EQ(readBytes(file("a.jfs")), "mine");
    EXPECT_EQ(cli({"new", "--force", file("a.jfs")}).status, 0);
    EXPECT_EQ(readBytes(file("a.jfs")), bytes);
}

TEST_F(Cli, addAppendsItemsThatInfoShowsAsJson)
{
    cli({"new", file("p.jfs")});
    photo("one.jpg");
    photo("two.jpg");
    ASSERT_EQ(cli({"add", file("p.jfs"), file("one.jpg"), folder.path().string() + "/./two.jpg",
                   "--link", "http://example.org/", "--target", "_blank", "--tooltip", "Zwei"})
                  .status,
              0);
    const CliRun info = cli({"info", file("p.jfs"), "--json"});
    ASSERT_EQ(info.status, 0) << info.err;
    const auto json = nlohmann::json::parse(info.out);
    EXPECT_EQ(json["parameters"]["pSliderName"], "Velloria1");
    EXPECT_EQ(json["parameters"].size(), 14u);
    ASSERT_EQ(json["items"].size(), 2u);
    EXPECT_EQ(json["items"][1]["IOriginalImagePath"], file("two.jpg"));
    EXPECT_EQ(json["items"][1]["ITarget"], "_blank");
    EXPECT_EQ(json["items"][1]["ILevel"], "0");
    EXPECT_EQ(json["items"][0].size(), 9u);
    EXPECT_EQ(json["tree"], nlohmann::json::parse(R"([{"caption":"Image","children":[]},
                                                       {"caption":"Image","children":[]}])"));
}

TEST_F(Cli, jsonTreeFollowsTheLevels)
{
    cli({"new", file("p.jfs")});
    std::string text = readBytes(file("p.jfs"));
    const std::string item = "#$@#$@#$@_self#$@#$@160#$@120#$@";
    std::string items;
    for (const char *level : {"0", "1", "2", "1", "0"})
        items += item + level + "#$@#$@\r\n";
    text.insert(text.find("</Item_Parameters>"), items);
    writeBytes(file("p.jfs"), text);
    const auto json = nlohmann::json::parse(cli({"info", file("p.jfs"), "--json"}).out);
    const auto leaf = nlohmann::json::parse(R"({"caption":"Image","children":[]})");
    nlohmann::json middle = {{"caption", "Image"}, {"children", {leaf}}};
    nlohmann::json first = {{"caption", "Image"}, {"children", {middle, leaf}}};
    EXPECT_EQ(json["tree"], nlohmann::json::array({first, leaf}));
}

TEST_F(Cli, badInputIsReportedWithTheFileAndLeavesItAlone)
{
    writeBytes(file("foreign.jfs"), "<Product_Name>\r\nOther\r\n");
    CliRun run = cli({"info", file("foreign.jfs")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("foreign.jfs\": This file wasn't saved by Velloria 1.0, open failed!"),
              std::string::npos);

    writeBytes(file("empty.jfs"), "");
    run = cli({"resave", file("empty.jfs"), file("out.jfs")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("holds no Velloria project"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(file("out.jfs")));

    for (const std::string &special : {std::string("/dev/zero"), file("pipe.jfs")}) {
        ::mkfifo(file("pipe.jfs").c_str(), 0600);
        run = cli({"info", special});
        EXPECT_EQ(run.status, 1) << special;
        EXPECT_NE(run.err.find(special == "/dev/zero" ? "it is a character device"
                                                      : "it is a named pipe"),
                  std::string::npos)
            << run.err;
    }

    run = cli({"info", file("missing.jfs")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("missing.jfs\": No such file or directory"), std::string::npos);

    cli({"new", file("p.jfs")});
    const std::string before = readBytes(file("p.jfs"));
    photo("one.jpg");
    run = cli({"add", file("p.jfs"), file("one.jpg"), file("nothere.jpg")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("nothere.jpg"), std::string::npos);
    run = cli({"add", file("p.jfs"), file("pipe.jfs")});
    EXPECT_NE(run.err.find("pipe.jfs\": it is a named pipe (FIFO)"), std::string::npos) << run.err;
    run = cli({"add", file("p.jfs"), file("one.jpg"), "--tooltip", "a#$@b"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Tooltip: The text can't include"), std::string::npos) << run.err;
    EXPECT_EQ(readBytes(file("p.jfs")), before);
}

TEST_F(Cli, usageErrorsExitWithTwo)
{
    EXPECT_EQ(cli({}).status, 2);
    EXPECT_EQ(cli({"frobnicate"}).status, 2);
    EXPECT_EQ(cli({"info"}).status, 2);
    EXPECT_EQ(cli({"--help"}).status, 0);
}

// Lost users are told what there is and where to read on, never only what went wrong.
TEST_F(Cli, helpAndMistakesSayWhatThereIs)
{
    const struct
    {
        std::vector<std::string> args;
        int status;
        std::string said;
    } cases[] = {
        {{}, 2, "The commands are: new, info, resave, publish, set, add, item, remove, move,"},
        {{"frobnicate"}, 2, "'frobnicate' is not a command.\nThe commands are: new,"},
        {{"help", "frobnicate"}, 2, "'frobnicate' is not a command."},
        {{"info"}, 2, "Run 'velloria-cli help info' for its arguments and options."},
        {{"move", "p.jfs", "1", "sideways"}, 2, "help move"},
        {{"--version"}, 0, "velloria-cli (Velloria 1.0)\n"},
        {{"help"}, 0, "  remove "},
        {{"help", "set"}, 0, "Usage: velloria-cli set [OPTIONS] PROJECT FIELD=VALUE..."},
        {{"help", "set"}, 0, "  border-style    border style by name\n"},
        {{"completion", "bash"}, 0, "complete -F _velloria_cli velloria-cli\n"},
    };
    for (const auto &c : cases) {
        const CliRun run = cli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.size();
        EXPECT_NE((run.out + run.err).find(c.said), std::string::npos) << run.out << run.err;
        EXPECT_EQ(run.err.find("A subcommand is required"), std::string::npos);
    }
    EXPECT_EQ(cli({"help"}).out.find("completion"), std::string::npos); // for the install only
}

TEST_F(Cli, resaveWritesTheSameBytes)
{
    cli({"new", file("p.jfs")});
    photo("one.jpg");
    cli({"add", file("p.jfs"), file("one.jpg")});
    ASSERT_EQ(cli({"resave", file("p.jfs"), file("q.jfs")}).status, 0);
    EXPECT_EQ(readBytes(file("q.jfs")), readBytes(file("p.jfs")));
}

class CliPublish : public Cli
{
protected:
    void SetUp() override
    {
        // Slides made by the tests stay out of the user's cache.
        ::setenv("XDG_CACHE_HOME", file("cache").c_str(), 1);
    }
    void copyPhoto(const std::string &name)
    {
        std::filesystem::copy_file(VELLORIA_SAMPLE_PHOTO, file(name));
    }
};

TEST_F(CliPublish, aNewProjectPublishesAWorkingShow)
{
    cli({"new", file("show.jfs")});
    copyPhoto("one.jpg");
    cli({"add", file("show.jfs"), file("one.jpg"), "--link", "a.html"});
    const CliRun run = cli({"publish", file("show.jfs"), "--to", file("site/deep")});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string page = readBytes(file("site/deep/show.html"));
    // After the report, the code to paste: what loads the show and the <div> that places it.
    EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1),
              file("site/deep/show_PublishReport.txt") + "\n");
    const std::string code = run.out.substr(run.out.find("-->\n") + 4);
    std::string expected = page.substr(page.find("<!-- BEGIN -->\r\n") + 16);
    expected = expected.substr(0, expected.find("<!-- END -->"));
    expected += page.substr(page.find("<div id="), page.find("</div>") - page.find("<div id=") + 6);
    std::erase(expected, '\r');
    EXPECT_EQ(code, expected + "\n");
    EXPECT_EQ(cli({"publish", file("show.jfs"), "--to", file("site/deep"), "--quiet"}).out,
              file("site/deep/show_PublishReport.txt") + "\n");
    // Alone, for scripts that paste it: the scripts marked as the page marks them, then the
    // <div>, each as the page holds it.
    const std::string alone =
        cli({"publish", file("show.jfs"), "--to", file("site/deep"), "--code-only"}).out;
    std::string pageLines = page;
    std::erase(pageLines, '\r');
    const std::size_t div = alone.rfind("<div id=");
    ASSERT_NE(div, std::string::npos) << alone;
    EXPECT_EQ(alone.rfind("<!-- BEGIN -->\n", 0), 0u) << alone;
    EXPECT_TRUE(alone.substr(0, div).ends_with("<!-- END -->\n")) << alone;
    EXPECT_NE(pageLines.find(alone.substr(0, div)), std::string::npos) << alone;
    EXPECT_NE(pageLines.find("\n" + alone.substr(div)), std::string::npos) << alone;
    EXPECT_NE(page.find("<div id=\"Velloria1_div\" style=\"width:160px;height:120px;\">"),
              std::string::npos);
    const std::string script = readBytes(file("site/deep/velloriacfg.js"));
    EXPECT_NE(script.find("'FFFFFF',0,30,Velloria1cfg,0);};"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(file("site/deep/slider0.jpg")));
    EXPECT_TRUE(std::filesystem::exists(file("site/deep/velloria.js")));
    EXPECT_TRUE(std::filesystem::exists(file("site/deep/show.jfs")));
}

TEST_F(CliPublish, slidesPublishedBesideTheProjectSurviveAMissingOriginal)
{
    cli({"new", file("show.jfs")});
    copyPhoto("one.jpg");
    cli({"add", file("show.jfs"), file("one.jpg")});
    ASSERT_EQ(cli({"publish", file("show.jfs")}).status, 0);
    const std::string slide = readBytes(file("slider0.jpg"));
    std::filesystem::remove(file("one.jpg"));
    copyPhoto("never.jpg");
    cli({"add", file("show.jfs"), file("never.jpg")});
    std::filesystem::remove(file("never.jpg"));
    const CliRun again = cli({"publish", file("show.jfs"), "--to", file("elsewhere")});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(readBytes(file("elsewhere/slider0.jpg")), slide);
    // The run went on, and says which originals it did not find.
    EXPECT_NE(again.err.find("warning: \"" + file("show.jfs") + "\": original picture \"" +
                             file("one.jpg") +
                             "\" of item 1 not found; the item keeps its "
                             "earlier slide \"slider0.jpg\""),
              std::string::npos)
        << again.err;
    EXPECT_NE(again.err.find(file("never.jpg") + "\" of item 2 not found; the item has no slide"),
              std::string::npos)
        << again.err;
}

TEST_F(CliPublish, aBrokenPictureStopsThePublishAndKeepsTheProject)
{
    cli({"new", file("show.jfs")});
    // Its header is whole, so `add` takes it; the picture data breaks off.
    const std::string whole = readBytes(VELLORIA_SAMPLE_PHOTO);
    writeBytes(file("bad.jpg"), whole.substr(0, whole.size() / 3));
    ASSERT_EQ(cli({"add", file("show.jfs"), file("bad.jpg")}).status, 0);
    const std::string before = readBytes(file("show.jfs"));
    const CliRun run = cli({"publish", file("show.jfs")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("bad.jpg"), std::string::npos) << run.err;
    EXPECT_EQ(readBytes(file("show.jfs")), before);
    EXPECT_FALSE(std::filesystem::exists(file("show.html")));
}

TEST_F(CliPublish, scaleMakesOneSlide)
{
    copyPhoto("one.jpg");
    CliRun run = cli({"scale", file("one.jpg"), file("out.jpg"), "60"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "80x60\n");
    EXPECT_EQ(readBytes(file("out.jpg")).substr(0, 2), "\xFF\xD8");
    run = cli({"scale", file("one.jpg"), file("zero.jpg"), "0"});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(std::filesystem::exists(file("zero.jpg")));
    EXPECT_EQ(cli({"scale", file("one.jpg"), file("x.jpg"), "tall"}).status, 2);
}

// Slide sizes are refused from the picture's header, within a gigabyte of address space:
// 65500 once took 24 GB before the run was killed.
TEST_F(CliPublish, scaleRefusesSlidesBeyondTheLargestSize)
{
    copyPhoto("one.jpg");
    const struct
    {
        const char *height;
        const char *reason;
    } cases[] = {
        {"12000", "16000 x 12000 pixels, higher than the largest slide height of 9999 pixels"},
        {"65500", "87333 x 65500 pixels, higher than the largest slide height of 9999 pixels"},
        {"9999", "13332 x 9999 pixels, more than the limit of 40 megapixels for a slide"},
    };
    for (const auto &c : cases) {
        const CliRun run = cli({"scale", "one.jpg", "out.jpg", c.height}, "ulimit -v 1000000;");
        EXPECT_EQ(run.status, 1) << c.height;
        EXPECT_EQ(run.err, std::string("velloria-cli: Cannot make a slide of \"one.jpg\": the "
                                       "picture is 640 x 480 pixels and its slide would be ") +
                               c.reason + "\n");
        EXPECT_FALSE(std::filesystem::exists(file("out.jpg")));
    }
}

// The cache removes only what it wrote, and never through a link where its folder belongs.
TEST_F(CliPublish, cacheNeverFollowsALinkedFolder)
{
    std::filesystem::create_directories(file("docs"));
    writeBytes(file("docs/talk.slide"), "my talk");
    std::filesystem::create_directories(file("cache/velloria"));
    std::filesystem::create_directory_symlink(file("docs"), file("cache/velloria/slides"));
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"cache"}, std::vector<std::string>{"cache", "--clear"}}) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("Cannot use the slide cache \"" + file("cache/velloria/slides") +
                               "\": it is a symbolic link"),
                  std::string::npos)
            << run.err;
    }
    cli({"new", file("show.jfs")});
    copyPhoto("one.jpg");
    cli({"add", file("show.jfs"), file("one.jpg")});
    ::setenv("VELLORIA_SLIDE_CACHE_LIMIT_MB", "0", 1);
    const CliRun run = cli({"publish", file("show.jfs")});
    ::unsetenv("VELLORIA_SLIDE_CACHE_LIMIT_MB");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readBytes(file("docs/talk.slide")), "my talk");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file("docs")), {}), 1);
}

// Another command holding the project makes the next one wait, then give up: the second
// never writes back a project read before the first one's changes.
TEST_F(Cli, aCommandWaitsForAnotherOnTheSameProject)
{
    cli({"new", file("p.jfs")});
    photo("one.jpg");
    const int held = ::open(file("p.jfs").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    std::thread letGo([held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        ::close(held);
    });
    EXPECT_EQ(cli({"add", file("p.jfs"), file("one.jpg")}).status, 0);
    letGo.join();

    const int holder = ::open(file("p.jfs").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    const std::string before = readBytes(file("p.jfs"));
    const CliRun busy = cli({"add", file("p.jfs"), file("one.jpg")});
    ::close(holder);
    EXPECT_EQ(busy.status, 1);
    EXPECT_NE(busy.err.find("\"" + file("p.jfs") + "\" is busy"), std::string::npos) << busy.err;
    EXPECT_EQ(readBytes(file("p.jfs")), before);
}

TEST_F(Cli, refusalsNameTheProjectAndWritesOnlyGoToFiles)
{
    cli({"new", file("p.jfs")});
    std::string text = readBytes(file("p.jfs"));
    text.replace(text.find("#$@120#$@"), 9, "#$@0#$@");
    writeBytes(file("p.jfs"), text);
    CliRun run = cli({"publish", file("p.jfs")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("\"" + file("p.jfs") + "\": Height must be at least 1 pixel, not 0."),
              std::string::npos)
        << run.err;

    writeBytes(file("bare.jfs"), text.substr(0, text.find("<Item_Parameters>")));
    run = cli({"info", file("bare.jfs")});
    EXPECT_NE(run.err.find("has no item list"), std::string::npos) << run.err;

    ::mkfifo(file("out.fifo").c_str(), 0600);
    std::filesystem::copy_file(VELLORIA_SAMPLE_PHOTO, file("one.jpg"));
    run = cli({"scale", file("one.jpg"), file("out.fifo"), "60"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("out.fifo\": it is a named pipe (FIFO)"), std::string::npos) << run.err;
}

// Runs interrupted at the step where every site file is ready but none is in place.
class InterruptedPublish : public CliPublish
{
protected:
    void SetUp() override
    {
        CliPublish::SetUp();
        cli({"new", file("show.jfs")});
        copyPhoto("one.jpg");
        cli({"add", file("show.jfs"), file("one.jpg")});
        ASSERT_EQ(cli({"publish", file("show.jfs")}).status, 0);
        std::filesystem::create_directory(file("tmp"));
        copyPhoto("two.jpg");
        cli({"add", file("show.jfs"), file("two.jpg")});
        before = readBytes(file("show.html")) + readBytes(file("velloriacfg.js"));
    }
    CliRun publishKilledBy(int signal, const std::string &point = "publish-staged")
    {
        return cli({"publish", file("show.jfs")}, "TMPDIR=" + quoted(file("tmp")) +
                                                      " VELLORIA_FAULT=" + point + ":" +
                                                      std::to_string(signal));
    }
    std::size_t temporaries()
    {
        std::size_t count = 0;
        for (const std::string &name : filesIn(folder.path()))
            count += name.find(".vtmp") != std::string::npos;
        return count + filesIn(file("tmp")).size();
    }
    std::string before;
};

TEST_F(InterruptedPublish, byCtrlCOrTerminateCleansUpAndChangesNothing)
{
    for (const int signal : {SIGINT, SIGTERM}) {
        EXPECT_NE(publishKilledBy(signal).status, 0);
        EXPECT_EQ(temporaries(), 0u);
        EXPECT_EQ(readBytes(file("show.html")) + readBytes(file("velloriacfg.js")), before);
    }
}

TEST_F(InterruptedPublish, byKillLeavesLeftoversThatTheNextRunRemoves)
{
    EXPECT_NE(publishKilledBy(SIGKILL).status, 0);
    EXPECT_GT(temporaries(), 0u);
    EXPECT_EQ(readBytes(file("show.html")) + readBytes(file("velloriacfg.js")), before);
    // Killed after the project file was put in place: the rest keeps its old files whole,
    // and the backups of the replaced ones are left behind.
    EXPECT_NE(publishKilledBy(SIGKILL, "commit-started").status, 0);
    EXPECT_NE(readBytes(file("show.jfs")).find("two.jpg"), std::string::npos);
    EXPECT_EQ(readBytes(file("show.html")) + readBytes(file("velloriacfg.js")), before);
    const CliRun next = cli({"publish", file("show.jfs")}, "TMPDIR=" + quoted(file("tmp")));
    ASSERT_EQ(next.status, 0) << next.err;
    EXPECT_EQ(temporaries(), 0u);
    EXPECT_NE(readBytes(file("velloriacfg.js")).find("slider1.jpg"), std::string::npos);
}

// A file-size limit stands in for a full disk: slides no longer fit, the script still does.
TEST_F(InterruptedPublish, aFullDiskStopsItWithTheFileNamedAndChangesNothing)
{
    const CliRun full = cli({"publish", file("show.jfs"), "--no-cache"},
                            "trap '' XFSZ; ulimit -f 6; TMPDIR=" + quoted(file("tmp")));
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find(".jpg\": File too large"), std::string::npos) << full.err;
    EXPECT_EQ(temporaries(), 0u);
    EXPECT_EQ(readBytes(file("show.html")) + readBytes(file("velloriacfg.js")), before);
}

TEST_F(CliPublish, cacheShowsItsSlidesAndEmpties)
{
    cli({"new", file("show.jfs")});
    copyPhoto("one.jpg");
    cli({"add", file("show.jfs"), file("one.jpg")});
    ASSERT_EQ(cli({"publish", file("show.jfs")}).status, 0);
    const std::string slides = file("cache") + "/velloria/slides";
    CliRun run = cli({"cache"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), slides);
    EXPECT_NE(run.out.find("\nSlides: 1, 0.0 MB of at most 500.0 MB\n"), std::string::npos)
        << run.out;
    run = cli({"cache", "--clear"});
    EXPECT_EQ(run.out, "Removed from " + slides + ": 1 slides, 0.0 MB\n");
    EXPECT_TRUE(std::filesystem::is_empty(slides));

    // Each publish keeps the cache within its limit; one of nothing keeps no slide.
    ::setenv("VELLORIA_SLIDE_CACHE_LIMIT_MB", "0", 1);
    run = cli({"publish", file("show.jfs")});
    ::unsetenv("VELLORIA_SLIDE_CACHE_LIMIT_MB");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::filesystem::is_empty(slides));
}

} // namespace
