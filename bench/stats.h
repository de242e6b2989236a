#pragma once

#include <string>
#include <vector>

// One measured quantity and its samples, one per run.
struct Figure {
    std::string name;
    std::string unit;
    std::vector<double> samples;
};

struct Summary {
    double median = 0;
    double minimum = 0;
    double maximum = 0;
    int failures = 0;  // runs that gave no sample (negative values)
};

// Median, minimum and maximum of the valid (non-negative) samples.
[[nodiscard]] Summary Summarise(const std::vector<double>& samples);

// The table of all figures, then the ratios between medians.
struct Ratio {
    std::string name;
    std::string numerator;
    std::string denominator;  // empty: the numerator's median is held to the goal itself
    double goal = 0;  // the ratio must stay at or below this; 0: no goal
};

[[nodiscard]] std::string FormatTable(const std::vector<Figure>& figures, const std::vector<Ratio>& ratios);
