#include "WindowPlacement.h"

#include "QtText.h"
#include "platform/SettingsStore.h"
#include "platform/UserSettings.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>

namespace {

const std::string windowKey = std::string(usersettings::versionKey) + "\\Window";

QByteArray readBytes(const SettingsStore &settings, const char *name)
{
    const SettingRead<std::string> read = settings.readText(windowKey, name);
    return read.found() ? QByteArray::fromBase64(QByteArray::fromStdString(read.value))
                        : QByteArray();
}

void writeBytes(SettingsStore &settings, const char *name, const QByteArray &bytes)
{
    settings.writeText(windowKey, name, bytes.toBase64().toStdString());
}

} // namespace

void WindowPlacement::restore(const SettingsStore &settings)
{
    // restoreGeometry moves a window saved on a screen that is gone onto one that is there.
    if (!m_window.restoreGeometry(readBytes(settings, "Geometry")))
        placeFirstTime();
    m_window.restoreState(readBytes(settings, "Bars"));
    m_splitter.restoreState(readBytes(settings, "Splitter"));
    const SettingRead<std::int32_t> status = settings.readNumber(windowKey, "Status Bar");
    m_statusBar.setVisible(status.valueOr(1) != 0);
}

void WindowPlacement::save(SettingsStore &settings) const
{
    if (!openWithCreation(settings, windowKey))
        return;
    writeBytes(settings, "Geometry", m_window.saveGeometry());
    writeBytes(settings, "Bars", m_window.saveState());
    writeBytes(settings, "Splitter", m_splitter.saveState());
    settings.writeNumber(windowKey, "Status Bar", m_statusBar.isVisible() ? 1 : 0);
}

// At least 1000 x 700 where the screen allows, centred on it, the tree taking two fifths.
void WindowPlacement::placeFirstTime()
{
    const QScreen *screen =
        m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QSize size = QSize(1000, 700).expandedTo(m_window.size()).boundedTo(available.size());
    m_window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, available));
    m_splitter.setSizes({size.width() * 2 / 5, size.width() * 3 / 5});
}
