#pragma once

// The help window: topic pages, the samples' index and the context help, in one light HTML
// viewer beside the main window, with Back, Forward and Home. Links to pages of the folder
// shown stay in it; web addresses and pages elsewhere (the sample shows, which need a real
// browser) go to the desktop's browser. Made once at start; closing it only hides it.

#include <QDialog>
#include <filesystem>

class Launcher;
class MessageSink;
class QTextBrowser;
class QToolBar;
class QUrl;

class TfrmHelp : public QDialog
{
    Q_OBJECT
public:
    // home is the topics' index, which Home shows.
    TfrmHelp(Launcher &launcher, MessageSink &errors, std::filesystem::path home,
             QWidget *parent = nullptr);

    // The page of a context-help button's tag: "getting_started.htm" for tags without one.
    static const char *pageForTag(int tag);
    // Shows the page and brings the window to the front.
    void showPage(const std::filesystem::path &page);

    QTextBrowser &WebBrowser1() { return *m_browser; }
    QToolBar &navigation() { return *m_navigation; }

private:
    void setUpNavigation();
    void followLink(const QUrl &link);

    Launcher &m_launcher;
    MessageSink &m_errors;
    std::filesystem::path m_home;
    QTextBrowser *m_browser;
    QToolBar *m_navigation;
};
