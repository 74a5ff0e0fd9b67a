#pragma once
// The ten result chart types of the main window's chart list: the list text, titles and axis labels in
// English and metric units, the result-row columns each type plots and whether its points are sorted.
#include <QString>
#include <QStringList>

struct ChartTypeInfo {
    const char *listText;
    const char *title;
    const char *xLabelEI;
    const char *xLabelSI;
    const char *yLabelEI;
    const char *yLabelSI;
    int xColumn; // a ResultRow column, or ChartTypes::ElapsedTime
    int yColumn;
    bool sortedByX;
};

namespace ChartTypes {

constexpr int Count = 10;
// The x value of the time charts: the recorded time plus the times of the steps before.
constexpr int ElapsedTime = -1;

// Types outside 0..9 give type 0.
const ChartTypeInfo &info(int type);
int clamp(int type);

QStringList listTexts();
QString listToolTip();
QString title(int type);
QString xLabel(int type, bool si);
QString yLabel(int type, bool si);

// Shown when an overlaid test has more points than the chart holds; type 0 words it its own way.
QString overCapacityMessage(int type);

} // namespace ChartTypes
