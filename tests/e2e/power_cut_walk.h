// What the power-cut walks share: the points they cut at and the figures they report.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace tarnwick::test {

// The messages (1-based) a walk cuts after: every k-th with TARNWICK_POWER_CUT_STEP=k, else
// every defaultStep-th, or with a default of 0 the first of each distinct message; the last always.
inline std::vector<int> pointsToCut(const std::vector<std::string>& messages, int defaultStep) {
    const char* step = std::getenv("TARNWICK_POWER_CUT_STEP");
    const int k = step != nullptr && std::atoi(step) > 0 ? std::atoi(step) : defaultStep;
    std::vector<int> points;
    std::map<std::string, int> first;
    for (int n = 1; n <= static_cast<int>(messages.size()); ++n) {
        const bool chosen = k > 0 ? (n - 1) % k == 0 : first.emplace(messages[size_t(n - 1)], n).second;
        if (chosen || n == static_cast<int>(messages.size())) points.push_back(n);
    }
    return points;
}

// Every point cut must have recovered.
inline void expectEveryPointRecovered(const std::string& walk, int points, int recovered) {
    ::testing::Test::RecordProperty("points", points);
    ::testing::Test::RecordProperty("recovered", recovered);
    std::printf("%s: %d points cut, %d recovered\n", walk.c_str(), points, recovered);
    EXPECT_EQ(recovered, points);
}

}  // namespace tarnwick::test
