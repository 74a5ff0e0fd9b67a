#include "sim/FailureModes.h"

namespace {
bool readPositive(const QString &value, int &out, int maxValue)
{
    bool ok = false;
    const int v = value.toInt(&ok);
    if (!ok || v < 1 || v > maxValue)
        return false;
    out = v;
    return true;
}
} // namespace

QByteArray FailureModes::garbageBytes()
{
    return QByteArray("\r\n?#", 4);
}

QString FailureModes::add(const QString &setting)
{
    const int eq = setting.indexOf(QLatin1Char('='));
    const QString name = (eq < 0 ? setting : setting.left(eq)).trimmed().toLower();
    const QString value = eq < 0 ? QString() : setting.mid(eq + 1).trimmed();
    const bool hasValue = eq >= 0;
    int v = 0;

    if (name == QLatin1String("silent-after")) {
        if (!hasValue || !readPositive(value, v, 255))
            return QStringLiteral("silent-after needs a byte code from 1 to 255, e.g. silent-after=5");
        silentAfterByte = v;
    } else if (name == QLatin1String("pause")) {
        v = 600;
        if (hasValue && !readPositive(value, v, 60000))
            return QStringLiteral("pause takes milliseconds from 1 to 60000, e.g. pause=600");
        replyPauseMs = v;
    } else if (name == QLatin1String("garbage")) {
        v = 10;
        if (hasValue && !readPositive(value, v, 1000000))
            return QStringLiteral("garbage takes a message count of 1 or more, e.g. garbage=10");
        garbageEvery = v;
    } else if (name == QLatin1String("split")) {
        v = 300;
        if (hasValue && !readPositive(value, v, 60000))
            return QStringLiteral("split takes milliseconds from 1 to 60000, e.g. split=300");
        splitDelayMs = v;
    } else if (name == QLatin1String("drop-end")) {
        if (hasValue)
            return QStringLiteral("drop-end takes no value");
        dropEndByte = true;
    } else if (name == QLatin1String("disconnect-after")) {
        if (!hasValue || !readPositive(value, v, 100000000))
            return QStringLiteral("disconnect-after needs a message count of 1 or more, e.g. disconnect-after=30");
        disconnectAfterMessages = v;
    } else if (name == QLatin1String("quiet-after")) {
        const qsizetype colon = value.indexOf(QLatin1Char(':'));
        const QString count = colon < 0 ? value : value.left(colon);
        int quietFor = 0;
        if (!hasValue || !readPositive(count, v, 100000000)
            || (colon >= 0 && !readPositive(value.mid(colon + 1), quietFor, 100000000)))
            return QStringLiteral("quiet-after needs a message count of 1 or more and may give how many messages "
                                  "stay away, e.g. quiet-after=30 or quiet-after=30:15");
        quietAfterMessages = v;
        quietForMessages = quietFor;
    } else if (name == QLatin1String("endless-upload")) {
        if (hasValue)
            return QStringLiteral("endless-upload takes no value");
        endlessUpload = true;
    } else if (name == QLatin1String("cut-upload")) {
        if (hasValue)
            return QStringLiteral("cut-upload takes no value");
        cutUpload = true;
    } else {
        return QStringLiteral("unknown failure mode \"%1\"").arg(name);
    }
    return {};
}

bool FailureModes::any() const
{
    return silentAfterByte || replyPauseMs > 0 || garbageEvery > 0 || splitDelayMs > 0 || dropEndByte
        || disconnectAfterMessages > 0 || quietAfterMessages > 0 || endlessUpload || cutUpload;
}

QString FailureModes::describe() const
{
    QStringList parts;
    if (silentAfterByte)
        parts << QStringLiteral("silent after byte %1").arg(*silentAfterByte);
    if (replyPauseMs > 0)
        parts << QStringLiteral("%1 ms pause inside each upload reply").arg(replyPauseMs);
    if (garbageEvery > 0)
        parts << QStringLiteral("junk before every %1. message").arg(garbageEvery);
    if (splitDelayMs > 0)
        parts << QStringLiteral("messages split, second half %1 ms later").arg(splitDelayMs);
    if (dropEndByte)
        parts << QStringLiteral("end byte never sent");
    if (disconnectAfterMessages > 0)
        parts << QStringLiteral("disconnect after %1 messages of a run").arg(disconnectAfterMessages);
    if (quietAfterMessages > 0)
        parts << (quietForMessages > 0
                      ? QStringLiteral("quiet for %1 messages after the %2. of a run")
                            .arg(quietForMessages)
                            .arg(quietAfterMessages)
                      : QStringLiteral("quiet after the %1. message of a run").arg(quietAfterMessages));
    if (endlessUpload)
        parts << QStringLiteral("upload reply never ends");
    if (cutUpload)
        parts << QStringLiteral("last upload record cut short");
    return parts.isEmpty() ? QStringLiteral("none") : parts.join(QStringLiteral("; "));
}

QStringList FailureModes::help()
{
    return {
        QStringLiteral("silent-after=N      from the first byte with code N on, send nothing (N=5: no answer to start; "
                       "N=1: no upload)"),
        QStringLiteral("pause[=MS]          pause MS (default 600) halfway through each upload reply"),
        QStringLiteral("garbage[=N]         put junk bytes (CR LF ? #) before every N-th (default 10th) data message"),
        QStringLiteral("split[=MS]          send each data message in two writes, the second MS (default 300) later"),
        QStringLiteral("drop-end            never send the end byte 8 after the last step"),
        QStringLiteral("disconnect-after=N  drop off the line after the N-th data message of a run"),
        QStringLiteral("quiet-after=N[:S]   after the N-th data message of a run send none for S messages (all the "
                       "rest without :S); the run goes on and the line stays up"),
        QStringLiteral("endless-upload      answer byte 1 with records that never pause and never end, until the "
                       "next byte comes"),
        QStringLiteral("cut-upload          cut the last record of the upload reply after its third field, before "
                       "the end byte"),
    };
}
