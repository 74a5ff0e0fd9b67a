#pragma once
// The serial line as every window that talks to the instrument uses it (main window, setup screen,
// real-time, calibration check, direct logging): each window owns one SerialLink, made with its
// AppContext, and through it one port object of its own.
//
// A command does:   link.initialCommport(); if (!link.open() || !link.write(...)) { link.reportFailure(cmd); return; }
//                   ... ; link.close();
// A timer-driven run opens once at Start, calls readAvailable() on every tick and checks hasFailed().
//
// Waits go through the context's Clock (Delay: the window repaints and nothing else runs, unless a caller
// asks for user input as the calibration check does).
#include "link/LinkFailure.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

struct AppContext;
class SerialPort;

class SerialLink {
public:
    // Pause after each piece of a paced write, and the silence that ends a reply.
    static constexpr double pacing = 0.1;
    static constexpr double quietTime = 0.4;

    // Takes a new, closed port from context.makePort.
    explicit SerialLink(AppContext &context);
    ~SerialLink();
    SerialLink(const SerialLink &) = delete;
    SerialLink &operator=(const SerialLink &) = delete;

    // Closes the port if it is open and selects the device of CommPortNumber (through the port map) for
    // the next open, at 19200,n,8,1, reading everything waiting. Does not open.
    void initialCommport();
    // Opens the selected device (selecting it first if initialCommport was never called). False when the
    // device does not exist, is in use, or this link's port is already open.
    [[nodiscard]] bool open();
    // Closes the port if it is open; harmless otherwise.
    void close();
    bool isOpen() const;
    // The device initialCommport selected ("" before the first call).
    QString device() const { return device_; }

    // One write. False when the port is closed or the line failed.
    [[nodiscard]] bool write(const QByteArray &bytes);
    [[nodiscard]] bool writeByte(char code) { return write(QByteArray(1, code)); }
    // Each piece is its own write followed by a wait of `pause` seconds on the clock (Delay, or
    // DelayWithEvents when userInput). Stops at the first piece that cannot be written.
    [[nodiscard]] bool writePaced(const QList<QByteArray> &pieces, double pause = pacing, bool userInput = false);

    // The reply to a request just written: take everything waiting, wait `quiet` seconds, and go on while
    // more bytes have come in. A reply that starts later than `quiet` after the call is empty. nullopt
    // when the line failed meanwhile. With a limit, reading stops as soon as the reply is longer than
    // `limit` bytes (a line that never pauses): the reply then returned is longer than the limit.
    std::optional<QByteArray> readUntilQuiet(double quiet = quietTime, qsizetype limit = 0);
    // Everything waiting now (a timer tick's read); empty when nothing waits or the line failed.
    QByteArray readAvailable();
    qint64 bytesAvailable();

    // True once the open port broke (device removed, peer gone); the port is then closed. Cleared by
    // the next successful open.
    bool hasFailed() const;
    // The driver's description of the last failure, for diagnostics.
    QString errorString() const;

    // Ends a failed command: closes the port so no window keeps a dead device open, and shows the
    // command's message (title and text of LinkFailure) with an OK button.
    void reportFailure(LinkCommand command);

private:
    AppContext &context_;
    std::unique_ptr<SerialPort> port_;
    QString device_;
};
