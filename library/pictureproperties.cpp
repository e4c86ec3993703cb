#include "library/pictureproperties.h"

#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "library/hiddenlist.h"
#include "library/textnocase.h"
#include "library/unixfile.h"

namespace vantlo {

namespace {

constexpr std::size_t kTitleOffset = 0;
constexpr std::size_t kLineSize = 256;
constexpr std::size_t kKeywordSlot = 41;
constexpr std::size_t kOrientationOffset = 3944;

std::size_t LineOffset(int n) { return kLineSize * static_cast<std::size_t>(n); }
std::size_t KeywordOffset(int k) { return 2263 + kKeywordSlot * static_cast<std::size_t>(k); }

}  // namespace

std::string CompanionPath(const std::string& picture) {
  const std::string tail = UpperTail4(picture);
  const char* ext = nullptr;
  if (tail == ".JPG")
    ext = ".QVJ";
  else if (tail == ".CAM")
    ext = ".QVC";
  else if (tail == ".AVI")
    ext = ".QVV";
  if (!ext || picture.size() < 4) throw tpropertieserror("File is not a JPG, CAM or AVI");
  return picture.substr(0, picture.size() - 4) + ext;
}

bool HasCompanionKind(const std::string& picture) {
  const std::string tail = UpperTail4(picture);
  return picture.size() >= 4 && (tail == ".JPG" || tail == ".CAM" || tail == ".AVI");
}

bool LooksLikeCompanion(const std::string& name) {
  return name.size() >= 4 && UpperAscii(name.substr(name.size() - 4, 3)) == ".QV";
}

std::optional<std::string> PictureNameForCompanion(const std::string& companion) {
  if (!LooksLikeCompanion(companion)) return std::nullopt;
  const std::string stem = companion.substr(0, companion.size() - 3);
  switch (companion.back()) {
    case 'J':
    case 'j':
      return stem + "jpg";
    case 'C':
    case 'c':
      return stem + "CAM";
    case 'V':
    case 'v':
      return stem + "AVI";
    default:
      return std::nullopt;
  }
}

void tkeywordlist::Add(const std::string& keyword) {
  if (keyword.empty()) return;
  auto it =
      std::lower_bound(items_.begin(), items_.end(), keyword,
                       [](const std::string& a, const std::string& b) { return LessNoCase(a, b); });
  if (it != items_.end() && EqualsNoCase(*it, keyword)) return;
  items_.insert(it, keyword);
}

tpictureproperties::tpictureproperties() = default;

void tpictureproperties::RequireFile() const {
  if (picture_.empty()) throw tpropertieserror("No file specified");
}

void tpictureproperties::SetFile(const std::string& picture) {
  companion_ = CompanionPath(picture);
  picture_ = picture;
}

std::string tpictureproperties::GetString(std::size_t offset, std::size_t max,
                                          std::size_t available) const {
  if (offset >= available) return {};
  std::size_t len = std::min<std::size_t>(record_[offset], max);
  len = std::min(len, available - offset - 1);  // never past the bytes read
  return std::string(reinterpret_cast<const char*>(record_.data() + offset + 1), len);
}

void tpictureproperties::PutString(std::size_t offset, std::size_t max, const std::string& text) {
  const std::size_t len = std::min(text.size(), max);
  record_[offset] = static_cast<std::uint8_t>(len);
  std::memcpy(record_.data() + offset + 1, text.data(), len);
}

std::string tpictureproperties::Title() const {
  return GetString(kTitleOffset, 255, kPropertiesSize);
}

void tpictureproperties::SetTitle(const std::string& title) { PutString(kTitleOffset, 255, title); }

std::uint32_t tpictureproperties::Orientation() const {
  const std::uint8_t* p = record_.data() + kOrientationOffset;
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void tpictureproperties::SetOrientation(std::uint32_t orientation) {
  std::uint8_t* p = record_.data() + kOrientationOffset;
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(orientation >> (8 * i));
}

void tpictureproperties::ParseRecord(const std::uint8_t* data, std::size_t size) {
  record_.fill(0);
  const std::size_t n = std::min(size, kPropertiesSize);
  if (n > 0) std::memcpy(record_.data(), data, n);
  // A record cut short keeps the zero bytes past its end; the length bytes
  // are checked against `n`, not against the full record size.
  if (n < kPropertiesSize) {
    // Clamp the title length the same way so Title() agrees with the file.
    std::string title = GetString(kTitleOffset, 255, n);
    if (n > 0) record_[kTitleOffset] = static_cast<std::uint8_t>(title.size());
  }
  description_.clear();
  for (int line = 1; line <= kMaxDescriptionLines; ++line) {
    std::string text = GetString(LineOffset(line), 255, n);
    if (!text.empty()) description_.push_back(std::move(text));
  }
  keywords_.Clear();
  for (int k = 1; k <= kMaxKeywords; ++k) {
    std::string text = GetString(KeywordOffset(k), kMaxKeywordLength, n);
    if (!text.empty()) keywords_.Add(LowerAscii(text));
  }
  if (Orientation() > 3) SetOrientation(0);
}

void tpictureproperties::Load() {
  RequireFile();
  record_.fill(0);
  std::array<std::uint8_t, kPropertiesSize> buf{};
  std::size_t got = 0;
  unixfile f(::open(companion_.c_str(), O_RDONLY | O_CLOEXEC));
  if (f) {
    while (got < buf.size()) {
      ssize_t r = ::read(f.get(), buf.data() + got, buf.size() - got);
      if (r < 0) {
        if (errno == EINTR) continue;
        throw tpropertieserror("Cannot read " + companion_ + ": " + std::strerror(errno));
      }
      if (r == 0) break;
      got += static_cast<std::size_t>(r);
    }
  } else if (errno != ENOENT) {
    throw tpropertieserror("Cannot read " + companion_ + ": " + std::strerror(errno));
  }
  ParseRecord(buf.data(), got);
}

void tpictureproperties::BuildRecord() {
  for (int line = 1; line <= kMaxDescriptionLines; ++line) {
    const std::size_t i = static_cast<std::size_t>(line - 1);
    PutString(LineOffset(line), 255, i < description_.size() ? description_[i] : std::string());
  }
  const auto& words = keywords_.Items();
  for (int k = 1; k <= kMaxKeywords; ++k) {
    const std::size_t i = static_cast<std::size_t>(k - 1);
    PutString(KeywordOffset(k), kMaxKeywordLength,
              i < words.size() ? LowerAscii(words[i]) : std::string());
  }
}

void tpictureproperties::Save() {
  RequireFile();
  if (keywords_.Empty() && description_.empty() && Title().empty() && Orientation() == 0) {
    if (::unlink(companion_.c_str()) != 0 && errno != ENOENT)
      throw tpropertieserror("Cannot delete " + companion_ + ": " + std::strerror(errno));
    DropFromHiddenList(companion_);
    Clear();
    return;
  }
  BuildRecord();
  // Written to a temporary file first and renamed over the old companion,
  // so a crash leaves either the old or the new properties, never neither.
  if (const int error = WriteFileAtomically(companion_, record_, 0644, SetHiddenAttribute))
    throw tpropertieserror("Cannot write " + companion_ + ": " + std::strerror(error));
  // Out of sight in file managers, as the hidden attribute keeps it on Windows.
  AddToHiddenList(companion_);
}

void tpictureproperties::Clear() {
  record_.fill(0);
  description_.clear();
  keywords_.Clear();
  companion_.clear();
  picture_.clear();
}

void tpictureproperties::Delete() {
  RequireFile();
  if (::unlink(companion_.c_str()) != 0 && errno != ENOENT)
    throw tpropertieserror("Cannot delete " + companion_ + ": " + std::strerror(errno));
  DropFromHiddenList(companion_);
  Clear();
}

bool SetHiddenAttribute(int fd) {
  __u32 attrs = 0;
  if (::ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &attrs) != 0) return false;
  attrs |= ATTR_HIDDEN;
  return ::ioctl(fd, FAT_IOCTL_SET_ATTRIBUTES, &attrs) == 0;
}

}  // namespace vantlo
