// The editing commands of velloria-cli against the editor's project commands: the same edit
// gives the same bytes of the project file, and every refusal leaves the file as it was.

#include "CliRun.h"
#include "common/ScriptedPrompts.h"
#include "generate/ShowBuilder.h"
#include "model/InMemoryDesignTree.h"
#include "model/PlainPropertyPages.h"
#include "model/ProjectCommands.h"

#include <functional>
#include <nlohmann/json.hpp>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// What a user does in the editor: the tree, the pages and the answers to questions.
using EditorEdit =
    std::function<void(ProjectCommands &, PlainPropertyPages &, DesignTree &, ScriptedPrompts &)>;

class CliEdit : public Cli
{
protected:
    // Items 1 to 5 at levels 0, 1, 1, 0, 0; item 4's picture is missing.
    void SetUp() override
    {
        const std::string item = "#$@#$@_self#$@#$@";
        std::string items;
        const std::pair<const char *, const char *> rows[] = {
            {"a.jpg", "0"}, {"b.jpg", "1"}, {"c.jpg", "1"}, {"gone.jpg", "0"}, {"a.jpg", "0"}};
        for (int i = 0; i < 5; ++i) {
            const auto [picture, level] = rows[i];
            items += "slider" + std::to_string(i) + ".jpg#$@" + file(picture) +
                     "#$@http://example.org/#$@_self#$@Tip " + std::to_string(i + 1) +
                     "#$@160#$@120#$@" + level + "#$@#$@\r\n";
        }
        for (const char *picture : {"a.jpg", "b.jpg", "c.jpg"})
            photo(picture);
        writeBytes(file("text.jpg"), "plain text, not a picture");
        writeBytes(file("holiday.png"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
        writeBytes(file("wave.gif"), "GIF89a");
        cli({"new", file("base.jfs")});
        base = readBytes(file("base.jfs"));
        base.insert(base.find("</Item_Parameters>"), items);
        writeBytes(file("p.jfs"), base);
    }

    // The editor's commands on a copy of the project, stored and saved as Save stores it.
    std::string editedByEditor(const EditorEdit &edit)
    {
        writeBytes(file("q.jfs"), base);
        TzybAppletAgent agent(folder.path());
        ShowBuilder builder(agent);
        InMemoryDesignTree tree;
        agent.LoadFromFile(file("q.jfs"), tree);
        PlainPropertyPages pages;
        ScriptedPrompts prompts;
        ProjectEvents events;
        ProjectCommands commands(agent, builder, tree, pages, prompts, events, folder.path());
        pages.showApplet(agent.GetAppletData());
        edit(commands, pages, tree, prompts);
        commands.storePages();
        agent.SaveToFile(file("q.jfs"));
        return readBytes(file("q.jfs"));
    }

    std::string base;
};

TEST_F(CliEdit, eachCommandWritesWhatTheEditorWrites)
{
    const struct
    {
        std::vector<std::string> args;
        EditorEdit edit;
    } cases[] = {
        // The name is trimmed and names the element and the array.
        {{"set", "name=  Demo  "},
         [](auto &, PlainPropertyPages &p, auto &, auto &) { p.applet.pSliderName = "  Demo  "; }},
        {{"set", "background=#00ff80", "border-color=336699", "border-style=Ridge"},
         [](auto &, PlainPropertyPages &p, auto &, auto &) {
             p.applet.pBgColor = "00FF80";
             p.applet.pContainerBorderColor = "336699";
             p.applet.pContainerBorderStyle = "6";
         }},
        // As a spin edit holds them: "+320" and "0240" are the numbers 320 and 240; each
        // bound of the pages is taken.
        {{"set", "width=+320", "height=0240", "delay=0", "step=0", "border-width=9999"},
         [](auto &, PlainPropertyPages &p, auto &, auto &) {
             p.applet.pWidth = "320";
             p.applet.pHeight = "240";
             p.applet.pDelay = "0";
             p.applet.pStep = "0";
             p.applet.pContainerBorderWidth = "9999";
         }},
        {{"set", "local-root= /srv/www ", "web-root=https://example.org/", "convert-to=web"},
         [](auto &, PlainPropertyPages &p, auto &, auto &) {
             p.applet.pInternalUse_RootDir_Local = " /srv/www ";
             p.applet.pInternalUse_RootDir_Remote = "https://example.org/";
             p.applet.pInternalUse_RootDir_Local_Checked = "0";
         }},
        // The same picture keeps its slide; only the options given change.
        {{"item", "2", "--tooltip", " Tip ", "--target", "_blank"},
         [](ProjectCommands &c, PlainPropertyPages &p, DesignTree &t, auto &) {
             c.selectionChanged(t.nodeAt(2));
             p.item.toolTip = " Tip ";
             p.item.target = "_blank";
         }},
        // Another picture drops the slide of the old one.
        {{"item", "1", "--picture", "c.jpg", "--link", ""},
         [this](ProjectCommands &c, PlainPropertyPages &p, DesignTree &t, auto &) {
             c.selectionChanged(t.nodeAt(1));
             p.item.originalImagePath = file("c.jpg");
             p.item.link = "";
         }},
        {{"remove", "1"},
         [](ProjectCommands &c, auto &, DesignTree &t, ScriptedPrompts &prompts) {
             prompts.answers = {"yes"};
             c.deleteItem(t.nodeAt(1));
         }},
        {{"remove", "3"},
         [](ProjectCommands &c, auto &, DesignTree &t, ScriptedPrompts &prompts) {
             prompts.answers = {"yes"};
             c.deleteItem(t.nodeAt(3));
         }},
        {{"move", "4", "up"},
         [](ProjectCommands &c, auto &, DesignTree &t, auto &) { c.moveUp(t.nodeAt(4)); }},
        {{"move", "1", "down"},
         [](ProjectCommands &c, auto &, DesignTree &t, auto &) { c.moveDown(t.nodeAt(1)); }},
        {{"move", "3", "up"},
         [](ProjectCommands &c, auto &, DesignTree &t, auto &) { c.moveUp(t.nodeAt(3)); }},
    };
    for (const auto &c : cases) {
        writeBytes(file("p.jfs"), base);
        std::vector<std::string> args = c.args;
        args.insert(args.begin() + 1, file("p.jfs"));
        const CliRun edited = cli(args);
        ASSERT_EQ(edited.status, 0) << args[0] << " " << args[2] << ": " << edited.err;
        const std::string bytes = readBytes(file("p.jfs"));
        EXPECT_NE(bytes, base) << args[0] << " " << args[2];
        EXPECT_EQ(bytes, editedByEditor(c.edit)) << args[0] << " " << args[2];
    }
}

// All or nothing: a refused value, item or picture leaves the project byte for byte as it
// was, and the message names the project, what was refused and why.
TEST_F(CliEdit, refusalsChangeNothingAndSayWhy)
{
    const struct
    {
        std::vector<std::string> args;
        std::string field;
        std::string reason;
    } cases[] = {
        {{"set", "width=abc"}, "width: ", "is not a whole number from 1 to 9999"},
        {{"set", "height=10000"}, "height: ", "from 1 to 9999"},
        {{"set", "height=0"}, "height: ", "from 1 to 9999"},
        {{"set", "delay=-3"}, "delay: ", "from 0 to 9999"},
        {{"set", "width=200", "name=9lives"}, "name: ", "may not start with a digit"},
        {{"set", "name=  "}, "name: ", "The name may hold only letters"},
        {{"set", "name=a-b"}, "name: ", "The name may hold only letters"},
        {{"set", "colour=red"}, "colour: ", "no such field; the fields are name, width,"},
        {{"set", "width"}, "'width' ", "is not FIELD=VALUE"},
        {{"set", "background=#12345"}, "background: ", "is not a colour: use #RRGGBB"},
        {{"set", "border-color=GG0000"}, "border-color: ", "is not a colour"},
        {{"set", "border-style=fancy"}, "border-style: ", "use one of none, dotted,"},
        {{"set", "convert-to=ftp"}, "convert-to: ", "is neither local nor web"},
        {{"set", "local-root=a#$@b"}, "local-root: ", "can't include \"#$@\""},
        {{"set", "web-root=a\nb"}, "web-root: ", "can't include a line break"},
        {{"item", "6", "--tooltip", "x"}, "item 6: ", "no such item"},
        {{"item", "0", "--tooltip", "x"}, "item 0: ", "no such item"},
        {{"item", "1", "--link", "a\rb"}, "item 1, link: ", "line break"},
        {{"item", "2", "--tooltip", "x#$@"}, "item 2, tooltip: ", "\"#$@\""},
        {{"item", "1", "--picture", "text.jpg"}, "text.jpg ", "is not a JPEG picture; Velloria"},
        {{"item", "1", "--picture", "none.jpg"}, "none.jpg\": ", "No such file or directory"},
        {{"add", "a.jpg", "text.jpg"}, "added:\ntext.jpg ", "is not a JPEG picture; Velloria"},
        {{"add", "holiday.png"}, "holiday.png ", "is a PNG picture; Velloria makes slides from"},
        {{"add", "a.jpg", "wave.gif"}, "wave.gif ", "is a GIF picture; Velloria makes slides"},
        {{"remove", "0"}, "item 0: ", "Root item cannot be deleted."},
        {{"remove", "9"}, "item 9: ", "no such item"},
        {{"move", "1", "up"}, "item 1: ", "first item of its level and cannot move up"},
        {{"move", "2", "up"}, "item 2: ", "first item of its level"},
        {{"move", "3", "down"}, "item 3: ", "last item of its level and cannot move down"},
        {{"move", "5", "down"}, "item 5: ", "cannot move down"},
    };
    for (const auto &c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.begin() + 1, file("p.jfs"));
        const CliRun run = cli(args);
        const std::string said = run.err;
        EXPECT_EQ(run.status, 1) << said;
        EXPECT_EQ(said.rfind("velloria-cli: \"" + file("p.jfs") + "\": ", 0), 0u) << said;
        EXPECT_NE(said.find(c.field), std::string::npos) << said;
        EXPECT_NE(said.find(c.reason), std::string::npos) << said;
        EXPECT_EQ(readBytes(file("p.jfs")), base) << said;
    }
}

TEST_F(CliEdit, infoSaysWhatTheValuesMeanAndWhichPicturesAreThere)
{
    cli({"set", file("p.jfs"), "delay=20", "step=45", "border-style=none"});
    const std::string text = cli({"info", file("p.jfs")}).out;
    for (const std::string &line : std::vector<std::string>{
             "  name          Velloria1       element id Velloria1_div, array Velloria1cfg\n",
             "  background    #FFFFFF\n",
             "  delay         20              each picture shows 5.0 s\n",
             "  step          45              a fade takes 1.5 s\n",
             "  border-width  4               no border: style none\n", "  border-style  none\n",
             "  convert-to    local\n", "  4  picture: " + file("gone.jpg") + " (missing)\n",
             "  5  picture: " + file("a.jpg") + " (present)\n", "  Velloria\n    1  a.jpg\n",
             "      3  c.jpg\n    4  gone.jpg\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << text;

    const auto json = nlohmann::json::parse(cli({"info", file("p.jfs"), "--json"}).out);
    EXPECT_EQ(json["parameters"].size(), 14u);
    EXPECT_EQ(json["show"]["border-style"], "none");
    EXPECT_EQ(json["show"]["background"], "#FFFFFF");
    EXPECT_EQ(json["pictures"][3]["state"], "missing");
    EXPECT_EQ(json["pictures"][4]["item"], 5);
    // What info shows, set takes back unchanged.
    std::vector<std::string> args = {"set", file("p.jfs")};
    for (const auto &[field, value] : json["show"].items())
        args.push_back(field + "=" + value.get<std::string>());
    const std::string before = readBytes(file("p.jfs"));
    ASSERT_EQ(cli(args).status, 0);
    EXPECT_EQ(readBytes(file("p.jfs")), before);
    // A folder where the picture should be is what a build refuses, not a picture.
    std::filesystem::create_directory(file("gone.jpg"));
    const auto again = nlohmann::json::parse(cli({"info", file("p.jfs"), "--json"}).out);
    EXPECT_EQ(again["pictures"][3]["state"], "not a file");
}

std::string replacedOnce(std::string text, const std::string &from, const std::string &to)
{
    return text.replace(text.find(from), from.size(), to);
}

// Item N's line (from 1) of a project file.
std::string itemLine(const std::string &project, int n)
{
    std::size_t at = project.find("<Item_Parameters>\r\n") + 19;
    for (int k = 1; k < n; ++k)
        at = project.find("\r\n", at) + 2;
    return project.substr(at, project.find("\r\n", at) - at);
}

pid_t endedProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// Faults an attack on the command line found, each as it was reproduced.
TEST_F(CliEdit, faultsFoundByAnAttackStayMended)
{
    ::setenv("XDG_CACHE_HOME", file("cache").c_str(), 1); // the user's slide cache stays out
    // Written on Windows: a link and a tooltip in its code page, and the same in UTF-8.
    const std::string windows =
        replacedOnce(replacedOnce(base, "http://example.org/", "caf\xE9.html"), "Tip 1",
                     "Caf\xE9 cr\xE8me \x80");
    const std::string unicode =
        replacedOnce(replacedOnce(base, "http://example.org/", "caf\xC3\xA9.html"), "Tip 1",
                     "Caf\xC3\xA9 cr\xC3\xA8me \xE2\x82\xAC");
    const std::string reserved =
        replacedOnce(base, "Tip 2#$@160#$@120#$@1#$@#$@", "Tip 2#$@160#$@120#$@1#$@kept#$@");
    const std::string terminal = replacedOnce(base, "Tip 1", "\x1B]0;owned\x07\r\xC2\x9B");
    const std::string leftover = file(".p.jfs.vtmp" + std::to_string(endedProcess()) + "-1");
    photo("sp.jpg ");
    writeBytes(file("sp.jpg"), "plain text, not a picture");
    const auto readOnly = [&] {
        std::filesystem::permissions(file("p.jfs"), std::filesystem::perms::owner_read |
                                                        std::filesystem::perms::group_read |
                                                        std::filesystem::perms::others_read);
    };
    const auto killedRunLeftover = [&] { writeBytes(leftover, "half a project"); };
    const auto unchanged = [&](const std::string &project) {
        return [&, project](const CliRun &) { EXPECT_EQ(readBytes(file("p.jfs")), project); };
    };
    const auto noLeftover = [&](const CliRun &) {
        EXPECT_FALSE(std::filesystem::exists(leftover));
    };
    const std::string full = "standard output: No space left on device\n";
    const struct
    {
        std::string project;
        std::function<void()> before;
        std::vector<std::string> args;
        std::string output;
        int status;
        std::string err;
        std::function<void(const CliRun &)> check;
    } cases[] = {
        // Published as the characters they stand for: the very bytes of the UTF-8 project.
        {windows,
         {},
         {"publish", "p.jfs"},
         "",
         0,
         "",
         [&](const CliRun &) {
             const std::string script = readBytes(file("velloriacfg.js"));
             EXPECT_NE(
                 script.find(
                     "(['slider0.jpg','caf\\u00e9.html','_self','Caf\\u00e9 cr\\u00e8me \\u20ac',"),
                 std::string::npos)
                 << script;
             writeBytes(file("u.jfs"), unicode);
             ASSERT_EQ(cli({"publish", "u.jfs", "--to", "utf8"}).status, 0);
             EXPECT_EQ(readBytes(file("utf8/velloriacfg.js")), script);
         }},
        // The project file keeps them byte for byte.
        {windows,
         {},
         {"set", "p.jfs", "delay=7"},
         "",
         0,
         "",
         [&](const CliRun &) {
             EXPECT_EQ(itemLine(readBytes(file("p.jfs")), 1), itemLine(windows, 1));
         }},
        {windows,
         {},
         {"item", "p.jfs", "1", "--target", "_top"},
         "",
         0,
         "",
         [&](const CliRun &) {
             EXPECT_EQ(itemLine(readBytes(file("p.jfs")), 1),
                       replacedOnce(itemLine(windows, 1), "_self", "_top"));
         }},
        {windows,
         {},
         {"resave", "p.jfs", "q.jfs"},
         "",
         0,
         "",
         [&](const CliRun &) { EXPECT_EQ(readBytes(file("q.jfs")), windows); }},
        // Another picture keeps the item's level, and with it the tree, and the reserved field.
        {reserved,
         {},
         {"item", "p.jfs", "2", "--picture", "c.jpg"},
         "",
         0,
         "",
         [&](const CliRun &) {
             const std::string line = itemLine(readBytes(file("p.jfs")), 2);
             EXPECT_NE(
                 line.find("#$@" + file("c.jpg") + "#$@http://example.org/#$@_self#$@Tip 2#$@"),
                 std::string::npos)
                 << line;
             EXPECT_EQ(line.substr(line.size() - 14), "#$@1#$@kept#$@") << line;
         }},
        // Output that does not arrive is a failure.
        {base, {}, {"info", "p.jfs"}, "/dev/full", 1, full, {}},
        {base, {}, {"info", "p.jfs", "--json"}, "/dev/full", 1, full, {}},
        {base, {}, {"cache"}, "/dev/full", 1, full, {}},
        {base, {}, {"help"}, "/dev/full", 1, full, {}},
        {base, {}, {"help", "add"}, "/dev/full", 1, full, {}},
        {base, {}, {"completion", "bash"}, "/dev/full", 1, full, {}},
        {base, {}, {"publish", "p.jfs"}, "/dev/full", 1, full, {}},
        // The picture checked is the one the build uses: the path trimmed.
        {base, {}, {"add", "p.jfs", "sp.jpg "}, "", 1, "sp.jpg is not a JPEG", unchanged(base)},
        {base,
         {},
         {"add", "p.jfs", " a.jpg "},
         "",
         0,
         "",
         [&](const CliRun &) {
             EXPECT_EQ(itemLine(readBytes(file("p.jfs")), 6).substr(0, file("a.jpg").size() + 6),
                       "#$@" + file("a.jpg") + "#$@");
         }},
        {base,
         {},
         {"item", "p.jfs", "1", "--picture", "sp.jpg "},
         "",
         1,
         "sp.jpg is not a JPEG",
         unchanged(base)},
        // Stored control characters reach no terminal.
        {terminal,
         {},
         {"info", "p.jfs"},
         "",
         0,
         "",
         [&](const CliRun &run) {
             EXPECT_NE(run.out.find("tooltip: \\x1b]0;owned\\x07\\r\\u009b\n"), std::string::npos)
                 << run.out;
             EXPECT_EQ(run.out.find_first_of("\x1B\x07\r"), std::string::npos);
         }},
        // A read-only project stays as it is, also for its owner.
        {base,
         readOnly,
         {"set", "p.jfs", "delay=7"},
         "",
         1,
         "p.jfs\" is read-only",
         unchanged(base)},
        {base,
         readOnly,
         {"new", "p.jfs", "--force"},
         "",
         1,
         "p.jfs\" is read-only",
         unchanged(base)},
        {base, readOnly, {"add", "p.jfs", "a.jpg"}, "", 1, "p.jfs\" is read-only", unchanged(base)},
        // What a killed run left, the next command that writes there removes.
        {base, killedRunLeftover, {"set", "p.jfs", "delay=7"}, "", 0, "", noLeftover},
        {base, killedRunLeftover, {"add", "p.jfs", "a.jpg"}, "", 0, "", noLeftover},
        {base, killedRunLeftover, {"resave", "p.jfs", "q.jfs"}, "", 0, "", noLeftover},
    };
    for (const auto &c : cases) {
        std::filesystem::remove(file("p.jfs"));
        writeBytes(file("p.jfs"), c.project);
        if (c.before)
            c.before();
        const CliRun run = cli(c.args, "", c.output);
        const std::string what = c.args[0] + " " + c.args.back() + " > " + c.output;
        EXPECT_EQ(run.status, c.status) << what << ": " << run.err;
        const std::string err = c.err.empty() ? "velloria-cli: \"" : c.err;
        EXPECT_EQ(run.err.find(err) != std::string::npos, !c.err.empty())
            << what << ": " << run.err;
        if (c.check)
            c.check(run);
    }
}

} // namespace
