#include "platform/QtPrompts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

QWidget *QtPrompts::parentWidget() const
{
    return parent_ ? parent_ : QApplication::activeWindow();
}

namespace {

QMessageBox::Icon boxIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None: return QMessageBox::NoIcon;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void QtPrompts::notify(const QString &text, const QString &title, MsgIcon icon)
{
    auto *box = new QMessageBox(boxIcon(icon), title, text, QMessageBox::Ok, parentWidget());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

MsgAnswer QtPrompts::message(const QString &text, const QString &title, MsgButtons buttons, MsgIcon icon)
{
    QMessageBox box(parentWidget());
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(boxIcon(icon));
    QMessageBox::StandardButtons std;
    QMessageBox::StandardButton escape = QMessageBox::Cancel;
    switch (buttons) {
    case MsgButtons::Ok:
        std = QMessageBox::Ok;
        escape = QMessageBox::Ok;
        break;
    case MsgButtons::OkCancel: std = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoDefaultNo:
        std = QMessageBox::Yes | QMessageBox::No;
        escape = QMessageBox::No;
        break;
    case MsgButtons::YesNoCancel: std = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case MsgButtons::RetryCancel: std = QMessageBox::Retry | QMessageBox::Cancel; break;
    }
    box.setStandardButtons(std);
    box.setEscapeButton(escape);
    if (buttons == MsgButtons::YesNoDefaultNo)
        box.setDefaultButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Retry: return MsgAnswer::Retry;
    default:
        return buttons == MsgButtons::Ok                                            ? MsgAnswer::Ok
            : buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoDefaultNo ? MsgAnswer::No
                                                                                    : MsgAnswer::Cancel;
    }
}

std::optional<QString> QtPrompts::input(const QString &prompt, const QString &title, const QString &defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parentWidget(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtPrompts::saveFileName(const QString &title, const QString &proposed, const QString &filter)
{
    return QFileDialog::getSaveFileName(parentWidget(), title, proposed, filter);
}

QString QtPrompts::openFileName(const QString &title, const QString &dir, const QString &filter)
{
    return QFileDialog::getOpenFileName(parentWidget(), title, dir, filter);
}

bool QtPrompts::printDialog(QPrinter &printer, const QString &title)
{
    QPrintDialog dialog(&printer, parentWidget());
    if (!title.isEmpty())
        dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::openWithDesktop(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
