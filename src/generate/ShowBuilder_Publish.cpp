// Publishing: everything a web site needs, next to the project, with a report of it.

#include "OutputText.h"
#include "ShowBuilder.h"
#include "SlideNames.h"
#include "model/ProgressScope.h"
#include "model/ProjectFileWriter.h"
#include "model/TextUtil.h"
#include "platform/FaultPoint.h"
#include "platform/FileIO.h"
#include "platform/StagedFiles.h"
#include "platform/TemporaryFile.h"
#include "platform/VelloriaError.h"

#include <cerrno>
#include <set>

// Every file is prepared beside its place first and all are put in place together at the
// end, so a run that fails at any step leaves the site as it was: never a new page over old
// slides, never a slide cut short.
bool ShowBuilder::SaveAndPublish(const std::string &folder, const std::string &fileName,
                                 DesignTree &tree)
{
    const std::string name = TzybAppletAgent::publishedName(fileName);
    const PublishedFiles files{name + ".html", TzybAppletAgent::projectFileName(fileName),
                               name + "_PublishReport.txt"};
    // The project file is written after the page; a value it cannot hold must stop the
    // run before the page is.
    ProjectFileWriter::checkStorable(m_agent.appletData(), m_agent.items());
    GeneratedTexts texts;
    {
        ProgressScope scope(m_agent.progress(), "Making HTML Codes ... ...");
        texts = generate(tree, {files.page, files.project, files.report}, KeptSlides::onlyPictures);
        writeGeneratedScripts(texts);
    }
    TemporaryFile::removeLeftovers(folder.empty() ? "." : folder,
                                   {files.page, files.project, files.report,
                                    m_agent.scriptFileNames()[0], m_agent.scriptFileNames()[1],
                                    m_agent.scriptFileNames()[2]});
    StagedFiles staged;
    stageSite(staged, folder, files, texts);
    faultPoint("publish-staged");
    staged.commit();
    return true;
}

// A kept slide is published from the preview folder, where opening the project copied it
// from beside the project file. What is no picture there leaves its item without a slide,
// and the report does not ask the user to upload it.
void ShowBuilder::dropKeptSlidesThatAreNoPictures()
{
    for (std::size_t i = 0; i < m_agent.items().size(); ++i) {
        TItemData &item = m_agent.items()[i];
        const std::string original = trimmed(item.IOriginalImagePath);
        std::error_code ec;
        if (item.IImageFileName.empty() ||
            (!original.empty() && std::filesystem::exists(original, ec)))
            continue;
        std::string reason = SlideNames::keptSlideProblem(
            item.IImageFileName, m_agent.preview().folder() / item.IImageFileName);
        if (reason.empty())
            continue;
        m_refusedSlides.push_back({static_cast<int>(i), item.IImageFileName, std::move(reason)});
        item.IImageFileName.clear();
    }
}

void ShowBuilder::stageSite(StagedFiles &staged, const std::string &folder,
                            const PublishedFiles &files, const GeneratedTexts &texts)
{
    using fileio::Durability;
    // The project file first: when it cannot be replaced, nothing else is.
    staged.write(
        folder + files.project,
        ProjectFileWriter(m_agent.appletData(), m_agent.items(), m_agent.progress()).text(),
        Durability::flushed, fileio::Links::follow);
    staged.write(folder + files.page, texts.page, Durability::flushed);
    if (!staged.copy(m_agent.runtimeScript(), folder + m_agent.scriptFileNames()[0]))
        throw VelloriaError(fileio::ioErrorText("copy", m_agent.runtimeScript(), ENOENT) +
                            "; a show cannot run without it");
    staged.write(folder + m_agent.scriptFileNames()[1], texts.configScript, Durability::flushed);
    staged.write(folder + m_agent.scriptFileNames()[2], texts.styleSheet, Durability::flushed);
    staged.write(folder + files.report, publishReport(texts.sharpSlides), Durability::flushed);
    ProgressScope scope(m_agent.progress(), "Copying Publishable Files ... ...", 100);
    std::set<std::string> copied;
    // Slides are taken only from a preview folder of ours: one that a link stands for could
    // put any file of the user on the web site.
    const bool ownPreview = m_agent.preview().isOwnFolder();
    const TStringArray &sharp = texts.sharpSlides;
    for (std::size_t i = 0; i < m_agent.items().size(); ++i) {
        // A slide that is not in the preview folder (its original went missing before this
        // project was opened) leaves whatever the site holds of it.
        for (const std::string &slide : {m_agent.items()[i].IImageFileName, sharp[i]})
            if (ownPreview && PreviewFolder::isBareFileName(slide) && copied.insert(slide).second)
                staged.copy(m_agent.preview().folder() / slide, folder + slide);
    }
    m_agent.progress().advance(50);
    m_agent.progress().advance(50);
}

std::string ShowBuilder::publishReport(const TStringArray &sharpSlides)
{
    ProgressScope scope(m_agent.progress(), "Making Publish Report ... ...", 101);
    std::string text = publishReportText(m_agent.scriptFileNames(), m_agent.items(), sharpSlides);
    for (int i = 0; i < 3; ++i)
        m_agent.progress().advance(1);
    m_agent.progress().advance(50);
    m_agent.progress().advance(50);
    return text;
}

void ShowBuilder::WritePublishReport(const std::string &folder, const std::string &fileName)
{
    fileio::writeFileAtomically(folder + fileName, publishReport(sharpSlides()));
}
