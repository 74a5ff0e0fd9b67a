#include "sim/DemoInstrument.h"

#include "sim/PtyHost.h"

#include <QMetaObject>

SimulatorOptions DemoInstrument::demoOptions()
{
    SimulatorOptions o;
    o.fluid.kind = FluidModel::Kind::Bingham;
    o.fluid.viscosityCp = 20.0;
    o.fluid.yieldStress = 48.0;
    o.fluid.gel10s = 24.0;
    o.fluid.gel10m = 48.0;
    o.fluid.tempCoefficient = 0.008;
    o.fluid.referenceF = 120.0;
    o.noise = 0.5;
    o.seed = 1;
    o.rate = 1.0;
    return o;
}

DemoInstrument::DemoInstrument(QObject *parent) : DemoInstrument(demoOptions(), parent) {}

DemoInstrument::DemoInstrument(const SimulatorOptions &options, QObject *parent) : QObject(parent), options_(options)
{
    thread_.setObjectName(QStringLiteral("K7100 simulator"));
}

DemoInstrument::~DemoInstrument()
{
    stop();
}

bool DemoInstrument::start(QString *error)
{
    if (host_)
        return true;
    const QString invalid = options_.validate();
    if (!invalid.isEmpty()) {
        if (error)
            *error = invalid;
        return false;
    }
    thread_.start();
    anchor_ = new QObject;
    anchor_->moveToThread(&thread_);
    // The notifiers and timers must be made in the thread that serves them.
    bool ok = false;
    QString problem;
    QMetaObject::invokeMethod(
        anchor_,
        [&] {
            auto *host = new PtyHost(options_);
            ok = host->open(&problem);
            if (ok) {
                host_ = host;
                device_ = host->devicePath();
            } else {
                delete host;
            }
        },
        Qt::BlockingQueuedConnection);
    if (!ok) {
        stop();
        if (error)
            *error = problem;
        return false;
    }
    return true;
}

void DemoInstrument::stop()
{
    if (!thread_.isRunning())
        return;
    QMetaObject::invokeMethod(
        anchor_,
        [this] {
            delete host_;
            host_ = nullptr;
        },
        Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
    delete anchor_;
    anchor_ = nullptr;
    device_.clear();
}
