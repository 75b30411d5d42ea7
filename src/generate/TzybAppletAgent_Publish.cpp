// Publishing: everything a web site needs, next to the project, with a report of it.

#include "OutputText.h"
#include "SlideNames.h"
#include "model/ProgressScope.h"
#include "model/ProjectFileWriter.h"
#include "model/TextUtil.h"
#include "model/TzybAppletAgent.h"
#include "platform/FaultPoint.h"
#include "platform/FileIO.h"
#include "platform/StagedFiles.h"
#include "platform/TemporaryFile.h"
#include "platform/VelloriaError.h"

#include <cerrno>
#include <set>

namespace {

const std::string projectExtension = ".jfs";

// "show.JFS" keeps its spelling: on a system that tells letter case apart, writing
// "show.jfs" beside it would leave the file the user chose stale.
std::string projectFileName(const std::string &name, const std::string &fileName)
{
    const std::size_t n = projectExtension.size();
    if (fileName.size() > n &&
        equalIgnoringCase(fileName.substr(fileName.size() - n), projectExtension))
        return name + fileName.substr(fileName.size() - n);
    return name + projectExtension;
}

} // namespace

std::string TzybAppletAgent::publishedName(const std::string &fileName)
{
    const auto dot = fileName.rfind('.');
    std::string name = dot == std::string::npos
                           ? fileName
                           : replacedIgnoringCase(fileName, fileName.substr(dot), "");
    // ".jfs" alone would give hidden files with no name; refuse it before writing anything.
    if (name.empty())
        throw VelloriaError("The file name \"" + fileName + "\" leaves no name for the project.");
    return name;
}

std::string TzybAppletAgent::projectFileName(const std::string &fileName)
{
    return ::projectFileName(publishedName(fileName), fileName);
}

// Every file is prepared beside its place first and all are put in place together at the
// end, so a run that fails at any step leaves the site as it was: never a new page over old
// slides, never a slide cut short.
bool TzybAppletAgent::SaveAndPublish(const std::string &folder, const std::string &fileName,
                                     DesignTree &tree)
{
    const std::string name = publishedName(fileName);
    const PublishedFiles files{name + ".html", ::projectFileName(name, fileName),
                               name + "_PublishReport.txt"};
    // The project file is written after the page; a value it cannot hold must stop the
    // run before the page is.
    ProjectFileWriter::checkStorable(AppletData, Items);
    GeneratedTexts texts;
    {
        ProgressScope scope(*m_progress, "Making HTML Codes ... ...");
        texts = generate(tree, {files.page, files.project, files.report}, KeptSlides::onlyPictures);
        writeGeneratedScripts(texts);
    }
    TemporaryFile::removeLeftovers(folder.empty() ? "." : folder,
                                   {files.page, files.project, files.report, ScriptFileNames[0],
                                    ScriptFileNames[1], ScriptFileNames[2]});
    StagedFiles staged;
    stageSite(staged, folder, files, texts);
    faultPoint("publish-staged");
    staged.commit();
    return true;
}

// A kept slide is published from the preview folder, where opening the project copied it
// from beside the project file. What is no picture there leaves its item without a slide,
// and the report does not ask the user to upload it.
void TzybAppletAgent::dropKeptSlidesThatAreNoPictures()
{
    for (std::size_t i = 0; i < Items.size(); ++i) {
        TItemData &item = Items[i];
        const std::string original = trimmed(item.IOriginalImagePath);
        std::error_code ec;
        if (item.IImageFileName.empty() ||
            (!original.empty() && std::filesystem::exists(original, ec)))
            continue;
        std::string reason = SlideNames::keptSlideProblem(item.IImageFileName,
                                                          m_preview.folder() / item.IImageFileName);
        if (reason.empty())
            continue;
        m_refusedSlides.push_back({static_cast<int>(i), item.IImageFileName, std::move(reason)});
        item.IImageFileName.clear();
    }
}

void TzybAppletAgent::stageSite(StagedFiles &staged, const std::string &folder,
                                const PublishedFiles &files, const GeneratedTexts &texts)
{
    using fileio::Durability;
    // The project file first: when it cannot be replaced, nothing else is.
    staged.write(folder + files.project, ProjectFileWriter(AppletData, Items, *m_progress).text(),
                 Durability::flushed, fileio::Links::follow);
    staged.write(folder + files.page, texts.page, Durability::flushed);
    if (!staged.copy(m_runtimeScript, folder + ScriptFileNames[0]))
        throw VelloriaError(fileio::ioErrorText("copy", m_runtimeScript, ENOENT) +
                            "; a show cannot run without it");
    staged.write(folder + ScriptFileNames[1], texts.configScript, Durability::flushed);
    staged.write(folder + ScriptFileNames[2], texts.styleSheet, Durability::flushed);
    staged.write(folder + files.report, publishReport(), Durability::flushed);
    ProgressScope scope(*m_progress, "Copying Publishable Files ... ...", 100);
    std::set<std::string> copied;
    // Slides are taken only from a preview folder of ours: one that a link stands for could
    // put any file of the user on the web site.
    const bool ownPreview = m_preview.isOwnFolder();
    for (const TItemData &item : Items) {
        const std::string &slide = item.IImageFileName;
        // A slide that is not in the preview folder (its original went missing before this
        // project was opened) leaves whatever the site holds of it.
        if (ownPreview && PreviewFolder::isBareFileName(slide) && copied.insert(slide).second)
            staged.copy(m_preview.folder() / slide, folder + slide);
    }
    m_progress->advance(50);
    m_progress->advance(50);
}

std::string TzybAppletAgent::publishReport()
{
    ProgressScope scope(*m_progress, "Making Publish Report ... ...", 101);
    std::string text = publishReportText(ScriptFileNames, Items);
    for (int i = 0; i < 3; ++i)
        m_progress->advance(1);
    m_progress->advance(50);
    m_progress->advance(50);
    return text;
}

void TzybAppletAgent::WritePublishReport(const std::string &folder, const std::string &fileName)
{
    fileio::writeFileAtomically(folder + fileName, publishReport());
}
