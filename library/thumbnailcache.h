// The desktop's shared thumbnail cache, in the freedesktop.org layout:
// <root>/normal/<md5 of the file's URI>.png, where <root> is
// $XDG_CACHE_HOME/thumbnails (~/.cache/thumbnails by default). Each entry is
// a PNG of at most 128 x 128 pixels whose text chunks name the picture file
// (Thumb::URI) and its modification time (Thumb::MTime), so file managers
// can show the Browse page's pictures without decoding them again, and the
// Browse page a folder it has shown before.
//
// Only entries this program wrote are taken (Software "Vantlo"): a tile made
// from the cache must be exactly the tile a decode gives, which another
// program's scaling is not. An entry is used only while the file's
// modification time (to the nanosecond) and size are those recorded; a
// missing, foreign, stale or damaged entry is simply made again. Entries are
// written atomically with mode 0600 into folders made with mode 0700.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "picture/bitmap.h"

namespace vantlo {

// What a file looked like when its thumbnail was made.
struct tfilestamp {
  std::int64_t MTime = 0;       // seconds
  std::int64_t MTimeNanos = 0;  // 0 .. 999999999
  std::uint64_t Size = 0;       // bytes
  bool operator==(const tfilestamp&) const = default;
};

// The picture an entry holds and the picture file's own size in pixels.
struct tcachedpicture {
  tbitmap Picture;
  int ImageWidth = 0;
  int ImageHeight = 0;
};

class tthumbnailcache {
 public:
  // Largest side of a "normal" thumbnail.
  static constexpr int kNormalSize = 128;

  // Entries under root/normal; an empty root switches the cache off.
  explicit tthumbnailcache(std::string root);
  // $XDG_CACHE_HOME/thumbnails when that is an absolute path, else
  // $HOME/.cache/thumbnails; "" when neither is known.
  static std::string DefaultRoot();

  bool Enabled() const { return !root_.empty(); }
  const std::string& Root() const { return root_; }

  // "file://" and the absolute path, escaped as the desktop's file managers
  // escape it (letters, digits and -_.!~*'()/&=:@+$, are kept, every other
  // byte becomes %XX).
  static std::string FileUri(const std::string& path);
  // root/normal/<md5 of the URI>.png.
  std::string EntryPath(const std::string& path) const;
  // The stamp of a regular file; nullopt when it cannot be read.
  static std::optional<tfilestamp> Stamp(const std::string& path);

  // The entry for `path` when it was made by this program for the file as
  // `stamp` describes it; nullopt otherwise (never throws).
  std::optional<tcachedpicture> Read(const std::string& path, const tfilestamp& stamp) const;
  // Stores the picture (at most kNormalSize on its larger side) for the
  // file as it was at `stamp`; false when the cache is off, the file lies in
  // the cache itself or the entry could not be written (never throws).
  bool Write(const std::string& path, const tfilestamp& stamp, const tcachedpicture& picture) const;

 private:
  bool MakeFolders() const;
  std::string root_;
};

}  // namespace vantlo
