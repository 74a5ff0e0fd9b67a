#pragma once
// The setup screen's library and step commands with their questions and messages, apart from the
// windows: the screen shows its dialogs and hands the answers here. Each command writes to the
// database at once; a database failure is reported in a message box and changes nothing.
#include "sequence/SequenceLibrary.h"

#include <QString>
#include <functional>
#include <optional>

class Prompts;

// What the copy-and-paste dialog hands back.
struct CopyPasteChoice {
    int from = 0;
    int to = 0;
    int pasteTo = 0;
    bool after = true;
    double temperature = 0; // °F for every pasted step
};

class SequenceCommands {
public:
    SequenceCommands(SequenceLibrary &library, Prompts &prompts) : library_(library), prompts_(prompts) {}

    // Asks for a name and creates the sequence with its default first step; the new id, or nullopt when
    // the name was empty, cancelled or already used.
    std::optional<int> newSequence(int rotorBob);
    // Asks for a name and an optional new temperature target (°F) and copies the sequence.
    std::optional<int> saveAs(int sourceId, int rotorBob);
    // The delete button's question; true to go on.
    bool confirmDelete(const QString &name);
    bool deleteSequence(int sequenceId);

    // False (after telling the user) when the sequence already holds the most steps it may.
    bool mayInsert(int stepCount);
    bool insertStep(int sequenceId, int selectedRow, bool after, const StepValues &values);
    bool editStep(int sequenceId, int stepNo, const StepValues &values);
    bool pasteSteps(int sequenceId, int stepCount, const CopyPasteChoice &choice);
    // Refuses an impossible range, asks for confirmation, deletes. `from` 0 stands for a cancelled dialog.
    bool deleteSteps(int sequenceId, int stepCount, int from, int to);

    // Runs database work; a failure is told to the user and gives false.
    bool guarded(const std::function<void()> &work);

private:
    std::optional<QString> askNewName();
    bool refuseDuplicate(const QString &name);

    SequenceLibrary &library_;
    Prompts &prompts_;
};
