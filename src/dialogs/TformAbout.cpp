#include "TformAbout.h"

#include "QtText.h"
#include "platform/Launcher.h"
#include "platform/ProductInfo.h"
#include "ui_TformAbout.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStyle>

TformAbout::TformAbout(Launcher &launcher, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TformAbout>()), m_launcher(launcher)
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Velloria"));
    m_ui->lblProductName->setText(QStringLiteral("Velloria"));
    m_ui->lblProductVersion->setText(QStringLiteral("Version 1.0"));
    m_ui->Label5->setText(toQString(std::string(product::copyrightLine)));
    m_ui->Label8->setText(toQString(std::string(product::homePageUrl)));
    m_ui->Label10->setText(toQString(std::string(product::supportUrl)));
    m_ui->Image1->setPixmap(windowIcon().isNull()
                                ? style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32)
                                : windowIcon().pixmap(32));
    for (QLabel *link : {m_ui->Label8, m_ui->Label10}) {
        setLinkColour(link, "blue");
        link->setMouseTracking(true);
        link->installEventFilter(this);
    }
    setMouseTracking(true);
    connect(m_ui->Button1, &QPushButton::clicked, this, &QDialog::accept);
}

TformAbout::~TformAbout() = default;

void TformAbout::setLinkColour(QLabel *label, const char *colour)
{
    label->setStyleSheet(
        QStringLiteral("color: %1; text-decoration: underline;").arg(QString::fromLatin1(colour)));
}

void TformAbout::Label8Click()
{
    m_launcher.openWithDefault(std::string(product::homePageUrl));
}

void TformAbout::Label10Click()
{
    m_launcher.openWithDefault(std::string(product::supportUrl));
}

// A link turns red under the mouse and stays so until the mouse crosses the background.
// It opens as a button clicks: pressed and released with the left button on the link. A
// release alone is no click: it goes to the label that took the press, wherever the mouse is
// by then. The second press of a double click comes as a double click, and opens nothing.
bool TformAbout::eventFilter(QObject *watched, QEvent *event)
{
    auto *link = qobject_cast<QLabel *>(watched);
    if (!link)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove) {
        // Taken here: a label passes a move on to the box, whose background would undo it.
        setLinkColour(link, "red");
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        const bool left = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
        m_pressedLink = left ? link : nullptr;
    }
    const auto *release =
        event->type() == QEvent::MouseButtonRelease ? static_cast<QMouseEvent *>(event) : nullptr;
    if (release && release->button() == Qt::LeftButton) {
        if (m_pressedLink == link && link->rect().contains(release->position().toPoint()))
            link == m_ui->Label8 ? Label8Click() : Label10Click();
        m_pressedLink = nullptr;
    }
    return QDialog::eventFilter(watched, event);
}

void TformAbout::mouseMoveEvent(QMouseEvent *event)
{
    setLinkColour(m_ui->Label8, "blue");
    setLinkColour(m_ui->Label10, "blue");
    QDialog::mouseMoveEvent(event);
}
