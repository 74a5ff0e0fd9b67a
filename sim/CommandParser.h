#pragma once
// Turns the bytes the program sends into instrument commands: a sequence download (byte 3, steps
// "NN,TTTTT,FFF,SSSSS,R11" back to back, "99"), start (5), stop (6), the upload request (8) and the
// request for the stored data (1), and the run-speed command (8 followed by "1,60000,35,<speed*100>,<code>").
// Byte 8 alone and byte 8 opening a run-speed command look alike until the next byte: the parser holds a
// lone 8 until a digit (run-speed) or any other byte arrives, or until flushPending() is called.
#include "sim/SimStep.h"

#include <QList>
#include <QString>

class CommandParser {
public:
    struct Command {
        enum class Type { Download, Start, Stop, UploadRequest, SendStoredData, RunSpeed, Rejected };
        Type type;
        QList<SimStep> steps; // Download: every step; RunSpeed: the one constant-speed step
        QString problem;      // Rejected: what was wrong with the stream
    };

    static constexpr int kMaxSteps = 98;

    QList<Command> feed(char byte);
    QList<Command> feed(const QByteArray &bytes);
    // A lone byte 8 with nothing after it is the upload request.
    QList<Command> flushPending();
    bool holdsLoneByte8() const { return state_ == State::AfterByte8; }
    bool inDownload() const { return state_ == State::Download; }

private:
    enum class State { Idle, Download, AfterByte8, RunSpeed };

    void feedOne(char byte, QList<Command> &out);
    void feedDownload(char byte, QList<Command> &out);
    void feedRunSpeed(char byte, QList<Command> &out);
    void reject(const QString &problem, char byte, QList<Command> &out);
    void startFields();
    bool closeNumber(qint64 &value);
    void storeNumberField(qint64 value);

    State state_ = State::Idle;
    int field_ = 0;
    QByteArray text_;
    SimStep current_;
    QList<SimStep> steps_;
};
