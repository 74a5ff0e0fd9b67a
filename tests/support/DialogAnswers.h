#pragma once
// Answers the test library's modal dialogs the way a user does, for tests and benchmarks that drive the
// real main window: call before the command that opens the dialog; once the dialog is up (the first turn
// of its event loop) the name is chosen and OK pressed.
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace DialogAnswers {

// "Open Saved Test" (OpenTest): types the name and presses OK.
inline void openTest(const QString &name)
{
    QTimer::singleShot(0, [name] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->findChild<QLineEdit *>(QStringLiteral("txtSeqName")))
            return;
        dialog->findChild<QLineEdit *>(QStringLiteral("txtSeqName"))->setText(name);
        dialog->findChild<QPushButton *>(QStringLiteral("cmdOk"))->click();
    });
}

// The overlap selection (frmOverlapTestName): selects the name in the list and presses OK.
inline void overlapTest(const QString &name)
{
    QTimer::singleShot(0, [name] {
        QWidget *dialog = QApplication::activeModalWidget();
        auto *list = dialog ? dialog->findChild<QListWidget *>(QStringLiteral("List1")) : nullptr;
        if (!list)
            return;
        const auto found = list->findItems(name, Qt::MatchExactly);
        if (found.isEmpty())
            return;
        list->setCurrentItem(found.front());
        found.front()->setSelected(true);
        dialog->findChild<QPushButton *>(QStringLiteral("cmdOk"))->click();
    });
}

} // namespace DialogAnswers
