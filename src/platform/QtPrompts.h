#pragma once
// Real prompts over Qt's message box, input dialog, file dialog and print dialog.
#include "platform/Prompts.h"

class QWidget;

class QtPrompts : public Prompts {
public:
    // parent may change while the program runs (the active window is used when it is null).
    explicit QtPrompts(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }

    MsgAnswer message(const QString &text, const QString &title, MsgButtons buttons, MsgIcon icon) override;
    void notify(const QString &text, const QString &title, MsgIcon icon) override;
    std::optional<QString> input(const QString &prompt, const QString &title, const QString &defaultText) override;
    QString saveFileName(const QString &title, const QString &proposed, const QString &filter) override;
    QString openFileName(const QString &title, const QString &dir, const QString &filter) override;
    bool printDialog(QPrinter &printer, const QString &title) override;
    bool openWithDesktop(const QString &path) override;

private:
    QWidget *parentWidget() const;
    QWidget *parent_;
};
