#pragma once
// A pseudo-terminal pair standing in for the instrument's end of a serial cable: the program opens
// slavePath() like any serial device, the test reads and writes the master side. POSIX only.
#include <QByteArray>
#include <QString>

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isValid() const { return master_ >= 0; }
    QString slavePath() const { return slavePath_; }

    // Writes to the program's side.
    bool send(const QByteArray &bytes);
    // Collects what the program sent until `count` bytes are in or `timeoutMs` passes.
    QByteArray receive(int count, int timeoutMs = 2000);
    // Closes the master end: the program's side sees its peer go away.
    void closeMaster();

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
};
