#pragma once

// The help window: topic pages shown beside the main window, in a light HTML viewer. Made
// once at start; closing it only hides it.

#include <QDialog>
#include <filesystem>

class QTextBrowser;

class TfrmHelp : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmHelp(QWidget *parent = nullptr);

    // The page of a context-help button's tag: "getting_started.htm" for tags without one.
    static const char *pageForTag(int tag);
    // Shows the page and brings the window to the front.
    void showPage(const std::filesystem::path &page);

    QTextBrowser &WebBrowser1() { return *m_browser; }

private:
    QTextBrowser *m_browser;
};
