#pragma once
// Draws any ChartModel with Qt Charts and prints it as shown. The view follows the model's signals:
// texts and ranges are applied in place, new points at the end of a series are appended to the drawn
// series, and only a change of structure (series count, scales, plotting method, y axes, series look)
// builds a new chart with its series and axes. Updates are gathered and applied once per turn of the event loop, so a
// tick that writes four series costs one repaint; refresh() applies them at once.
//
// Points that an axis cannot show (zero or below on a logarithmic axis, NaN) are left out of the drawn
// series: Qt Charts would otherwise drop the whole series. Only plain line, spline and scatter series are
// used, never OpenGL ones (those are missing from printed output).
//
// A series of many more points than the plot has pixel columns (a long test) is handed to Qt Charts thinned
// to what the screen can show (ScreenPoints), which draws the same picture in a fraction of the time; it is
// thinned again when the plot changes size. Printing draws every point. Axis ranges always come from all
// points of the model.
#include <QPointer>
#include <QWidget>
#include <vector>

#include "platform/ChartModel.h"
class Prompts;
class QPainter;
class QPrinter;
class QTimer;
class QAbstractAxis;
class QXYSeries;
class QChart;
class QChartView;

class ChartView : public QWidget {
    Q_OBJECT
public:
    explicit ChartView(QWidget *parent = nullptr);
    ~ChartView() override;

    // The model to draw (not owned; it must outlive the view or be detached with setModel(nullptr)).
    void setModel(ChartModel *model);
    ChartModel *model() const { return model_; }

    // Applies every pending change of the model now (the view otherwise does it on the next event-loop
    // turn).
    void refresh();

    // Shows the print dialog through the prompts seam and prints the chart as shown; false when the user
    // cancelled. A printer that cannot be opened is reported through the prompts.
    bool print(Prompts &prompts);
    // Prints the chart as shown on an already set-up printer, scaled to the page; false when the printer
    // could not be opened.
    bool print(QPrinter &printer);

    // Draws the chart as shown into target on painter (a PDF page, say): the chart is laid out at the
    // target's size and drawn as shapes and text, not as a picture.
    void renderTo(QPainter &painter, const QRectF &target);

    // For tests and accessibility: the Qt chart and the drawn data series (one per model series; the fitted
    // curves of the best-fit methods are extra series that are not listed here).
    QChart *chart() const;
    QXYSeries *drawnSeries(int series) const;
    // The drawn curves of the model (ChartModel::curves), in its order.
    const std::vector<QXYSeries *> &drawnCurves() const { return curves_; }
    QAbstractAxis *drawnXAxis() const;
    QAbstractAxis *drawnYAxis(int axis) const;

private:
    static QChart *newChart();
    void scheduleSync();
    void markStructure();
    void onPointsChanged(int series, int fromIndex);
    void onPointsShifted(int n);
    void sync();
    void rebuild();
    void applyTexts();
    void applyRanges();
    void fillSeries(int series);
    void appendToSeries(int series);
    // The points of a series as handed to Qt Charts: every point for printing, else thinned for the screen.
    QList<QPointF> drawnPoints(int series, const QList<QPointF> &visible) const;
    void onPlotAreaChanged();
    void addCurves();

    struct Drawn {
        QXYSeries *data = nullptr;
        QXYSeries *fit = nullptr; // the least-squares curve, when the plotting method has one
        int syncedEnd = 0;        // model slots below this index are in the drawn series
        bool replace = false;     // the drawn points must be taken again from the model
        bool thinned = false;     // fewer points were drawn than the model holds
    };

    QPointer<ChartModel> model_;
    QChartView *view_ = nullptr;
    QChart *chart_ = nullptr;
    QTimer *syncTimer_ = nullptr;
    QAbstractAxis *xAxis_ = nullptr;
    std::vector<QAbstractAxis *> yAxes_;
    std::vector<Drawn> drawn_;
    std::vector<QXYSeries *> curves_; // the model's curves, in its order
    bool needStructure_ = true;
    bool needTexts_ = true;
    bool needRanges_ = true;
    bool printing_ = false;
    double thinnedFor_ = 0; // the plot width the thinned series were made for
};
