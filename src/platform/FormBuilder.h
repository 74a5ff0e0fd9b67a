#pragma once
// Small helpers for the program's windows and dialogs, whose controls sit at fixed design positions on one
// area (the proportional resizer keeps them in proportion afterwards). Every control gets its program name
// and an accessible name: its caption, or the text of the label beside it.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRect>
#include <QString>
#include <QWidget>

namespace FormBuilder {

// The caption without its accelerator marks ("Copy && P&aste" -> "Copy & Paste").
inline QString plainCaption(QString caption)
{
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return caption.trimmed();
}

template <class W> W *place(QWidget *parent, const QString &objectName, const QRect &rect)
{
    auto *w = new W(parent);
    w->setObjectName(objectName);
    w->setGeometry(rect);
    return w;
}

template <class B>
B *button(QWidget *parent, const QString &objectName, const QString &caption, const QRect &rect,
          const QString &toolTip = {})
{
    auto *b = place<B>(parent, objectName, rect);
    b->setText(caption);
    b->setAccessibleName(plainCaption(caption));
    if (!toolTip.isEmpty())
        b->setToolTip(toolTip);
    return b;
}

// A label for `buddy`; the buddy takes the label's text as its accessible name.
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
        // A box one can type in is its own text field to assistive technology: it carries the name too.
        if (auto *combo = qobject_cast<QComboBox *>(buddy); combo && combo->lineEdit())
            combo->lineEdit()->setAccessibleName(name.trimmed());
    }
    return l;
}

// A label that shows a value (a reading, a status, a clock): assistive technology reads the value itself
// as the label's name, told whenever the window changes it; `what` says what the value is. (A label given
// an accessible name of its own would hide its text and its changes.)
inline void valueLabel(QLabel *label, const QString &what)
{
    label->setAccessibleName(QString());
    label->setAccessibleDescription(what);
}

} // namespace FormBuilder
