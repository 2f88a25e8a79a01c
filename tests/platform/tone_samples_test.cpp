// The samples of the message-box tone: frequency and length, measured, not heard.
#ifdef TARNWICK_HAVE_ALSA
#include "platform/alsa/tone_samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace tarnwick {
namespace {

// Rising zero crossings over the whole signal.
int risingCrossings(const std::vector<int16_t>& s) {
    int n = 0;
    for (size_t i = 1; i < s.size(); ++i) {
        if (s[i - 1] < 0 && s[i] >= 0) ++n;
    }
    return n;
}

TEST(ToneSamples, BoxToneIs442HzFor100MsFadedAtBothEnds) {
    const std::vector<int16_t> s = toneSamples(442, 100);
    ASSERT_EQ(s.size(), kToneSampleRate / 10);  // 4410 samples
    // 44.2 periods in 100 ms: 44 rising crossings (the first period starts at 0 itself).
    EXPECT_EQ(risingCrossings(s), 44);
    // Audible: the peak reaches at least a third of full scale.
    int peak = 0;
    for (int16_t v : s) peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_GT(peak, 32767 / 3);
    // Starts and ends at silence: no click.
    EXPECT_EQ(s.front(), 0);
    EXPECT_EQ(s.back(), 0);
}

}  // namespace
}  // namespace tarnwick
#endif
