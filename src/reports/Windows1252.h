#pragma once
// Text files for other programs of the lab (the text report) are written in the Windows-1252 code
// page, which holds the degree and registered signs the headings use. A character the code page
// does not have is written as "?", as Windows does.
#include <QByteArray>
#include <QString>

namespace Windows1252 {

QByteArray encode(const QString &text);

} // namespace Windows1252
