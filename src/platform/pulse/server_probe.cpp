#include "platform/pulse/server_probe.hpp"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <optional>

namespace platform::pulse {
namespace {
using Clock = std::chrono::steady_clock;
// Each wait is cut into slices this long, so a termination signal handled
// on another thread is seen promptly.
constexpr auto kSlice = std::chrono::milliseconds(50);

// One conversation with the server; undone, whatever happened, when it ends.
class Conversation {
 public:
  Conversation(Clock::time_point deadline, bool (*giveUp)())
      : m_deadline(deadline), m_giveUp(giveUp) {}
  ~Conversation() {
    if (m_stream) {
      pa_stream_disconnect(m_stream);
      pa_stream_unref(m_stream);
    }
    if (m_context) {
      pa_context_disconnect(m_context);
      pa_context_unref(m_context);
    }
    if (m_loop) pa_mainloop_free(m_loop);
  }
  Conversation(const Conversation&) = delete;
  Conversation& operator=(const Conversation&) = delete;

  ServerState Run() {
    if (!Connect()) return ServerState::Absent;
    const auto context = [&] { return pa_context_get_state(m_context); };
    if (!WaitFor([&] { return context() == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(context()); }))
      return ServerState::CannotPlay;
    if (context() != PA_CONTEXT_READY) return ServerState::Absent;
    if (!NamesDefaults() || !OpenStream()) return ServerState::CannotPlay;
    const auto stream = [&] { return pa_stream_get_state(m_stream); };
    const bool settled =
        WaitFor([&] { return stream() == PA_STREAM_READY || !PA_STREAM_IS_GOOD(stream()); });
    return settled && stream() == PA_STREAM_READY ? ServerState::Plays : ServerState::CannotPlay;
  }

 private:
  bool Connect() {
    m_loop = pa_mainloop_new();
    if (!m_loop) return false;
    m_context = pa_context_new(pa_mainloop_get_api(m_loop), "winterhain");
    return m_context &&
           pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0;
  }

  // SDL needs the default sink's and source's names.
  bool NamesDefaults() {
    std::optional<bool> namesBoth;
    const auto onInfo = [](pa_context*, const pa_server_info* info, void* answer) {
      *static_cast<std::optional<bool>*>(answer) =
          info && info->default_sink_name && info->default_source_name;
    };
    pa_operation* asking = pa_context_get_server_info(m_context, onInfo, &namesBoth);
    if (!asking) return false;
    const bool answered = WaitFor([&] { return namesBoth.has_value(); });
    if (!answered) pa_operation_cancel(asking);  // `namesBoth` is gone after this
    pa_operation_unref(asking);
    return answered && *namesBoth;
  }

  bool OpenStream() {
    const pa_sample_spec format{PA_SAMPLE_S16LE, 44100, 1};
    m_stream = pa_stream_new(m_context, "winterhain", &format, nullptr);
    return m_stream && pa_stream_connect_playback(m_stream, nullptr, nullptr,
                                                  PA_STREAM_START_CORKED, nullptr, nullptr) >= 0;
  }

  // Runs the main loop until `done`; false at the deadline, when giving up
  // or when the loop fails.
  template <class Done>
  bool WaitFor(Done done) {
    while (!done()) {
      const auto left = m_deadline - Clock::now();
      if (left <= Clock::duration::zero() || m_giveUp()) return false;
      const auto slice = std::chrono::duration_cast<std::chrono::microseconds>(
          std::min<Clock::duration>(left, kSlice));
      if (pa_mainloop_prepare(m_loop, static_cast<int>(slice.count())) < 0 ||
          pa_mainloop_poll(m_loop) < 0 || pa_mainloop_dispatch(m_loop) < 0)
        return false;
    }
    return true;
  }

  const Clock::time_point m_deadline;
  bool (*const m_giveUp)();
  pa_mainloop* m_loop = nullptr;
  pa_context* m_context = nullptr;
  pa_stream* m_stream = nullptr;
};
}  // namespace

ServerState ProbeServer(std::chrono::milliseconds limit, bool (*giveUp)()) {
  return Conversation(Clock::now() + limit, giveUp).Run();
}

}  // namespace platform::pulse
