// tthumbmanager: the pictures in the connected camera as the "Camera" page shows them. It keeps,
// per camera picture number (1..300), the thumbnail fetched from the camera with its movie and
// fine marks, and a cache of the raw picture data fetched, so that each picture crosses the slow
// serial link at most once per run. It talks to the camera only through the one protocol engine,
// which it is given and does not own.
//
// The cache is a private folder made for this run (mode 0700) under the configured cache folder;
// each file "<n>.rcd" holds the data exactly as the engine returned it followed by one byte, the
// picture kind code. Files are written atomically. A cached file that is empty or damaged is
// fetched again, never decoded blindly. The folder and its files are removed at destruction, so
// data from an earlier run (or another camera) is never used.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "camera/qv10int.h"
#include "picture/bitmap.h"

namespace vantlo {

class TJPEGImage;
class tpicturepipeline;

// "Thumbnail out of range", "Picture number out of range", and the refusal to delete on a camera
// that cannot delete over the serial link.
class tthumbexception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kThumbnailOutOfRange = "Thumbnail out of range";
inline constexpr const char* kPictureNumberOutOfRange = "Picture number out of range";
inline constexpr const char* kCannotDeleteOverSerial =
    "It is not possible to delete pictures from this camera using the serial link";

class tthumbmanager {
 public:
  static constexpr int kMaxPictures = 300;
  static constexpr int kThumbWidth = 52;
  static constexpr int kThumbHeight = 36;

  // Called after each thumbnail fetch with the picture number; setting `stop` ends "fetch all".
  using tthumbhook = std::function<void(int n, bool& stop)>;
  // Progress of loading a picture: position, text, picture number; the answer may stop the
  // engine's transfer.
  using tloadprogress =
      std::function<tprogressanswer(int position, const std::string& text, int n)>;

  // `cacheFolderSetting`: the stored cache folder (empty: the system temp folder, stored back,
  // see CacheFolderSetting). `pipeline` decodes pictures (the engine's picture settings).
  tthumbmanager(tqvProtocolEngine& engine, tpicturepipeline& pipeline,
                std::string cacheFolderSetting = {});
  ~tthumbmanager();
  tthumbmanager(const tthumbmanager&) = delete;
  tthumbmanager& operator=(const tthumbmanager&) = delete;

  tthumbhook OnThumbnail;

  // The pipeline pictures are decoded with (its settings are the caller's to set).
  tpicturepipeline& Pipeline() { return pipeline_; }

  // Drops all thumbnails and marks, count 0, deletes the cache files.
  void Clear();
  // Asks the camera for its picture count. A count above 300 is kept to 300 and
  // CountMessage() says so; a negative answer counts as 0.
  int RefreshCount();
  int Count() const { return count_; }
  // Non-empty after RefreshCount clamped the count: the text to show the user.
  const std::string& CountMessage() const { return countMessage_; }

  // The thumbnail of n, or null (also for n outside 1..300).
  const tbitmap* Thumbnail(int n) const;
  // n must be 1..300, else "Picture number out of range".
  bool HasThumbnail(int n) const;
  // Refreshes the count; n must be 1..count, else "Thumbnail out of range". Fetches the
  // thumbnail and marks when not loaded yet (a failed fetch leaves the slot empty, so it can be
  // fetched again), then calls OnThumbnail.
  void FetchThumbnail(int n);
  // Refreshes the count and fetches every thumbnail not loaded yet, calling OnThumbnail after
  // each; stops when the hook sets its stop flag.
  void FetchAllThumbnails();
  bool FineFlag(int n) const;
  bool MovieFlag(int n) const;

  // The private cache folder of this run plus n and ".rcd".
  std::string CachePath(int n);
  const std::string& CacheFolderSetting() const { return cacheFolderSetting_; }

  // The raw data of n followed by its kind byte: from the cache when a sound cache file exists,
  // otherwise fetched from the camera and cached.
  std::vector<std::uint8_t> CacheStream(int n, const tloadprogress& progress = {});
  // Loads picture n into `image`: progress 5 "Loading picture", the cache stream, progress 60
  // "Processing picture", decoding. A cached stream that fails to decode is fetched again once.
  void LoadPicture(int n, TJPEGImage& image, const tloadprogress& progress = {});
  // The CAM file form of picture n's data (through the cache).
  std::vector<std::uint8_t> CamFileBytes(int n, const tloadprogress& progress = {});
  // Writes the CAM file of n to `path` (atomically, replacing what is there; the overwrite
  // question is the caller's, see tpicturesaver).
  void SaveRawPicture(int n, const std::string& path, const tloadprogress& progress = {});
  void DeleteCacheFile(int n);

  // Deletes picture n in the camera and renumbers thumbnails, marks and cache files above it.
  // A camera that cannot delete over the serial link: tthumbexception(kCannotDeleteOverSerial),
  // with camera, cache and count untouched.
  void DeletePicture(int n);
  // Deletes every picture in the camera, then clears. Same refusal as DeletePicture.
  void DeleteAllPictures();
  // Another camera folder: clears, then has the engine change to `folder`.
  void ChangeFolder(const std::string& folder);

 private:
  bool InRange(int n) const { return n >= 1 && n <= kMaxPictures; }
  void FetchOne(int n);
  std::vector<std::uint8_t> FetchIntoCache(int n, const tloadprogress& progress);
  std::optional<std::vector<std::uint8_t>> ReadSoundCacheFile(int n);
  const std::string& CacheFolder();
  void DeleteCacheFiles();

  tqvProtocolEngine& engine_;
  tpicturepipeline& pipeline_;
  std::string cacheFolderSetting_;
  std::string cacheFolder_;  // the private folder of this run; made on first use
  int count_ = 0;
  std::string countMessage_;
  std::array<std::unique_ptr<tbitmap>, kMaxPictures + 1> thumbs_;  // index 1..300
  std::array<std::uint8_t, kMaxPictures + 1> fine_{};
  std::array<std::uint8_t, kMaxPictures + 1> movie_{};
};

// The camera's count kept to 0..300; `message` says so when a count above 300 was cut
// (empty otherwise).
int ClampPictureCount(int count, std::string& message);

// True when `stream` is a well-formed cache stream: at least one data byte, a kind byte of 1..6,
// and data that starts as that kind's data must (JPEG FF D8, AVI "RIFF").
bool IsSoundCacheStream(const std::vector<std::uint8_t>& stream);

}  // namespace vantlo
