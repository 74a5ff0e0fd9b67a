#pragma once
// Which device a "Comm n" entry stands for. By default "Comm n" is /dev/ttyS(n-1) on Linux and COMn on
// Windows; a file "ports.txt" in the working directory may map any number to any device, one mapping a
// line: "3 = /dev/ttyUSB0" ("Comm 3 = /dev/ttyUSB0" and blank or '#' lines are accepted too).
// The --simulate demo mode adds an in-memory override for the configured port.
#include <QMap>
#include <QString>

class PortMap {
public:
    static QString defaultDevice(int commNumber);

    // Reads ports.txt from dir; a missing file leaves only the defaults. Lines that do not parse are ignored.
    void load(const QString &dir);
    void parse(const QString &text);

    void setOverride(int commNumber, const QString &device) { overrides_[commNumber] = device; }
    QString device(int commNumber) const;

private:
    QMap<int, QString> fromFile_;
    QMap<int, QString> overrides_;
};
