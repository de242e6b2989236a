#pragma once

#include <cstdint>
#include <string>

// The reliability tests are seeded and scaled from the environment, and each
// adds one row to the run's summary table (tools/reliability-table prints it).
//
// QUORLEN_SEED  - the seed of every generator (a fixed default keeps runs repeatable);
// QUORLEN_SOAK  - a factor (at least 1) by which the soak run multiplies case counts.

// A whole number from the environment; the fallback when unset or not a number.
[[nodiscard]] long long EnvironmentNumber(const char* name, long long fallback);

[[nodiscard]] std::uint32_t ReliabilitySeed();
[[nodiscard]] int SoakFactor();

// Scales a short-run count by the soak factor.
[[nodiscard]] inline long long Scaled(long long count) { return count * SoakFactor(); }

struct ReliabilityFigures {
    std::string area;       // what was attacked, e.g. "pipe messages"
    long long cases = 0;    // inputs tried or operations attempted
    long long faults = 0;   // kills, refused writes and other faults injected
    std::string load;       // the load held, in words ("1000 hand-offs, 8 clients"), or empty
    long long failures = 0; // checks that failed beyond gtest's own
};

// Appends the row to "reliability-figures.tsv" beside the test program. The
// current test's gtest failure, if any, is counted as one more failure.
void RecordReliability(const ReliabilityFigures& figures);
