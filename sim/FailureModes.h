#pragma once
// Ways the simulated instrument misbehaves on purpose, so the program's handling of a faulty line can be
// tried by hand and in tests. Each mode has a name used on the command line ("--fail NAME[=VALUE]").
#include <QString>
#include <QStringList>
#include <optional>

struct FailureModes {
    // silent-after=N: from the first received byte with code N on, the instrument sends nothing at all.
    std::optional<int> silentAfterByte;
    // pause=MS: every reply to a byte 1 (stored-test upload) stops halfway for MS milliseconds.
    int replyPauseMs = 0;
    // garbage=N: every N-th real-time data message is preceded by a few junk bytes.
    int garbageEvery = 0;
    // split=MS: every real-time data message goes out as two writes, the second MS milliseconds later.
    int splitDelayMs = 0;
    // drop-end: the end byte after the last step of a sequence is never sent.
    bool dropEndByte = false;
    // disconnect-after=N: after the N-th data message of a run the instrument drops off the line.
    int disconnectAfterMessages = 0;
    // quiet-after=N[:S]: after the N-th data message of a run the next S messages are not sent (all the rest
    // when S is not given); the run goes on inside the instrument and the line stays up.
    int quietAfterMessages = 0;
    int quietForMessages = 0; // 0: for the rest of the run
    // endless-upload: the reply to byte 1 never pauses and never ends; records keep coming until the
    // program sends another byte.
    bool endlessUpload = false;
    // cut-upload: the last record of the reply to byte 1 stops after its third field, right before the
    // end byte (bytes lost on the line).
    bool cutUpload = false;

    // The junk that garbage= puts in front of a message: no digits and none of the protocol's end bytes.
    static QByteArray garbageBytes();

    // Adds one "NAME[=VALUE]" setting; returns an error text, empty on success.
    QString add(const QString &setting);
    bool any() const;
    QString describe() const;
    // One line per mode, for --help.
    static QStringList help();
};
