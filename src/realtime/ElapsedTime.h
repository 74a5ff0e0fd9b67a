#pragma once
// The status-bar text for the count of data messages received since Start (one a second, so the count
// stands for seconds): "Elapsed Time: hh:mm:ss", the hours wrapping after 24.
#include <QString>

namespace ElapsedTime {
QString text(qint64 messageCount);
}
