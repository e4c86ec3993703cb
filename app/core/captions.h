// Caption text rules, free of Qt: which text a caption setting asks for, and the expansion of
// the fields in a template ("Picture <Picnum> Date <Shortdate> Time <Shorttime>"). Drawing the
// text onto a picture is in captiondraw.h.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/core/clock.h"

namespace vantlo {

// The template of "Standard Picture Information".
inline constexpr std::string_view kStandardCaption =
    "Picture <Picnum> Date <Shortdate> Time <Shorttime>";
// Expanded captions are cut to this many bytes (never inside a UTF-8 character).
inline constexpr std::size_t kMaxCaptionLength = 255;

// How a caption looks; read from a caption record by CaptionSettingFrom (captionrecords.h).
struct tcaptionstyle {
  std::string fontName = "MS Sans Serif";
  std::uint32_t colour = 0x008000;  // red in bits 0-7, green 8-15, blue 16-23
  int fontSize = 8;                 // points
  std::uint8_t fontStyle = 0;       // 1 bold, 2 italic, 4 underline, 8 strike-out
  bool transparent = false;         // false: a box in `background` behind the text
  std::uint32_t background = 0xFFFFFF;
  bool bottom = true;  // false: at the top
  int alignment = 2;   // 0 left, 1 right, 2 centre
};

// One caption setting: what to write and how it looks.
struct tcaptionsetting {
  int mode = 0;  // 0 no caption, 1 standard picture information, 2 custom, 3 prompt each time
  std::string customText;
  tcaptionstyle style;
};

// The date and time texts the fields stand for, taken once per caption.
struct tfieldtexts {
  std::string shortDate;  // <SHORTDATE>
  std::string longDate;   // <LONGDATE>
  std::string shortTime;  // <SHORTTIME>
  std::string longTime;   // <LONGTIME>
};

// The texts of `when` in the system's (the C library locale's) date and time formats.
tfieldtexts SystemFieldTexts(const tlocaltime& when);

class tcaptionerror : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Replaces every field "<NAME>" (case-insensitive: SHORTDATE, LONGDATE, SHORTTIME, LONGTIME,
// PICNUM; any other name stands for itself) and cuts the result to kMaxCaptionLength bytes.
// A "<" without a later ">" throws tcaptionerror("Unmatched \"<\" in caption").
std::string ExpandCaptionFields(std::string_view tmpl, long picnum, const tfieldtexts& texts);

// Cuts `text` to at most `limit` bytes without splitting a UTF-8 sequence.
std::string CutUtf8(std::string_view text, std::size_t limit);

// The answer to the "Picture Caption" prompt of "Prompt each time".
enum class tcaptionpromptanswer { ok, noCaption, pictureInfo };

class tcaptionprompt {
 public:
  virtual ~tcaptionprompt() = default;
  // "OK" returns ok with the typed text in `text` (fields allowed).
  virtual tcaptionpromptanswer AskCaption(std::string& text) = 0;
};

// The template the setting asks for this picture, or nothing to write: mode 0; mode 2 with an
// empty custom text; mode 3 answered "No Caption" (or with no one to ask: `prompt` null).
std::optional<std::string> CaptionTemplate(const tcaptionsetting& setting, tcaptionprompt* prompt);

// The template expanded for picture n, or nothing to write.
std::optional<std::string> CaptionText(const tcaptionsetting& setting, long picnum,
                                       const tfieldtexts& texts, tcaptionprompt* prompt);

}  // namespace vantlo
