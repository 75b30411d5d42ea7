#pragma once

// Where the main window was and how it looked when it last closed: size and position, the
// splitter between tree and pages, the tool bar and the status bar. The first start, or a
// placement that no longer fits the screens, gets a useful size centred on the screen.

class QMainWindow;
class QSplitter;
class QStatusBar;
class SettingsStore;

class WindowPlacement
{
public:
    WindowPlacement(QMainWindow &window, QSplitter &splitter, QStatusBar &statusBar)
        : m_window(window), m_splitter(splitter), m_statusBar(statusBar)
    {}

    // Before the window is first shown.
    void restore(const SettingsStore &settings);
    // When the window closes; a setting that cannot be kept never stops the close.
    void save(SettingsStore &settings) const;

private:
    void placeFirstTime();

    QMainWindow &m_window;
    QSplitter &m_splitter;
    QStatusBar &m_statusBar;
};
