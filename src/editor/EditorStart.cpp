#include "EditorStart.h"

#include "platform/DesktopIntegration.h"

#include <QCoreApplication>

EditorStart::EditorStart()
    : folders(preparedFolders()), prompts(nullptr, settings, launcher),
      window(prompts, settings, launcher, folders)
{}

AppFolders EditorStart::preparedFolders()
{
    const AppFolders folders = AppFolders::forProgram(
        std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()));
    try {
        folders.prepareWritable();
    } catch (const std::exception &) {
        // The commands that write there say so themselves.
    }
    // .jfs files open with this program from the desktop; best effort, like the rest of it.
    desktopintegration::registerProjectType(QCoreApplication::applicationFilePath().toStdString(),
                                            AppFolders::dataHome());
    return folders;
}
