// velloria: the slide show editor.

#include "QtUserPrompts.h"
#include "TMainForm.h"
#include "platform/DesktopIntegration.h"
#include "platform/FileSettingsStore.h"
#include "platform/InterruptCleanup.h"

#include <QApplication>

int main(int argc, char **argv)
{
    interruptcleanup::installSignalHandling();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velloria"));
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
    FileSettingsStore settings;
    QtUserPrompts prompts(nullptr, settings);
    TMainForm window(prompts, settings, folders);
    window.show();
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    window.openFromCommandLine(arguments);
    return QApplication::exec();
}
