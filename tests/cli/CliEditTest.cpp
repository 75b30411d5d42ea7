// The editing commands of velloria-cli against the editor's project commands: the same edit
// gives the same bytes of the project file, and every refusal leaves the file as it was.

#include "CliRun.h"
#include "common/ScriptedPrompts.h"
#include "model/InMemoryDesignTree.h"
#include "model/PlainPropertyPages.h"
#include "model/ProjectCommands.h"

#include <functional>
#include <nlohmann/json.hpp>

namespace {

// What a user does in the editor: the tree, the pages and the answers to questions.
using EditorEdit = std::function<void(ProjectCommands &, PlainPropertyPages &, DesignTree &, ScriptedPrompts &)>;

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
        InMemoryDesignTree tree;
        agent.LoadFromFile(file("q.jfs"), tree);
        PlainPropertyPages pages;
        ScriptedPrompts prompts;
        ProjectEvents events;
        ProjectCommands commands(agent, tree, pages, prompts, events, folder.path());
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
        // As a spin edit holds them: "+320" and "0240" are the numbers 320 and 240.
        {{"set", "width=+320", "height=0240", "delay=-3", "step=0", "border-width=9999"},
         [](auto &, PlainPropertyPages &p, auto &, auto &) {
             p.applet.pWidth = "320";
             p.applet.pHeight = "240";
             p.applet.pDelay = "-3";
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
        {{"set", "width=abc"}, "width: ", "is not a whole number from -9999 to 9999"},
        {{"set", "height=10000"}, "height: ", "from -9999 to 9999"},
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
        {{"item", "1", "--picture", "text.jpg"}, "text.jpg\": ", "it is not a JPEG file"},
        {{"item", "1", "--picture", "none.jpg"}, "none.jpg\": ", "No such file or directory"},
        {{"add", "a.jpg", "text.jpg"}, "text.jpg\": ", "it is not a JPEG file"},
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
             "  delay         20              each picture holds 5 s\n",
             "  step          45              a fade lasts 1.485 s\n",
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
}

} // namespace
