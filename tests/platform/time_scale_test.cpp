// TARNWICK_TIME_SCALE reads the same under every locale, a decimal-comma one included
// (the window toolkit sets the locale from the environment before the clock is made).
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/clock.h"

namespace tarnwick::test {
namespace {

TEST(TimeScale, ReadWithADecimalPointWhateverTheLocale) {
    const struct {
        const char* text;
        double scale;
    } cases[] = {{"0.1", 0.1}, {"0", 0.0}, {"2.5", 2.5}, {"0,1", 1.0}, {"-1", 1.0}, {"1e400", 1.0}, {"x", 1.0}, {"", 1.0}};
    const std::string before = std::setlocale(LC_ALL, nullptr);
    for (const char* locale : {"C", "de_DE.UTF-8", "fr_FR.UTF-8", "ru_RU.UTF-8"}) {
        if (std::setlocale(LC_ALL, locale) == nullptr) continue;  // not installed here
        for (const auto& c : cases) EXPECT_EQ(parseTimeScale(c.text), c.scale) << locale << " '" << c.text << "'";
    }
    std::setlocale(LC_ALL, before.c_str());
}

}  // namespace
}  // namespace tarnwick::test
