#include "app/core/captions.h"

#include <cstdio>
#include <ctime>

namespace vantlo {

namespace {

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

std::string Format(const char* format, const tlocaltime& t) {
  std::tm tm{};
  tm.tm_year = t.year - 1900;
  tm.tm_mon = t.month - 1;
  tm.tm_mday = t.day;
  tm.tm_hour = t.hour;
  tm.tm_min = t.minute;
  tm.tm_sec = t.second;
  tm.tm_isdst = -1;
  std::tm normal = tm;
  std::mktime(&normal);  // fills in the weekday for the long date
  tm.tm_wday = normal.tm_wday;
  tm.tm_yday = normal.tm_yday;
  char buf[128];
  std::size_t n = std::strftime(buf, sizeof buf, format, &tm);
  return std::string(buf, n);
}

}  // namespace

tfieldtexts SystemFieldTexts(const tlocaltime& when) {
  tfieldtexts t;
  t.shortDate = Format("%x", when);
  t.longDate = Format("%A, %-d %B %Y", when);
  t.shortTime = Format("%H:%M", when);
  t.longTime = Format("%X", when);
  return t;
}

std::string CutUtf8(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return std::string(text);
  std::size_t end = limit;
  // Step back over continuation bytes (10xxxxxx) so the cut falls before a lead byte.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return std::string(text.substr(0, end));
}

std::string ExpandCaptionFields(std::string_view tmpl, long picnum, const tfieldtexts& texts) {
  std::string out;
  std::size_t i = 0;
  while (i < tmpl.size()) {
    if (tmpl[i] != '<') {
      out += tmpl[i++];
      continue;
    }
    std::size_t close = tmpl.find('>', i + 1);
    if (close == std::string_view::npos) throw tcaptionerror("Unmatched \"<\" in caption");
    std::string_view name = tmpl.substr(i + 1, close - i - 1);
    if (SameNoCase(name, "SHORTDATE")) {
      out += texts.shortDate;
    } else if (SameNoCase(name, "LONGDATE")) {
      out += texts.longDate;
    } else if (SameNoCase(name, "SHORTTIME")) {
      out += texts.shortTime;
    } else if (SameNoCase(name, "LONGTIME")) {
      out += texts.longTime;
    } else if (SameNoCase(name, "PICNUM")) {
      out += std::to_string(picnum);
    } else {
      out += name;
    }
    i = close + 1;
  }
  return CutUtf8(out, kMaxCaptionLength);
}

std::optional<std::string> CaptionTemplate(const tcaptionsetting& setting, tcaptionprompt* prompt) {
  switch (setting.mode) {
    case 1:
      return std::string(kStandardCaption);
    case 2:
      if (setting.customText.empty()) return std::nullopt;
      return setting.customText;
    case 3: {
      if (!prompt) return std::nullopt;
      std::string typed;
      switch (prompt->AskCaption(typed)) {
        case tcaptionpromptanswer::ok:
          return typed;
        case tcaptionpromptanswer::pictureInfo:
          return std::string(kStandardCaption);
        case tcaptionpromptanswer::noCaption:
          return std::nullopt;
      }
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

std::optional<std::string> CaptionText(const tcaptionsetting& setting, long picnum,
                                       const tfieldtexts& texts, tcaptionprompt* prompt) {
  auto tmpl = CaptionTemplate(setting, prompt);
  if (!tmpl) return std::nullopt;
  return ExpandCaptionFields(*tmpl, picnum, texts);
}

}  // namespace vantlo
