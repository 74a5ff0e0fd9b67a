#include "tests/support/ScriptedPrompts.h"

void ScriptedPrompts::record(const PromptRecord &r)
{
    records.append(r);
    if (onPrompt)
        onPrompt(r);
}

QStringList ScriptedPrompts::messageTexts() const
{
    QStringList out;
    for (const auto &r : records)
        if (r.kind == PromptRecord::Message)
            out << r.text;
    return out;
}

QStringList ScriptedPrompts::noticeTexts() const
{
    QStringList out;
    for (const auto &r : records)
        if (r.kind == PromptRecord::Notice)
            out << r.text;
    return out;
}

void ScriptedPrompts::notify(const QString &text, const QString &title, MsgIcon icon)
{
    record({PromptRecord::Notice, text, title, MsgButtons::Ok, icon});
}

const PromptRecord *ScriptedPrompts::lastMessage() const
{
    for (auto it = records.crbegin(); it != records.crend(); ++it)
        if (it->kind == PromptRecord::Message)
            return &*it;
    return nullptr;
}

MsgAnswer ScriptedPrompts::message(const QString &text, const QString &title, MsgButtons buttons, MsgIcon icon)
{
    record({PromptRecord::Message, text, title, buttons, icon});
    if (!messageAnswers.empty()) {
        const MsgAnswer a = messageAnswers.front();
        messageAnswers.pop_front();
        return a;
    }
    switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoDefaultNo:
    case MsgButtons::YesNoCancel: return MsgAnswer::Yes;
    case MsgButtons::RetryCancel: return MsgAnswer::Retry;
    default: return MsgAnswer::Ok;
    }
}

std::optional<QString> ScriptedPrompts::input(const QString &prompt, const QString &title, const QString &)
{
    record({PromptRecord::Input, prompt, title});
    if (inputAnswers.empty())
        return std::nullopt;
    auto a = inputAnswers.front();
    inputAnswers.pop_front();
    return a;
}

QString ScriptedPrompts::saveFileName(const QString &title, const QString &proposed, const QString &)
{
    record({PromptRecord::SaveFile, proposed, title});
    if (fileAnswers.empty())
        return {};
    QString a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
}

QString ScriptedPrompts::openFileName(const QString &title, const QString &dir, const QString &)
{
    record({PromptRecord::OpenFile, dir, title});
    if (fileAnswers.empty())
        return {};
    QString a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
}

bool ScriptedPrompts::printDialog(QPrinter &printer, const QString &title)
{
    record({PromptRecord::Print, {}, title});
    if (printPdfPath.isEmpty() || !routePrinterToPdf)
        return false;
    routePrinterToPdf(printer, printPdfPath);
    return true;
}

bool ScriptedPrompts::openWithDesktop(const QString &path)
{
    record({PromptRecord::OpenDesktop, path, {}});
    return desktopOpens;
}
