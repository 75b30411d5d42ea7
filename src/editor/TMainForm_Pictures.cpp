// Pictures added the way designers add them: several chosen at once, a whole folder, or
// dropped on the tree. Each picture is checked as it arrives, so a file that cannot become
// a slide is named now, not at the next save.

#include "QtText.h"
#include "TMainForm.h"
#include "platform/HomeFolder.h"
#include "platform/UserSettings.h"
#include "ui_TMainForm.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

constexpr const char *picturesFolderSetting = "PicturesFolder";

} // namespace

std::string TMainForm::picturesFolder() const
{
    const SettingRead<std::string> last =
        m_settings.readText(usersettings::settingsKey, picturesFolderSetting);
    if (last.found() && QFileInfo(toQString(last.value)).isDir())
        return last.value;
    const std::string project = m_commands->projectFolder();
    return project.empty() ? homeFolder().string() : project;
}

// The next chooser starts where this one ended, also after a refusal: the user goes back
// there to choose again. A setting that cannot be kept must not stop the command.
void TMainForm::rememberPicturesFolder(const std::string &chosen)
{
    const QString folder = QFileInfo(QDir::cleanPath(toQString(chosen))).absolutePath();
    openWithCreation(m_settings, usersettings::settingsKey);
    try {
        m_settings.writeText(usersettings::settingsKey, picturesFolderSetting, toBytes(folder));
    } catch (const std::exception &) {
    }
}

// Insert's rule: a node of any level takes children; with nothing selected, the root.
void TMainForm::AddPictures1Click()
{
    const std::vector<std::string> chosen = m_prompts.choosePictures(picturesFolder());
    if (chosen.empty())
        return;
    rememberPicturesFolder(chosen.front());
    const DesignTree::Node selected = selectedNode();
    addChosenPictures(selected ? selected : m_designTree.root(), chosen);
}

void TMainForm::AddPictureFolder1Click()
{
    const std::optional<std::string> folder = m_prompts.choosePictureFolder(picturesFolder());
    if (!folder)
        return;
    rememberPicturesFolder(*folder);
    const DesignTree::Node selected = selectedNode();
    addChosenPictures(selected ? selected : m_designTree.root(), {*folder});
}

void TMainForm::addChosenPictures(DesignTree::Node parent, const std::vector<std::string> &chosen)
{
    if (chosen.empty())
        return;
    runEdit([&] { m_commands->addPictures(parent, chosen); });
    if (QTreeWidgetItem *item = m_view->itemOf(parent))
        item->setExpanded(true);
}

// Pictures dropped on the tree become items in the order dropped, in one step; a folder
// gives its JPEG files sorted by name. A project dropped there is opened.
void TMainForm::dropFiles(const QList<QUrl> &urls)
{
    std::vector<std::string> chosen;
    for (const QUrl &url : urls) {
        const QFileInfo file(url.toLocalFile());
        if (file.suffix().toLower() == QStringLiteral("jfs")) {
            run([&] { m_commands->openProjectFile(toBytes(file.filePath())); });
            return;
        }
        chosen.push_back(toBytes(file.absoluteFilePath()));
    }
    addChosenPictures(m_designTree.root(), chosen);
}
