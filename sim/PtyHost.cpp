#include "sim/PtyHost.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {
// How often the host looks whether a port was opened while nobody listens.
constexpr int kListenerPollMs = 40;
} // namespace

PtyHost::PtyHost(const SimulatorOptions &options, QObject *parent) : QObject(parent), sim_(options)
{
    eventTimer_.setSingleShot(true);
    eventTimer_.setTimerType(Qt::PreciseTimer);
    connect(&eventTimer_, &QTimer::timeout, this, &PtyHost::pump);
    listenerTimer_.setInterval(kListenerPollMs);
    connect(&listenerTimer_, &QTimer::timeout, this, &PtyHost::checkListener);
}

PtyHost::~PtyHost()
{
    close();
}

bool PtyHost::open(QString *error)
{
    if (master_ >= 0)
        return true;
    int master = -1;
    int slave = -1;
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B19200);
    cfsetospeed(&raw, B19200);
    if (::openpty(&master, &slave, name, &raw, nullptr) != 0) {
        if (error)
            *error =
                QStringLiteral("cannot create a pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // Nobody listens until the program opens the device; our own copy of the slave would hide that.
    ::close(slave);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    master_ = master;
    device_ = QString::fromLocal8Bit(name);

    readNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    readNotifier_->setEnabled(false);
    connect(readNotifier_, &QSocketNotifier::activated, this, &PtyHost::onReadable);
    writeNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &PtyHost::onWritable);

    clock_.start();
    listener_ = false;
    listenerTimer_.start();
    checkListener();
    return true;
}

void PtyHost::close()
{
    eventTimer_.stop();
    listenerTimer_.stop();
    // close() may run inside a notifier's own signal (the disconnect failure mode).
    for (QSocketNotifier *n : {readNotifier_, writeNotifier_}) {
        if (n) {
            n->setEnabled(false);
            n->deleteLater();
        }
    }
    readNotifier_ = nullptr;
    writeNotifier_ = nullptr;
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
    if (!link_.isEmpty()) {
        if (QFileInfo(link_).isSymLink())
            QFile::remove(link_);
        link_.clear();
    }
    pendingWrite_.clear();
    listener_ = false;
}

bool PtyHost::setLink(const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        if (!QFile::remove(path)) {
            if (error)
                *error = QStringLiteral("cannot replace the old link %1").arg(path);
            return false;
        }
    } else if (info.exists()) {
        if (error)
            *error = QStringLiteral("%1 exists and is not a link; left alone").arg(path);
        return false;
    }
    if (!QFile::link(device_, path)) {
        if (error)
            *error = QStringLiteral("cannot create the link %1").arg(path);
        return false;
    }
    link_ = path;
    return true;
}

void PtyHost::checkListener()
{
    if (master_ < 0 || listener_)
        return;
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, 0) < 0)
        return;
    if (p.revents & POLLIN) {
        // The program opened the port, wrote and closed it again between two looks (a stand-alone
        // start does just that): its bytes are still there to read.
        bool hangup = false;
        deliver(readPending(hangup));
    }
    if (p.revents & POLLHUP) {
        pump();
        return;
    }
    listener_ = true;
    listenerTimer_.stop();
    readNotifier_->setEnabled(true);
    emit listenerChanged(true);
    onReadable();
}

void PtyHost::listenerGone()
{
    listener_ = false;
    readNotifier_->setEnabled(false);
    writeNotifier_->setEnabled(false);
    pendingWrite_.clear();
    discardUnreadInput();
    listenerTimer_.start();
    emit listenerChanged(false);
}

void PtyHost::discardUnreadInput()
{
    // A serial port that is opened again starts with an empty input buffer; the pty would keep whatever
    // the program had not read. Briefly opening the slave ourselves lets us flush it.
    const int fd = ::open(device_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    ::tcflush(fd, TCIFLUSH);
    ::close(fd);
}

QByteArray PtyHost::readPending(bool &hangup)
{
    QByteArray data;
    hangup = false;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            data.append(buf, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // EAGAIN: all read. EIO or 0: the last holder of the device closed it.
        hangup = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        return data;
    }
}

void PtyHost::deliver(const QByteArray &data)
{
    if (data.isEmpty())
        return;
    sim_.advanceTo(clock_.elapsed());
    emit received(data);
    sim_.receive(data);
}

void PtyHost::onReadable()
{
    if (master_ < 0)
        return;
    bool hangup = false;
    deliver(readPending(hangup));
    if (hangup && listener_)
        listenerGone();
    pump();
}

void PtyHost::pump()
{
    if (master_ < 0)
        return;
    sim_.advanceTo(clock_.elapsed());
    const QByteArray out = sim_.takeOutput();
    if (!out.isEmpty()) {
        if (listener_) {
            writeOut(out);
            emit sent(out);
        } else {
            emit lost(out);
        }
    }
    if (sim_.disconnectRequested() && !sim_.hasPendingOutput()) {
        close();
        emit disconnected();
        return;
    }
    const qint64 next = sim_.nextEventAt();
    if (next >= 0)
        eventTimer_.start(int(std::max<qint64>(0, next - clock_.elapsed())));
    else
        eventTimer_.stop();
}

void PtyHost::writeOut(const QByteArray &bytes)
{
    pendingWrite_ += bytes;
    onWritable();
}

void PtyHost::onWritable()
{
    while (!pendingWrite_.isEmpty() && master_ >= 0) {
        const ssize_t n = ::write(master_, pendingWrite_.constData(), size_t(pendingWrite_.size()));
        if (n > 0) {
            pendingWrite_.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // full: the notifier says when there is room again
    }
    if (writeNotifier_)
        writeNotifier_->setEnabled(!pendingWrite_.isEmpty());
}
