#include "app/click_controller.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"

namespace homeclick::app {
namespace {

using platform::control_index;
using platform::owned_text;
using platform::system_handle;

constexpr auto main_handle = static_cast<system_handle>(0x1000);
constexpr auto label_handle = static_cast<system_handle>(0x1003);

// Records every platform call in order, and plays the system's part.
class fake_platform final : public platform::window_services, public platform::input_services {
public:
    std::vector<std::string> calls;
    std::optional<std::string> box_text = "10"; // nullopt: the read yields no text
    std::int32_t registration_result = 33001;
    std::vector<std::int32_t> cursor_answers;
    struct click {
        std::int32_t x, y, kind;
    };
    std::vector<click> clicks;
    std::vector<std::int32_t> periods;

    system_handle main_window_handle() const noexcept override
    {
        log("main_window_handle");
        return main_handle;
    }
    system_handle control_handle(control_index control) const noexcept override
    {
        log("control_handle " + std::to_string(control));
        return static_cast<system_handle>(0x1000 + 1 + control);
    }
    owned_text read_content(control_index control) const noexcept override
    {
        log("read_content " + std::to_string(control));
        return box_text ? owned_text::copy_of(*box_text) : owned_text{};
    }
    void write_period(control_index control, std::int32_t ms) noexcept override
    {
        log("write_period " + std::to_string(control) + " " + std::to_string(ms));
        periods.push_back(ms);
    }
    std::int32_t register_hotkey(system_handle window, system_handle receiver, std::int32_t modifiers,
                                 std::int32_t key) noexcept override
    {
        log("register_hotkey " + hex(window) + " " + hex(receiver) + " " + std::to_string(modifiers) + " " +
            std::to_string(key));
        return registration_result;
    }
    bool unregister_hotkey(system_handle window, std::int32_t identifier) noexcept override
    {
        log("unregister_hotkey " + hex(window) + " " + std::to_string(identifier));
        return identifier != 0;
    }
    std::int32_t cursor_x() noexcept override
    {
        log("cursor_x");
        return next_cursor_answer();
    }
    std::int32_t cursor_y() noexcept override
    {
        log("cursor_y");
        return next_cursor_answer();
    }
    void simulate_click(std::int32_t x, std::int32_t y, std::int32_t kind) noexcept override
    {
        log("simulate_click " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(kind));
        clicks.push_back({x, y, kind});
    }

private:
    static std::string hex(system_handle handle) { return std::to_string(static_cast<std::uintptr_t>(handle)); }
    void log(std::string call) const { const_cast<fake_platform*>(this)->calls.push_back(std::move(call)); }
    std::int32_t next_cursor_answer()
    {
        if (cursor_answers.empty()) {
            return -1;
        }
        const std::int32_t answer = cursor_answers.front();
        cursor_answers.erase(cursor_answers.begin());
        return answer;
    }
};

class ClickController : public testing::Test {
protected:
    fake_platform platform;
    click_controller controller{platform, platform};

    void press() { controller.on_feedback(33001, 0); }
};

TEST_F(ClickController, CreatedRegistersHomeWithoutModifiersForTheLabel)
{
    controller.on_created();
    const std::vector<std::string> expected{"main_window_handle", "control_handle " + std::to_string(标签1),
                                            "register_hotkey " + std::to_string(0x1000) + " " + std::to_string(0x1003) +
                                                " 0 36"};
    EXPECT_EQ(platform.calls, expected);
    EXPECT_EQ(controller.hotkey_identifier(), 33001);
    EXPECT_EQ(static_cast<std::uintptr_t>(label_handle), 0x1003u);
}

TEST_F(ClickController, ARefusedRegistrationIsKeptAsZeroAndReleasedAsZero)
{
    platform.registration_result = 0;
    controller.on_created();
    EXPECT_EQ(controller.hotkey_identifier(), 0);
    platform.calls.clear();
    controller.on_destroying();
    EXPECT_EQ(platform.calls,
              (std::vector<std::string>{"main_window_handle", "unregister_hotkey " + std::to_string(0x1000) + " 0"}));
}

TEST_F(ClickController, DestroyingAsksForTheWindowAgainAndReleasesTheStoredIdentifier)
{
    platform.registration_result = 33007;
    controller.on_created();
    press();
    platform.calls.clear();
    controller.on_destroying();
    EXPECT_EQ(platform.calls, (std::vector<std::string>{"main_window_handle",
                                                        "unregister_hotkey " + std::to_string(0x1000) + " 33007"}));
    // Nothing else changes: clicking stays on as far as the controller knows.
    EXPECT_TRUE(controller.running());
    EXPECT_EQ(controller.hotkey_identifier(), 33007);
}

TEST_F(ClickController, PressesToggleBetweenClickingAndStopped)
{
    press();
    EXPECT_TRUE(controller.running());
    press();
    EXPECT_FALSE(controller.running());
    press();
    EXPECT_TRUE(controller.running());
    EXPECT_EQ(platform.periods, (std::vector<std::int32_t>{10, 0, 10}));
    const std::vector<std::string> expected{"read_content 0", "write_period 1 10", "write_period 1 0", "read_content 0",
                                            "write_period 1 10"};
    EXPECT_EQ(platform.calls, expected);
}

TEST_F(ClickController, TheEventsArgumentsAreNeverLookedAt)
{
    controller.on_feedback(0, 0);
    controller.on_feedback(-7, 12345);
    controller.on_feedback(33001, 99);
    EXPECT_EQ(platform.periods, (std::vector<std::int32_t>{10, 0, 10}));
}

TEST_F(ClickController, TheBoxIsReadOnlyWhenSwitchingOn)
{
    press();
    platform.box_text = "500";
    press();
    EXPECT_EQ(platform.periods, (std::vector<std::int32_t>{10, 0}));
    press();
    EXPECT_EQ(platform.periods.back(), 500);
}

struct idle_box {
    const char* name;
    std::optional<std::string> text;
    std::int32_t period;
};

class IdleInterval : public ClickController, public testing::WithParamInterface<idle_box> {};

TEST_P(IdleInterval, FirstPressIdlesSecondSwitchesOffThirdReadsAgain)
{
    platform.box_text = GetParam().text;
    press();
    EXPECT_TRUE(controller.running());
    EXPECT_EQ(platform.periods.back(), GetParam().period);
    EXPECT_LE(platform.periods.back(), 0);
    press();
    EXPECT_FALSE(controller.running());
    EXPECT_EQ(platform.periods.back(), 0);
    platform.box_text = "25";
    press();
    EXPECT_EQ(platform.periods.back(), 25);
}

INSTANTIATE_TEST_SUITE_P(Cases, IdleInterval,
                         testing::Values(idle_box{"empty", "", 0}, idle_box{"no_text", std::nullopt, 0},
                                         idle_box{"letters", "abc", 0}, idle_box{"zero", "0", 0},
                                         idle_box{"negative", "-5", -5}),
                         [](const auto& info) { return std::string{info.param.name}; });

TEST_F(ClickController, TheIntervalIsConvertedByTheGbkRule)
{
    platform.box_text = "\xA3\xB3\xA3\xB0"; // full-width 30
    press();
    EXPECT_EQ(platform.periods.back(), 30);
}

TEST_F(ClickController, ATickClicksOnceWithXAndYFromTwoSeparateQueries)
{
    platform.cursor_answers = {120, 340};
    controller.on_tick();
    EXPECT_EQ(platform.calls, (std::vector<std::string>{"cursor_x", "cursor_y", "simulate_click 120 340 0"}));
}

TEST_F(ClickController, TicksPassNegativeCoordinatesOnUnchangedAndChangeNoState)
{
    press();
    platform.calls.clear();
    platform.cursor_answers = {-1600, -20, 5, 6};
    controller.on_tick();
    controller.on_tick();
    ASSERT_EQ(platform.clicks.size(), 2u);
    EXPECT_EQ(platform.clicks[0].x, -1600);
    EXPECT_EQ(platform.clicks[0].y, -20);
    EXPECT_EQ(platform.clicks[1].x, 5);
    EXPECT_EQ(platform.clicks[1].y, 6);
    EXPECT_TRUE(controller.running());
    EXPECT_EQ(platform.periods, (std::vector<std::int32_t>{10}));
}

} // namespace
} // namespace homeclick::app
