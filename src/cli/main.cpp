// velloria-cli: Velloria projects from the command line, for scripts and inspection.

#include "CliCommands.h"
#include "PrivateInstallFolder.h"
#include "platform/InterruptCleanup.h"
#include "platform/ProgramFolder.h"
#include "platform/VelloriaError.h"

#include <CLI/CLI.hpp>
#include <iostream>

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
    bool clear = false;
    int height = 0;
    std::vector<std::string> images;
    NewItemOptions item;
};

void defineCommands(CLI::App &app, Arguments &args)
{
    app.require_subcommand(1);
    auto *create = app.add_subcommand("new", "Write the default project.");
    create->add_option("OUT", args.file, "Project file to write")->required();
    create->add_flag("--force", args.force, "Replace an existing file");

    auto *info = app.add_subcommand("info", "Show a project's parameters, items and tree.");
    info->add_option("PROJECT", args.file, "Project file")->required();
    info->add_flag("--json", args.json, "Print one JSON object");

    auto *resave = app.add_subcommand("resave", "Load a project and save it again.");
    resave->add_option("IN", args.file, "Project file to read")->required();
    resave->add_option("OUT", args.out, "Project file to write")->required();

    auto *add = app.add_subcommand("add", "Append one slide per image and save the project.");
    add->add_option("PROJECT", args.file, "Project file")->required();
    add->add_option("IMAGE", args.images, "Original pictures")->required();
    add->add_option("--link", args.item.link, "Link of the new slides");
    add->add_option("--target", args.item.target, "Link target of the new slides");
    add->add_option("--tooltip", args.item.toolTip, "Tooltip of the new slides");

    auto *publish = app.add_subcommand(
        "publish", "Save the project with everything a web site needs beside it.");
    publish->add_option("PROJECT", args.file, "Project file")->required();
    publish->add_option("--to", args.out, "Folder to publish into (default: the project's)");
    publish->add_flag("--no-cache", args.noCache, "Make every slide afresh");

    auto *scale = app.add_subcommand("scale", "Make one slide picture of a JPEG photo.");
    scale->add_option("IN", args.file, "Original JPEG picture")->required();
    scale->add_option("OUT", args.out, "Slide picture to write")->required();
    scale->add_option("HEIGHT", args.height, "Height of the slide in pixels")->required();

    auto *cache = app.add_subcommand("cache", "Show the slide cache's folder and size.");
    cache->add_flag("--clear", args.clear, "Remove every slide from the cache");
}

void run(const CLI::App &app, const Arguments &args)
{
    if (app.got_subcommand("publish")) {
        // A private writable folder, so that publishing can run beside the editor and beside
        // another publish; the runtime script comes from the resources.
        const PrivateInstallFolder installFolder;
        const AppFolders folders(AppFolders::forProgram(programFolder()).resources(),
                                 installFolder.path());
        CliCommands(std::cout, folders).publish(args.file, args.out, !args.noCache);
        return;
    }
    CliCommands commands(std::cout, AppFolders::forProgram(programFolder()));
    if (app.got_subcommand("new"))
        commands.newProject(args.file, args.force);
    else if (app.got_subcommand("info"))
        commands.info(args.file, args.json);
    else if (app.got_subcommand("resave"))
        commands.resave(args.file, args.out);
    else if (app.got_subcommand("add"))
        commands.add(args.file, args.images, args.item);
    else if (app.got_subcommand("scale"))
        commands.scale(args.file, args.out, args.height);
    else if (app.got_subcommand("cache"))
        commands.cache(args.clear);
}

} // namespace

int main(int argc, char **argv)
{
    // Before the slide workers start, so that they too leave signals to the cleaning thread.
    interruptcleanup::installSignalHandling();
    CLI::App app{"Velloria slide show projects from the command line", "velloria-cli"};
    Arguments args;
    defineCommands(app, args);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp &e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp &e) {
        return app.exit(e);
    } catch (const CLI::ParseError &e) {
        app.exit(e);
        return exitUsage;
    }
    try {
        run(app, args);
    } catch (const VelloriaError &e) {
        std::cerr << "velloria-cli: " << e.what() << '\n';
        return exitFailure;
    } catch (const CliFailure &) {
        return exitFailure;
    } catch (const std::exception &e) {
        std::cerr << "velloria-cli: " << e.what() << '\n';
        return exitFailure;
    }
    return 0;
}
