// velloria: the slide show editor.

#include "EditorStart.h"
#include "QtLauncher.h"
#include "QtUserPrompts.h"
#include "TMainForm.h"
#include "platform/FileSettingsStore.h"
#include "platform/InterruptCleanup.h"

#include <QApplication>

int main(int argc, char **argv)
{
    interruptcleanup::installSignalHandling();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velloria"));
    const AppFolders folders = prepareEditorStart();
    FileSettingsStore settings;
    QtLauncher launcher;
    QtUserPrompts prompts(nullptr, settings, launcher);
    TMainForm window(prompts, settings, launcher, folders);
    window.show();
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    window.openFromCommandLine(arguments);
    return QApplication::exec();
}
