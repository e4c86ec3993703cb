#include "library/hiddenlist.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <vector>

#include "library/unixfile.h"

namespace vantlo {

namespace {

// Far more than any folder's list of hidden names; a larger file is not ours to rewrite.
constexpr off_t kMaxHiddenListSize = 1 << 20;

struct thiddenfile {
  bool exists = false;
  mode_t mode = 0644;
  std::string text;
};

// nullopt when the file is there but must not be touched.
std::optional<thiddenfile> ReadHiddenList(const std::string& path) {
  thiddenfile file;
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return file;
    return std::nullopt;
  }
  if (!S_ISREG(st.st_mode) || st.st_size > kMaxHiddenListSize) return std::nullopt;
  unixfile fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (!fd) return std::nullopt;
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    file.text.append(buffer, static_cast<std::size_t>(n));
    if (file.text.size() > static_cast<std::size_t>(kMaxHiddenListSize)) return std::nullopt;
  }
  file.exists = true;
  file.mode = st.st_mode & 07777;
  return file;
}

bool WriteHiddenList(const std::string& path, const thiddenfile& file) {
  if (file.text.empty()) return ::unlink(path.c_str()) == 0 || errno == ENOENT;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(file.text.data());
  return WriteFileAtomically(path, {bytes, file.text.size()}, file.mode) == 0;
}

std::string NameOf(const std::string& path) {
  const auto cut = path.find_last_of('/');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// The line's text without its end ("\n", or "\r\n" from a file edited elsewhere).
std::string_view LineText(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// Splits the text into lines that keep their own endings, so that joining them again gives the
// text back byte for byte.
std::vector<std::string_view> Lines(const std::string& text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    const std::size_t stop = end == std::string::npos ? text.size() : end + 1;
    lines.emplace_back(text.data() + start, stop - start);
    start = stop;
  }
  return lines;
}

}  // namespace

std::string HiddenListOf(const std::string& path) {
  const auto cut = path.find_last_of('/');
  return (cut == std::string::npos ? std::string() : path.substr(0, cut + 1)) + ".hidden";
}

bool AddToHiddenList(const std::string& path) {
  const std::string name = NameOf(path);
  if (name.empty() || name.find('\n') != std::string::npos) return false;
  const std::string list = HiddenListOf(path);
  auto file = ReadHiddenList(list);
  if (!file) return false;
  for (std::string_view line : Lines(file->text))
    if (LineText(line) == name) return true;
  if (!file->text.empty() && file->text.back() != '\n') file->text += '\n';
  file->text += name + "\n";
  return WriteHiddenList(list, *file);
}

bool DropFromHiddenList(const std::string& path) {
  const std::string name = NameOf(path);
  if (name.empty()) return false;
  const std::string list = HiddenListOf(path);
  auto file = ReadHiddenList(list);
  if (!file) return false;
  if (!file->exists) return true;
  std::string kept;
  bool dropped = false;
  for (std::string_view line : Lines(file->text)) {
    if (LineText(line) == name) {
      dropped = true;
      continue;
    }
    kept += line;
  }
  if (!dropped) return true;
  file->text = std::move(kept);
  return WriteHiddenList(list, *file);
}

}  // namespace vantlo
