#include "platform/timer_resolution.h"

#include <gtest/gtest.h>

namespace homeclick::platform {
namespace {

struct recorded {
    static inline unsigned begun = 0;
    static inline unsigned ended = 0;
    static unsigned begin(unsigned milliseconds) { return begun = milliseconds, 0; }
    static unsigned end(unsigned milliseconds) { return ended = milliseconds, 0; }
};

TEST(TimerResolution, AsksForOneMillisecondAndGivesTheSameBack)
{
    const auto saved = timer_resolution::replace_calls({recorded::begin, recorded::end});
    timer_resolution::request();
    timer_resolution::release();
    timer_resolution::replace_calls(saved);
    EXPECT_EQ(recorded::begun, 1u);
    EXPECT_EQ(recorded::ended, 1u);
}

} // namespace
} // namespace homeclick::platform
