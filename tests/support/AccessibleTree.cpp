#include "tests/support/AccessibleTree.h"

#include <QAccessibleActionInterface>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>

namespace AccessibleTree {

namespace {

bool isInput(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown: return true;
    default: return false;
    }
}

void collect(QAccessibleInterface *element, QList<QAccessibleInterface *> &out, int depth)
{
    if (!element || depth > 12)
        return;
    const int n = element->childCount();
    for (int i = 0; i < n; ++i) {
        QAccessibleInterface *child = element->child(i);
        if (!child || !child->isValid())
            continue;
        out.append(child);
        // Grids and lists expose every cell; their cells are not what these checks are about.
        const QAccessible::Role role = child->role();
        if (role != QAccessible::Table && role != QAccessible::List && role != QAccessible::Tree)
            collect(child, out, depth + 1);
    }
}

// A combo box's "name" is its current entry on some platforms; what names it is its own accessible name
// or the label it is labelled by.
bool hasName(QAccessibleInterface *e)
{
    if (e->role() != QAccessible::ComboBox)
        return !e->text(QAccessible::Name).trimmed().isEmpty();
    const auto *w = qobject_cast<const QWidget *>(e->object());
    return (w && !w->accessibleName().trimmed().isEmpty()) || !e->relations(QAccessible::Label).isEmpty();
}

} // namespace

QAccessibleInterface *root(QWidget *window)
{
    return QAccessible::queryAccessibleInterface(window);
}

QList<QAccessibleInterface *> elements(QAccessibleInterface *rootElement)
{
    QList<QAccessibleInterface *> out;
    collect(rootElement, out, 0);
    return out;
}

QAccessibleInterface *find(QWidget *window, QAccessible::Role role, const QString &wantedName,
                           const QString &wantedDescription)
{
    for (QAccessibleInterface *e : elements(root(window))) {
        if (e->role() != role || e->state().invisible)
            continue;
        if (!wantedName.isNull() && name(e) != wantedName)
            continue;
        if (!wantedDescription.isNull() && description(e) != wantedDescription)
            continue;
        return e;
    }
    return nullptr;
}

QString name(QAccessibleInterface *element)
{
    return element ? element->text(QAccessible::Name) : QString();
}

QString description(QAccessibleInterface *element)
{
    return element ? element->text(QAccessible::Description) : QString();
}

bool act(QAccessibleInterface *element, const QString &action)
{
    QAccessibleActionInterface *actions = element ? element->actionInterface() : nullptr;
    if (!actions || !actions->actionNames().contains(action))
        return false;
    actions->doAction(action);
    // A press is an animated click: the button is released (and clicked) a moment later.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 250)
        QTest::qWait(10);
    return true;
}

QStringList unnamedInputs(QWidget *window)
{
    QStringList out;
    for (QAccessibleInterface *e : elements(root(window))) {
        const QAccessible::State s = e->state();
        if (!isInput(e->role()) || s.invisible || s.disabled || s.readOnly)
            continue;
        if (!hasName(e)) {
            const QObject *o = e->object();
            out << QStringLiteral("role %1 (%2)")
                       .arg(int(e->role()))
                       .arg(o ? o->objectName() + QLatin1Char(' ') + QLatin1String(o->metaObject()->className())
                              : QStringLiteral("?"));
        }
    }
    return out;
}

QStringList tabOrder(QWidget *window)
{
    QStringList out;
    QWidget *start = QApplication::focusWidget();
    if (!start || start->window() != window)
        return out;
    QWidget *current = start;
    for (int i = 0; i < 200; ++i) {
        out << current->objectName();
        QTest::keyClick(current, Qt::Key_Tab);
        QWidget *next = QApplication::focusWidget();
        if (!next || next == start || next == current)
            break;
        current = next;
    }
    return out;
}

} // namespace AccessibleTree
