#include "platform/pulse/server_probe.hpp"

#include <dlfcn.h>
#include <pulse/pulseaudio.h>

#include <algorithm>
#include <optional>

namespace platform::pulse {
namespace {
// The libpulse calls the probe makes; the table declares the members and
// drives the look-up.
#define WINTERHAIN_PULSE_CALLS(X)                                    \
  X(pa_mainloop_new) X(pa_mainloop_get_api) X(pa_mainloop_prepare)   \
  X(pa_mainloop_poll) X(pa_mainloop_dispatch) X(pa_mainloop_free)    \
  X(pa_context_new) X(pa_context_connect) X(pa_context_get_state)    \
  X(pa_context_get_server_info) X(pa_context_disconnect)             \
  X(pa_context_unref) X(pa_operation_cancel) X(pa_operation_unref)   \
  X(pa_stream_new) X(pa_stream_connect_playback)                     \
  X(pa_stream_get_state) X(pa_stream_disconnect) X(pa_stream_unref)

// libpulse, loaded for the probe (SDL loads it the same way for its driver).
struct Calls {
#define WINTERHAIN_DECLARE_PULSE_CALL(name) decltype(&::name) name = nullptr;
  WINTERHAIN_PULSE_CALLS(WINTERHAIN_DECLARE_PULSE_CALL)
#undef WINTERHAIN_DECLARE_PULSE_CALL

  ~Calls() {
    if (handle) dlclose(handle);
  }
  bool Load() {
    handle = dlopen("libpulse.so.0", RTLD_LAZY | RTLD_LOCAL);
    if (!handle) return false;
#define WINTERHAIN_RESOLVE_PULSE_CALL(name) \
  if (!(name = reinterpret_cast<decltype(name)>(dlsym(handle, #name)))) return false;
    WINTERHAIN_PULSE_CALLS(WINTERHAIN_RESOLVE_PULSE_CALL)
#undef WINTERHAIN_RESOLVE_PULSE_CALL
    return true;
  }

  void* handle = nullptr;
};

using Clock = std::chrono::steady_clock;
// Each wait is cut into slices this long, so a termination signal handled
// on another thread is seen promptly.
constexpr auto kSlice = std::chrono::milliseconds(50);

// The server's answer about its defaults: SDL needs both names.
void OnServerInfo(pa_context*, const pa_server_info* info, void* data) {
  const bool both = info && info->default_sink_name && info->default_source_name;
  *static_cast<std::optional<bool>*>(data) = both;
}

// One conversation with the server; undone, whatever happened, when it ends.
class Conversation {
 public:
  Conversation(const Calls& pa, Clock::time_point deadline, bool (*giveUp)())
      : m_pa(pa), m_deadline(deadline), m_giveUp(giveUp) {}
  ~Conversation() {
    if (m_stream) {
      m_pa.pa_stream_disconnect(m_stream);
      m_pa.pa_stream_unref(m_stream);
    }
    if (m_context) {
      m_pa.pa_context_disconnect(m_context);
      m_pa.pa_context_unref(m_context);
    }
    if (m_loop) m_pa.pa_mainloop_free(m_loop);
  }
  Conversation(const Conversation&) = delete;
  Conversation& operator=(const Conversation&) = delete;

  ServerState Run() {
    if (!Connect()) return ServerState::Absent;
    const auto context = [&] { return m_pa.pa_context_get_state(m_context); };
    if (!WaitFor([&] { return context() == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(context()); }))
      return ServerState::CannotPlay;
    if (context() != PA_CONTEXT_READY) return ServerState::Absent;
    if (!NamesDefaults() || !OpenStream()) return ServerState::CannotPlay;
    const auto stream = [&] { return m_pa.pa_stream_get_state(m_stream); };
    const bool settled =
        WaitFor([&] { return stream() == PA_STREAM_READY || !PA_STREAM_IS_GOOD(stream()); });
    return settled && stream() == PA_STREAM_READY ? ServerState::Plays : ServerState::CannotPlay;
  }

 private:
  bool Connect() {
    m_loop = m_pa.pa_mainloop_new();
    if (!m_loop) return false;
    m_context = m_pa.pa_context_new(m_pa.pa_mainloop_get_api(m_loop), "winterhain");
    return m_context &&
           m_pa.pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0;
  }

  bool NamesDefaults() {
    std::optional<bool> namesBoth;
    pa_operation* asking = m_pa.pa_context_get_server_info(m_context, OnServerInfo, &namesBoth);
    if (!asking) return false;
    const bool answered = WaitFor([&] { return namesBoth.has_value(); });
    if (!answered) m_pa.pa_operation_cancel(asking);  // `namesBoth` is gone after this
    m_pa.pa_operation_unref(asking);
    return answered && *namesBoth;
  }

  bool OpenStream() {
    const pa_sample_spec format{PA_SAMPLE_S16LE, 44100, 1};
    m_stream = m_pa.pa_stream_new(m_context, "winterhain", &format, nullptr);
    return m_stream && m_pa.pa_stream_connect_playback(m_stream, nullptr, nullptr,
                                                       PA_STREAM_START_CORKED, nullptr,
                                                       nullptr) >= 0;
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
      if (m_pa.pa_mainloop_prepare(m_loop, static_cast<int>(slice.count())) < 0 ||
          m_pa.pa_mainloop_poll(m_loop) < 0 || m_pa.pa_mainloop_dispatch(m_loop) < 0)
        return false;
    }
    return true;
  }

  const Calls& m_pa;
  const Clock::time_point m_deadline;
  bool (*const m_giveUp)();
  pa_mainloop* m_loop = nullptr;
  pa_context* m_context = nullptr;
  pa_stream* m_stream = nullptr;
};
}  // namespace

ServerState ProbeServer(std::chrono::milliseconds limit, bool (*giveUp)()) {
  Calls pa;
  if (!pa.Load()) return ServerState::Absent;
  return Conversation(pa, Clock::now() + limit, giveUp).Run();
}

}  // namespace platform::pulse
