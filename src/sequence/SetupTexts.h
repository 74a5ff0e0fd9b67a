#pragma once
// Message-box title the program uses where a message has no title of its own.
#include <QString>

namespace SetupTexts {
inline QString appTitle()
{
    return QStringLiteral("K7100DAQ");
}
} // namespace SetupTexts
