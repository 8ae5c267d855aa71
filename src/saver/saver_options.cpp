#include "saver/saver_options.hpp"

#include <cerrno>
#include <cstdlib>

namespace {
// X resource ids have 29 bits; 0 is None.
constexpr unsigned long long kLargestWindowId = (1ull << 29) - 1;

// Decimal, or hexadecimal after 0x; nothing else, no sign, no spaces.
bool ParseWindowId(const std::string& text, unsigned long& id) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  const char* allowed = hex ? "0123456789abcdefABCDEF" : "0123456789";
  if (digits.empty() || digits.find_first_not_of(allowed) != std::string::npos) return false;
  errno = 0;
  const unsigned long long value = std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
  if (errno != 0 || value == 0 || value > kLargestWindowId) return false;
  id = static_cast<unsigned long>(value);
  return true;
}

std::string BadId(const std::string& where, const std::string& text) {
  return where + " \"" + text + "\" is not a window id (a number such as 4194311 or 0x400007)";
}
}  // namespace

std::optional<SaverOptions> ParseSaverOptions(const std::vector<std::string>& args,
                                              const char* screensaverWindow, std::string& error) {
  std::optional<std::string> windowId;
  bool root = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--root") {
      root = true;
    } else if (args[i] == "--window-id") {
      if (i + 1 >= args.size()) {
        error = "--window-id needs a window id";
        return std::nullopt;
      }
      windowId = args[++i];
    } else {
      error = "unknown option \"" + args[i] + "\" (known: --window-id ID, --root)";
      return std::nullopt;
    }
  }
  SaverOptions options;
  if (windowId) {
    options.window = platform::SaverWindow::Given;
    if (!ParseWindowId(*windowId, options.windowId)) {
      error = BadId("--window-id", *windowId);
      return std::nullopt;
    }
  } else if (screensaverWindow && *screensaverWindow) {
    options.window = platform::SaverWindow::Given;
    if (!ParseWindowId(screensaverWindow, options.windowId)) {
      error = BadId("XSCREENSAVER_WINDOW", screensaverWindow);
      return std::nullopt;
    }
  } else if (root) {
    options.window = platform::SaverWindow::Root;
  }
  return options;
}
