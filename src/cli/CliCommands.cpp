#include "CliCommands.h"

#include "ProjectInfo.h"
#include "generate/OutputText.h"
#include "generate/PictureCheck.h"
#include "generate/SlideCache.h"
#include "generate/SlidePicture.h"
#include "model/OtherShow.h"
#include "model/PlainPropertyPages.h"
#include "model/ProjectCommands.h"
#include "model/TextUtil.h"
#include "platform/FileIO.h"
#include "platform/ProjectLock.h"
#include "platform/VelloriaError.h"

#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string megabytes(std::uintmax_t bytes)
{
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << double(bytes) / double(SlideCache::megabyte);
    return text.str();
}

} // namespace

CliCommands::CliCommands(std::ostream &out, const AppFolders &folders)
    : m_out(out), m_agent(folders), m_folders(folders)
{
    m_agent.setMessageSink(this);
    m_agent.SetDefaults();
}

void CliCommands::showError(const std::string &text)
{
    if (m_refusals) {
        m_refusals->push_back(text);
        return;
    }
    std::cerr << "velloria-cli: \"" << m_currentFile << "\": " << text << '\n';
}

// Nothing here asks: a command line has nobody to answer.
UserPrompts::Answer CliCommands::askYesNoCancel(const std::string &)
{
    return Answer::cancel;
}

bool CliCommands::askYesNo(const std::string &)
{
    return m_confirmed;
}

std::optional<std::string> CliCommands::chooseFileToOpen(const std::string &, const std::string &)
{
    return std::nullopt;
}

std::optional<std::string> CliCommands::chooseFileToSave(const std::string &, const std::string &)
{
    return std::nullopt;
}

void CliCommands::load(const std::string &file)
{
    m_currentFile = file;
    report(file, m_agent.LoadFromFile(file, m_tree));
}

void CliCommands::report(const std::string &file, LoadResult result)
{
    switch (result) {
    case LoadResult::Loaded:
        return;
    case LoadResult::Incomplete:
        std::cerr << "velloria-cli: warning: \"" << file << "\" ends inside its item list; "
                  << m_agent.itemCount() << " items were read\n";
        return;
    case LoadResult::NoItemList:
        std::cerr << "velloria-cli: warning: \"" << file
                  << "\" has no item list; it was read as a slide show without items\n";
        return;
    case LoadResult::NoProject:
        throw VelloriaError("\"" + file + "\" holds no Velloria project");
    case LoadResult::Refused:
        throw CliFailure{}; // the agent has said why
    }
}

// A refused value names its field; the user also needs to know which project holds it.
void CliCommands::onProject(const std::string &file, const std::function<void()> &command)
{
    const ProjectLock lock(file);
    try {
        command();
    } catch (const ProjectValueError &e) {
        throw VelloriaError("\"" + file + "\": " + e.what());
    }
}

void CliCommands::newProject(const std::string &file, bool force)
{
    onProject(file, [&] { writeNewProject(file, force); });
}

void CliCommands::writeNewProject(const std::string &file, bool force)
{
    std::error_code ec;
    if (!force && fs::exists(fs::symlink_status(file, ec)))
        throw VelloriaError("\"" + file + "\" already exists; use --force to replace it");
    prepareToReplace(file);
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
    onProject(in, [&] {
        prepareToReplace(out);
        load(in);
        m_agent.SaveToFile(out);
    });
}

void CliCommands::add(const std::string &file, const std::vector<std::string> &images,
                      const NewItemOptions &options)
{
    onProject(file, [&] { addItems(file, images, options); });
}

// The editor's "add pictures" command: one step, the pictures in the order given, a folder's
// sorted by name, each checked as the editor checks a picture chosen there.
void CliCommands::addItems(const std::string &file, const std::vector<std::string> &images,
                           const NewItemOptions &options)
{
    prepareToReplace(file);
    load(file);
    std::vector<std::string> pictures;
    for (const std::string &image : images)
        pictures.push_back(storedPicturePath(image));
    TItemData values = m_agent.NewItemData();
    values.ILink = options.link;
    values.ITarget = options.target;
    values.IToolTip = options.toolTip;
    PlainPropertyPages pages;
    pages.showApplet(m_agent.GetAppletData());
    ProjectEvents events;
    ProjectCommands commands(m_agent, m_builder, m_tree, pages, *this, events,
                             m_folders.templates());
    commands.addPictures(m_tree.root(), pictures, values);
    m_agent.SaveToFile(file);
}

void CliCommands::publish(const std::string &file, const PublishOptions &options)
{
    onProject(file, [&] { publishProject(file, options); });
}

// Open as the editor opens, then Save As into the folder: everything a web site needs
// lands there, the slides of pictures that have gone missing included.
void CliCommands::publishProject(const std::string &file, const PublishOptions &options)
{
    const fs::path target =
        options.folder.empty() ? fs::absolute(file).parent_path() : fs::absolute(options.folder);
    std::error_code ec;
    fs::create_directories(target, ec);
    if (ec)
        throw VelloriaError("Cannot create folder \"" + target.string() + "\": " + ec.message());
    // The preview folder is private to this run: empty it however the run ends.
    struct PreviewCleanup
    {
        TzybAppletAgent &agent;
        ~PreviewCleanup() { agent.ClearPreview(); }
    } cleanup{m_agent};
    PlainPropertyPages pages;
    ProjectEvents events;
    ProjectCommands commands(m_agent, m_builder, m_tree, pages, *this, events,
                             m_folders.templates());
    m_currentFile = file;
    report(file, *commands.openProjectFile(file));
    const std::string fileName = fs::path(file).filename().string();
    if (!options.replaceOtherShow)
        if (const auto other = otherShowIn(target.string(), fileName, m_agent.GetAppletData()))
            throw VelloriaError(*other + " Publish \"" + fileName +
                                "\" into a folder of its own with --to FOLDER, or "
                                "replace the other show with --replace-other-show.");
    const SlideCache cache(SlideCache::defaultFolder());
    m_builder.setSlideCache(options.useCache ? &cache : nullptr);
    commands.saveAsPath((target / fileName).string());
    warnOfMissingOriginals(file);
    SlideCache(cache.folder(), slidePipelineVersion, SlideCache::sizeLimitFromEnvironment()).trim();
    const std::string published = TzybAppletAgent::publishedName(fileName);
    if (options.print != PublishOptions::Print::code)
        m_out << (target / (published + "_PublishReport.txt")).string() << '\n';
    if (options.print != PublishOptions::Print::report)
        printCodeToPaste(options.print);
}

// The scripts load the show; the <div> is where it appears, and without it the pasted code
// shows nothing. The run has left the show's values as the page spells them, so this is the
// page's code byte for byte; only the line ends become the terminal's.
void CliCommands::printCodeToPaste(PublishOptions::Print print) const
{
    const CodeToPaste code = codeToPaste(m_agent.GetAppletData(), m_agent.scriptFileNames());
    std::string text;
    if (print == PublishOptions::Print::code) {
        text = code.markedScripts() + code.div;
    } else {
        text = "\n<!-- Paste into the <body> of your web page; the <div> is where the show "
               "appears. -->\n" +
               code.scripts + code.div;
    }
    std::erase(text, '\r');
    m_out << text;
}

void checkPicture(const std::string &path)
{
    // The project it was meant for is named with it.
    if (const std::optional<std::string> problem = picturecheck::problemOf(path))
        throw ProjectValueError(*problem);
}

// The run went on past these: say so, or a show quietly keeps old or no pictures.
void CliCommands::warnOfMissingOriginals(const std::string &file) const
{
    for (const ShowBuilder::MissingOriginal &missing : m_builder.missingOriginals()) {
        const std::string &slide =
            m_agent.items()[static_cast<std::size_t>(missing.item)].IImageFileName;
        std::string refused;
        for (const ShowBuilder::RefusedSlide &kept : m_builder.refusedSlides())
            if (kept.item == missing.item)
                refused = "its kept slide \"" + kept.name + "\" is not published (" + kept.reason +
                          "), so ";
        std::cerr << "velloria-cli: warning: \"" << file << "\": original picture \""
                  << missing.path << "\" of item " << missing.item + 1 << " not found; "
                  << (slide.empty() ? refused + "the item has no slide and is left out of the show"
                                    : "the item keeps its earlier slide \"" + slide + "\"")
                  << '\n';
    }
}

void CliCommands::scale(const std::string &in, const std::string &out, int height,
                        const std::string &sharpOut)
{
    const SlidePicture slide =
        makeSlidePicture(in, height, sharpOut.empty() ? SharpSlide::skip : SharpSlide::make);
    // The output is the user's to name, as a project file is: a link to a file keeps
    // pointing at it, and anything but a file there is refused.
    fileio::writeFileAtomically(out, slide.jpeg, fileio::Durability::flushed,
                                fileio::Links::follow);
    m_out << slide.width << 'x' << slide.height << '\n';
    if (slide.sharpJpeg.empty())
        return;
    fileio::writeFileAtomically(sharpOut, slide.sharpJpeg, fileio::Durability::flushed,
                                fileio::Links::follow);
    m_out << 2 * slide.width << 'x' << 2 * slide.height << '\n';
}

void CliCommands::cache(bool clear)
{
    const SlideCache cache(SlideCache::defaultFolder(), slidePipelineVersion,
                           SlideCache::sizeLimitFromEnvironment());
    if (cache.folderIsLink())
        throw VelloriaError("Cannot use the slide cache \"" + cache.folder().string() +
                            "\": it is a symbolic link, which the cache never follows (it "
                            "would count and remove files wherever the link leads); remove "
                            "the link, or set XDG_CACHE_HOME to another folder");
    if (clear) {
        const SlideCacheUsage removed = cache.clear();
        m_out << "Removed from " << cache.folder().string() << ": " << removed.entries
              << " slides, " << megabytes(removed.bytes) << " MB\n";
        return;
    }
    const SlideCacheUsage usage = cache.usage();
    m_out << cache.folder().string() << '\n'
          << "Slides: " << usage.entries << ", " << megabytes(usage.bytes) << " MB of at most "
          << megabytes(cache.sizeLimit()) << " MB\n";
}
