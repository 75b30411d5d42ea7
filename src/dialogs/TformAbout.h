#pragma once

// The about box: product, version, copyright, the maker's two addresses as links that turn
// red under the mouse (and blue again over the box's background), and the legal notice.

#include <QDialog>
#include <memory>

namespace Ui {
class TformAbout;
}
class Launcher;
class QLabel;

class TformAbout : public QDialog
{
    Q_OBJECT
public:
    TformAbout(Launcher &launcher, QWidget *parent = nullptr);
    ~TformAbout() override;

    Ui::TformAbout &ui() { return *m_ui; }
    void Label8Click();
    void Label10Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void setLinkColour(QLabel *label, const char *colour);

    std::unique_ptr<Ui::TformAbout> m_ui;
    Launcher &m_launcher;
    QLabel *m_pressedLink = nullptr; // the link the left button went down on
};
