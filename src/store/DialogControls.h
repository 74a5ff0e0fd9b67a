#pragma once
// Small helpers for the test library dialogs, whose controls sit at design positions on the dialog (the
// proportional resizer keeps them in proportion). Every control gets its program name and an accessible
// name: its caption, or the text of the label beside it.
#include <QLabel>
#include <QRect>
#include <QString>
#include <QWidget>

namespace DialogControls {

// A caption without accelerator marks ("Cancel && Return" -> "Cancel & Return", "&OK" -> "OK").
inline QString plainCaption(QString caption)
{
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return caption.trimmed();
}

template <class W>
W *place(QWidget *parent, const QString &objectName, const QRect &rect)
{
    auto *w = new W(parent);
    w->setObjectName(objectName);
    w->setGeometry(rect);
    return w;
}

template <class B>
B *button(QWidget *parent, const QString &objectName, const QString &caption, const QRect &rect)
{
    auto *b = place<B>(parent, objectName, rect);
    b->setText(caption);
    b->setAccessibleName(plainCaption(caption));
    return b;
}

// A label for `buddy`, which takes the label's text as its accessible name.
inline QLabel *label(QWidget *parent, const QString &text, const QRect &rect, QWidget *buddy = nullptr)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(rect);
    if (buddy) {
        l->setBuddy(buddy);
        QString name = plainCaption(text);
        while (name.endsWith(QLatin1Char(':')))
            name.chop(1);
        buddy->setAccessibleName(name.trimmed());
    }
    return l;
}

} // namespace DialogControls
