// Pictures of the editor's windows with a project open, for the README and for looking at
// the windows without a display: velloria-screenshots PROJECT OUTPUT-FOLDER.

#include "QtLauncher.h"
#include "QtUserPrompts.h"
#include "TMainForm.h"
#include "TformAbout.h"
#include "TformHTML.h"
#include "TformWebBrowser.h"
#include "TfrmHelp.h"
#include "TfrmPublishReport.h"
#include "platform/MemorySettingsStore.h"
#include "ui_TMainForm.h"

#include <QApplication>
#include <QDir>
#include <QTreeWidget>

namespace {

void save(QWidget &window, const QString &folder, const QString &name)
{
    window.show();
    QApplication::processEvents();
    window.grab().save(folder + QLatin1Char('/') + name);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    if (argc != 3)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(folder);
    const AppFolders folders = AppFolders::forProgram(
        std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()));
    MemorySettingsStore settings;
    QtLauncher launcher;
    QtUserPrompts prompts(nullptr, settings, launcher);
    EditorProject project(folders);
    TMainForm window(prompts, settings, launcher, folders, project);
    window.openFromCommandLine({QString::fromLocal8Bit(argv[1])});
    window.resize(781, 524);
    save(window, folder, QStringLiteral("main-window-script.png"));
    QTreeWidget &tree = *window.ui().trvwDesignPanel;
    tree.setCurrentItem(tree.topLevelItem(0)->child(0));
    save(window, folder, QStringLiteral("main-window-item.png"));
    TformHTML html;
    if (const std::optional<std::string> text = window.commands().buildHtmlText())
        html.setText(QString::fromStdString(*text));
    save(html, folder, QStringLiteral("html-code-window.png"));
    TfrmPublishReport report(QString::fromStdString(window.commands().publishReport()));
    save(report, folder, QStringLiteral("publish-report-window.png"));
    window.SpeedButton1Click(9);
    save(window.helpWindow(), folder, QStringLiteral("help-window.png"));
    TformAbout about(launcher);
    save(about, folder, QStringLiteral("about-box.png"));
    TformWebBrowser browser(settings, prompts, browserchoice::standardProgramFolders());
    save(browser, folder, QStringLiteral("web-browser-dialog.png"));
    window.commands().setModified(false);
    return 0;
}
