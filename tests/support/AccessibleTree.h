#pragma once
// Drives windows the way assistive technology does: through Qt's accessibility interface only. Finds an
// element by role and name in a window's accessible tree, performs its actions ("Press", "Toggle"), reads
// its texts and lists the inputs that a screen reader could not name.
//
//   QAccessibleInterface *yes = AccessibleTree::find(&dialog, QAccessible::RadioButton, "Yes");
//   AccessibleTree::act(yes, QAccessibleActionInterface::toggleAction());
//   EXPECT_EQ(AccessibleTree::name(AccessibleTree::find(&window, QAccessible::StaticText, {}, "Status")), ...);
#include <QAccessible>
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace AccessibleTree {

// The window's own interface (the root of its tree).
QAccessibleInterface *root(QWidget *window);

// Every element under root, depth first, in the order the interface lists its children.
QList<QAccessibleInterface *> elements(QAccessibleInterface *root);

// The first visible element under the window with this role whose name equals `name` (any name when
// null) and whose description equals `description` (any when null); nullptr when there is none.
QAccessibleInterface *find(QWidget *window, QAccessible::Role role, const QString &name,
                           const QString &description = QString());

QString name(QAccessibleInterface *element);
QString description(QAccessibleInterface *element);

// Performs a named action as assistive technology does and lets the events it posts run (a press is an
// animated click that ends a moment later). False when the element does not offer the action.
bool act(QAccessibleInterface *element, const QString &action);

// "role 'name' (objectName)" of every visible, enabled input (buttons, options, boxes, lists, grids, text
// fields) under the window whose accessible name is empty.
QStringList unnamedInputs(QWidget *window);

// The widgets the Tab key visits from `first`, in order, until it comes back round (object names).
QStringList tabOrder(QWidget *window);

} // namespace AccessibleTree
