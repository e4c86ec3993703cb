#include "output/moviesave.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cmath>
#include <cstring>
#include <span>

#include "library/unixfile.h"
#include "output/moviewriter.h"
#include "output/outputerror.h"

namespace vantlo {

namespace {

// A stop before the first frame: no movie is made.
struct tstoppedbeforeframes {};

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Refuses a movie whose size is known to be more than the folder has room for, before a byte
// is written.
void CheckRoom(const std::string& path, std::uint64_t bytes) {
  struct statvfs fs {};
  if (::statvfs(FolderOf(path).c_str(), &fs) != 0) return;  // the write itself will tell
  const std::uint64_t room = static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
  if (bytes > room)
    throw toutputerror("There is not enough free disk space to save the movie " + path + " (" +
                       std::to_string((bytes + (1u << 20) - 1) >> 20) + " MB needed)");
}

// An ordinary file's permissions: 0666 less the umask (the atomic writer sets them as given).
mode_t OrdinaryFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

std::uint64_t FullFrameMovieBytes(int width, int height, int frameCount) {
  if (width <= 0 || height <= 0 || frameCount <= 0) return 0;
  const std::uint64_t row = (static_cast<std::uint64_t>(width) * 3 + 3) & ~std::uint64_t{3};
  // Each frame's chunk header and index entry, and the file's headers.
  return (row * static_cast<std::uint64_t>(height) + 24) * static_cast<std::uint64_t>(frameCount) +
         8192;
}

tmoviesaveresult SaveMovie(const std::string& path, const tmoviesaveoptions& options,
                           const std::function<void(int, tbitmap&)>& frame,
                           const std::function<bool(int, const std::string&)>& progress) {
  const int n = options.frameCount;
  if (n <= 0 || options.width <= 0 || options.height <= 0) throw toutputerror(kNoMiniMovie);
  if (options.codec == tmoviecodec::fullFrames)
    CheckRoom(path, FullFrameMovieBytes(options.width, options.height, n));

  tmoviesaveresult result;
  const auto write = [&](int fd) {
    tmoviewriter writer(fd, options.codec, options.fps, options.width, options.height);
    tbitmap bitmap(options.width, options.height);
    for (int i = 0; i < n; ++i) {
      const int position = static_cast<int>(std::nearbyint(i * 100.0 / n));
      if (progress && progress(position, "Saving Frame " + std::to_string(i + 1) + " of " +
                                             std::to_string(n))) {
        result.stopped = true;
        break;
      }
      frame(i, bitmap);
      writer.WriteFrame(bitmap);
    }
    if (writer.FramesWritten() == 0) throw tstoppedbeforeframes{};
    writer.Finish();
    result.framesWritten = writer.FramesWritten();
  };
  try {
    if (const int error =
            WriteFileAtomically(path, std::span<const std::uint8_t>(), OrdinaryFileMode(), write))
      throw toutputerror("Cannot save the movie " + path + ": " + std::strerror(error));
  } catch (const tstoppedbeforeframes&) {
    return result;
  }
  result.written = true;
  return result;
}

}  // namespace vantlo
