#include "platform/sdl/audio_drivers.hpp"

#include <vector>

namespace platform {
namespace {
constexpr std::string_view kPulse = "pulseaudio";

std::vector<std::string_view> SplitAtCommas(std::string_view list) {
  std::vector<std::string_view> names;
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::string_view name = list.substr(0, comma);
    if (!name.empty()) names.push_back(name);
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  return names;
}
}  // namespace

bool WouldTryPulse(std::string_view asked) {
  if (asked.empty()) return true;
  for (const std::string_view name : SplitAtCommas(asked))
    if (name == kPulse) return true;
  return false;
}

std::string AudioDriversToTry(std::string_view asked, pulse::ServerState server) {
  if (asked.empty()) {
    switch (server) {
      case pulse::ServerState::Plays: return std::string(kPulse);
      case pulse::ServerState::Absent: return "alsa";
      case pulse::ServerState::CannotPlay: return "";
    }
  }
  std::string drivers;
  for (const std::string_view name : SplitAtCommas(asked)) {
    if (name == kPulse && server != pulse::ServerState::Plays) continue;
    if (!drivers.empty()) drivers += ',';
    drivers += name;
  }
  return drivers;
}

}  // namespace platform
