#include "tests/link/PtyPair.h"

#include <QDeadlineTimer>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B19200);
    cfsetospeed(&raw, B19200);
    char name[256] = {};
    if (openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    slavePath_ = QString::fromLocal8Bit(name);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    // Our own slave descriptor is not needed: the program opens the slave by its path. Keeping the
    // slave open until now only stopped the master from reporting a hang-up before the program came.
    ::close(slave_);
    slave_ = -1;
}

PtyPair::~PtyPair()
{
    closeMaster();
}

bool PtyPair::send(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QByteArray PtyPair::receive(int count, int timeoutMs)
{
    QByteArray got;
    const QDeadlineTimer deadline(timeoutMs);
    while (got.size() < count && !deadline.hasExpired()) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, int(qMax<qint64>(1, deadline.remainingTime()))) <= 0)
            continue;
        char buf[256];
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0)
            got.append(buf, n);
        else if (n < 0 && errno != EAGAIN)
            break; // no program on the slave side (yet)
    }
    return got;
}

void PtyPair::closeMaster()
{
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}
