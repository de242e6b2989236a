#include "stats.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

Summary Summarise(const std::vector<double>& samples) {
    std::vector<double> valid;
    Summary summary;
    for (double sample : samples) {
        if (sample >= 0) {
            valid.push_back(sample);
        } else {
            ++summary.failures;
        }
    }
    if (valid.empty()) return summary;
    std::sort(valid.begin(), valid.end());
    const size_t middle = valid.size() / 2;
    summary.median = valid.size() % 2 ? valid[middle] : (valid[middle - 1] + valid[middle]) / 2;
    summary.minimum = valid.front();
    summary.maximum = valid.back();
    return summary;
}

namespace {

std::string Line(const char* format, ...) {
    char buffer[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof(buffer), format, arguments);
    va_end(arguments);
    return buffer;
}

const Figure* Find(const std::vector<Figure>& figures, const std::string& name) {
    const auto found = std::find_if(figures.begin(), figures.end(), [&](const Figure& f) { return f.name == name; });
    return found == figures.end() ? nullptr : &*found;
}

}  // namespace

std::string FormatTable(const std::vector<Figure>& figures, const std::vector<Ratio>& ratios) {
    std::string table = "| Figure | Median | Min | Max | Unit | Runs |\n|---|---:|---:|---:|---|---:|\n";
    for (const Figure& figure : figures) {
        const Summary summary = Summarise(figure.samples);
        const int runs = static_cast<int>(figure.samples.size()) - summary.failures;
        const std::string failed = summary.failures ? Line(" (%d gave none)", summary.failures) : "";
        if (runs == 0) {
            table += Line("| %s | n/a | n/a | n/a | %s | 0%s |\n", figure.name.c_str(), figure.unit.c_str(),
                          failed.c_str());
            continue;
        }
        table += Line("| %s | %.1f | %.1f | %.1f | %s | %d%s |\n", figure.name.c_str(), summary.median,
                      summary.minimum, summary.maximum, figure.unit.c_str(), runs, failed.c_str());
    }
    if (ratios.empty()) return table;
    table += "\n| Ratio of medians (or a median itself) | Value | Goal |\n|---|---:|---|\n";
    for (const Ratio& ratio : ratios) {
        const Figure* top = Find(figures, ratio.numerator);
        const Figure* bottom = Find(figures, ratio.denominator);
        const double denominator = ratio.denominator.empty() ? 1 : bottom ? Summarise(bottom->samples).median : 0;
        if (!top || denominator <= 0) {
            table += Line("| %s | n/a | |\n", ratio.name.c_str());
            continue;
        }
        const double value = Summarise(top->samples).median / denominator;
        const std::string goal =
            ratio.goal > 0 ? Line("<= %.2f %s", ratio.goal, value <= ratio.goal ? "met" : "MISSED") : "";
        table += Line("| %s | %.2f | %s |\n", ratio.name.c_str(), value, goal.c_str());
    }
    return table;
}
