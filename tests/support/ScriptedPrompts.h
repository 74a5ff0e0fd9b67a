#pragma once
// Test double for Prompts: records every prompt (kind, text, title, buttons, icon) and answers from a
// script. An unscripted message box answers its first button (Ok or Yes); an unscripted input box or
// file dialog is cancelled; an unscripted print dialog prints to printPdfPath when set, else cancels.
// Notices (which wait for nobody) are recorded as kind Notice and take no answer.
#include "platform/Prompts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

struct PromptRecord {
    enum Kind { Message, Input, SaveFile, OpenFile, Print, OpenDesktop, Notice } kind;
    QString text;
    QString title;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
};

class ScriptedPrompts : public Prompts {
public:
    std::deque<MsgAnswer> messageAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<QString> fileAnswers;
    QString printPdfPath;
    bool desktopOpens = false;
    // Called after each prompt is recorded (lets a test act "while the dialog is up").
    std::function<void(const PromptRecord &)> onPrompt;

    QList<PromptRecord> records;

    QStringList messageTexts() const;
    QStringList noticeTexts() const;
    const PromptRecord *lastMessage() const;
    void clear() { records.clear(); }

    MsgAnswer message(const QString &text, const QString &title, MsgButtons buttons, MsgIcon icon) override;
    void notify(const QString &text, const QString &title, MsgIcon icon) override;
    std::optional<QString> input(const QString &prompt, const QString &title, const QString &defaultText) override;
    QString saveFileName(const QString &title, const QString &proposed, const QString &filter) override;
    QString openFileName(const QString &title, const QString &dir, const QString &filter) override;
    bool printDialog(QPrinter &printer, const QString &title) override;
    bool openWithDesktop(const QString &path) override;

    // Points a printer at a PDF file. Set by the widget tests' main (printing needs Qt Print Support,
    // which tests of logic do not link); without it a print dialog is cancelled.
    static inline std::function<void(QPrinter &, const QString &)> routePrinterToPdf;

private:
    void record(const PromptRecord &r);
};
