#include <gtest/gtest.h>

#include "platform/rules/click_kind.h"
#include "platform/rules/hotkey_modifiers.h"
#include "platform/rules/start_position.h"
#include "platform/rules/timer_period.h"

namespace homeclick::rules {
namespace {

TEST(HotkeyModifiers, MapsCtrlShiftAltAndTheirPairsToTheSystemFlags)
{
    struct mapping {
        std::int32_t given;
        std::int32_t flags;
    };
    for (const auto [given, flags] :
         {mapping{1, mod_control}, mapping{2, mod_shift}, mapping{4, mod_alt}, mapping{3, mod_control | mod_shift},
          mapping{5, mod_control | mod_alt}, mapping{6, mod_shift | mod_alt}}) {
        EXPECT_EQ(hotkey_modifier_flags(given), flags) << given;
    }
}

TEST(HotkeyModifiers, PassesEveryOtherValueUnchanged)
{
    for (const std::int32_t given : {0, 7, 8, 0x4000, -1, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(hotkey_modifier_flags(given), given) << given;
    }
}

TEST(ClickKind, ChoosesButtonAndCount)
{
    const click_plan left{mouse_left_down | mouse_left_up, 1};
    EXPECT_EQ(click_plan_for(0), left);
    EXPECT_EQ(click_plan_for(1), (click_plan{mouse_left_down | mouse_left_up, 2}));
    EXPECT_EQ(click_plan_for(2), (click_plan{mouse_right_down | mouse_right_up, 1}));
    EXPECT_EQ(click_plan_for(3), (click_plan{mouse_right_down | mouse_right_up, 2}));
    for (const std::int32_t unknown : {4, -1, 100, INT32_MIN}) {
        EXPECT_EQ(click_plan_for(unknown), left) << unknown;
    }
}

TEST(ClickKind, NeverMovesOrUsesAbsoluteCoordinates)
{
    constexpr std::uint32_t move = 0x0001;
    constexpr std::uint32_t absolute = 0x8000;
    for (std::int32_t kind = -2; kind < 6; ++kind) {
        EXPECT_EQ(click_plan_for(kind).flags & (move | absolute), 0u);
    }
}

struct period_case {
    std::int32_t held;
    std::int32_t requested;
    period_change expected;
};

class PeriodRule : public testing::TestWithParam<period_case> {};

TEST_P(PeriodRule, StopsAndStartsOnlyWhenThePeriodChanges)
{
    const auto& [held, requested, expected] = GetParam();
    EXPECT_EQ(write_period(held, requested), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PeriodRule,
                         testing::Values(period_case{0, 10, {10, false, true}},   // starts afresh
                                         period_case{10, 10, {10, false, false}}, // same value: not restarted
                                         period_case{10, 20, {20, true, true}},   // restarted at the new period
                                         period_case{10, 0, {0, true, false}},    // stopped
                                         period_case{10, -5, {0, true, false}},   // negative counts as 0
                                         period_case{0, -5, {0, false, false}},   // already stopped
                                         period_case{0, 0, {0, false, false}},
                                         period_case{0, INT32_MIN, {0, false, false}},
                                         period_case{0, INT32_MAX, {INT32_MAX, false, true}}));

TEST(StartPosition, CentresOnThePrimaryScreen)
{
    EXPECT_EQ(centred_start(1024, 768, 380, 250), (screen_point{322, 259}));
    EXPECT_EQ(centred_start(1920, 1080, 380, 250), (screen_point{770, 415}));
    EXPECT_EQ(centred_start(1366, 768, 380, 250), (screen_point{493, 259}));
}

TEST(StartPosition, GoesNegativeOnAScreenSmallerThanTheWindow)
{
    // (300 - 380) / 2 and (201 - 250) / 2 truncate toward zero.
    EXPECT_EQ(centred_start(300, 201, 380, 250), (screen_point{-40, -24}));
    EXPECT_EQ(centred_start(0, 0, 380, 250), (screen_point{-190, -125}));
}

} // namespace
} // namespace homeclick::rules
