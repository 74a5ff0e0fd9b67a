#pragma once
// GoogleTest prints a QString in a failure message as its text in quotes (instead of its bytes).
#include <QString>

#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
