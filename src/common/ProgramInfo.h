#pragma once
// The program's name and version as every window, message and report shows them. The version is the
// project's (CMakeLists.txt); the release date is the one the About box has always shown with it.
#include "common/ProgramVersion.h"

#include <QString>

namespace ProgramInfo {

// "K7100DAQ": window titles, message titles, report headings.
inline QString name()
{
    return QStringLiteral("K7100DAQ");
}

// "2.0.0.12"
inline QString version()
{
    return QStringLiteral(K7100_VERSION);
}

inline QString releaseDate()
{
    return QStringLiteral("06-04-2018");
}

// "version 2.0.0.12   06-04-2018", as the About box shows it.
inline QString versionLine()
{
    return QStringLiteral("version %1   %2").arg(version(), releaseDate());
}

} // namespace ProgramInfo
