#include "QtLauncher.h"

#include "QtText.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

bool QtLauncher::openWithDefault(const std::string &urlOrPath)
{
    const QString text = toQString(urlOrPath);
    const QUrl url = text.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(text)
                                                       : QUrl(text, QUrl::TolerantMode);
    return QDesktopServices::openUrl(url);
}

bool QtLauncher::startProgram(const std::string &program, const std::string &argument)
{
    return QProcess::startDetached(toQString(program), {toQString(argument)});
}
