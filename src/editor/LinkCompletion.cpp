#include "LinkCompletion.h"

#include "QtText.h"
#include "model/PageRules.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>

LinkCompletion::LinkCompletion(QComboBox &link) : QObject(&link), m_link(link)
{
    link.clear();
    for (std::string_view beginning : pagerules::linkBeginnings)
        link.addItem(QString::fromLatin1(beginning.data(), qsizetype(beginning.size())));
    // A typed link is the item's, not another entry of the list.
    link.setInsertPolicy(QComboBox::NoInsert);
    link.installEventFilter(this);
    link.view()->installEventFilter(this);
    connect(&link, &QComboBox::activated, this, &LinkCompletion::complete);
}

// A choice comes from the opened list, or from a key or the wheel walking the list: the text
// before it is taken as each of these starts.
bool LinkCompletion::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((watched == m_link.view() && type == QEvent::Show) ||
        (watched == &m_link && (type == QEvent::KeyPress || type == QEvent::Wheel)))
        m_before = m_link.currentText();
    return false;
}

void LinkCompletion::complete(int index)
{
    const std::vector<std::string> choices = linkChoices(toBytes(m_before));
    if (index >= 0 && std::size_t(index) < choices.size())
        m_link.setEditText(toQStringFromStored(choices[std::size_t(index)]));
    m_before = m_link.currentText();
}
