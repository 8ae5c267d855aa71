#include "framework/message_queue.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "framework/winapp.hpp"
#include "shell/idle_loop.hpp"

namespace {

class MessageQueueTest : public ::testing::Test {
 protected:
  void TearDown() override { AfxClearMessageQueue(); }
};

TEST_F(MessageQueueTest, PeekLooksWithoutTakingAndRemoveTakes) {
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
  PostMessage(nullptr, WM_CLOSE, 1, 2);
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_CLOSE);
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 1u);
  EXPECT_EQ(msg.lParam, 2);
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

// The saver's rest looks for a queued close among other messages.
TEST_F(MessageQueueTest, PeekInARangeFindsOnlyMessagesInItAndLeavesTheRestInOrder) {
  PostMessage(nullptr, WM_SIZE, 0, 0);
  PostMessage(nullptr, WM_CLOSE, 5, 0);
  PostMessage(nullptr, WM_KEYDOWN, 0, 0);
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_CLOSE);
  EXPECT_EQ(msg.wParam, 5u);
  EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_SIZE);
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_KEYDOWN);
}

TEST_F(MessageQueueTest, QuitComesAfterEverythingPostedBeforeIt) {
  PostMessage(nullptr, WM_SIZE, 0, 0);
  PostQuitMessage(7);
  PostMessage(nullptr, WM_CLOSE, 0, 0);
  MSG msg;
  EXPECT_TRUE(GetMessage(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_SIZE);
  EXPECT_FALSE(GetMessage(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 7u);
}

// An application whose pump records what it handled.
class RecordingApp : public CWinApp {
 public:
  RecordingApp() : CWinApp("test") {}
  BOOL PumpMessage() override {
    const BOOL more = CWinApp::PumpMessage();
    handled.push_back(m_msgCur.message);
    return more;
  }
  int ExitCode() { return ExitInstance(); }
  std::vector<UINT> handled;
};

TEST_F(MessageQueueTest, IdleLoopHandlesOneMessagePerPassAndDrawsWhenEmpty) {
  RecordingApp app;
  std::vector<char> trace;  // 'm' a message pumped, 'f' a frame
  PostMessage(nullptr, WM_SIZE, 0, 0);
  PostMessage(nullptr, WM_KEYDOWN, 0, 0);
  int frames = 0;
  RunIdleLoop(
      [&] {
        trace.push_back('m');
        return app.PumpMessage();
      },
      [&] {
        trace.push_back('f');
        if (++frames == 2) PostQuitMessage(3);
      });
  EXPECT_EQ(std::string(trace.begin(), trace.end()), "mmffm");
  EXPECT_EQ(app.handled, (std::vector<UINT>{WM_SIZE, WM_KEYDOWN, WM_QUIT}));
  EXPECT_EQ(app.ExitCode(), 3);
}

TEST_F(MessageQueueTest, AMessageEveryFrameStillLetsFramesThrough) {
  RecordingApp app;
  int frames = 0, pumped = 0;
  RunIdleLoop(
      [&] {
        ++pumped;
        return app.PumpMessage();
      },
      [&] {
        ++frames;
        if (frames == 100)
          PostQuitMessage(0);
        else
          PostMessage(nullptr, WM_KEYDOWN, 0, 0);
      });
  EXPECT_EQ(frames, 100);
  EXPECT_EQ(pumped, 100);  // 99 key messages and the quit
}

TEST_F(MessageQueueTest, MessagesForAWindowThatIsGoneAreDropped) {
  int fake = 0;
  MSG msg{reinterpret_cast<HWND>(&fake), WM_CLOSE, 0, 0};
  EXPECT_EQ(DispatchMessage(&msg), 0);
}

}  // namespace
