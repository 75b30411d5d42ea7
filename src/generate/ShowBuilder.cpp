// The generation run: derived item fields, slide pictures, style sheet, configuration
// script and HTML page.

#include "ShowBuilder.h"

#include "OriginalPicture.h"
#include "OutputText.h"
#include "ProjectChecks.h"
#include "SlideNames.h"
#include "SlideWorkers.h"
#include "model/DecimalText.h"
#include "model/ProgressScope.h"
#include "model/TextUtil.h"
#include "platform/FileIO.h"
#include "platform/TemporaryFile.h"
#include "platform/VelloriaError.h"

#include <set>

namespace {

const std::string missingCaption = "Warning: Original image not found.";

// A converted link goes into the configuration script whole; one short root replaced by a
// long one at every character could otherwise ask for gigabytes.
constexpr std::size_t maxConvertedLink = std::size_t(16) << 20;

// Every occurrence of `from` becomes `to`, ignoring case. When one root holds the other, a
// link converted before holds `from` inside `to` ("/site/" in "http://host/site/"): text
// that already reads `to` is kept as it is, so converting again changes nothing. Both roots
// are looked for once over the whole link, so the work grows with the link's length, not
// with the link times a root.
std::string convertedLink(const std::string &link, const std::string &from, const std::string &to,
                          int itemNumber)
{
    const bool nested = containsIgnoringCase(to, from) || containsIgnoringCase(from, to);
    const std::vector<bool> atFrom = occurrencesIgnoringCase(link, from);
    const std::vector<bool> atTo =
        nested ? occurrencesIgnoringCase(link, to) : std::vector<bool>(link.size(), false);
    const std::string_view text(link);
    std::string out;
    out.reserve(link.size());
    for (std::size_t i = 0; i < text.size();) {
        if (atFrom[i] && !(to.size() > from.size() && atTo[i])) {
            out += to;
            i += from.size();
        } else if (atTo[i]) {
            out += text.substr(i, to.size());
            i += to.size();
        } else {
            out += text[i++];
        }
        if (out.size() > maxConvertedLink)
            throw VelloriaError("Cannot convert the link of item " + std::to_string(itemNumber) +
                                " between the local and the web root: it would be longer than " +
                                std::to_string(maxConvertedLink >> 20) + " MB");
    }
    return out;
}

void normalizeNumber(std::string &value)
{
    if (const std::optional<int> number = parseWholeNumber(value))
        value = std::to_string(*number);
}

} // namespace

// The items the tree shows, counted from 1; a list longer than the tree keeps the rest.
int ShowBuilder::lastItem(const DesignTree &tree) const
{
    return std::min(tree.count() - 1, m_agent.itemCount());
}

std::string ShowBuilder::inInstallFolder(const std::string &name) const
{
    return (m_agent.installFolder() / name).string();
}

void ShowBuilder::BuildHTML(const std::string &pagePath, DesignTree &tree)
{
    ProgressScope scope(m_agent.progress(), "Making HTML Codes ... ...");
    const std::filesystem::path page(pagePath);
    const GeneratedTexts texts = generate(tree, {page.filename().string()});
    TemporaryFile::removeLeftovers(page.has_parent_path() ? page.parent_path() : ".",
                                   {page.filename().string()});
    writeGeneratedScripts(texts);
    fileio::writeFileAtomically(pagePath, texts.page);
}

ShowBuilder::GeneratedTexts ShowBuilder::generate(DesignTree &tree, const TStringArray &ownFiles,
                                                  KeptSlides kept)
{
    checkBeforeBuild(tree);
    // Slides and scripts of a killed run may lie there under temporary names.
    TemporaryFile::removeLeftovers(m_agent.installFolder());
    m_ownFiles = ownFiles;
    normalizeNumbers();
    dropUnsafeSlideNames(ownFiles);
    m_refusedSlides.clear();
    if (kept == KeptSlides::onlyPictures)
        dropKeptSlidesThatAreNoPictures();
    refreshLevelsAndLinks(tree);
    MakeSlideImages(tree);
    TAppletData &data = m_agent.appletData();
    if (data.pContainerBorderStyle == "0")
        data.pContainerBorderWidth = "0";
    TStringArray sharp = sharpSlides();
    return {styleSheetText(data), configScriptText(data, m_agent.items(), sharp),
            htmlPageText(data, m_agent.scriptFileNames()), std::move(sharp)};
}

void ShowBuilder::writeGeneratedScripts(const GeneratedTexts &texts) const
{
    fileio::writeFileAtomically(inInstallFolder(m_agent.scriptFileNames()[2]), texts.styleSheet);
    fileio::writeFileAtomically(inInstallFolder(m_agent.scriptFileNames()[1]), texts.configScript);
}

// Everything that could stop the run is looked at before it writes its first file.
void ShowBuilder::checkBeforeBuild(const DesignTree &tree) const
{
    checkParametersForBuild(m_agent.appletData());
    const int last = lastItem(tree);
    for (int k = 1; k <= last; ++k) {
        const TItemData &item = m_agent.items()[static_cast<std::size_t>(k - 1)];
        if (originalPictureAt(trimmed(item.IOriginalImagePath)) == OriginalPicture::missing)
            checkKeptItemSize(item, k);
    }
}

// "0160" reaches the page as 0160 but the script as octal 112: every number is written in
// its one plain spelling.
void ShowBuilder::normalizeNumbers()
{
    TAppletData &d = m_agent.appletData();
    for (std::string *value : {&d.pWidth, &d.pHeight, &d.pDelay, &d.pStep, &d.pContainerBorderWidth,
                               &d.pContainerBorderStyle})
        normalizeNumber(*value);
    for (TItemData &item : m_agent.items()) {
        normalizeNumber(item.IWidth);
        normalizeNumber(item.IHeight);
    }
}

// A stored slide name is published as a file of the site: it must be a bare name, and none
// of the files the run writes itself (a slide named after the project would overwrite it).
void ShowBuilder::dropUnsafeSlideNames(const TStringArray &ownFiles)
{
    for (TItemData &item : m_agent.items())
        if (!item.IImageFileName.empty() && !SlideNames::isUsable(item.IImageFileName, ownFiles))
            item.IImageFileName.clear();
}

void ShowBuilder::refreshLevelsAndLinks(const DesignTree &tree)
{
    m_agent.UpdateLevelsFromTree(tree);
    const TAppletData &d = m_agent.appletData();
    if (trimmed(d.pInternalUse_RootDir_Remote).empty() ||
        trimmed(d.pInternalUse_RootDir_Local).empty())
        return;
    const bool toLocal = d.pInternalUse_RootDir_Local_Checked == "1";
    const std::string &from =
        toLocal ? d.pInternalUse_RootDir_Remote : d.pInternalUse_RootDir_Local;
    const std::string &to = toLocal ? d.pInternalUse_RootDir_Local : d.pInternalUse_RootDir_Remote;
    const int last = lastItem(tree);
    for (int k = 1; k <= last; ++k) {
        std::string &link = m_agent.items()[static_cast<std::size_t>(k - 1)].ILink;
        link = convertedLink(link, from, to, k);
    }
}

// Pictures are made on all cores; each is applied (caption, item fields, preview file) and
// counted on the progress bar on this thread as soon as it and all before it are done, so
// the user sees the run move and the design tree is only touched from the caller's thread.
void ShowBuilder::MakeSlideImages(DesignTree &tree)
{
    const int height = parseWholeNumber(m_agent.appletData().pHeight).value_or(0);
    const int last = lastItem(tree);
    SlideNames names;
    m_missingOriginals.clear();
    m_madeSharpSlides.clear();
    std::vector<bool> found;
    std::vector<std::string> originals;
    for (int k = 1; k <= last; ++k) {
        const TItemData &item = m_agent.items()[static_cast<std::size_t>(k - 1)];
        std::string path = trimmed(item.IOriginalImagePath);
        found.push_back(originalPictureAt(path) == OriginalPicture::present);
        if (found.back()) {
            originals.push_back(std::move(path));
        } else {
            names.keep(item.IImageFileName);
            m_missingOriginals.push_back({k - 1, std::move(path)});
        }
    }
    m_agent.progress().setMaximum(last);
    SlideWorkers workers(std::move(originals), height, m_slideCache);
    for (int k = 1; k <= last; ++k) {
        const DesignTree::Node node = tree.nodeAt(k);
        if (found[static_cast<std::size_t>(k - 1)]) {
            tree.setCaption(node, "Item");
            // A step of none while a big picture is being made: the window repaints.
            const SlideOutcome outcome = workers.next([this] { m_agent.progress().advance(0); });
            if (outcome.error)
                std::rethrow_exception(outcome.error);
            writeSlide(k - 1, outcome.picture, names.forPosition(k - 1));
        } else {
            tree.setCaption(node, missingCaption);
        }
        m_agent.progress().advance(1);
    }
}

void ShowBuilder::writeSlide(int itemIndex, const SlidePicture &slide, const std::string &name)
{
    TItemData &item = m_agent.items()[static_cast<std::size_t>(itemIndex)];
    item.IWidth = std::to_string(slide.width);
    item.IHeight = std::to_string(slide.height);
    item.IImageFileName = name;
    // Straight into the preview folder: the same end as saving it in the installation
    // folder, copying it in and deleting it, without writing every slide twice.
    m_agent.preview().writeIn(name, slide.jpeg);
    const std::string sharp = PreviewFolder::sharpSlideName(name);
    if (!SlideNames::isUsable(sharp, m_ownFiles))
        return;
    // A companion left from an earlier, larger original would be published with this slide.
    if (slide.sharpJpeg.empty()) {
        m_agent.preview().removeIn(sharp);
    } else {
        m_agent.preview().writeIn(sharp, slide.sharpJpeg);
        m_madeSharpSlides.insert(sharp);
    }
}

// An item's companion at twice the size is whatever the preview folder holds under its name:
// made by this run, or kept with the slide from beside the project. Like a kept slide, it
// is published only when it is a JPEG picture (a run's own are), and never when it is another
// item's slide (kept names come from the project file): that would show another picture.
TStringArray ShowBuilder::sharpSlides() const
{
    std::set<std::string> slides;
    for (const TItemData &item : m_agent.items())
        slides.insert(item.IImageFileName);
    TStringArray sharp;
    const PreviewFolder &preview = m_agent.preview();
    for (const TItemData &item : m_agent.items()) {
        std::string name;
        if (!item.IImageFileName.empty())
            name = PreviewFolder::sharpSlideName(item.IImageFileName);
        if (!name.empty() &&
            (slides.count(name) || !SlideNames::isUsable(name, m_ownFiles) ||
             !preview.holdsFile(name) ||
             (!m_madeSharpSlides.count(name) &&
              !SlideNames::keptSlideProblem(name, preview.folder() / name).empty())))
            name.clear();
        sharp.push_back(std::move(name));
    }
    return sharp;
}
