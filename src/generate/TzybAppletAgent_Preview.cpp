// The agent's side of the preview folder.

#include "model/TzybAppletAgent.h"

namespace {

// Slide names are bare file names in the project's folder. A name from a file that points
// elsewhere ("../..") must not pull other files into the preview and from there onto a site.
bool isBareFileName(const std::string &name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

} // namespace

void TzybAppletAgent::CopyToPreview(const std::string &fileName)
{
    m_preview.copyIn(fileName);
}

void TzybAppletAgent::CopyScriptFilesToPreview(const std::string &folder)
{
    for (const std::string &name : ScriptFileNames)
        CopyToPreview(folder + name);
    // The generated two are moved, not copied; the runtime script stays where it is.
    std::error_code ignored;
    std::filesystem::remove(folder + ScriptFileNames[1], ignored);
    std::filesystem::remove(folder + ScriptFileNames[2], ignored);
}

void TzybAppletAgent::CopyResourceFiles(const std::string &folder)
{
    m_progress->setMaximum(100);
    m_progress->showStatus("Copying Resource Files ... ...");
    m_progress->setBusy(true);
    for (const TItemData &item : Items)
        if (isBareFileName(item.IImageFileName))
            CopyToPreview(folder + item.IImageFileName);
    m_progress->advance(50);
    m_progress->advance(50);
    m_progress->resetPosition();
    m_progress->clearStatus();
    m_progress->setBusy(false);
}

void TzybAppletAgent::ClearPreview()
{
    m_preview.clear();
}
