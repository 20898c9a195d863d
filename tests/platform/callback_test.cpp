#include "platform/callback.h"

#include <gtest/gtest.h>

namespace homeclick::platform {
namespace {

struct recorder {
    int calls = 0;
    int sum = 0;
    void poke() { ++calls; }
    void add(int a, int b) { sum += a + b; }
};

TEST(Callback, CallsTheBoundMethodOnItsTarget)
{
    recorder target;
    const auto poke = callback<>::bind<&recorder::poke>(target);
    const auto add = callback<int, int>::bind<&recorder::add>(target);
    poke();
    poke();
    add(2, 3);
    EXPECT_TRUE(poke);
    EXPECT_EQ(target.calls, 2);
    EXPECT_EQ(target.sum, 5);
}

TEST(Callback, AnUnboundEventIsIgnored)
{
    const callback<int, int> unbound;
    EXPECT_FALSE(unbound);
    unbound(1, 2);
}

} // namespace
} // namespace homeclick::platform
