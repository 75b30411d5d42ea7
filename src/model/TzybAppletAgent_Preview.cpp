// The agent's side of the preview folder.

#include "model/ProgressScope.h"
#include "model/TzybAppletAgent.h"

void TzybAppletAgent::CopyToPreview(const std::string &fileName)
{
    m_preview.copyIn(fileName);
}

void TzybAppletAgent::CopyScriptFilesToPreview(const std::string &folder)
{
    // The runtime script is shipped with the resources, which an installation keeps apart
    // from the folder the generated two are written to.
    const std::filesystem::path runtime = folder + ScriptFileNames[0];
    CopyToPreview(std::filesystem::exists(runtime) ? runtime.string() : m_runtimeScript.string());
    for (std::size_t i = 1; i < ScriptFileNames.size(); ++i)
        CopyToPreview(folder + ScriptFileNames[i]);
    // The generated two are moved, not copied; the runtime script stays where it is.
    std::error_code ignored;
    std::filesystem::remove(folder + ScriptFileNames[1], ignored);
    std::filesystem::remove(folder + ScriptFileNames[2], ignored);
}

void TzybAppletAgent::CopyResourceFiles(const std::string &folder)
{
    ProgressScope scope(*m_progress, "Copying Resource Files ... ...", 100);
    // Kept slides are taken only from files, never through a link: a link planted beside a
    // project must not put a private file on the web site.
    for (const TItemData &item : Items) {
        if (!PreviewFolder::isBareFileName(item.IImageFileName))
            continue;
        m_preview.copyIn(folder + item.IImageFileName, fileio::SourceLinks::refuse);
        // The slide at twice the size goes with it when the site has one.
        const std::string sharp = folder + PreviewFolder::sharpSlideName(item.IImageFileName);
        std::error_code ec;
        if (std::filesystem::is_regular_file(std::filesystem::symlink_status(sharp, ec)))
            m_preview.copyIn(sharp, fileio::SourceLinks::refuse);
    }
    m_progress->advance(50);
    m_progress->advance(50);
}

void TzybAppletAgent::ClearPreview()
{
    m_preview.clear();
}
