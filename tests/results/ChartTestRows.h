#pragma once
// Small result tables for the chart tests: rows built from (step, time, speed, stress) or column by column.
#include "results/ResultRow.h"
#include <cstddef>

#include <QList>
#include <QPointF>
#include <initializer_list>

namespace ChartTestRows {

// A row whose column c holds base + c (step 1), so each plotted column shows itself in the chart.
inline ResultRow distinctColumns(double base)
{
    ResultRow r;
    for (int c = 0; c < ResultRow::Count; ++c)
        r[c] = base + c;
    r[ResultRow::Step] = 1;
    return r;
}

// Rows of a Fann-style test: shear rate from the speed (R1-B1), viscosity and dial from the stress.
struct Reading {
    double step;
    double time;
    double speed;
    double stress;
};
inline ResultTable readings(std::initializer_list<Reading> list)
{
    ResultTable out;
    for (const Reading &g : list) {
        ResultRow r;
        r[ResultRow::Step] = g.step;
        r[ResultRow::Time] = g.time;
        r[ResultRow::Temperature] = 120;
        r[ResultRow::ShearRate] = g.speed * 1.7023;
        r[ResultRow::Speed] = g.speed;
        r[ResultRow::ShearStress] = g.stress;
        r[ResultRow::Viscosity] = g.stress / ((g.speed + 0.000001) * 1.7023) * 100;
        r[ResultRow::RotorBob] = 1;
        r[ResultRow::Fann] = g.stress / 5.11;
        out.push_back(r);
    }
    return out;
}

// The classic six-speed test: 600, 300, 200, 100, 6, 3 rpm, one step each.
inline ResultTable sixSpeeds(double stressScale = 1.0)
{
    return readings({{1, 60, 600, 60 * stressScale},
                     {2, 60, 300, 40 * stressScale},
                     {3, 60, 200, 32 * stressScale},
                     {4, 60, 100, 23 * stressScale},
                     {5, 60, 6, 8 * stressScale},
                     {6, 60, 3, 7 * stressScale}});
}

inline QList<double> xs(const QList<QPointF> &points)
{
    QList<double> out;
    for (const QPointF &p : points)
        out << p.x();
    return out;
}

// Single precision as the chart keeps it (through a volatile: GCC 12 may drop a plain float round trip).
inline double single(double v)
{
    volatile float f = static_cast<float>(v);
    return f;
}

} // namespace ChartTestRows
