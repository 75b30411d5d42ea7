#include "WindowProgress.h"

#include "QtText.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>

WindowProgress::~WindowProgress()
{
    for (; m_busy > 0; --m_busy)
        QApplication::restoreOverrideCursor();
}

void WindowProgress::repaint()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void WindowProgress::showStatus(const std::string &text)
{
    m_hint.setText(toQString(text));
    repaint();
}

void WindowProgress::clearStatus()
{
    m_hint.clear();
}

void WindowProgress::setMaximum(int value)
{
    m_bar.setMaximum(value);
}

void WindowProgress::advance(int step)
{
    m_bar.setValue(std::min(m_bar.maximum(), m_bar.value() + step));
    repaint();
}

void WindowProgress::resetPosition()
{
    m_bar.setValue(0);
}

// Nested operations each set and clear the cursor; it goes back only when the outermost ends.
void WindowProgress::setBusy(bool on)
{
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_busy;
    } else if (m_busy > 0) {
        QApplication::restoreOverrideCursor();
        --m_busy;
    }
}
