// What a publish may put into a site folder: never over another project's show unless told
// to, and never a kept slide that is no picture.

#include "CliRun.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class CliSite : public Cli
{
protected:
    void SetUp() override { ::setenv("XDG_CACHE_HOME", file("cache").c_str(), 1); }

    // A project with one picture, its show named `show`.
    void makeProject(const std::string &project, const std::string &show)
    {
        cli({"new", file(project)});
        cli({"set", file(project), "name=" + show});
        cli({"add", file(project), photo(project + ".jpg")});
    }
    std::string published(const std::string &name) { return readBytes(file("site/" + name)); }
};

struct Step
{
    const char *project;
    std::vector<std::string> options;
    int status;
    const char *said; // on standard error; "" for nothing in particular
};

struct TwoShows
{
    const char *name;
    const char *galleryShow; // the second project's show name
    std::vector<Step> steps;
    bool harbourKept; // index.jfs's show still in site/
};

void PrintTo(const TwoShows &c, std::ostream *out)
{
    *out << c.name;
}

class TwoShowsInOneFolder : public CliSite, public ::testing::WithParamInterface<TwoShows>
{};

// index.jfs has published its show "Harbour" into site/; gallery.jfs comes next.
TEST_P(TwoShowsInOneFolder, needTheUsersWordOrAFolderEach)
{
    makeProject("index.jfs", "Harbour");
    makeProject("gallery.jfs", GetParam().galleryShow);
    ASSERT_EQ(cli({"publish", file("index.jfs"), "--to", file("site")}).status, 0);
    const std::string script = published("velloriacfg.js"), slide = published("slider0.jpg"),
                      style = published("velloria.css");
    for (const Step &step : GetParam().steps) {
        std::vector<std::string> args{"publish", file(step.project), "--to", file("site")};
        args.insert(args.end(), step.options.begin(), step.options.end());
        const CliRun run = cli(args);
        SCOPED_TRACE(std::string(step.project) + " " + run.err);
        EXPECT_EQ(run.status, step.status);
        EXPECT_NE(run.err.find(step.said), std::string::npos);
    }
    const bool kept = published("velloriacfg.js") == script && published("slider0.jpg") == slide &&
                      published("velloria.css") == style;
    EXPECT_EQ(kept, GetParam().harbourKept);
    EXPECT_EQ(fs::exists(file("site/gallery_PublishReport.txt")), !GetParam().harbourKept);
}

const std::string refusal =
    "holds the show \"Harbour\" of the project \"index.jfs\". Publishing "
    "\"gallery.jfs\" there would replace its velloriacfg.js, velloria.css "
    "and slides, and \"index.html\" would show this project's show "
    "instead. Publish \"gallery.jfs\" into a folder of its own with --to FOLDER, or "
    "replace the other show with --replace-other-show.";

INSTANTIATE_TEST_SUITE_P(
    CliSite, TwoShowsInOneFolder,
    ::testing::Values(
        TwoShows{
            "anotherShowIsRefused", "Gallery", {{"gallery.jfs", {}, 1, refusal.c_str()}}, true},
        // One show name for both: only the reports tell the projects apart.
        TwoShows{
            "theSameShowNameIsRefusedToo", "Harbour", {{"gallery.jfs", {}, 1, "index.jfs"}}, true},
        TwoShows{"theOwnProjectRepublishes", "Gallery", {{"index.jfs", {}, 0, ""}}, true},
        TwoShows{"replacingIsTheUsersWord",
                 "Gallery",
                 {{"gallery.jfs", {"--replace-other-show"}, 0, ""},
                  {"gallery.jfs", {}, 0, ""},
                  {"index.jfs", {}, 1, "the show \"Gallery\" of the project \"gallery.jfs\""}},
                 false}));

TEST_F(CliSite, aScriptOfAnotherShowWithoutAReportIsAnotherShow)
{
    makeProject("gallery.jfs", "Gallery");
    fs::create_directory(file("site"));
    writeBytes(file("site/velloriacfg.js"), "/*\r\n*/\r\nfunction InitHarbour(){\r\n");
    const CliRun run = cli({"publish", file("gallery.jfs"), "--to", file("site")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("holds the show \"Harbour\" of another project"), std::string::npos)
        << run.err;
    EXPECT_EQ(published("velloriacfg.js"), "/*\r\n*/\r\nfunction InitHarbour(){\r\n");
}

// Items whose originals are gone keep slides named in the project file; beside the project
// lie files of those names that are no slides.
TEST_F(CliSite, keptSlidesThatAreNoPicturesStayOffTheSite)
{
    const struct
    {
        const char *slide;
        const char *content; // nullptr: a link to a real picture elsewhere
    } planted[] = {
        {".htaccess", "Options +ExecCGI\n"},    {"evil.php", "<?php system($_GET['c']); ?>"},
        {"index.html", "<html>planted</html>"}, {"linked.jpg", nullptr},
        {"x.jpg", "GIF89a, not a JPEG"},
    };
    const int count = static_cast<int>(std::size(planted));
    cli({"new", file("show.jfs")});
    for (int i = 0; i <= count; ++i)
        cli({"add", file("show.jfs"), photo("p" + std::to_string(i) + ".jpg")});
    ASSERT_EQ(cli({"publish", file("show.jfs")}).status, 0);
    std::string project = readBytes(file("show.jfs"));
    for (int i = 0; i < count; ++i) {
        const std::string stored = "slider" + std::to_string(i) + ".jpg#$@";
        project.replace(project.find(stored), stored.size(), std::string(planted[i].slide) + "#$@");
        if (planted[i].content)
            writeBytes(file(planted[i].slide), planted[i].content);
        else
            fs::create_symlink(photo("private.jpg"), file(planted[i].slide));
    }
    writeBytes(file("show.jfs"), project);
    for (int i = 0; i <= count; ++i)
        fs::remove(file("p" + std::to_string(i) + ".jpg"));
    fs::create_directory(file("site"));
    writeBytes(file("site/index.html"), "the site's own page");

    const CliRun run = cli({"publish", file("show.jfs"), "--to", file("site")});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string report = published("show_PublishReport.txt");
    for (int i = 0; i < count; ++i) {
        const std::string slide = planted[i].slide;
        SCOPED_TRACE(slide);
        EXPECT_NE(run.err.find("of item " + std::to_string(i + 1) +
                               " not found; its kept slide \"" + slide + "\" is not published ("),
                  std::string::npos)
            << run.err;
        // Whole lines: "x.jpg" is also the end of a 2x slide's name.
        EXPECT_EQ(report.find("  " + slide + "\r\n"), std::string::npos);
        if (slide != "index.html") {
            EXPECT_FALSE(fs::exists(fs::symlink_status(file("site/" + slide))));
        }
    }
    EXPECT_EQ(published("index.html"), "the site's own page");
    // A kept slide that is a picture still goes with the show.
    const std::string last = "slider" + std::to_string(count) + ".jpg";
    EXPECT_EQ(published(last), readBytes(file(last)));
    EXPECT_NE(report.find("  " + last + "\r\n"), std::string::npos);
}

} // namespace
