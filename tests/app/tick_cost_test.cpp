// The tick is the only repeated work: it must not allocate or touch text.
// Global operator new is replaced in this test program to count allocations.
#include "app/click_controller.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) {
        return p;
    }
    throw std::bad_alloc{};
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace homeclick::app {
namespace {

using platform::control_index;
using platform::owned_text;
using platform::system_handle;

// Counts calls without allocating itself.
class counting_platform final : public platform::window_services, public platform::input_services {
public:
    long text_reads = 0;
    long clicks = 0;
    std::int32_t next = 0;

    system_handle main_window_handle() const noexcept override { return static_cast<system_handle>(1); }
    system_handle control_handle(control_index) const noexcept override { return static_cast<system_handle>(2); }
    owned_text read_content(control_index) const noexcept override
    {
        ++const_cast<counting_platform*>(this)->text_reads;
        return owned_text::copy_of("10");
    }
    void write_period(control_index, std::int32_t) noexcept override {}
    std::int32_t register_hotkey(system_handle, system_handle, std::int32_t, std::int32_t) noexcept override
    {
        return 33001;
    }
    bool unregister_hotkey(system_handle, std::int32_t) noexcept override { return true; }
    std::int32_t cursor_x() noexcept override { return ++next; }
    std::int32_t cursor_y() noexcept override { return ++next; }
    void simulate_click(std::int32_t, std::int32_t, std::int32_t) noexcept override { ++clicks; }
};

TEST(TickCost, TicksNeitherAllocateNorReadText)
{
    counting_platform platform;
    click_controller controller{platform, platform};
    controller.on_created();
    controller.on_feedback(33001, 0);
    const long reads_before = platform.text_reads;
    const long allocations_before = allocations.load();
    for (int i = 0; i < 100000; ++i) {
        controller.on_tick();
    }
    const long allocated = allocations.load() - allocations_before;
    EXPECT_EQ(allocated, 0);
    EXPECT_EQ(platform.text_reads, reads_before);
    EXPECT_EQ(platform.clicks, 100000);
}

TEST(TickCost, TheCountingSeesAnAllocation)
{
    const long before = allocations.load();
    auto* p = new int(5);
    EXPECT_EQ(allocations.load() - before, 1);
    delete p;
}

} // namespace
} // namespace homeclick::app
