// The generation run: derived item fields, slide pictures, style sheet, configuration
// script and HTML page.

#include "OutputText.h"
#include "ProjectChecks.h"
#include "SlideWorkers.h"
#include "model/DecimalText.h"
#include "model/ProgressScope.h"
#include "model/TextUtil.h"
#include "model/TzybAppletAgent.h"
#include "platform/FileIO.h"

namespace {

const std::string missingCaption = "Warning: Original image not found.";

// Slides are made this many at a time, so a huge project never holds all of them in memory.
constexpr std::size_t slidesPerBatch = 32;

bool originalExists(const std::string &path)
{
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

} // namespace

std::string TzybAppletAgent::inInstallFolder(const std::string &name) const
{
    return (m_installFolder / name).string();
}

void TzybAppletAgent::BuildHTML(const std::string &pagePath, DesignTree &tree)
{
    ProgressScope scope(*m_progress, "Making HTML Codes ... ...");
    checkBeforeBuild(tree);
    ScriptFileNames[1] = "velloriacfg.js";
    ScriptFileNames[2] = "velloria.css";
    refreshLevelsAndLinks(tree);
    MakeSlideImages(tree);
    if (AppletData.pContainerBorderStyle == "0")
        AppletData.pContainerBorderWidth = "0";
    fileio::writeFileAtomically(inInstallFolder(ScriptFileNames[2]), styleSheetText(AppletData));
    fileio::writeFileAtomically(inInstallFolder(ScriptFileNames[1]),
                                configScriptText(AppletData, Items));
    fileio::writeFileAtomically(pagePath, htmlPageText(AppletData, ScriptFileNames));
}

// Everything that could stop the run is looked at before it writes its first file.
void TzybAppletAgent::checkBeforeBuild(const DesignTree &tree) const
{
    checkParametersForBuild(AppletData);
    const int last = std::min(tree.count() - 1, itemCount());
    for (int k = 1; k <= last; ++k) {
        const TItemData &item = Items[static_cast<std::size_t>(k - 1)];
        if (!originalExists(trimmed(item.IOriginalImagePath)))
            checkKeptItemSize(item, k);
    }
}

void TzybAppletAgent::refreshLevelsAndLinks(const DesignTree &tree)
{
    UpdateLevelsFromTree(tree);
    const TAppletData &d = AppletData;
    if (trimmed(d.pInternalUse_RootDir_Remote).empty() ||
        trimmed(d.pInternalUse_RootDir_Local).empty())
        return;
    const bool toLocal = d.pInternalUse_RootDir_Local_Checked == "1";
    const std::string &from =
        toLocal ? d.pInternalUse_RootDir_Remote : d.pInternalUse_RootDir_Local;
    const std::string &to = toLocal ? d.pInternalUse_RootDir_Local : d.pInternalUse_RootDir_Remote;
    const int last = std::min(tree.count() - 1, itemCount());
    for (int k = 1; k <= last; ++k) {
        std::string &link = Items[static_cast<std::size_t>(k - 1)].ILink;
        link = replacedIgnoringCase(link, from, to);
    }
}

// Pictures are made on all cores a batch at a time; captions, item fields and the preview
// list are then applied in tree order, exactly as one picture after the other would.
void TzybAppletAgent::MakeSlideImages(DesignTree &tree)
{
    const int height = parseDecimal(AppletData.pHeight).value_or(0);
    const int last = std::min(tree.count() - 1, itemCount());
    for (int first = 1; first <= last; first += static_cast<int>(slidesPerBatch)) {
        const int end = std::min(last + 1, first + static_cast<int>(slidesPerBatch));
        std::vector<std::string> originals;
        std::vector<bool> found;
        for (int k = first; k < end; ++k) {
            std::string path = trimmed(Items[static_cast<std::size_t>(k - 1)].IOriginalImagePath);
            found.push_back(originalExists(path));
            if (found.back())
                originals.push_back(std::move(path));
        }
        std::vector<SlideOutcome> outcomes = makeSlides(originals, height, m_slideCache);
        auto outcome = outcomes.begin();
        for (int k = first; k < end; ++k) {
            const DesignTree::Node node = tree.nodeAt(k);
            if (!found[static_cast<std::size_t>(k - first)]) {
                tree.setCaption(node, missingCaption);
                continue;
            }
            tree.setCaption(node, "Item");
            if (outcome->error)
                std::rethrow_exception(outcome->error);
            writeSlide(k - 1, (outcome++)->picture);
        }
    }
}

void TzybAppletAgent::writeSlide(int itemIndex, const SlidePicture &slide)
{
    TItemData &item = Items[static_cast<std::size_t>(itemIndex)];
    item.IWidth = std::to_string(slide.width);
    item.IHeight = std::to_string(slide.height);
    item.IImageFileName = "slider" + std::to_string(itemIndex) + ".jpg";
    const std::string made = inInstallFolder(item.IImageFileName);
    fileio::writeFileAtomically(made, slide.jpeg, fileio::Durability::scratch);
    CopyToPreview(made);
    std::error_code ignored;
    std::filesystem::remove(made, ignored);
}
