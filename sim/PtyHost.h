#pragma once
// Puts an InstrumentSimulator on the master side of a pseudo-terminal pair, so the program can open the
// slave side like a serial port. Runs on the Qt event loop of the thread it lives in (socket notifiers and
// a timer); the simulated time is the real time since open().
//
// Like a serial line, the pty only carries bytes while someone has the port open: what the instrument
// sends while the program's port is closed is lost, and what the program left unread when it closed the
// port is discarded. The instrument keeps running meanwhile (a stand-alone test goes on).
#include "sim/InstrumentSimulator.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QSocketNotifier;

class PtyHost : public QObject {
    Q_OBJECT
public:
    explicit PtyHost(const SimulatorOptions &options, QObject *parent = nullptr);
    ~PtyHost() override;

    // Creates the pseudo-terminal (raw mode). False, with the reason in *error, when none can be made.
    bool open(QString *error = nullptr);
    // Drops the line: the program's port fails on its next read or write. Removes the link.
    void close();
    bool isOpen() const { return master_ >= 0; }

    // The device the program opens, e.g. /dev/pts/5.
    QString devicePath() const { return device_; }
    // Also makes path a symbolic link to the device (an old link there is replaced, any other file is
    // left alone and reported); the link is removed again by close().
    bool setLink(const QString &path, QString *error = nullptr);
    QString linkPath() const { return link_; }

    // Someone has the device open.
    bool listenerPresent() const { return listener_; }

    InstrumentSimulator &simulator() { return sim_; }
    const InstrumentSimulator &simulator() const { return sim_; }

signals:
    void received(const QByteArray &bytes);
    void sent(const QByteArray &bytes);
    // Output produced while nobody had the port open.
    void lost(const QByteArray &bytes);
    void listenerChanged(bool present);
    // The disconnect failure mode dropped the line.
    void disconnected();

private:
    void onReadable();
    QByteArray readPending(bool &hangup);
    void deliver(const QByteArray &data);
    void onWritable();
    void checkListener();
    void listenerGone();
    void discardUnreadInput();
    void pump();
    void writeOut(const QByteArray &bytes);

    InstrumentSimulator sim_;
    int master_ = -1;
    QString device_;
    QString link_;
    QSocketNotifier *readNotifier_ = nullptr;
    QSocketNotifier *writeNotifier_ = nullptr;
    QTimer eventTimer_;
    QTimer listenerTimer_;
    QElapsedTimer clock_;
    QByteArray pendingWrite_;
    bool listener_ = false;
};
