// What Build HTML, Publish and Preview take from the project.

#include "ProjectCommands.h"
#include "TextUtil.h"
#include "platform/FileIO.h"
#include "platform/InterruptCleanup.h"
#include "platform/TemporaryFile.h"
#include "platform/VelloriaError.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace fs = std::filesystem;

namespace {

// Removes a file or folder of the command's own however the command ends.
struct Scratch
{
    fs::path path;
    explicit Scratch(fs::path p) : path(std::move(p)) { interruptcleanup::track(path); }
    ~Scratch()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
        interruptcleanup::untrack(path);
    }
    Scratch(const Scratch &) = delete;
    Scratch &operator=(const Scratch &) = delete;
};

fs::path privateFolder()
{
    std::string pattern = (fs::temp_directory_path() / "velloria-report-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw VelloriaError(fileio::ioErrorText("create", pattern, errno));
    return pattern;
}

// What makes the preview page, and only it, follow the editor: it loads the stamp file
// every half second through a script element, which a page opened from a file may do
// where it may not read files, and reloads itself when the stamp changes.
const std::string liveScriptName = "~live.js";
const std::string stampScriptName = "~stamp.js";
const std::string liveScript =
    "(function(){var seen=null;\n"
    "window.velloriaPreviewStamp=function(n){if(seen===null){seen=n;}"
    "else if(n!==seen){location.reload();}};\n"
    "function poll(){var s=document.createElement('script');"
    "s.src='" +
    stampScriptName +
    "?'+Date.now();"
    "s.onload=s.onerror=function(){s.parentNode.removeChild(s);setTimeout(poll,500);};"
    "document.head.appendChild(s);}\n"
    "poll();})();\n";

// The live script goes in before the end of the body, or at the end of a page without one.
std::string withLiveScript(std::string page)
{
    const std::string tag = "<script src=\"" + liveScriptName + "\"></script>\r\n";
    std::string lower = page;
    std::transform(lower.begin(), lower.end(), lower.begin(), lowerAscii);
    const std::size_t end = lower.rfind("</body>");
    return page.insert(end == std::string::npos ? page.size() : end, tag);
}

} // namespace

void ProjectCommands::writePreviewStamp()
{
    m_agent.preview().writeIn(stampScriptName,
                              "velloriaPreviewStamp(" + std::to_string(++m_previewStamp) + ");\n");
}

void ProjectCommands::refreshPreview()
{
    if (m_tree.count() < 2)
        return;
    assemblePreview();
}

// The page is built into a file of this process's own in the writable folder, read, and
// removed, also when the build fails.
std::optional<std::string> ProjectCommands::buildHtmlText()
{
    if (m_tree.count() < 2) {
        m_prompts.showError("No item to build. Please add item to left pane and try again.");
        return std::nullopt;
    }
    storePages();
    const Scratch page(TemporaryFile::nameFor(m_agent.installFolder() / "~tmp0001.txt"));
    m_generator.BuildHTML(page.path.string(), m_tree);
    m_htmlText = fileio::readFile(page.path);
    return m_htmlText;
}

std::string ProjectCommands::publishReport()
{
    storePages();
    const Scratch folder(privateFolder());
    const fs::path report = folder.path / "PublishReport.txt";
    m_generator.WritePublishReport(folder.path.string() + "/", report.filename().string());
    m_agent.CopyToPreview(report.string());
    return fileio::readFile(report);
}

fs::path ProjectCommands::assemblePreview()
{
    buildHtmlText();
    const std::string folder = m_agent.installFolder().string() + "/";
    m_agent.CopyScriptFilesToPreview(folder);
    m_agent.CopyResourceFiles(folder);
    m_agent.preview().writeIn(liveScriptName, liveScript);
    const fs::path page = m_agent.installFolder() / "~preview.html";
    fileio::writeFileAtomically(page, withLiveScript(m_htmlText), fileio::Durability::scratch);
    m_agent.CopyToPreview(page.string());
    std::error_code ignored;
    fs::remove(page, ignored);
    // Last, when everything the page shows is in place.
    writePreviewStamp();
    return m_agent.previewFolder() / "~preview.html";
}
