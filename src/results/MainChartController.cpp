#include "results/MainChartController.h"

#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "platform/ChartView.h"
#include "platform/LongWork.h"
#include "platform/Prompts.h"
#include "results/ChartPlotPoints.h"
#include "results/ChartTypes.h"
#include "results/ResultQuery.h"
#include "results/RheologyCurves.h"
#include "results/ThreadConnection.h"
#include "store/Database.h"
#include "store/frmOverlapTestName.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QThread>
#include <QVBoxLayout>
#include <stdexcept>
#include <utility>

namespace {

void setChecked(QAbstractButton *button, bool checked)
{
    if (!button)
        return;
    const QSignalBlocker block(button);
    button->setChecked(checked);
}

void setToolTipIfEmpty(QAbstractButton *button, const QString &tip)
{
    if (button && button->toolTip().isEmpty())
        button->setToolTip(tip);
}

} // namespace

MainChartController::MainChartController(AppContext &ctx, QWidget *chartArea, const MainChartControls &controls,
                                         QObject *parent)
    : QObject(parent), ctx_(ctx), builder_(model_), controls_(controls)
{
    view_ = new ChartView(chartArea);
    view_->setModel(&model_);
    if (chartArea) {
        if (!chartArea->layout()) {
            auto *layout = new QVBoxLayout(chartArea);
            layout->setContentsMargins(0, 0, 0, 0);
        }
        chartArea->layout()->addWidget(view_);
    }

    hooks_.chooseTest = [this] {
        // The dialog leaves the choice in OverlapTestName; the command cleared it before, so a cancelled
        // dialog leaves it empty.
        frmOverlapTestName::choose(ctx_, view_ ? view_->window() : nullptr);
        return true;
    };
    hooks_.overlapRows = [this, home = QThread::currentThread()](ProgramState &state,
                                                                 WorkProgress &progress) -> ResultTable {
        if (!ctx_.database)
            return {};
        const ThreadConnection connection(ctx_.database->connection(), home);
        if (!connection.isOpen())
            throw std::runtime_error(connection.error().toStdString());
        ResultQuery reader(connection.connection(), state);
        reader.setProgress(&progress);
        // An overlay's dial column divides by the open test's stress factor, as its grid was read.
        ResultTable rows = openConversion_ ? reader.dosqloverlap(openConversion_()) : reader.dosqloverlap();
        if (!reader.lastError().isEmpty())
            throw std::runtime_error(reader.lastError().toStdString());
        return rows;
    };

    if (QComboBox *list = controls_.cmbChartType) {
        const QStringList texts = ChartTypes::listTexts();
        QStringList current;
        for (int i = 0; i < list->count(); ++i)
            current << list->itemText(i);
        if (current != texts) {
            const QSignalBlocker block(list);
            list->clear();
            list->addItems(texts);
        }
        if (list->toolTip().isEmpty())
            list->setToolTip(ChartTypes::listToolTip());
        if (controls_.connectSignals) {
            // activated also fires when the shown entry is chosen again: that redraws it without overlays.
            connect(list, &QComboBox::activated, this, &MainChartController::selectChartType);
            if (list->isEditable() && list->lineEdit())
                connect(list->lineEdit(), &QLineEdit::textEdited, this, [this] { selectChartType(0); });
        }
    }
    const QString normalTip = QStringLiteral("Click here to select normal chart scale");
    const QString logTip = QStringLiteral("Click here to select log chart scale");
    setToolTipIfEmpty(controls_.xNormal, normalTip);
    setToolTipIfEmpty(controls_.yNormal, normalTip);
    setToolTipIfEmpty(controls_.xLog, logTip);
    setToolTipIfEmpty(controls_.yLog, logTip);
    if (controls_.connectSignals) {
        const std::pair<QAbstractButton *, std::function<void()>> scales[] = {
            {controls_.xNormal, [this] { setXLog(false); }},
            {controls_.xLog, [this] { setXLog(true); }},
            {controls_.yNormal, [this] { setYLog(false); }},
            {controls_.yLog, [this] { setYLog(true); }},
        };
        // Any way of choosing an option runs its command once; showScaleButtons() sets them with signals
        // blocked.
        for (const auto &[button, command] : scales)
            if (button)
                connect(button, &QAbstractButton::toggled, this, [command = command](bool on) {
                    if (on)
                        command();
                });
    }

    if (controls_.modelCurves) {
        setChecked(controls_.modelCurves, false);
        if (controls_.connectSignals)
            connect(controls_.modelCurves, &QAbstractButton::toggled, this, &MainChartController::setModelCurvesShown);
    }

    reset();
    showScaleButtons();
}

MainChartController::~MainChartController()
{
    if (view_) {
        view_->setModel(nullptr);
        // A view placed in no chart area belongs to nobody else.
        if (!view_->parent())
            delete view_;
    }
}

ChartView *MainChartController::view() const
{
    return view_;
}

void MainChartController::setOverlayHooks(const OverlayCommand::Hooks &hooks)
{
    if (hooks.chooseTest)
        hooks_.chooseTest = hooks.chooseTest;
    if (hooks.overlapRows)
        hooks_.overlapRows = hooks.overlapRows;
}

void MainChartController::reset()
{
    builder_.reset(ctx_.state && ctx_.state->isSI());
    // The reset returns the chart to straight lines; the shared choice follows so it never claims a
    // drawing the chart does not show.
    if (ctx_.state)
        ctx_.state->PlottingMethod = 0;
}

void MainChartController::showScaleButtons()
{
    const bool xLog = model_.xScale() == AxisScale::Log;
    const bool yLog = model_.yScale() == AxisScale::Log;
    // The button to check goes first: an exclusive pair does not let its checked button be cleared.
    setChecked(xLog ? controls_.xLog : controls_.xNormal, true);
    setChecked(xLog ? controls_.xNormal : controls_.xLog, false);
    setChecked(yLog ? controls_.yLog : controls_.yNormal, true);
    setChecked(yLog ? controls_.yNormal : controls_.yLog, false);
}

void MainChartController::drawOpenTest(int type)
{
    const bool si = ctx_.state && ctx_.state->isSI();
    reset();
    const std::shared_ptr<const ResultTable> rows = openRows_ ? openRows_() : nullptr;
    QList<QPointF> points;
    if (rows && !rows->empty()) {
        // Sorting a long test takes a moment: done as long work on the shared rows.
        LongWork::orImmediate(ctx_.work).run(QStringLiteral("Drawing the chart..."), LongWork::Stop::NotOffered,
                                             [&](WorkProgress &) { points = ChartPlotPoints::plotted(type, *rows); });
    }
    builder_.drawPlotted(type, std::move(points), si);
    // The test's name stays under the title in every chart type, so a printed chart says what it shows.
    model_.setSubtitle(ctx_.state ? ctx_.state->CurrentTestName : QString());
    applyModelCurves();
    showScaleButtons();
}

void MainChartController::resetChart()
{
    reset();
    applyModelCurves();
    showScaleButtons();
}

void MainChartController::setModelCurvesShown(bool shown)
{
    curvesShown_ = shown;
    applyModelCurves();
}

void MainChartController::applyModelCurves()
{
    const bool takesCurves = builder_.isDrawn() && RheologyCurves::appliesTo(builder_.chartType());
    if (QAbstractButton *option = controls_.modelCurves) {
        option->setEnabled(takesCurves);
        setChecked(option, curvesShown_);
    }
    if (curvesShown_ && takesCurves && rheology_)
        model_.setCurves(RheologyCurves::forChart(rheology_(), builder_.chartType()));
    else
        model_.setCurves({});
}

void MainChartController::showOpenTest()
{
    if (controls_.cmbChartType) {
        const QSignalBlocker block(controls_.cmbChartType);
        controls_.cmbChartType->setCurrentIndex(0);
    }
    if (!ctx_.state || ctx_.state->CurrentTestName.isEmpty()) {
        resetChart();
        return;
    }
    drawOpenTest(0);
    setScalesNormal();
}

void MainChartController::setScalesNormal()
{
    setXLog(false);
    setYLog(false);
}

void MainChartController::selectChartType(int type)
{
    type = ChartTypes::clamp(type);
    if (!ctx_.state || ctx_.state->CurrentTestName.isEmpty()) {
        if (controls_.cmbChartType) {
            const QSignalBlocker block(controls_.cmbChartType);
            controls_.cmbChartType->setCurrentIndex(0);
        }
        return;
    }
    if (controls_.cmbChartType && controls_.cmbChartType->currentIndex() != type) {
        const QSignalBlocker block(controls_.cmbChartType);
        controls_.cmbChartType->setCurrentIndex(type);
    }
    drawOpenTest(type);
}

void MainChartController::setXLog(bool log)
{
    model_.setXScale(log ? AxisScale::Log : AxisScale::Linear);
    showScaleButtons();
}

void MainChartController::setYLog(bool log)
{
    model_.setYScale(log ? AxisScale::Log : AxisScale::Linear);
    showScaleButtons();
}

bool MainChartController::printChart()
{
    if (!ctx_.prompts || !view_)
        return false;
    return view_->print(*ctx_.prompts);
}

OverlayCommand::Outcome MainChartController::overlap()
{
    if (!ctx_.state || !ctx_.prompts)
        return OverlayCommand::Outcome::NoOpenTest;
    return OverlayCommand(*ctx_.state, *ctx_.prompts, builder_, hooks_, ctx_.work).run();
}

void MainChartController::applyPlottingMethod()
{
    if (ctx_.state)
        model_.setPlottingMethod(ChartModel::plottingMethodFromCode(ctx_.state->PlottingMethod));
}
