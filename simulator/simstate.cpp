#include "simulator/simstate.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "simulator/simframing.h"

namespace vantlo::camsim {

namespace {

constexpr int kDefaultBaud = 9600;
constexpr int kDefaultBlock = 128;
// A classic camera counts in one byte; an extended one is limited only by its memory.
constexpr int kClassicMaxPictures = 255;
constexpr int kExtendedMaxPictures = 2000;
constexpr uint8_t kHealthyClassicBattery = 0x50;  // 5.0 V
constexpr const char* kPictureFolder = "100CASIO";

uint8_t Arg(const std::string& c, size_t i) {
  return i < c.size() ? static_cast<uint8_t>(c[i]) : 0;
}
int Number2(const std::string& c, size_t i) { return Arg(c, i) * 256 + Arg(c, i + 1); }

int BaudForCode(uint8_t code) {
  switch (code) {
    case 0x2E:
      return 9600;
    case 0x16:
      return 19200;
    case 0x0B:
      return 38400;
    case 0x07:
      return 57600;
    case 0x03:
      return 115200;
    default:
      return 0;
  }
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::toupper(x) == std::toupper(y);
         });
}

std::string PreviewName(const std::string& fileName) {
  return fileName.substr(0, fileName.rfind('.')) + ".JPG";
}

}  // namespace

SimState::SimState(const Options& options)
    : family_(options.family), faults_(options.faults), pictureBytes_(options.pictureBytes) {
  if (!options.picturesDir.empty()) {
    pictures_ = LoadPictures(family_, options.picturesDir);
  } else {
    for (int i = 0; i < std::max(0, options.count); ++i)
      pictures_.push_back(MakePicture(family_, i + 1, pictureBytes_));
  }
  int limit = family_ == Family::classic ? kClassicMaxPictures : kExtendedMaxPictures;
  if (static_cast<int>(pictures_.size()) > limit) pictures_.resize(static_cast<size_t>(limit));
  for (int n : options.protectedPictures)
    if (Valid(n)) pictures_[static_cast<size_t>(n) - 1].protect = true;
  nextSerial_ = PictureCount() + 1;
}

ArgumentShape SimState::Shape(char a, char b) const {
  struct Entry {
    const char* name;
    int args;
    int families;  // bit 0 classic, bit 1 extended, bit 2 file system
  };
  static constexpr Entry kTable[] = {
      {"MP", 0, 1},  {"RB", 4, 1},  {"DA", 1, 1}, {"DH", 1, 1}, {"DY", 2, 1}, {"MK", 0, 1},
      {"DL", 0, 1},  {"MG", 0, 1},  {"Mg", 0, 1}, {"DF", 2, 1}, {"DR", 0, 1}, {"SU", 0, 1},
      {"XC", 0, 6},  {"XP", 0, 6},  {"BC", 0, 6}, {"XA", 2, 6}, {"XT", 2, 6}, {"XK", 2, 6},
      {"XG", 2, 6},  {"EY", 3, 6},  {"XF", 4, 6}, {"ZD", 0, 4}, {"ZE", 0, 4}, {"ZH", 0, 4},
      {"ZG", -1, 4}, {"CD", -1, 4}, {"DD", 0, 7}, {"CB", 1, 7}, {"PP", 2, 7}, {"QR", 0, 7},
      {"QX", 0, 7},
  };
  int bit = family_ == Family::classic ? 1 : family_ == Family::extended ? 2 : 4;
  for (const auto& e : kTable)
    if (e.name[0] == a && e.name[1] == b && (e.families & bit)) return {true, e.args};
  return {};
}

std::string SimState::Describe(const std::string& command, const ArgumentShape& shape) {
  std::string text = command.substr(0, 2);
  if (shape.known && shape.count < 0) return text + " " + command.substr(2);
  for (size_t i = 2; i < command.size(); ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02X", static_cast<uint8_t>(command[i]));
    text += hex;
  }
  return text;
}

std::optional<Bytes> SimState::TakePending() {
  auto p = std::move(pending_);
  pending_.reset();
  return p;
}

int SimState::ReportedCount() const {
  return faults_.countOverride >= 0 ? faults_.countOverride : PictureCount();
}

bool SimState::AddPicture() {
  const int limit = family_ == Family::classic ? kClassicMaxPictures : kExtendedMaxPictures;
  if (PictureCount() >= limit) return false;
  pictures_.push_back(MakePicture(family_, nextSerial_++, pictureBytes_));
  return true;
}

void SimState::Erase(int n) {
  pictures_.erase(pictures_.begin() + (n - 1));
  if (current_ == n)
    current_ = 0;
  else if (current_ > n)
    --current_;
}

void SimState::PowerOnState() {
  baud_ = kDefaultBaud;
  block_ = kDefaultBlock;
  current_ = 0;
  depth_ = 2;
  pending_.reset();
}

Reply SimState::Evaluate(const std::string& c) {
  pending_.reset();  // a new command cancels data nobody asked for
  if (auto common = Common(c)) return *common;
  switch (family_) {
    case Family::classic:
      return Classic(c);
    case Family::extended:
      return Extended(c);
    case Family::filesystem:
      return FileSystem(c);
  }
  return Reply{true, {}, [] {}, false};
}

// Commands every family answers; nothing for the others.
std::optional<Reply> SimState::Common(const std::string& c) {
  std::string name = c.substr(0, 2);
  if (name == "CB") {
    int baud = BaudForCode(Arg(c, 2));
    if (baud == 0) return Reply{true, {}, [] {}, false};
    return Reply{false, {}, [this, baud] { baud_ = baud; }, true};
  }
  if (name == "PP") {
    int n = Number2(c, 2);
    if (n < 1) return Reply{true, {}, [] {}, false};
    return Reply{false, {}, [this, n] { block_ = n; }, false};
  }
  if (name == "QR" || name == "QX") {
    // Power-off is simulated as the camera being switched on again at once: both end the
    // connection and leave the camera at 9600 baud with block size 128.
    return Reply{false, {}, [this] { PowerOnState(); }, true};
  }
  if (name == "DD") {
    return Reply{false,
                 {},
                 [this] {
                   pictures_.clear();
                   current_ = 0;
                 },
                 false};
  }
  return std::nullopt;
}

Reply SimState::Classic(const std::string& c) {
  std::string name = c.substr(0, 2);
  Reply ok{false, {}, [] {}, false};
  Reply refuse{true, {}, [] {}, false};
  if (name == "MP") {
    ok.data = {static_cast<uint8_t>(std::min(ReportedCount(), 255))};
    return ok;
  }
  if (name == "RB") {
    ok.data = {static_cast<uint8_t>(faults_.batteryByte >= 0 ? faults_.batteryByte
                                                             : kHealthyClassicBattery)};
    return ok;
  }
  if (name == "SU") {
    ok.data = {0x01, 0x02, 0x00, 0x07};  // firmware revision
    return ok;
  }
  if (name == "DA" || name == "DH") {
    int n = Arg(c, 2);
    if (!Valid(n)) return refuse;
    ok.commit = [this, n] { current_ = n; };
    return ok;
  }
  if (name == "DY") {
    int n = Arg(c, 3);
    if (!Valid(n)) return refuse;
    // The picture's mode bits: 1 fine, 0 protected; a normal unprotected picture answers 0.
    const SimPicture& p = pictures_[n - 1];
    ok.data = {static_cast<uint8_t>((p.fine ? 2 : 0) | (p.protect ? 1 : 0))};
    return ok;
  }
  if (name == "DL") return Valid(current_) ? ok : refuse;
  if (name == "MK" || name == "MG" || name == "Mg") {
    if (!Valid(current_)) return refuse;
    const SimPicture& p = pictures_[current_ - 1];
    pending_ = name == "MK" ? p.thumbnail : p.data;
    return ok;
  }
  if (name == "DF") {
    int n = Arg(c, 2);
    if (!Valid(n)) return refuse;
    ok.commit = [this, n] { Erase(n); };
    return ok;
  }
  if (name == "DR") {
    if (faults_.playMode) {
      ok.data = {kNak};
      return ok;
    }
    if (PictureCount() >= kClassicMaxPictures) return refuse;  // memory full
    ok.data = {kAck};
    ok.commit = [this] { AddPicture(); };
    return ok;
  }
  return refuse;
}

Reply SimState::Extended(const std::string& c) {
  std::string name = c.substr(0, 2);
  Reply ok{false, {}, [] {}, false};
  Reply refuse{true, {}, [] {}, false};
  if (name == "XC") {
    ok.data = {0x00};
    return ok;
  }
  if (name == "XP") {
    int n = std::clamp(ReportedCount(), 0, 0xFFFF);
    ok.data = {static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n & 0xFF)};
    return ok;
  }
  if (name == "BC") {
    ok.data = {static_cast<uint8_t>(faults_.batteryByte >= 0 ? faults_.batteryByte : 0)};
    return ok;
  }
  int n = name == "EY" ? Number2(c, 3) : name == "XF" ? Number2(c, 4) : Number2(c, 2);
  if (name == "XA" || name == "XT" || name == "XK" || name == "XG" || name == "EY" ||
      name == "XF") {
    if (!Valid(n)) return refuse;
    const SimPicture& p = pictures_[n - 1];
    if (name == "XA") ok.commit = [this, n] { current_ = n; };
    if (name == "XT") pending_ = p.thumbnail;
    if (name == "XG") pending_ = p.data;
    if (name == "XK") ok.data = {static_cast<uint8_t>(p.format)};
    if (name == "XF") ok.commit = [this, n] { Erase(n); };
    return ok;
  }
  return refuse;
}

std::vector<std::string> SimState::FolderFiles() const {
  std::vector<std::string> names;
  if (depth_ == 2)
    for (const auto& p : pictures_) names.push_back(p.fileName);
  if (depth_ == 3)
    for (const auto& p : pictures_) names.push_back(PreviewName(p.fileName));
  return names;
}

Bytes SimState::NameList(const std::vector<std::string>& names) const {
  Bytes out;
  for (const auto& n : names) {
    out.insert(out.end(), n.begin(), n.end());
    out.push_back(0);
  }
  return out;
}

Reply SimState::FileSystem(const std::string& c) {
  std::string name = c.substr(0, 2);
  Reply ok{false, {}, [] {}, false};
  Reply refuse{true, {}, [] {}, false};
  if (name == "ZD") {
    if (depth_ == 0) {
      ok.data = {0xFF};
      return ok;
    }
    ok.data = {0x00};
    ok.commit = [this] { --depth_; };
    return ok;
  }
  if (name == "ZE") {
    pending_ = NameList(FolderFiles());
    return ok;
  }
  if (name == "ZH") {
    static const std::vector<std::string> kFolders[] = {
        {"DCIM"}, {kPictureFolder}, {"PREVIEW"}, {}};
    pending_ = NameList(kFolders[depth_]);
    return ok;
  }
  std::string arg = c.substr(2);
  if (name == "CD") {
    static const char* kChildren[] = {"DCIM", kPictureFolder, "PREVIEW"};
    if (depth_ > 2 || !SameName(arg, kChildren[depth_])) return refuse;
    ok.data = {0x00};
    ok.commit = [this] { ++depth_; };
    return ok;
  }
  if (name == "ZG") {
    if (depth_ < 2) return refuse;
    for (const auto& p : pictures_) {
      if (depth_ == 2 && SameName(arg, p.fileName)) pending_ = p.data;
      if (depth_ == 3 && SameName(arg, PreviewName(p.fileName))) pending_ = p.preview;
      if (pending_) return ok;
    }
    return refuse;
  }
  return Extended(c);
}

}  // namespace vantlo::camsim
