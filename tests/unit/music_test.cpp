// The background music's start and stop sequences against a recording audio
// library: which calls, in which order, with which arguments, and which
// message boxes come in between.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/afxwin.hpp"
#include "music/background_music.hpp"
#include "support/recorded_boxes.hpp"

namespace {

// Writes every call into a shared trace; each call's result is scripted.
class RecordingAudio final : public AudioLibrary {
 public:
  explicit RecordingAudio(std::vector<std::string>& trace) : m_trace(trace) {}

  bool initResult = true;
  bool startResult = true;
  std::uint32_t streamResult = 7;
  int errorCode = 0;
  HWND initOwner = nullptr;

  bool Init(int device, std::uint32_t rate, std::uint32_t flags, HWND owner) override {
    initOwner = owner;
    Record("Init " + std::to_string(device) + " " + std::to_string(rate) + " " +
           std::to_string(flags));
    return initResult;
  }
  bool Start() override {
    Record("Start");
    return startResult;
  }
  std::uint32_t StreamCreateFile(bool fromMemory, const char* file, std::uint64_t offset,
                                 std::uint64_t length, std::uint32_t flags) override {
    Record("StreamCreateFile " + std::to_string(fromMemory) + " " + file + " " +
           std::to_string(offset) + " " + std::to_string(length) + " " + std::to_string(flags));
    return streamResult;
  }
  int ErrorGetCode() override {
    Record("ErrorGetCode");
    return errorCode;
  }
  bool StreamPlay(std::uint32_t stream, bool flush, std::uint32_t flags) override {
    Record("StreamPlay " + std::to_string(stream) + " " + std::to_string(flush) + " " +
           std::to_string(flags));
    return false;  // not examined: a failure must change nothing
  }
  bool Stop() override {
    Record("Stop");
    return false;
  }
  bool StreamFree(std::uint32_t stream) override {
    Record("StreamFree " + std::to_string(stream));
    return false;
  }
  bool Free() override {
    Record("Free");
    return false;
  }

 private:
  void Record(const std::string& call) { m_trace.push_back(call); }
  std::vector<std::string>& m_trace;
};

class MusicTest : public ::testing::Test {
 protected:
  std::vector<std::string> trace;
  RecordingAudio audio{trace};
  ShowBox recordBox = [this](const char* text) { trace.push_back(std::string("box ") + text); };
  // Any address will do: the sequence only passes it on.
  HWND owner = reinterpret_cast<HWND>(&trace);
};

TEST_F(MusicTest, StartRunsInitStartCreateAndLoopedPlayWithTheirArguments) {
  EXPECT_EQ(StartBackgroundMusic(audio, owner, recordBox), 7u);
  EXPECT_EQ(trace, (std::vector<std::string>{
                       "Init 0 44100 2",
                       "Start",
                       "StreamCreateFile 0 Data\\music.mp3 0 0 0",
                       "StreamPlay 7 0 4",
                   }));
  EXPECT_EQ(audio.initOwner, owner);
}

TEST_F(MusicTest, EveryFailedStepShowsItsBoxAndTheLaterStepsStillRun) {
  audio.initResult = false;
  audio.startResult = false;
  audio.streamResult = 0;
  audio.errorCode = 5;
  EXPECT_EQ(StartBackgroundMusic(audio, owner, recordBox), 0u);
  EXPECT_EQ(trace, (std::vector<std::string>{
                       "Init 0 44100 2",
                       "box Fehler!",
                       "Start",
                       "box Fehler! Start()",
                       "StreamCreateFile 0 Data\\music.mp3 0 0 0",
                       "ErrorGetCode",
                       "box Keine Musik!!!!!!!! Error 5",
                       "StreamPlay 0 0 4",
                   }));
}

TEST_F(MusicTest, OnlyTheFailedStreamShowsABox) {
  audio.streamResult = 0;
  audio.errorCode = 2;
  StartBackgroundMusic(audio, owner, recordBox);
  EXPECT_EQ(trace, (std::vector<std::string>{
                       "Init 0 44100 2",
                       "Start",
                       "StreamCreateFile 0 Data\\music.mp3 0 0 0",
                       "ErrorGetCode",
                       "box Keine Musik!!!!!!!! Error 2",
                       "StreamPlay 0 0 4",
                   }));
}

TEST_F(MusicTest, AFailedStartAloneShowsOnlyItsBox) {
  audio.startResult = false;
  StartBackgroundMusic(audio, owner, recordBox);
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "box Fehler! Start()"), 1);
  EXPECT_EQ(std::count_if(trace.begin(), trace.end(),
                          [](const std::string& call) { return call.rfind("box", 0) == 0; }),
            1);
}

TEST_F(MusicTest, NegativeErrorCodesAreShownInSignedDecimal) {
  EXPECT_EQ(NoMusicText(-1), "Keine Musik!!!!!!!! Error -1");
  EXPECT_EQ(NoMusicText(0), "Keine Musik!!!!!!!! Error 0");
  EXPECT_EQ(NoMusicText(-2147483647 - 1), "Keine Musik!!!!!!!! Error -2147483648");
}

TEST_F(MusicTest, StopRunsStopFreeStreamAndFreeEvenWhenEverythingFails) {
  StopBackgroundMusic(audio, 7);
  EXPECT_EQ(trace, (std::vector<std::string>{"Stop", "StreamFree 7", "Free"}));
}

TEST_F(MusicTest, StopPassesAZeroHandleBack) {
  StopBackgroundMusic(audio, 0);
  EXPECT_EQ(trace, (std::vector<std::string>{"Stop", "StreamFree 0", "Free"}));
}

// The scene window's boxes go through CWnd::MessageBox without a caption,
// so each carries the application title, in the order of the failures.
TEST_F(MusicTest, ThreeFailuresShowThreeBoxesWithTheApplicationTitle) {
  CWinApp app;
  CWnd window;
  audio.initResult = false;
  audio.startResult = false;
  audio.streamResult = 0;
  audio.errorCode = -1;
  RecordedBoxes boxes;
  StartBackgroundMusic(audio, window.m_hWnd, MessageBoxesOf(window));
  EXPECT_EQ(boxes.Lines(), (std::vector<std::string>{
                               "Winterhain: Fehler!",
                               "Winterhain: Fehler! Start()",
                               "Winterhain: Keine Musik!!!!!!!! Error -1",
                           }));
}

TEST_F(MusicTest, NoBoxWhenEverythingSucceeds) {
  CWinApp app;
  CWnd window;
  RecordedBoxes boxes;
  StartBackgroundMusic(audio, window.m_hWnd, MessageBoxesOf(window));
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(trace.size(), 4u);
}

}  // namespace
