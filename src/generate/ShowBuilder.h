#pragma once

// Makes a show's outputs from the project an agent holds: the slide pictures, the style
// sheet, the configuration script, the HTML page, and for a save the whole site with its
// publish report. What it derives (numbers in their plain spelling, slide sizes and names,
// converted links) it writes back into the agent's project, as a run always has.

#include "PictureCheck.h"
#include "model/ShowGenerator.h"
#include "model/TzybAppletAgent.h"

#include <set>
#include <string>
#include <vector>

class SlideCache;
class StagedFiles;
struct SlidePicture;

class ShowBuilder : public ShowGenerator
{
public:
    explicit ShowBuilder(TzybAppletAgent &agent) : m_agent(agent) {}

    // Slides made before are taken from the cache when their original is unchanged.
    void setSlideCache(const SlideCache *cache) { m_slideCache = cache; }

    void BuildHTML(const std::string &pagePath, DesignTree &tree) override;
    void MakeSlideImages(DesignTree &tree);
    bool SaveAndPublish(const std::string &folder, const std::string &fileName,
                        DesignTree &tree) override;
    void WritePublishReport(const std::string &folder, const std::string &fileName) override;
    std::optional<std::string> pictureProblem(const std::string &path) override
    {
        return picturecheck::problemOf(path);
    }

    // The originals the last run did not find: those items kept their earlier slides.
    struct MissingOriginal
    {
        int item;
        std::string path;
    };
    const std::vector<MissingOriginal> &missingOriginals() const { return m_missingOriginals; }
    // The kept slides of items with a missing original that the last save did not publish
    // (see SlideNames::keptSlideProblem): those items have no slide now.
    struct RefusedSlide
    {
        int item;
        std::string name, reason;
    };
    const std::vector<RefusedSlide> &refusedSlides() const { return m_refusedSlides; }

private:
    struct GeneratedTexts
    {
        std::string styleSheet, configScript, page;
        TStringArray sharpSlides; // the names the script gives, per item
    };
    struct PublishedFiles
    {
        std::string page, project, report;
    };
    // A site takes kept slides only when they are pictures; the preview shows them as kept.
    enum class KeptSlides { asStored, onlyPictures };

    // The run's steps up to the texts; `ownFiles` are the files that the caller writes
    // beside the slides.
    GeneratedTexts generate(DesignTree &tree, const TStringArray &ownFiles,
                            KeptSlides kept = KeptSlides::asStored);
    void writeGeneratedScripts(const GeneratedTexts &texts) const;
    void checkBeforeBuild(const DesignTree &tree) const;
    void normalizeNumbers();
    void dropUnsafeSlideNames(const TStringArray &ownFiles);
    void dropKeptSlidesThatAreNoPictures();
    void refreshLevelsAndLinks(const DesignTree &tree);
    void writeSlide(int itemIndex, const SlidePicture &slide, const std::string &name);
    TStringArray sharpSlides() const;
    void stageSite(StagedFiles &staged, const std::string &folder, const PublishedFiles &files,
                   const GeneratedTexts &texts);
    std::string publishReport(const TStringArray &sharpSlides);
    std::string inInstallFolder(const std::string &name) const;
    int lastItem(const DesignTree &tree) const;

    TzybAppletAgent &m_agent;
    const SlideCache *m_slideCache = nullptr;
    std::vector<MissingOriginal> m_missingOriginals;
    std::vector<RefusedSlide> m_refusedSlides;
    TStringArray m_ownFiles;                 // of the last run, which no slide may take
    std::set<std::string> m_madeSharpSlides; // by the last run
};
