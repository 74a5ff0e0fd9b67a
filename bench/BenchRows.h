#pragma once
// A long test as result rows, without a database: a 98-step sequence whose steps run the
// 600-300-200-100-6-3 ladder (or a rest) and record one reading a second, with a temperature that climbs
// and falls in whole degrees and a noisy stress. Shared by the report and chart benchmarks.
#include "results/ResultRow.h"

#include <algorithm>
#include <cmath>

inline ResultTable makeLongTest(int n)
{
    static const double speeds[] = {600, 300, 200, 100, 6, 3, 0.000001, 3};
    const int perStep = std::max(1, (n + 97) / 98);
    ResultTable rows;
    rows.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const int step = i / perStep + 1;
        const double speed = speeds[(step - 1) % 8];
        const double dial = speed < 0.1 ? 0 : 8 + 52 * std::sqrt(speed / 600) + 0.01 * (i % 17);
        ResultRow r;
        r[ResultRow::Step] = step;
        r[ResultRow::Time] = (i % perStep) + 0.5 * (i % 3);
        r[ResultRow::Temperature] = std::round(150 + 100 * std::sin(double(i) / n * 6.283));
        r[ResultRow::ShearRate] = speed * 1.7023;
        r[ResultRow::Speed] = speed;
        r[ResultRow::ShearStress] = dial * 5.11 / 4.788;
        r[ResultRow::Viscosity] = dial * 5.11 / ((speed + 0.000001) * 1.7023) * 100;
        r[ResultRow::Gel] = speed == 3 ? (dial + 2) * 5.11 / 4.788 : 0;
        r[ResultRow::RotorBob] = 1;
        r[ResultRow::Fann] = dial;
        rows.push_back(r);
    }
    return rows;
}
