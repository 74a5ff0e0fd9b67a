#include "sim/CommandParser.h"

namespace {
constexpr char kDownloadBegins = 3;
constexpr char kStart = 5;
constexpr char kStop = 6;
constexpr char kUploadRequest = 8;
constexpr char kSendStoredData = 1;
// Longer digit runs than any field can hold mean the stream is not what the program sends.
constexpr int kMaxDigits = 9;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

QString shown(char byte)
{
    if (byte >= 32 && byte < 127)
        return QStringLiteral("'%1'").arg(QChar::fromLatin1(byte));
    return QStringLiteral("byte %1").arg(int(static_cast<unsigned char>(byte)));
}

const char *fieldName(int field)
{
    static const char *const names[] = {"step number",    "step time",       "temperature",    "speed",
                                        "rotor-bob code", "step end \"11\"", "step end \"11\""};
    return names[field];
}
} // namespace

QList<CommandParser::Command> CommandParser::feed(char byte)
{
    QList<Command> out;
    feedOne(byte, out);
    return out;
}

QList<CommandParser::Command> CommandParser::feed(const QByteArray &bytes)
{
    QList<Command> out;
    for (char b : bytes)
        feedOne(b, out);
    return out;
}

QList<CommandParser::Command> CommandParser::flushPending()
{
    QList<Command> out;
    if (state_ == State::AfterByte8) {
        state_ = State::Idle;
        out.append({Command::Type::UploadRequest, {}, {}});
    }
    return out;
}

void CommandParser::startFields()
{
    field_ = 0;
    text_.clear();
    current_ = SimStep{};
}

bool CommandParser::closeNumber(qint64 &value)
{
    if (text_.isEmpty() || text_ == "-")
        return false;
    bool ok = false;
    value = text_.toLongLong(&ok);
    text_.clear();
    return ok;
}

void CommandParser::feedOne(char byte, QList<Command> &out)
{
    switch (state_) {
    case State::Download: feedDownload(byte, out); return;
    case State::RunSpeed: feedRunSpeed(byte, out); return;
    case State::AfterByte8:
        if (isDigit(byte)) {
            state_ = State::RunSpeed;
            startFields();
            feedRunSpeed(byte, out);
            return;
        }
        state_ = State::Idle;
        out.append({Command::Type::UploadRequest, {}, {}});
        break; // the byte itself is a new command
    case State::Idle: break;
    }

    switch (byte) {
    case kDownloadBegins:
        state_ = State::Download;
        steps_.clear();
        startFields();
        break;
    case kStart: out.append({Command::Type::Start, {}, {}}); break;
    case kStop: out.append({Command::Type::Stop, {}, {}}); break;
    case kUploadRequest: state_ = State::AfterByte8; break;
    case kSendStoredData: out.append({Command::Type::SendStoredData, {}, {}}); break;
    default: break; // line noise between commands means nothing to the instrument
    }
}

void CommandParser::reject(const QString &problem, char byte, QList<Command> &out)
{
    out.append({Command::Type::Rejected, {}, problem});
    state_ = State::Idle;
    steps_.clear();
    // The offending byte may be the next command (a start right after a broken download, say).
    feedOne(byte, out);
}

void CommandParser::feedDownload(char byte, QList<Command> &out)
{
    if (field_ <= 3) {
        if (isDigit(byte) || (byte == '-' && field_ == 2 && text_.isEmpty())) {
            if (text_.size() >= kMaxDigits)
                return reject(QStringLiteral("%1 too long").arg(QLatin1String(fieldName(field_))), byte, out);
            text_.append(byte);
            if (field_ == 0 && text_ == "99") {
                out.append({Command::Type::Download, steps_, {}});
                steps_.clear();
                state_ = State::Idle;
            }
            return;
        }
        if (byte != ',')
            return reject(QStringLiteral("unexpected %1 in the %2").arg(shown(byte), QLatin1String(fieldName(field_))),
                          byte, out);
        qint64 v = 0;
        if (!closeNumber(v))
            return reject(QStringLiteral("empty %1").arg(QLatin1String(fieldName(field_))), byte, out);
        storeNumberField(v);
        return;
    }
    if (field_ == 4) {
        if (!isDigit(byte))
            return reject(QStringLiteral("unexpected %1 in the rotor-bob code").arg(shown(byte)), byte, out);
        current_.rotorBob = byte - '0';
        ++field_;
        return;
    }
    // fields 5 and 6: the constant "11" that closes every step
    if (byte != '1')
        return reject(QStringLiteral("unexpected %1 in the step end \"11\"").arg(shown(byte)), byte, out);
    if (field_ == 5) {
        ++field_;
        return;
    }
    if (steps_.size() >= kMaxSteps)
        return reject(QStringLiteral("more than %1 steps").arg(kMaxSteps), byte, out);
    steps_.append(current_);
    startFields();
}

// Fields 0 to 3 of a step and of the run-speed command: step, seconds, temperature, speed.
void CommandParser::storeNumberField(qint64 value)
{
    switch (field_) {
    case 0: current_.stepNo = int(value); break;
    case 1: current_.seconds = value; break;
    case 2: current_.temperatureF = int(value); break;
    case 3: current_.speedHundredths = value; break;
    }
    ++field_;
}

void CommandParser::feedRunSpeed(char byte, QList<Command> &out)
{
    if (field_ <= 3) {
        if (isDigit(byte) || (byte == '-' && field_ == 2 && text_.isEmpty())) {
            if (text_.size() >= kMaxDigits)
                return reject(QStringLiteral("run-speed %1 too long").arg(QLatin1String(fieldName(field_))), byte, out);
            text_.append(byte);
            return;
        }
        qint64 v = 0;
        if (byte != ',' || !closeNumber(v))
            return reject(QStringLiteral("run-speed command broken at %1").arg(shown(byte)), byte, out);
        storeNumberField(v);
        return;
    }
    if (!isDigit(byte))
        return reject(QStringLiteral("run-speed command broken at %1").arg(shown(byte)), byte, out);
    current_.rotorBob = byte - '0';
    out.append({Command::Type::RunSpeed, {current_}, {}});
    state_ = State::Idle;
}
