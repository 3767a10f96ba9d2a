#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <utility>
#include <vector>

#include "platform/testing/ManualLoop.h"

using platform::EventTarget;
using platform::testing::ManualLoop;

namespace {

// Records what it received with the virtual time it arrived at.
struct Recorder : EventTarget {
  explicit Recorder(ManualLoop& l) : loop(l) {}
  ManualLoop& loop;
  std::vector<std::pair<std::int64_t, int>> timers;    // (time, id)
  std::vector<std::pair<std::int64_t, int>> commands;  // (time, command)
  std::function<void(int)> onTimerHook;
  void onTimer(int id) override {
    timers.emplace_back(loop.now(), id);
    if (onTimerHook) onTimerHook(id);
  }
  void onCommand(int command, std::int64_t) override { commands.emplace_back(loop.now(), command); }
};

TEST(ManualLoop, FiresTimersInTimeOrderWithTheirPeriods) {
  ManualLoop loop;
  Recorder r(loop);
  loop.startTimer(&r, 1, 250);
  loop.startTimer(&r, 2, 100);
  loop.advance(500);
  std::vector<std::pair<std::int64_t, int>> want{{100, 2}, {200, 2}, {250, 1}, {300, 2}, {400, 2}, {500, 1}, {500, 2}};
  EXPECT_EQ(r.timers, want);
  EXPECT_EQ(loop.now(), 500);
}

TEST(ManualLoop, RestartWithNewPeriodTakesItFromNow) {
  ManualLoop loop;
  Recorder r(loop);
  loop.startTimer(&r, 7, 1000);
  loop.advance(300);
  loop.startTimer(&r, 7, 50);
  loop.advance(120);
  std::vector<std::pair<std::int64_t, int>> want{{350, 7}, {400, 7}};
  EXPECT_EQ(r.timers, want);
  EXPECT_EQ(loop.timerPeriod(&r, 7), 50);
  loop.stopTimer(&r, 7);
  loop.advance(1000);
  EXPECT_EQ(r.timers.size(), 2u);
}

TEST(ManualLoop, CommandsPostedByATimerRunBeforeTheNextTimer) {
  ManualLoop loop;
  Recorder r(loop);
  r.onTimerHook = [&](int id) { loop.post(&r, 100 + id); };
  loop.startTimer(&r, 1, 10);
  loop.advance(20);
  std::vector<std::pair<std::int64_t, int>> want{{10, 101}, {20, 101}};
  EXPECT_EQ(r.commands, want);
}

TEST(ManualLoop, ForgetDropsTimersAndQueuedCommands) {
  ManualLoop loop;
  Recorder r(loop);
  loop.startTimer(&r, 1, 10);
  loop.post(&r, 5);
  loop.forget(&r);
  loop.advance(100);
  EXPECT_TRUE(r.timers.empty());
  EXPECT_TRUE(r.commands.empty());
}

TEST(ManualLoop, ASleepOnTheClockDelaysTimersWithoutFiringThem) {
  ManualLoop loop;
  Recorder r(loop);
  loop.startTimer(&r, 1, 100);
  loop.clock().sleepMs(350);  // a busy wait on the interface thread
  EXPECT_TRUE(r.timers.empty());
  loop.advance(0);
  ASSERT_EQ(r.timers.size(), 1u);  // an overdue timer fires once, not once per missed period
  EXPECT_EQ(r.timers[0].first, 350);
  loop.advance(100);
  EXPECT_EQ(r.timers.size(), 2u);
}

TEST(ManualLoop, PostFromOtherThreadsIsSafeAndNothingIsLost) {
  ManualLoop loop;
  Recorder r(loop);
  constexpr int kThreads = 4, kEach = 2000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < kEach; ++i) loop.post(&r, 113);
    });
  }
  std::size_t seen = 0;
  while (seen < static_cast<std::size_t>(kThreads * kEach)) {
    loop.runPending();
    seen = r.commands.size();
    if (seen < static_cast<std::size_t>(kThreads * kEach)) std::this_thread::yield();
  }
  for (auto& th : threads) th.join();
  loop.runPending();
  EXPECT_EQ(r.commands.size(), static_cast<std::size_t>(kThreads * kEach));
}

TEST(ManualLoop, CalendarFollowsVirtualTime) {
  ManualLoop loop;
  loop.clock().setCalendarBase({2026, 12, 31, 23, 59, 0, 0});
  loop.advance(61'500);
  auto t = loop.clock().localTime();
  EXPECT_EQ(t.year, 2027);
  EXPECT_EQ(t.month, 1);
  EXPECT_EQ(t.day, 1);
  EXPECT_EQ(t.hour, 0);
  EXPECT_EQ(t.minute, 0);
  EXPECT_EQ(t.second, 1);
  EXPECT_EQ(t.millisecond, 500);
}

}  // namespace

#include "platform/ThreadLoop.h"

namespace {

struct Quitter : platform::EventTarget {
  explicit Quitter(platform::ThreadLoop& l) : loop(l) {}
  platform::ThreadLoop& loop;
  int ticks = 0;
  int commands = 0;
  void onTimer(int) override {
    if (++ticks == 3) loop.quit();
  }
  void onCommand(int, std::int64_t) override { ++commands; }
};

TEST(ThreadLoop, RunsPostedCommandsAndTimersUntilQuit) {
  platform::ThreadLoop loop;
  Quitter q(loop);
  std::thread poster([&] { loop.post(&q, 1); });
  poster.join();
  loop.startTimer(&q, 1, 1);
  loop.run();
  EXPECT_EQ(q.commands, 1);
  EXPECT_EQ(q.ticks, 3);
}

}  // namespace
