// velloria-cli: Velloria projects from the command line, for scripts and inspection.

#include "CliCommands.h"
#include "CompletionScript.h"
#include "generate/ShowField.h"
#include "model/TextUtil.h"
#include "platform/InterruptCleanup.h"
#include "platform/ProductInfo.h"
#include "platform/ProgramFolder.h"
#include "platform/ScratchFolder.h"
#include "platform/VelloriaError.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <sstream>
#include <unistd.h>

namespace {

constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

struct Arguments
{
    std::string file;
    std::string out;
    bool force = false;
    bool json = false;
    bool noCache = false;
    bool quiet = false;
    bool codeOnly = false;
    bool replaceOtherShow = false;
    bool clear = false;
    int height = 0;
    int number = 0;
    std::string direction;
    std::string topic;
    std::string shell;
    std::vector<std::string> images;
    std::vector<std::string> assignments;
    NewItemOptions item;
    // What `item` was given; only the options given change the item.
    NewItemOptions edit;
    std::string picture;
    std::string sharpOut;
};

std::string fieldsHelp()
{
    std::string text = "Fields:\n";
    for (const ShowField &field : showFields())
        text += "  " + std::string(field.name) + std::string(16 - field.name.size(), ' ') +
                std::string(field.help) + "\n";
    return text + "Border styles: " + joined(borderStyleNames(), " ") + "\n";
}

CLI::Option *projectOption(CLI::App *command, std::string &file)
{
    return command->add_option("PROJECT", file, "Project file (.jfs)")->required();
}

void defineFileCommands(CLI::App &app, Arguments &args)
{
    auto *create = app.add_subcommand("new", "Write the default project.");
    create->add_option("OUT", args.file, "Project file to write")->required();
    create->add_flag("--force", args.force, "Replace an existing file");

    auto *info = app.add_subcommand("info", "Show a project's parameters, items and tree.");
    projectOption(info, args.file);
    info->add_flag("--json", args.json, "Print one JSON object");

    auto *resave = app.add_subcommand("resave", "Load a project and save it again.");
    resave->add_option("IN", args.file, "Project file to read")->required();
    resave->add_option("OUT", args.out, "Project file to write")->required();

    auto *publish = app.add_subcommand(
        "publish", "Write the site's files; print the report and the code to paste.");
    projectOption(publish, args.file);
    publish->add_option("--to", args.out, "Folder to publish into (default: the project's)")
        ->type_name("DIR");
    publish->add_flag("--no-cache", args.noCache, "Make every slide afresh");
    auto *quiet = publish->add_flag("--quiet", args.quiet, "Print only the report's path");
    publish
        ->add_flag("--code-only", args.codeOnly,
                   "Print only the code to paste, between the comments that mark it")
        ->excludes(quiet);
    publish->add_flag("--replace-other-show", args.replaceOtherShow,
                      "Publish even where the folder holds another project's show");
}

void defineEditCommands(CLI::App &app, Arguments &args)
{
    auto *set = app.add_subcommand("set", "Set the show's parameters; nothing if one is refused.");
    projectOption(set, args.file);
    set->add_option("FIELD=VALUE", args.assignments, "Parameters to set")->required();
    set->footer(fieldsHelp());

    auto *add = app.add_subcommand("add", "Append one slide per JPEG picture and save.");
    projectOption(add, args.file);
    add->add_option("JPEG", args.images, "Original JPEG pictures")->required();
    add->add_option("--link", args.item.link, "Link of the new slides")->type_name("URL");
    add->add_option("--target", args.item.target, "Link target of the new slides")
        ->type_name("TARGET");
    add->add_option("--tooltip", args.item.toolTip, "Tooltip of the new slides");

    auto *item = app.add_subcommand("item", "Change item N as the Item General page does.");
    projectOption(item, args.file);
    item->add_option("N", args.number, "Item number as info shows it")->required();
    item->add_option("--link", args.edit.link, "Link")->type_name("URL");
    item->add_option("--target", args.edit.target, "Link target: _self, _blank, _parent, _top...")
        ->type_name("TARGET");
    item->add_option("--tooltip", args.edit.toolTip, "Tooltip");
    item->add_option("--picture", args.picture, "Original JPEG picture")->type_name("JPEG");

    auto *remove = app.add_subcommand("remove", "Delete item N with all items below it.");
    projectOption(remove, args.file);
    remove->add_option("N", args.number, "Item number as info shows it")->required();

    auto *move = app.add_subcommand("move", "Move item N past its previous or next sibling.");
    projectOption(move, args.file);
    move->add_option("N", args.number, "Item number as info shows it")->required();
    move->add_option("DIRECTION", args.direction, "up or down")
        ->required()
        ->check(CLI::IsMember({"up", "down"}).description(""))
        ->type_name("up|down");
}

void defineToolCommands(CLI::App &app, Arguments &args)
{
    auto *scale = app.add_subcommand("scale", "Make one slide picture of a JPEG photo.");
    scale->add_option("IN", args.file, "Original JPEG picture")->required();
    scale->add_option("OUT", args.out, "Slide picture to write")->required();
    scale->add_option("HEIGHT", args.height, "Height of the slide in pixels")->required();
    scale->add_option("--sharp", args.sharpOut,
                      "Also write the slide at twice the size here, as a save makes it for "
                      "high-density screens (when the photo has the rows for it)");

    auto *cache = app.add_subcommand("cache", "Show the slide cache's folder and size.");
    cache->add_flag("--clear", args.clear, "Remove every slide from the cache");

    auto *help = app.add_subcommand("help", "Show the commands, or what one command does.");
    help->add_option("COMMAND", args.topic, "Command to explain");

    // Hidden: the install writes its output into bash's completion folder.
    auto *completion = app.add_subcommand("completion", "Print a shell completion script.");
    completion->group("");
    completion->add_option("SHELL", args.shell, "Shell")
        ->required()
        ->check(CLI::IsMember({"bash"}).description(""))
        ->type_name("bash");
}

void defineCommands(CLI::App &app, Arguments &args)
{
    app.set_version_flag("--version",
                         "velloria-cli (" + std::string(product::nameAndVersion) + ")");
    app.require_subcommand(0, 1);
    app.get_formatter()->label("SUBCOMMAND", "COMMAND");
    app.footer("Run 'velloria-cli help COMMAND' for a command's arguments and options.");
    defineFileCommands(app, args);
    defineEditCommands(app, args);
    defineToolCommands(app, args);
}

std::string commandList(const CLI::App &app)
{
    std::vector<std::string> names;
    for (const CLI::App *sub :
         app.get_subcommands([](const CLI::App *command) { return !command->get_group().empty(); }))
        names.push_back(sub->get_name());
    return joined(names, ", ");
}

const CLI::App *findCommand(const CLI::App &app, const std::string &name)
{
    const auto found =
        app.get_subcommands([&](const CLI::App *command) { return command->get_name() == name; });
    return found.empty() ? nullptr : found.front();
}

int usageError(const CLI::App &app, const std::string &problem)
{
    std::cerr << "velloria-cli: " << problem << "\nThe commands are: " << commandList(app)
              << ".\nRun 'velloria-cli help COMMAND' to learn more about one.\n";
    return exitUsage;
}

// Before parsing: the parser's own answers to these ("A subcommand is required", "The
// following arguments were not expected") do not say what to do instead.
std::optional<int> checkCommandWord(const CLI::App &app, int argc, char **argv)
{
    if (argc < 2)
        return usageError(app, "no command given.");
    const std::string word = argv[1];
    if (word.empty() || word[0] == '-')
        return std::nullopt;
    if (!findCommand(app, word))
        return usageError(app, "'" + word + "' is not a command.");
    return std::nullopt;
}

// "velloria-cli info: PROJECT is required", with where to read more.
int commandUsageError(const CLI::App &app, const CLI::ParseError &error)
{
    const auto parsed = app.get_subcommands();
    const std::string command = parsed.empty() ? "" : parsed.front()->get_name();
    std::cerr << "velloria-cli" << (command.empty() ? "" : " " + command) << ": " << error.what()
              << "\nRun 'velloria-cli help" << (command.empty() ? "" : " " + command) << "' for "
              << (command.empty() ? "the commands" : "its arguments and options") << ".\n";
    return exitUsage;
}

int showHelp(std::ostream &out, const CLI::App &app, const std::string &topic)
{
    if (topic.empty()) {
        // Not app.help(): with a command parsed, that would explain `help` itself.
        out << app.get_formatter()->make_help(&app, "velloria-cli", CLI::AppFormatMode::Normal);
        return 0;
    }
    const CLI::App *command = findCommand(app, topic);
    if (!command || command->get_group().empty())
        return usageError(app, "'" + topic + "' is not a command.");
    out << command->help("velloria-cli");
    return 0;
}

FieldValueWords fieldValueWords()
{
    FieldValueWords words;
    for (const ShowField &field : showFields()) {
        std::string &list = words[std::string(field.name)];
        if (field.kind == ShowField::Kind::borderStyle)
            list = joined(borderStyleNames(), " ");
        if (field.kind == ShowField::Kind::convertTo)
            list = "local web";
    }
    return words;
}

ItemEdit givenItemOptions(const CLI::App &item, const Arguments &args)
{
    auto given = [&](const char *name, const std::string &value) {
        return item.get_option(name)->count() ? std::optional(value) : std::nullopt;
    };
    return {given("--link", args.edit.link), given("--target", args.edit.target),
            given("--tooltip", args.edit.toolTip), given("--picture", args.picture)};
}

void publish(std::ostream &out, const Arguments &args)
{
    // A scratch folder of its own, so that publishing can run beside the editor and beside
    // another publish.
    const ScratchFolder scratch = ScratchFolder::inTemporaryFolder();
    const AppFolders folders = AppFolders::forProgram(programFolder()).withScratch(scratch.path());
    using Print = PublishOptions::Print;
    const Print print = args.codeOnly ? Print::code
                        : args.quiet  ? Print::report
                                      : Print::reportAndCode;
    CliCommands(out, folders)
        .publish(args.file, {args.out, !args.noCache, print, args.replaceOtherShow});
}

void run(std::ostream &out, const CLI::App &app, const Arguments &args)
{
    if (app.got_subcommand("publish"))
        return publish(out, args);
    CliCommands commands(out, AppFolders::forProgram(programFolder()));
    const std::string name = app.get_subcommands().front()->get_name();
    if (name == "new")
        commands.newProject(args.file, args.force);
    else if (name == "info")
        commands.info(args.file, args.json);
    else if (name == "resave")
        commands.resave(args.file, args.out);
    else if (name == "set")
        commands.set(args.file, args.assignments);
    else if (name == "add")
        commands.add(args.file, args.images, args.item);
    else if (name == "item")
        commands.item(args.file, args.number, givenItemOptions(*app.get_subcommand("item"), args));
    else if (name == "remove")
        commands.remove(args.file, args.number);
    else if (name == "move")
        commands.move(args.file, args.number, args.direction == "up");
    else if (name == "scale")
        commands.scale(args.file, args.out, args.height, args.sharpOut);
    else if (name == "cache")
        commands.cache(args.clear);
}

int runReportingErrors(std::ostream &out, const CLI::App &app, const Arguments &args)
{
    try {
        run(out, app, args);
    } catch (const CliFailure &) {
        return exitFailure;
    } catch (const std::exception &e) {
        std::cerr << "velloria-cli: " << e.what() << '\n';
        return exitFailure;
    }
    return 0;
}

// Output that does not reach standard output is a failure: a script that reads a listing or
// the code to paste from a full disk would otherwise take an empty file for the answer. The
// output is written at the end, in one piece, so that the reason is the write's own.
int writtenOut(const std::string &text, int status)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = ::write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const int error = written < 0 ? errno : EIO;
            std::cerr << "velloria-cli: cannot write standard output: " << std::strerror(error)
                      << '\n';
            return exitFailure;
        }
        done += static_cast<std::size_t>(written);
    }
    return status;
}

int runCommand(std::ostream &out, CLI::App &app, Arguments &args, int argc, char **argv)
{
    if (const std::optional<int> refused = checkCommandWord(app, argc, argv))
        return *refused;
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success &e) {
        return app.exit(e, out); // help and version
    } catch (const CLI::ParseError &e) {
        return commandUsageError(app, e);
    }
    if (app.get_subcommands().empty())
        return usageError(app, "no command given.");
    if (app.got_subcommand("help"))
        return showHelp(out, app, args.topic);
    if (app.got_subcommand("completion")) {
        out << bashCompletionScript(app, fieldValueWords());
        return 0;
    }
    return runReportingErrors(out, app, args);
}

} // namespace

int main(int argc, char **argv)
{
    // Before the slide workers start, so that they too leave signals to the cleaning thread.
    interruptcleanup::installSignalHandling();
    CLI::App app{"Velloria slide show projects from the command line", "velloria-cli"};
    Arguments args;
    defineCommands(app, args);
    std::ostringstream out;
    const int status = runCommand(out, app, args, argc, argv);
    return writtenOut(out.str(), status);
}
