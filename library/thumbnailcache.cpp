#include "library/thumbnailcache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <exception>
#include <vector>

#include "library/md5.h"
#include "library/unixfile.h"
#include "picture/pictureerror.h"
#include "picture/pngimage.h"

namespace vantlo {

namespace {

constexpr char kSoftware[] = "Vantlo";
// The standard keys carry whole seconds; two versions of a file written in
// the same second are told apart by the nanoseconds, in a key of our own
// that other readers ignore.
constexpr char kNanosKey[] = "X-Vantlo::MTime::Nanoseconds";
// An entry is a small PNG; anything much larger is not one of ours.
constexpr std::uint64_t kMaxEntryBytes = 1u << 20;

std::string Decimal(std::int64_t v) { return std::to_string(v); }

bool ParseDecimal(const std::string& s, std::int64_t& v) {
  const char* end = s.data() + s.size();
  auto [p, ec] = std::from_chars(s.data(), end, v);
  return ec == std::errc() && p == end && !s.empty();
}

const std::string* Find(const std::vector<tpngtext>& text, const char* key) {
  for (const tpngtext& t : text)
    if (t.Key == key) return &t.Value;
  return nullptr;
}

bool Matches(const std::vector<tpngtext>& text, const char* key, const std::string& want) {
  const std::string* v = Find(text, key);
  return v && *v == want;
}

bool ReadSmallFile(const std::string& path, std::vector<std::uint8_t>& out) {
  unixfile f(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!f) return false;
  struct stat st;
  if (::fstat(f.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<std::uint64_t>(st.st_size) > kMaxEntryBytes)
    return false;
  out.resize(static_cast<std::size_t>(st.st_size));
  std::size_t got = 0;
  while (got < out.size()) {
    const ssize_t r = ::read(f.get(), out.data() + got, out.size() - got);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    got += static_cast<std::size_t>(r);
  }
  return true;
}

// Makes the folder and any missing parent with mode 0700 (parents that
// exist are left as they are).
bool MakePrivateFolder(const std::string& folder) {
  struct stat st;
  if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const auto slash = folder.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakePrivateFolder(folder.substr(0, slash)))
    return false;
  return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace

tthumbnailcache::tthumbnailcache(std::string root) : root_(std::move(root)) {
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
}

std::string tthumbnailcache::DefaultRoot() {
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/thumbnails";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.cache/thumbnails";
  return "";
}

std::string tthumbnailcache::FileUri(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (const char ch : path) {
    const unsigned char c = static_cast<unsigned char>(ch);
    const bool keep =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
        std::string_view("-_.!~*'()/&=:@+$,").find(static_cast<char>(c)) != std::string_view::npos;
    if (keep) {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 15];
    }
  }
  return uri;
}

std::string tthumbnailcache::EntryPath(const std::string& path) const {
  return root_ + "/normal/" + Md5Hex(FileUri(path)) + ".png";
}

std::optional<tfilestamp> tthumbnailcache::Stamp(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return tfilestamp{static_cast<std::int64_t>(st.st_mtim.tv_sec),
                    static_cast<std::int64_t>(st.st_mtim.tv_nsec),
                    static_cast<std::uint64_t>(st.st_size)};
}

std::optional<tcachedpicture> tthumbnailcache::Read(const std::string& path,
                                                    const tfilestamp& stamp) const {
  if (!Enabled() || path.empty() || path[0] != '/') return std::nullopt;
  try {
    std::vector<std::uint8_t> data;
    if (!ReadSmallFile(EntryPath(path), data)) return std::nullopt;
    std::vector<tpngtext> text;
    tcachedpicture entry;
    entry.Picture = DecodePng(data, text, kNormalSize);
    std::int64_t width = 0, height = 0;
    const std::string* w = Find(text, "Thumb::Image::Width");
    const std::string* h = Find(text, "Thumb::Image::Height");
    if (!Matches(text, "Software", kSoftware) || !Matches(text, "Thumb::URI", FileUri(path)) ||
        !Matches(text, "Thumb::MTime", Decimal(stamp.MTime)) ||
        !Matches(text, kNanosKey, Decimal(stamp.MTimeNanos)) ||
        !Matches(text, "Thumb::Size", std::to_string(stamp.Size)) || !w || !h ||
        !ParseDecimal(*w, width) || !ParseDecimal(*h, height) || width < 1 || height < 1 ||
        width > 65535 || height > 65535)
      return std::nullopt;
    entry.ImageWidth = static_cast<int>(width);
    entry.ImageHeight = static_cast<int>(height);
    return entry;
  } catch (const std::exception&) {
    return std::nullopt;  // damaged: made again
  }
}

bool tthumbnailcache::MakeFolders() const { return MakePrivateFolder(root_ + "/normal"); }

bool tthumbnailcache::Write(const std::string& path, const tfilestamp& stamp,
                            const tcachedpicture& entry) const {
  if (!Enabled() || path.empty() || path[0] != '/') return false;
  // The cache's own files get no thumbnails.
  if (path.compare(0, root_.size() + 1, root_ + "/") == 0) return false;
  const tbitmap& picture = entry.Picture;
  if (picture.Empty() || picture.Width() > kNormalSize || picture.Height() > kNormalSize ||
      entry.ImageWidth < 1 || entry.ImageHeight < 1)
    return false;
  try {
    if (!MakeFolders()) return false;
    const std::vector<tpngtext> text = {
        {"Thumb::URI", FileUri(path)},
        {"Thumb::MTime", Decimal(stamp.MTime)},
        {"Thumb::Size", std::to_string(stamp.Size)},
        {"Thumb::Image::Width", std::to_string(entry.ImageWidth)},
        {"Thumb::Image::Height", std::to_string(entry.ImageHeight)},
        {"Software", kSoftware},
        {kNanosKey, Decimal(stamp.MTimeNanos)},
    };
    return WriteFileAtomically(EntryPath(path), EncodePng(picture, text), 0600) == 0;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace vantlo
