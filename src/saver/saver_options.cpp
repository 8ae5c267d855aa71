#include "saver/saver_options.hpp"

#include <cerrno>
#include <cstdlib>

namespace {
// X resource ids have 29 bits; 0 is None.
constexpr unsigned long long kLargestWindowId = (1ull << 29) - 1;
constexpr long kLongestDelayMicroseconds = 10'000'000;  // 10 s between frames

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

// Decimal digits only, 0 up to the longest delay.
bool ParseDelay(const std::string& text, long& microseconds) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (value > kLongestDelayMicroseconds) return false;
  microseconds = value;
  return true;
}

// Takes `text` as the window to draw into; false with `error` set where it
// is not a window id. `where` names where it came from.
bool TakeWindowId(const char* where, const std::string& text, SaverOptions& options,
                  std::string& error) {
  options.window = platform::SaverWindow::Given;
  if (ParseWindowId(text, options.windowId)) return true;
  error = std::string(where) + " \"" + text +
          "\" is not a window id (a number such as 4194311 or 0x400007)";
  return false;
}

// "--root" and "-root" alike become "root"; anything else is not an option.
std::optional<std::string> OptionName(const std::string& arg) {
  if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) return arg.substr(2);
  if (arg.size() > 1 && arg[0] == '-' && arg[1] != '-') return arg.substr(1);
  return std::nullopt;
}

// What the command line names, before the window is chosen.
struct Given {
  std::optional<std::string> windowId;
  bool root = false;
  std::optional<platform::SaverWindow> layer;  // --background or --overlay
};

// Takes args[i] (and its value, moving i on); false with `error` set when
// it is not an option the saver knows or its value is missing or bad.
bool TakeOption(const std::vector<std::string>& args, std::size_t& i, Given& given,
                SaverOptions& options, std::string& error) {
  const std::optional<std::string> name = OptionName(args[i]);
  const bool takesValue = name == "output" || name == "window-id" || name == "delay";
  if (takesValue && i + 1 >= args.size()) {
    error = args[i] + " needs a value";
    return false;
  }
  const std::string& value = args[takesValue ? ++i : i];
  if (name == "root") {
    given.root = true;
  } else if (name == "background") {
    given.layer = platform::SaverWindow::Background;
  } else if (name == "overlay") {
    given.layer = platform::SaverWindow::Overlay;
  } else if (name == "output") {
    options.outputName = value;
  } else if (name == "fps") {
    options.showFrameRate = true;
  } else if (name == "help" || name == "h") {
    options.help = true;
  } else if (name == "window-id") {
    given.windowId = value;
  } else if (name == "delay") {
    if (!ParseDelay(value, options.delayMicroseconds)) {
      error = args[i - 1] + " \"" + value + "\" is not a delay (microseconds, 0 to 10000000)";
      return false;
    }
  } else {
    error = "unknown option \"" + args[i] + "\" (see --help)";
    return false;
  }
  return true;
}
}  // namespace

std::optional<SaverOptions> ParseSaverOptions(const std::vector<std::string>& args,
                                              const char* screensaverWindow, std::string& error) {
  SaverOptions options;
  Given given;
  for (std::size_t i = 0; i < args.size(); ++i)
    if (!TakeOption(args, i, given, options, error)) return std::nullopt;
  if (options.help) return options;
  if (given.windowId) {
    if (!TakeWindowId("--window-id", *given.windowId, options, error)) return std::nullopt;
  } else if (given.layer) {
    // Asked for by name, over a variable a session may have left behind.
    options.window = *given.layer;
  } else if (screensaverWindow && *screensaverWindow) {
    if (!TakeWindowId("XSCREENSAVER_WINDOW", screensaverWindow, options, error))
      return std::nullopt;
  } else if (given.root) {
    options.window = platform::SaverWindow::Root;
  }
  return options;
}

std::string SaverUsage() {
  return "usage: winterhain-saver [--root | --window-id ID | --background | --overlay]\n"
         "                        [--output NAME] [--delay MICROSECONDS] [--fps]\n"
         "\n"
         "The Winterhain scene as a screensaver. Every option may be written with\n"
         "one dash or two (-root, --root).\n"
         "\n"
         "  --root             draw on the root window\n"
         "  --window-id ID     draw into the window ID (decimal, or hexadecimal after 0x);\n"
         "                     XSCREENSAVER_WINDOW names one too\n"
         "  --background       show the scene behind every window: on each Wayland\n"
         "                     output (the layer shell), or as the X desktop\n"
         "  --overlay          show the scene above every window on each Wayland\n"
         "                     output until a key, pointer motion or touch\n"
         "  --output NAME      with --background or --overlay: that output only\n"
         "  --delay N          rest N microseconds after each frame (default 30000;\n"
         "                     0 to 10000000)\n"
         "  --fps              show the frame rate in the corner of the scene\n"
         "  --help             print this text and end\n"
         "\n"
         "With neither --root nor a window, it opens a window of its own.\n";
}
