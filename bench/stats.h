#pragma once
// Medians and spreads of repeated timings, printed one figure a line.

#include <algorithm>
#include <cstdio>
#include <vector>

namespace sp::bench {

struct Summary {
    double median, p10, p90;
};

inline Summary summarize(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    auto at = [&](double q) { return samples[static_cast<size_t>(q * (samples.size() - 1))]; };
    return {at(0.5), at(0.1), at(0.9)};
}

inline void print(const char *what, const Summary &s, const char *unit) {
    std::printf("%-44s median %9.3f %s  (p10 %.3f, p90 %.3f)\n", what, s.median, unit, s.p10,
                s.p90);
}

inline void printRatio(const char *what, const Summary &value, const Summary &baseline) {
    std::printf("%-44s %.2fx the baseline\n", what, value.median / baseline.median);
}

} // namespace sp::bench
