#pragma once

#include <QObject>
#include <QString>

class QComboBox;

// The Item page's link list offers the core's link beginnings, and a choice puts the beginning
// in front of the address typed so far, in place of the address's own beginning: a plain list
// would throw the address away and leave the bare beginning. Owned by the list.
class LinkCompletion : public QObject
{
public:
    explicit LinkCompletion(QComboBox &link);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void complete(int index);

    QComboBox &m_link;
    // The text before a choice replaced it.
    QString m_before;
};
