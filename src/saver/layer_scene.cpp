#include "saver/layer_scene.hpp"

#include <chrono>
#include <cstdio>
#include <string>

#include "framework/clock_source.hpp"
#include "platform/platform.hpp"
#include "platform/layer_surfaces.hpp"
#include "saver/frame_pacer.hpp"
#include "shell/scene_wnd.hpp"

namespace {
// A Terminate event among the platform's (a termination signal came): with
// no window of the platform's, the only kind it sends.
bool TerminateEventCame() {
  platform::Event event;
  while (platform::PollEvent(event))
    if (event.kind == platform::EventKind::Terminate) return true;
  return false;
}
}  // namespace

int RunSceneOnLayers(const SaverOptions& options) {
  platform::LayerSurfaces surfaces;
  std::string error;
  if (!surfaces.Start(options.window, options.outputName, error)) {
    std::fprintf(stderr, "winterhain: %s\n", error.c_str());
    return 1;
  }
  // Every surface shows the 4:3 design area, so the frame code's client
  // area is the design's own size.
  CSceneWnd scene(SceneWndOptions{&SystemClock(), /*playMusic=*/false});
  scene.StartOnCurrentContext(CSceneWnd::kWidth, CSceneWnd::kHeight);
  // The compositor's frame callbacks stand for the refresh.
  bool terminated = false;
  const auto terminateCame = [&terminated] {
    return terminated = terminated || TerminateEventCame();
  };
  FramePacer pacer(0, std::chrono::microseconds(options.delayMicroseconds), terminateCame);
  while (!terminateCame() && surfaces.Wait())
    if (surfaces.DrawDue([&scene] { scene.Tick(); })) pacer.AfterFrame();
  if (surfaces.CompositorGone()) {
    std::fputs("winterhain: lost the connection to the Wayland compositor\n", stderr);
    return 1;
  }
  return 0;
}
