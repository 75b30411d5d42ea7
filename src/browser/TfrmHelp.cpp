#include "TfrmHelp.h"

#include "QtText.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

TfrmHelp::TfrmHelp(QWidget *parent) : QDialog(parent), m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("TfrmHelp"));
    setWindowTitle(QStringLiteral("Help"));
    setWindowFlags(Qt::Tool | Qt::WindowCloseButtonHint);
    m_browser->setObjectName(QStringLiteral("WebBrowser1"));
    m_browser->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(402, 428);
    move(265, 180);
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
