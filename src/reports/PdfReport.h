#pragma once
// The one-page PDF lab report of a test: its related information, the shear stress / shear rate chart
// with the fitted model curves (drawn as vector shapes and text, not as a picture), the flow-curve dial
// readings per speed, PV, YP and the gels, and the rheology models. Written with Qt's PDF writer; every
// text can be copied or extracted from the file. Needs a QApplication (the chart is Qt Charts), which
// may run on the offscreen platform: nothing is shown.
#include <QPageSize>
#include <QString>

class QIODevice;
class QLocale;
struct ReportSource;

class PdfReport {
public:
    // A4, or Letter where the locale's paper is Letter (the US and Canada, and the countries of the
    // Americas and the Philippines that use it).
    static QPageSize pageSizeFor(const QLocale &locale);

    // Writes the report to device (open for writing). False, with a reason in *error, when it fails.
    static bool write(const ReportSource &source, QIODevice &device, const QPageSize &page, QString *error);

    // Writes the report to path: to a temporary file beside it first, renamed over path when complete,
    // so a failure leaves no file (and any earlier file under that name as it was).
    static bool save(const ReportSource &source, const QString &path, const QPageSize &page, QString *error);

    // The chart area of the page is this share of the page's height.
    static constexpr double ChartShare = 0.36;
};
