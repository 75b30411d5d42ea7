#pragma once

// The HTML code window: the built page, whose marked lines the user pastes into a page of
// their own, with a button that copies all of it.

#include <QDialog>
#include <memory>

namespace Ui {
class TformHTML;
}

class TformHTML : public QDialog
{
    Q_OBJECT
public:
    explicit TformHTML(QWidget *parent = nullptr);
    ~TformHTML() override;

    void setText(const QString &text);
    QString text() const;

    void Button2Click();

private:
    std::unique_ptr<Ui::TformHTML> m_ui;
};
