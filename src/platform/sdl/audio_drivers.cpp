#include "platform/sdl/audio_drivers.hpp"

#include <algorithm>
#include <ranges>
#include <vector>

namespace platform {
namespace {
constexpr std::string_view kPulse = "pulseaudio";

std::vector<std::string_view> SplitAtCommas(std::string_view list) {
  std::vector<std::string_view> names;
  for (const auto name : std::views::split(list, ','))
    if (!name.empty()) names.emplace_back(name.begin(), name.end());
  return names;
}
}  // namespace

bool NamesDriver(std::string_view list, std::string_view driver) {
  return std::ranges::count(SplitAtCommas(list), driver) > 0;
}

bool WouldTryPulse(std::string_view asked) { return asked.empty() || NamesDriver(asked, kPulse); }

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
