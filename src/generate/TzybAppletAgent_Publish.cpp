// Publishing: everything a web site needs, next to the project, with a report of it.

#include "OutputText.h"
#include "model/ProgressScope.h"
#include "model/ProjectFileWriter.h"
#include "model/TextUtil.h"
#include "model/TzybAppletAgent.h"
#include "model/VelloriaError.h"
#include "platform/FileIO.h"

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

bool TzybAppletAgent::SaveAndPublish(const std::string &folder, const std::string &fileName,
                                     DesignTree &tree)
{
    const std::string name = publishedName(fileName);
    // The project file is written after the page; a value it cannot hold must stop the
    // run before the page is.
    ProjectFileWriter::checkStorable(AppletData, Items);
    BuildHTML(folder + name + ".html", tree);
    for (const std::string &script : ScriptFileNames)
        fileio::copyFileQuietly(inInstallFolder(script), folder + script);
    SaveToFile(folder + name + ".jfs");
    WritePublishReport(folder, name + "_PublishReport.txt");
    ProgressScope scope(*m_progress, "Copying Publishable Files ... ...", 100);
    for (const TItemData &item : Items)
        if (PreviewFolder::isBareFileName(item.IImageFileName))
            fileio::copyFileQuietly(m_preview.folder() / item.IImageFileName,
                                    folder + item.IImageFileName);
    m_progress->advance(50);
    m_progress->advance(50);
    return true;
}

void TzybAppletAgent::WritePublishReport(const std::string &folder, const std::string &fileName)
{
    ProgressScope scope(*m_progress, "Making Publish Report ... ...", 101);
    const std::string text = publishReportText(ScriptFileNames, Items);
    for (int i = 0; i < 3; ++i)
        m_progress->advance(1);
    m_progress->advance(50);
    m_progress->advance(50);
    fileio::writeFileAtomically(folder + fileName, text);
}
