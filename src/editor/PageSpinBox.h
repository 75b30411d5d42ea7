#pragma once

#include <QSpinBox>
#include <functional>

// A spin edit of the pages that says why it refuses a number. A plain spin box drops a
// keystroke past its bounds without a word, and takes back a number below them when the
// edit ends, which leaves the user guessing what the page wants.
class PageSpinBox : public QSpinBox
{
    Q_OBJECT

public:
    using QSpinBox::QSpinBox;

    // Given a typed number outside the bounds, the rule it breaks in the page's words.
    void setRule(std::function<QString(long long typed)> rule);

signals:
    // Raised as the number is typed; a value set from the project is brought within bounds.
    void refused(const QString &why) const;

protected:
    QValidator::State validate(QString &text, int &position) const override;

private:
    std::function<QString(long long)> m_rule;
};
