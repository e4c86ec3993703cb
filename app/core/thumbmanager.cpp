#include "app/core/thumbmanager.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <span>
#include <system_error>

#include "library/atomicfile.h"
#include "picture/camformats.h"
#include "picture/jpegimage.h"
#include "picture/pipeline.h"

namespace vantlo {

namespace {

// Hands the engine's own progress to the loader's callback for the length of one operation and
// puts the engine's previous listener back afterwards, also when the operation throws.
class tengineprogressscope {
 public:
  tengineprogressscope(tqvProtocolEngine& engine, const tthumbmanager::tloadprogress& progress)
      : engine_(engine), saved_(engine.OnProgress) {
    if (progress) {
      engine_.OnProgress = [progress](tqvProtocolEngine&, int position, const std::string& text,
                                      int picture) { return progress(position, text, picture); };
    }
  }
  ~tengineprogressscope() { engine_.OnProgress = saved_; }
  tengineprogressscope(const tengineprogressscope&) = delete;
  tengineprogressscope& operator=(const tengineprogressscope&) = delete;

 private:
  tqvProtocolEngine& engine_;
  tprogressevent saved_;
};

void Report(const tthumbmanager::tloadprogress& progress, int position, const char* text, int n) {
  if (progress) progress(position, text, n);
}

std::span<const std::uint8_t> DataPart(const std::vector<std::uint8_t>& stream) {
  return std::span<const std::uint8_t>(stream.data(), stream.size() - 1);
}

}  // namespace

bool IsSoundCacheStream(const std::vector<std::uint8_t>& stream) {
  if (stream.size() < 2) return false;
  const std::uint8_t kind = stream.back();
  if (kind < kKindNormal || kind > kKindAviFile) return false;
  const std::size_t size = stream.size() - 1;
  if (kind == kKindJpegFile) return size >= 2 && stream[0] == 0xFF && stream[1] == 0xD8;
  if (kind == kKindAviFile) return size >= 4 && std::memcmp(stream.data(), "RIFF", 4) == 0;
  return true;
}

tthumbmanager::tthumbmanager(tqvProtocolEngine& engine, tpicturepipeline& pipeline,
                             std::string cacheFolderSetting)
    : engine_(engine), pipeline_(pipeline), cacheFolderSetting_(std::move(cacheFolderSetting)) {}

tthumbmanager::~tthumbmanager() {
  if (cacheFolder_.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(cacheFolder_, ec);
}

const std::string& tthumbmanager::CacheFolder() {
  if (!cacheFolder_.empty()) return cacheFolder_;
  std::error_code ec;
  const std::string temp = std::filesystem::temp_directory_path(ec).string();
  if (cacheFolderSetting_.empty()) cacheFolderSetting_ = ec ? std::string("/tmp") : temp;
  std::string base = cacheFolderSetting_;
  if (!std::filesystem::is_directory(base, ec)) {
    std::filesystem::create_directories(base, ec);
    if (ec || !std::filesystem::is_directory(base, ec)) {
      // The configured folder cannot be made: forget it and use the system temp folder.
      cacheFolderSetting_.clear();
      base = temp.empty() ? std::string("/tmp") : temp;
    }
  }
  if (base.back() != '/') base += '/';
  std::string tmpl = base + "vantlo-cache-XXXXXX";
  if (!::mkdtemp(tmpl.data())) {  // mkdtemp makes the folder with mode 0700
    throw tthumbexception("Cannot make the picture cache folder in " + base + ": " +
                          std::strerror(errno));
  }
  cacheFolder_ = tmpl;
  return cacheFolder_;
}

std::string tthumbmanager::CachePath(int n) {
  return CacheFolder() + "/" + std::to_string(n) + ".rcd";
}

void tthumbmanager::DeleteCacheFiles() {
  if (cacheFolder_.empty()) return;  // nothing was ever cached
  for (int n = 1; n <= kMaxPictures; ++n) {
    const std::string path = CachePath(n);
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) break;  // stop at the first real error
  }
}

void tthumbmanager::Clear() {
  for (auto& t : thumbs_) t.reset();
  fine_.fill(0);
  movie_.fill(0);
  count_ = 0;
  DeleteCacheFiles();
}

int ClampPictureCount(int count, std::string& message) {
  message.clear();
  if (count < 0) return 0;
  if (count > tthumbmanager::kMaxPictures) {
    message = "The camera holds " + std::to_string(count) + " pictures; only the first " +
              std::to_string(tthumbmanager::kMaxPictures) + " can be shown and fetched";
    return tthumbmanager::kMaxPictures;
  }
  return count;
}

int tthumbmanager::RefreshCount() {
  // The grid, the marks and the selection hold 300 pictures; a larger count must never be
  // used as an index.
  count_ = ClampPictureCount(engine_.GetPictureCount(), countMessage_);
  return count_;
}

const tbitmap* tthumbmanager::Thumbnail(int n) const {
  return InRange(n) ? thumbs_[n].get() : nullptr;
}

bool tthumbmanager::HasThumbnail(int n) const {
  if (!InRange(n)) throw tthumbexception(kPictureNumberOutOfRange);
  return thumbs_[n] != nullptr;
}

bool tthumbmanager::FineFlag(int n) const { return InRange(n) && fine_[n] != 0; }
bool tthumbmanager::MovieFlag(int n) const { return InRange(n) && movie_[n] != 0; }

void tthumbmanager::FetchOne(int n) {
  auto bitmap = std::make_unique<tbitmap>(kThumbWidth, kThumbHeight);
  bool isMovie = false;
  bool fine = false;
  engine_.FetchThumbnail(n, *bitmap, isMovie, fine);
  // Only a fetch that succeeded fills the slot; a failed one can be tried again.
  thumbs_[n] = std::move(bitmap);
  movie_[n] = isMovie ? 1 : 0;
  fine_[n] = fine ? 1 : 0;
}

void tthumbmanager::FetchThumbnail(int n) {
  RefreshCount();
  if (n < 1 || n > count_) throw tthumbexception(kThumbnailOutOfRange);
  if (!thumbs_[n]) FetchOne(n);
  bool stop = false;
  if (OnThumbnail) OnThumbnail(n, stop);
}

void tthumbmanager::FetchAllThumbnails() {
  RefreshCount();
  for (int n = 1; n <= count_; ++n) {
    if (thumbs_[n]) continue;
    FetchOne(n);
    bool stop = false;
    if (OnThumbnail) OnThumbnail(n, stop);
    if (stop) break;
  }
}

std::optional<std::vector<std::uint8_t>> tthumbmanager::ReadSoundCacheFile(int n) {
  const std::string path = CachePath(n);
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  try {
    auto stream = ReadWholeFile(path);
    if (IsSoundCacheStream(stream)) return stream;
  } catch (const tfileerror&) {
  }
  // Empty, cut short or damaged: drop it so the data is fetched again.
  ::unlink(path.c_str());
  return std::nullopt;
}

std::vector<std::uint8_t> tthumbmanager::FetchIntoCache(int n, const tloadprogress& progress) {
  std::vector<std::uint8_t> stream;
  std::uint8_t kind;
  {
    tengineprogressscope scope(engine_, progress);
    kind = engine_.FetchPicture(n, stream);
  }
  stream.push_back(kind);
  if (!IsSoundCacheStream(stream)) {
    // Not worth keeping; the decoder will say what is wrong with it.
    DeleteCacheFile(n);
    return stream;
  }
  try {
    WriteFileAtomic(CachePath(n), stream, 0600);
  } catch (const tfileerror&) {
    // The cache only saves time; a picture that cannot be cached is still shown.
  }
  return stream;
}

std::vector<std::uint8_t> tthumbmanager::CacheStream(int n, const tloadprogress& progress) {
  if (auto cached = ReadSoundCacheFile(n)) return std::move(*cached);
  return FetchIntoCache(n, progress);
}

void tthumbmanager::LoadPicture(int n, TJPEGImage& image, const tloadprogress& progress) {
  Report(progress, 5, "Loading picture", n);
  bool fromCache = true;
  auto stream = ReadSoundCacheFile(n);
  if (!stream) {
    stream = FetchIntoCache(n, progress);
    fromCache = false;
  }
  Report(progress, 60, "Processing picture", n);
  if (stream->size() < 2) throw tthumbexception("Unsupported Camera Format");
  try {
    pipeline_.DecodeRawPicture(DataPart(*stream), image);
  } catch (const std::exception&) {
    // A movie never decodes as a picture; fetching it again would only cost the transfer.
    if (!fromCache || stream->back() == kKindAviFile) throw;
    // The cached copy does not decode: fetch the picture again and decode that.
    DeleteCacheFile(n);
    stream = FetchIntoCache(n, progress);
    if (stream->size() < 2) throw tthumbexception("Unsupported Camera Format");
    pipeline_.DecodeRawPicture(DataPart(*stream), image);
  }
}

std::vector<std::uint8_t> tthumbmanager::CamFileBytes(int n, const tloadprogress& progress) {
  auto stream = CacheStream(n, progress);
  if (stream.size() < 2) throw tthumbexception("Unsupported Camera Format");
  std::vector<std::uint8_t> cam;
  RawToCamFile(DataPart(stream), cam, stream.back());
  return cam;
}

void tthumbmanager::SaveRawPicture(int n, const std::string& path, const tloadprogress& progress) {
  WriteFileAtomic(path, CamFileBytes(n, progress));
}

void tthumbmanager::DeleteCacheFile(int n) {
  if (cacheFolder_.empty()) return;
  ::unlink(CachePath(n).c_str());
}

void tthumbmanager::DeletePicture(int n) {
  if (engine_.HasFileSystem()) throw tthumbexception(kCannotDeleteOverSerial);
  if (n < 1 || n > count_) throw tthumbexception(kPictureNumberOutOfRange);
  engine_.DeletePicture(n);
  thumbs_[n].reset();
  fine_[n] = movie_[n] = 0;
  DeleteCacheFile(n);
  for (int i = n + 1; i <= count_; ++i) {
    thumbs_[i - 1] = std::move(thumbs_[i]);
    fine_[i - 1] = fine_[i];
    movie_[i - 1] = movie_[i];
    fine_[i] = movie_[i] = 0;
    if (!cacheFolder_.empty()) {
      const std::string from = CachePath(i);
      if (::access(from.c_str(), F_OK) == 0) std::rename(from.c_str(), CachePath(i - 1).c_str());
    }
  }
  --count_;
}

void tthumbmanager::DeleteAllPictures() {
  if (engine_.HasFileSystem()) throw tthumbexception(kCannotDeleteOverSerial);
  engine_.DeleteAllPictures();
  Clear();
}

void tthumbmanager::ChangeFolder(const std::string& folder) {
  Clear();
  engine_.ChangeFolder(folder);
}

}  // namespace vantlo
