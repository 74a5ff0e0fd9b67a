#include "reports/PdfReport.h"

#include "common/ProgramInfo.h"
#include "platform/ChartModel.h"
#include "platform/ChartView.h"
#include "reports/ReportSource.h"
#include "results/ResultChartBuilder.h"
#include "results/RheologyCurves.h"
#include "results/RheologyTable.h"
#include "store/SampleTime.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace {

// The page is laid out in points (1/72 inch).
constexpr int kPointsPerInch = 72;
constexpr double kMargin = 40;
constexpr double kLine = 11.5;  // table line height
constexpr double kSmall = 8.5;  // table font size
constexpr double kNormal = 9.5; // related information
constexpr double kTitle = 16;
// Qt Charts lays its fonts out in screen pixels; laid out this much larger than the page area and drawn
// scaled down, its labels come out near the size of the report's own text.
constexpr double kChartLayoutScale = 1.3;

class Page {
public:
    explicit Page(QPainter &painter) : p_(painter) {}

    void font(double points, bool bold = false)
    {
        QFont f = p_.font();
        f.setPointSizeF(points);
        f.setBold(bold);
        p_.setFont(f);
    }

    // One line of text in a box, elided to fit; returns the box's bottom.
    double text(const QRectF &box, const QString &text, int flags = Qt::AlignLeft | Qt::AlignVCenter)
    {
        if (flags & Qt::TextWordWrap) {
            p_.drawText(box, flags, text);
            return box.bottom();
        }
        const QFontMetricsF metrics(p_.font(), p_.device());
        p_.drawText(box, flags, metrics.elidedText(text, Qt::ElideRight, box.width()));
        return box.bottom();
    }

    // Cells of one table line at the given column edges; columns in `right` are right-aligned.
    void cells(double y, const QList<double> &edges, const QStringList &texts, const QList<int> &right = {})
    {
        for (int c = 0; c < texts.size() && c + 1 < edges.size(); ++c) {
            const QRectF box(edges[c], y, edges[c + 1] - edges[c] - 4, kLine);
            text(box, texts[c], (right.contains(c) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        }
    }

    void rule(double x1, double x2, double y)
    {
        p_.save();
        p_.setPen(QPen(Qt::black, 0.5));
        p_.drawLine(QPointF(x1, y), QPointF(x2, y));
        p_.restore();
    }

private:
    QPainter &p_;
};

QString valueOr(const std::optional<QString> &value)
{
    return value ? *value : QString();
}

void drawChart(QPainter &painter, const ReportSource &s, const QRectF &area)
{
    ChartModel model;
    ResultChartBuilder builder(model);
    builder.reset(s.si);
    builder.drawOpenTest(0, s.rows, s.si);
    model.setSubtitle(valueOr(s.info.testName));
    model.setCurves(RheologyCurves::forChart(s.models, 0));
    ChartView view;
    view.setModel(&model);
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(1.0 / kChartLayoutScale, 1.0 / kChartLayoutScale);
    view.renderTo(painter, QRectF(QPointF(0, 0), area.size() * kChartLayoutScale));
    painter.restore();
    view.setModel(nullptr);
}

} // namespace

QPageSize PdfReport::pageSizeFor(const QLocale &locale)
{
    // Where Letter is the usual paper (CLDR's paper-size data); Qt tells only the measurement system.
    static const QList<QLocale::Territory> letter = {
        QLocale::UnitedStates, QLocale::Canada,      QLocale::Mexico,     QLocale::Belize,    QLocale::Chile,
        QLocale::Colombia,     QLocale::CostaRica,   QLocale::ElSalvador, QLocale::Guatemala, QLocale::Nicaragua,
        QLocale::Panama,       QLocale::Philippines, QLocale::PuertoRico, QLocale::Venezuela,
    };
    if (locale.measurementSystem() == QLocale::ImperialUSSystem || letter.contains(locale.territory()))
        return QPageSize(QPageSize::Letter);
    return QPageSize(QPageSize::A4);
}

bool PdfReport::write(const ReportSource &s, QIODevice &device, const QPageSize &pageSize, QString *error)
{
    QPdfWriter pdf(&device);
    pdf.setResolution(kPointsPerInch);
    pdf.setPageSize(pageSize);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(QStringLiteral("K7100 Test Report - ") + valueOr(s.info.testName));
    pdf.setCreator(ProgramInfo::name() + QLatin1Char(' ') + ProgramInfo::version());

    QPainter painter;
    if (!painter.begin(&pdf)) {
        if (error)
            *error = QStringLiteral("the PDF file could not be started");
        return false;
    }
    Page page(painter);
    const QSizeF size = pageSize.size(QPageSize::Point);
    const double left = kMargin;
    const double right = size.width() - kMargin;
    const double width = right - left;
    double y = kMargin;

    page.font(kTitle, true);
    page.text(QRectF(left, y, width * 0.7, 22), QStringLiteral("K7100 Test Report"));
    page.font(kNormal);
    page.text(QRectF(left + width * 0.7, y, width * 0.3, 22),
              s.si ? QStringLiteral("SI units") : QStringLiteral("EI units"), Qt::AlignRight | Qt::AlignVCenter);
    y += 28;

    const std::pair<QString, QString> related[] = {
        {QStringLiteral("Test Name:"), valueOr(s.info.testName)},
        {QStringLiteral("Fluid ID:"), valueOr(s.info.mudId)},
        {QStringLiteral("Sample Time:"), s.info.sampleTime ? SampleTime::displayStored(*s.info.sampleTime) : QString()},
        {QStringLiteral("Company:"), valueOr(s.info.companyName)},
        {QStringLiteral("Description:"), valueOr(s.info.desc).simplified()},
    };
    for (const auto &[label, value] : related) {
        page.font(kNormal, true);
        page.text(QRectF(left, y, 80, 13), label);
        page.font(kNormal);
        y = page.text(QRectF(left + 80, y, width - 80, 13), value);
    }
    y += 6;

    const QRectF chartArea(left, y, width, size.height() * ChartShare);
    drawChart(painter, s, chartArea);
    y = chartArea.bottom() + 10;

    // Left column: the flow-curve readings, then PV/YP and the gels. Right column: the models.
    const double split = left + width * 0.45;
    const double bottom = size.height() - kMargin - 14;
    const std::vector<RheologyModelRows> models = RheologyTable::models(s.models, s.si);

    double ly = y;
    page.font(10, true);
    page.text(QRectF(left, ly, split - left, 14), QStringLiteral("Dial readings"));
    ly += 15;
    const QList<double> readingEdges = {left, left + 72, left + 160, split - 8};
    page.font(kSmall, true);
    page.cells(ly, readingEdges,
               {QStringLiteral("Speed (rpm)"), QStringLiteral("Shear Rate (1/S)"), QStringLiteral("Dial (deg)")},
               {0, 1, 2});
    ly += kLine;
    page.rule(left, split - 8, ly);
    page.font(kSmall);
    // Room for the readings above the PV/YP block (a heading, a rule and six lines).
    const std::vector<FlowReading> &readings = s.models.flowCurve.readings;
    const int room = std::max(1, int((bottom - ly - 9 * kLine) / kLine));
    const int shown = int(readings.size()) <= room ? int(readings.size()) : room - 1;
    for (int i = 0; i < shown; ++i) {
        const QStringList cells = RheologyTable::readingCells(readings[size_t(i)]);
        page.cells(ly, readingEdges, {cells[1], cells[2], cells[3]}, {0, 1, 2});
        ly += kLine;
    }
    if (shown < int(readings.size())) {
        page.text(QRectF(left, ly, split - left, kLine),
                  QStringLiteral("... and %1 more steps").arg(int(readings.size()) - shown));
        ly += kLine;
    }
    if (readings.empty()) {
        page.text(QRectF(left, ly, split - left, kLine), QStringLiteral("No step with a turning rotor"));
        ly += kLine;
    }
    ly += 8;

    const QList<double> valueEdges = {left, left + 90, left + 150, split - 8};
    auto modelBlock = [&](double x, double &yy, const QList<double> &edges, const RheologyModelRows &m) {
        page.font(kSmall, true);
        page.text(QRectF(x, yy, edges.last() - x, kLine), m.model);
        yy += kLine;
        page.font(kSmall);
        for (const RheologyParameter &p : m.parameters) {
            page.cells(yy, edges, {p.name, p.text(), p.unit}, {1});
            yy += kLine;
        }
        yy += 4;
    };
    page.font(10, true);
    page.text(QRectF(left, ly, split - left, 14), QStringLiteral("PV, YP and gels"));
    ly += 15;
    page.rule(left, split - 8, ly);
    ly += 2;
    for (size_t i = 0; i < 2 && i < models.size(); ++i)
        modelBlock(left, ly, valueEdges, models[i]);

    double ry = y;
    page.font(10, true);
    page.text(QRectF(split, ry, right - split, 14), QStringLiteral("Rheology models"));
    ry += 15;
    page.rule(split, right, ry);
    ry += 2;
    const QList<double> modelEdges = {split + 8, split + 95, split + 160, right};
    for (size_t i = 2; i < models.size(); ++i)
        modelBlock(split, ry, modelEdges, models[i]);
    page.font(7);
    page.text(QRectF(split, ry, right - split, 2 * kLine),
              s.si ? QStringLiteral("Stresses in dyn/cm2: a Fann 35 dial degree is 5.11 dyn/cm2.")
                   : QStringLiteral("Stresses in lb/100ft2: a Fann 35 dial degree is read as 1 lb/100ft2."),
              Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);

    page.font(7);
    page.text(QRectF(left, size.height() - kMargin - 10, width, 10),
              ProgramInfo::name() + QLatin1Char(' ') + ProgramInfo::version() + QStringLiteral(" - ")
                  + QLocale::c().toString(QDateTime::currentDateTime(), QStringLiteral("yyyy-MM-dd HH:mm")),
              Qt::AlignRight | Qt::AlignVCenter);
    if (!painter.end()) {
        if (error)
            *error = QStringLiteral("the PDF file could not be finished");
        return false;
    }
    return true;
}

bool PdfReport::save(const ReportSource &source, const QString &path, const QPageSize &page, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QString reason;
    if (!write(source, file, page, &reason)) {
        file.cancelWriting();
        if (error)
            *error = reason;
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
