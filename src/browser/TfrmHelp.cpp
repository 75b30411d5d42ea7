#include "TfrmHelp.h"

#include "QtText.h"
#include "model/MessageSink.h"
#include "platform/BrowserChoice.h"
#include "platform/VelloriaError.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

TfrmHelp::TfrmHelp(Launcher &launcher, MessageSink &errors, std::filesystem::path home,
                   QWidget *parent)
    : QDialog(parent), m_launcher(launcher), m_errors(errors), m_home(std::move(home)),
      m_browser(new QTextBrowser(this)), m_navigation(new QToolBar(this))
{
    setObjectName(QStringLiteral("TfrmHelp"));
    setWindowTitle(QStringLiteral("Help"));
    setWindowFlags(Qt::Tool | Qt::WindowCloseButtonHint);
    m_browser->setObjectName(QStringLiteral("WebBrowser1"));
    // Every link comes to followLink, which decides where it opens.
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &TfrmHelp::followLink);
    setUpNavigation();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_navigation);
    layout->addWidget(m_browser);
    // Room for the samples' index as well as the topics.
    resize(640, 560);
    move(265, 180);
}

void TfrmHelp::setUpNavigation()
{
    m_navigation->setObjectName(QStringLiteral("HelpNavigation"));
    m_navigation->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction *back =
        m_navigation->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"),
                                m_browser, &QTextBrowser::backward);
    QAction *forward =
        m_navigation->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                QStringLiteral("Forward"), m_browser, &QTextBrowser::forward);
    m_navigation->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Home"),
                            this, [this] { showPage(m_home); });
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
}

const char *TfrmHelp::pageForTag(int tag)
{
    static const char *const pages[] = {
        "getting_started.htm",
        "customizing_js_script_script_general.htm",
        "customizing_js_script_script_size.htm",
        "customizing_js_script_script_scrolling.htm",
        "customizing_js_script_script_distance.htm",
        "customizing_js_script_script_slider_border.htm",
        "customizing_js_script_script_image_border.htm",
        "customizing_js_script_path_path.htm",
        "customizing_js_item_general_original_image_path.htm",
        "customizing_js_item_general_link.htm",
        "customizing_js_item_general_tooltip.htm",
    };
    return tag >= 0 && tag < int(std::size(pages)) ? pages[tag] : pages[0];
}

void TfrmHelp::showPage(const std::filesystem::path &page)
{
    m_browser->setSource(QUrl::fromLocalFile(toQString(page.string())));
    show();
    raise();
    activateWindow();
}

// A page beside the one shown stays here; anything else (a web address, a sample show that
// needs a browser's scripts) goes to the desktop's browser.
void TfrmHelp::followLink(const QUrl &link)
{
    const QUrl target = m_browser->source().resolved(link);
    const QFileInfo here(m_browser->source().toLocalFile());
    const QFileInfo there(target.toLocalFile());
    if (target.isLocalFile() && there.dir() == here.dir() &&
        there.suffix().startsWith(QStringLiteral("htm"), Qt::CaseInsensitive)) {
        m_browser->setSource(target);
        return;
    }
    const std::string address =
        toBytes(target.isLocalFile() ? target.toLocalFile() : target.toString());
    try {
        browserchoice::openWithDefaultBrowser(m_launcher, address);
    } catch (const VelloriaError &e) {
        m_errors.showError(e.what());
    }
}
