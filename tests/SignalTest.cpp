#include "platform/Signal.h"
#include "platform/Window.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace twinfold
{
namespace
{

TEST(SignalTest, SubscribersRunInOrderAndLeaveWithTheirConnection)
{
    Signal<int> changed;
    std::vector<std::string> calls;
    auto first = changed.connect([&](int v) { calls.push_back("first " + std::to_string(v)); });
    std::optional<Connection> second =
        changed.connect([&](int v) { calls.push_back("second " + std::to_string(v)); });
    changed.emit(1);
    second.reset();
    changed.emit(2);
    EXPECT_EQ(calls, (std::vector<std::string>{"first 1", "second 1", "first 2"}));
    EXPECT_EQ(changed.subscriberCount(), 1u);
}

TEST(SignalTest, SubscriberMayDisconnectAnotherDuringEmission)
{
    Signal<> changed;
    int laterCalls = 0;
    Connection later;
    auto first = changed.connect([&] { later.disconnect(); });
    later = changed.connect([&] { ++laterCalls; });
    changed.emit();
    EXPECT_EQ(laterCalls, 0);
}

TEST(SignalTest, ConnectionMayOutliveItsSignal)
{
    Connection connection;
    {
        Signal<> changed;
        connection = changed.connect([] {});
    }
    connection.disconnect(); // must not touch the destroyed signal
    EXPECT_FALSE(connection.connected());
}

TEST(SignalTest, WindowAnnouncesOnlyRealChanges)
{
    Window window("TTest");
    std::vector<std::string> events;
    auto shown = window.shown.connect([&] { events.emplace_back("shown"); });
    auto closed = window.closed.connect([&] { events.emplace_back("closed"); });
    window.Show();
    window.Show();
    window.Close();
    window.Close();
    EXPECT_EQ(events, (std::vector<std::string>{"shown", "closed"}));
}

} // namespace
} // namespace twinfold
