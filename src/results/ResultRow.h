#pragma once
// One data point of a stored test in display units: the ten columns every reader (grid, charts,
// reports) addresses by position 0..9.
#include <array>
#include <cstddef>
#include <vector>

struct ResultRow {
    enum Column { Step = 0, Time, Temperature, ShearRate, Speed, ShearStress, Viscosity, Gel, RotorBob, Fann, Count };
    std::array<double, Count> v{};

    double operator[](int column) const { return v[static_cast<size_t>(column)]; }
    double &operator[](int column) { return v[static_cast<size_t>(column)]; }
};

using ResultTable = std::vector<ResultRow>;
