#include "PageSpinBox.h"

#include <optional>

namespace {

// The number being typed; a sign alone counts as a number below zero, since it can lead to
// nothing else.
std::optional<long long> typedNumber(const QString &text)
{
    const QString typed = text.trimmed();
    if (typed == QStringLiteral("-"))
        return -1;
    bool ok = false;
    const long long value = typed.toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

} // namespace

void PageSpinBox::setRule(std::function<QString(long long)> rule)
{
    m_rule = std::move(rule);
}

QValidator::State PageSpinBox::validate(QString &text, int &position) const
{
    const QValidator::State state = QSpinBox::validate(text, position);
    if (state == QValidator::Acceptable || !m_rule)
        return state;
    if (const std::optional<long long> typed = typedNumber(text))
        if (const QString why = m_rule(*typed); !why.isEmpty())
            emit refused(why);
    return state;
}
