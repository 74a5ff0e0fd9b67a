#pragma once
// The program's only way to ask the user something or tell them something.
// Logic code receives a Prompts& and never creates a dialog itself, so tests can script the answers
// and read back exactly which text, title, buttons and icon were shown.
#include <QString>
#include <optional>

class QPrinter;

// YesNoDefaultNo: Yes and No with No as the default button (Enter answers No), for questions whose Yes
// cannot be undone.
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, YesNoDefaultNo };
enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry };

class Prompts {
public:
    virtual ~Prompts() = default;

    // A modal message box; returns the button pressed (closing it through the frame is Cancel/No).
    virtual MsgAnswer message(const QString &text, const QString &title, MsgButtons buttons = MsgButtons::Ok,
                              MsgIcon icon = MsgIcon::None) = 0;

    // A message that does not wait for the user: the window behind it goes on working (a run keeps reading
    // and storing) while it is shown.
    virtual void notify(const QString &text, const QString &title, MsgIcon icon = MsgIcon::Information) = 0;

    // An input box; nullopt when the user cancels.
    virtual std::optional<QString> input(const QString &prompt, const QString &title,
                                         const QString &defaultText = {}) = 0;

    // File dialogs; an empty string when the user cancels. filter uses Qt's "Text (*.txt);;All (*)" form.
    virtual QString saveFileName(const QString &title, const QString &proposed, const QString &filter) = 0;
    virtual QString openFileName(const QString &title, const QString &dir, const QString &filter) = 0;

    // The print dialog: sets up the printer; false when the user cancels.
    virtual bool printDialog(QPrinter &printer, const QString &title = {}) = 0;

    // Opens a written file with the desktop's application for it (spreadsheets); false when none is registered.
    virtual bool openWithDesktop(const QString &path) = 0;
};
