#include "QtLauncher.h"

#include "QtText.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

void QtLauncher::openWithDefault(const std::string &urlOrPath)
{
    const QString text = toQString(urlOrPath);
    const QUrl url = text.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(text)
                                                       : QUrl(text, QUrl::TolerantMode);
    QDesktopServices::openUrl(url);
}

void QtLauncher::startProgram(const std::string &program, const std::string &argument)
{
    QProcess::startDetached(toQString(program), {toQString(argument)});
}
