#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "TestKit.h"
#include "forms/ExtCtrls.h"
#include "forms/Forms.h"
#include "forms/Threads.h"

namespace {

struct CountingThread : TThread {
  explicit CountingThread(std::vector<int>& seen) : seen_(seen) {}
  ~CountingThread() override { WaitFor(); }
  void Execute() override {
    for (int i = 0; i < 20000; ++i) Queue([this, i] { seen_.push_back(i); });
  }
  std::vector<int>& seen_;
};

TEST(Threads, QueuedWorkArrivesOnTheUiThreadInOrder) {
  std::vector<int> seen;
  CountingThread thread(seen);
  thread.Start();
  thread.WaitFor();
  ASSERT_TRUE(testkit::PumpUntil([&] { return seen.size() == 20000; }, 10000));
  for (int i = 0; i < 20000; ++i) ASSERT_EQ(seen[i], i);
}

TEST(Threads, NestedMessageLoopDoesNotReorderQueuedWork) {
  // A handler that pumps messages (as a message box does) must not let the work queued
  // after it run before the work queued before it has finished starting.
  std::vector<std::string> order;
  TThread::Queue([&] {
    order.push_back("first");
    Application->ProcessMessages();  // runs "second" nested, which is still in order
    order.push_back("first done");
  });
  TThread::Queue([&] { order.push_back("second"); });
  CheckSynchronize();
  EXPECT_EQ(order, (std::vector<std::string>{"first", "second", "first done"}));
}

struct Throwing : TThread {
  ~Throwing() override { WaitFor(); }
  void Execute() override { throw Exception("boom"); }
};

TEST(Threads, ExceptionInExecuteIsKeptNotFatal) {
  Throwing t;
  t.Start();
  t.WaitFor();
  EXPECT_TRUE(t.Finished());
  EXPECT_EQ(t.FatalMessage(), "boom");
}

TEST(Timer, TicksOnlyWhileEnabled) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(20);
  timer.OnTimer = [&](TObject* sender) {
    EXPECT_EQ(sender, &timer);
    ++ticks;
  };
  ASSERT_TRUE(testkit::PumpUntil([&] { return ticks >= 3; }, 5000));
  timer.SetEnabled(false);
  const int stopped = ticks;
  testkit::PumpUntil([] { return false; }, 200);
  EXPECT_EQ(ticks, stopped);
}

TEST(Application, ExceptionsInCallbacksBecomeMessageBoxes) {
  testkit::ClearMessageBoxes();
  TThread::Queue([] { throw Exception("shown to the user"); });
  CheckSynchronize();
  ASSERT_EQ(testkit::MessageBoxes().size(), 1u);
  EXPECT_EQ(testkit::MessageBoxes()[0].text, "shown to the user");
  EXPECT_EQ(testkit::MessageBoxes()[0].caption, "tests");

  // Raised while a box is up: the same error again (the box's own painting failing alike)
  // gets no box, inside or after; a different one gets its box once the first has closed.
  int open = 0, deepest = 0;
  std::vector<std::string> shown;
  SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned) {
    shown.push_back(text);
    deepest = std::max(deepest, ++open);
    if (shown.size() < 50) {  // bounded, should the boxes never end
      SafeCall([] { throw Exception("first"); });
      SafeCall([] { throw Exception("second"); });
    }
    --open;
    return IDOK;
  });
  SafeCall([] { throw Exception("first"); });
  testkit::InstallMessageBoxRecorder();
  EXPECT_EQ(shown, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(deepest, 1);
}

}  // namespace
