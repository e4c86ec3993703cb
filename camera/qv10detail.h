// Helpers shared by the engine's source files; not part of its interface.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "camera/qv10int.h"

namespace vantlo {

inline constexpr std::uint8_t kENQ = 0x05;
inline constexpr std::uint8_t kACK = 0x06;
inline constexpr std::uint8_t kNAK = 0x15;
inline constexpr std::uint8_t kDC2 = 0x12;

// Command bytes: two letters followed by argument bytes.
inline std::vector<std::uint8_t> Cmd(const char* letters,
                                     std::initializer_list<std::uint8_t> args = {}) {
  std::vector<std::uint8_t> bytes(letters, letters + std::char_traits<char>::length(letters));
  bytes.insert(bytes.end(), args);
  return bytes;
}

// Command bytes: two letters, a name and the terminating NUL.
inline std::vector<std::uint8_t> CmdName(const char* letters, const std::string& name) {
  std::vector<std::uint8_t> bytes = Cmd(letters);
  bytes.insert(bytes.end(), name.begin(), name.end());
  bytes.push_back(0);
  return bytes;
}

// Sets the port's read time-out for a slow command and restores the previous
// value on every path out, exceptions included.
class treadtimeoutscope {
 public:
  treadtimeoutscope(tqvProtocolEngine& engine, std::uint16_t ms)
      : engine_(engine), saved_(engine.Port().Params().ReadTimeout) {
    engine_.Port().SetReadTimeout(ms);
  }
  ~treadtimeoutscope() { engine_.Port().SetReadTimeout(saved_); }
  treadtimeoutscope(const treadtimeoutscope&) = delete;
  treadtimeoutscope& operator=(const treadtimeoutscope&) = delete;

 private:
  tqvProtocolEngine& engine_;
  std::uint16_t saved_;
};

// Marks one camera operation. The outermost one starts the failure budget
// afresh; operations called from inside it share it. A skipped check belongs
// to its operation only.
class toperationscope {
 public:
  explicit toperationscope(tqvProtocolEngine& engine) : engine_(engine) {
    if (engine_.operationDepth_++ == 0) {
      engine_.failedMs_ = 0;
      engine_.badPackets_ = 0;
      engine_.checkSkipped_ = false;
    }
  }
  ~toperationscope() {
    if (--engine_.operationDepth_ == 0) engine_.checkSkipped_ = false;
  }
  toperationscope(const toperationscope&) = delete;
  toperationscope& operator=(const toperationscope&) = delete;

 private:
  tqvProtocolEngine& engine_;
};

// True when `text` ends with `suffix`, compared in upper case (ASCII).
inline bool EndsWithNoCase(const std::string& text, const char* suffix) {
  const std::size_t n = std::char_traits<char>::length(suffix);
  if (text.size() < n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    const char a = text[text.size() - n + i];
    const char upper = (a >= 'a' && a <= 'z') ? static_cast<char>(a - 'a' + 'A') : a;
    const char b = (suffix[i] >= 'a' && suffix[i] <= 'z') ? static_cast<char>(suffix[i] - 'a' + 'A')
                                                          : suffix[i];
    if (upper != b) return false;
  }
  return true;
}

inline std::uint8_t High(int n) { return static_cast<std::uint8_t>((n >> 8) & 0xFF); }
inline std::uint8_t Low(int n) { return static_cast<std::uint8_t>(n & 0xFF); }

}  // namespace vantlo
