#include "EditorStart.h"

#include "QtText.h"
#include "platform/DesktopIntegration.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QProcess>
#include <QStandardPaths>
#include <QtGlobal>

namespace {

// The desktop reads per-user types and entries from caches these tools rebuild; without
// them a changed registration would only take effect at the next login, or never.
void refreshDesktopCaches(const std::filesystem::path &dataHome)
{
    const std::pair<const char *, std::filesystem::path> tools[] = {
        {"update-mime-database", dataHome / "mime"},
        {"update-desktop-database", dataHome / "applications"}};
    for (const auto &[tool, folder] : tools) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
        if (!program.isEmpty() && std::filesystem::is_directory(folder))
            QProcess::startDetached(program, {toQString(folder.string())});
    }
}

std::optional<ScratchFolder> scratchFolderFor(const AppFolders &folders)
{
    try {
        return ScratchFolder::forEditor(folders.writable());
    } catch (const std::exception &e) {
        // Saving and previewing say themselves what stops them.
        qWarning("velloria: %s", e.what());
        return std::nullopt;
    }
}

// Every window and dialog carries it: the program's own pictures, else the desktop theme's.
QIcon applicationIcon(const std::filesystem::path &resources)
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const std::filesystem::path png =
            resources / "icons" / ("velloria-" + std::to_string(size) + ".png");
        if (std::filesystem::exists(png))
            icon.addFile(toQString(png.string()));
    }
    return icon.isNull() ? QIcon::fromTheme(QStringLiteral("org.example.velloria.Velloria")) : icon;
}

} // namespace

EditorStart::EditorStart()
    : EditorStart(preparedFolders(toBytes(QCoreApplication::applicationFilePath())))
{}

EditorStart::EditorStart(const AppFolders &prepared)
    : scratch(scratchFolderFor(prepared)),
      folders(scratch ? prepared.withScratch(scratch->path()) : prepared),
      prompts(nullptr, settings, launcher), project(folders),
      window(prompts, settings, launcher, folders, project)
{
    QApplication::setWindowIcon(applicationIcon(folders.resources()));
    window.setWindowIcon(QApplication::windowIcon());
}

AppFolders EditorStart::preparedFolders(const std::filesystem::path &program)
{
    const AppFolders folders = AppFolders::forProgram(program.parent_path());
    try {
        folders.prepareWritable();
    } catch (const std::exception &) {
        // The commands that write there say so themselves.
    }
    // .jfs files open with this program from the desktop; best effort, like the rest of it.
    const std::filesystem::path dataHome = AppFolders::dataHome();
    if (desktopintegration::updateForProgram(
            program, AppFolders::isInstalled(program.parent_path()), dataHome))
        refreshDesktopCaches(dataHome);
    return folders;
}
