// velloria: the slide show editor.

#include "EditorStart.h"
#include "platform/InterruptCleanup.h"

#include <QApplication>

int main(int argc, char **argv)
{
    interruptcleanup::installSignalHandling();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velloria"));
    EditorStart editor;
    editor.window.show();
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    editor.window.openFromCommandLine(arguments);
    return QApplication::exec();
}
