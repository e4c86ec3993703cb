#include "library/diskthumbmanager.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <exception>
#include <stdexcept>

#include "library/folderwalk.h"
#include "library/unixfile.h"
#include "picture/advstretch.h"
#include "picture/jpegimage.h"

namespace vantlo {

namespace {

// Pictures larger than this are not read for a thumbnail (a tile of a
// damaged or foreign file must not exhaust memory).
constexpr std::uint64_t kMaxThumbnailSource = 64ull << 20;

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out) {
  unixfile f(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!f) return false;
  struct stat st;
  if (::fstat(f.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<std::uint64_t>(st.st_size) > kMaxThumbnailSource)
    return false;
  out.resize(static_cast<std::size_t>(st.st_size));
  std::size_t got = 0;
  while (got < out.size()) {
    ssize_t r = ::read(f.get(), out.data() + got, out.size() - got);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    got += static_cast<std::size_t>(r);
  }
  out.resize(got);
  return true;
}

// The decode a tile takes of a picture of width x height pixels: one
// eighth, or a quarter or the full size for very small pictures; libjpeg's
// scaled sizes round up.
struct tscaleddecode {
  int Divisor, Width, Height;
};
tscaleddecode ScaledDecode(int width, int height) {
  auto scaled = [](int n, int d) { return (n + d - 1) / d; };
  for (int d : {8, 4})
    if (scaled(width, d) > 59 || scaled(height, d) > 44)
      return {d, scaled(width, d), scaled(height, d)};
  return {1, width, height};
}

// The picture as the thumbnail cache keeps it: at most 128 pixels on its
// larger side, shape kept (block averages for whole factors).
tbitmap CacheSizedPicture(tbitmap picture) {
  const int w = picture.Width(), h = picture.Height();
  const int side = tthumbnailcache::kNormalSize;
  if (w <= side && h <= side) return picture;
  const int tw = w >= h ? side : std::max(1, (w * side + h / 2) / h);
  const int th = w >= h ? std::max(1, (h * side + w / 2) / w) : side;
  tbitmap target(tw, th);
  AdvStretch(picture, target, true);
  return target;
}

// Bytes 6 to 9 of an EXIF file, upper-cased, read "EXIF".
bool HasExifIdentifier(const std::vector<std::uint8_t>& data) {
  if (data.size() < 10) return false;
  for (int i = 0; i < 4; ++i)
    if (std::toupper(data[static_cast<std::size_t>(6 + i)]) != "EXIF"[i]) return false;
  return true;
}

}  // namespace

std::string CamVariantText(int variant) {
  switch (variant) {
    case cvNormal:
      return "Normal Mode";
    case cvFine:
      return "Fine Mode";
    default:
      return "Type not known";
  }
}

tdiskthumbmanager::tdiskthumbmanager(tthumbnailsource& source, ttilepictures tiles)
    : source_(source), tiles_(std::move(tiles)) {}

void tdiskthumbmanager::List(const std::string& folder) {
  entries_.clear();
  collection_.Clear();
  selection_.Reset(0);
  collection_.Scan(folder, flags_);
  entries_.assign(static_cast<std::size_t>(collection_.Count()), tentry{});
  selection_.Reset(collection_.Count());
}

void tdiskthumbmanager::AfterListing() {
  if (Count() > 0) {
    selection_.SetCurrent(1);
    selection_.SetSelected(1, true);
  }
  if (autoload_) LoadThumbnails();
}

void tdiskthumbmanager::SetFolder(const std::string& path) {
  if (path.empty()) {
    StopLoading();
    collection_.Clear();
    entries_.clear();
    selection_.Reset(0);
    folder_.clear();
    return;
  }
  char resolved[PATH_MAX];
  struct stat st;
  if (path[0] != '/' || ::realpath(path.c_str(), resolved) == nullptr ||
      ::stat(resolved, &st) != 0 || !S_ISDIR(st.st_mode))
    throw std::runtime_error(path + " : directory does not exist");
  const std::string folder = WithTrailingSlash(resolved);
  if (folder == folder_) return;
  StopLoading();
  folder_ = folder;
  List(folder_);
  AfterListing();
}

void tdiskthumbmanager::Refresh() {
  if (!active_) return;
  StopLoading();
  if (folder_.empty()) return;
  const int remembered = CurrentItem();
  try {
    List(folder_);
    const bool autoload = autoload_;
    autoload_ = false;
    AfterListing();
    autoload_ = autoload;
    if (remembered >= 1 && remembered <= Count()) MoveToItem(remembered);
    if (autoload_) LoadThumbnails();
  } catch (const std::exception&) {
    // The folder went away: the listing stays empty.
  }
}

void tdiskthumbmanager::LoadFileList(const std::vector<std::string>& files) {
  SetFolder("");
  try {
    for (const auto& f : files) collection_.AddFile(f);
  } catch (...) {
    collection_.Clear();
    throw;
  }
  entries_.assign(static_cast<std::size_t>(collection_.Count()), tentry{});
  selection_.Reset(collection_.Count());
  AfterListing();
}

void tdiskthumbmanager::SetScanFlags(std::uint8_t flags) {
  if (flags == flags_) return;
  flags_ = flags;
  Refresh();
}

void tdiskthumbmanager::SetAutoload(bool on) {
  autoload_ = on;
  if (on) LoadThumbnails();
}

void tdiskthumbmanager::LoadThumbnails() {
  if (!active_) return;
  if (loading_) FinishLoading();
  stop_ = false;
  next_ = 1;
  loading_ = true;
  if (hooks_.loadingStarted) hooks_.loadingStarted();
}

void tdiskthumbmanager::FinishLoading() {
  loading_ = false;
  stop_ = true;
  if (hooks_.loadingFinished) hooks_.loadingFinished();
}

bool tdiskthumbmanager::LoadNextThumbnail() {
  if (!loading_) return false;
  if (stop_) {
    FinishLoading();
    return false;
  }
  while (next_ <= Count()) {
    const int n = next_++;
    const titemkind kind = collection_.Kind(n);
    if ((kind != ikCam && kind != ikJpeg) || HasThumbnail(n)) continue;
    if (BuildThumbnail(n) && hooks_.thumbnailMade) hooks_.thumbnailMade(n);
    if (next_ <= Count()) return true;
    break;
  }
  FinishLoading();
  return false;
}

void tdiskthumbmanager::LoadAllThumbnails(const std::function<void()>& pump) {
  LoadThumbnails();
  while (loading_) {
    if (pump) pump();
    LoadNextThumbnail();
  }
}

void tdiskthumbmanager::StopLoading() {
  stop_ = true;
  if (loading_) FinishLoading();
}

bool tdiskthumbmanager::BuildThumbnail(int n) {
  if (n < 1 || n > Count()) return false;
  tentry& entry = entries_[static_cast<std::size_t>(n - 1)];
  try {
    const std::string path = collection_.Path(n);
    std::optional<tbitmap> tile;
    if (collection_.Kind(n) == ikJpeg)
      tile = MakeJpegTile(path, entry);
    else if (collection_.Kind(n) == ikCam)
      tile = MakeCamTile(path, entry);
    entry.thumbnail = std::move(tile);
  } catch (...) {
    // Whatever one picture does (damaged data, a size beyond the decode
    // limits, no memory), the folder still browses.
    entry.thumbnail.reset();  // keeps its placeholder
  }
  entry.failed = !entry.thumbnail.has_value();
  return !entry.failed;
}

std::optional<tbitmap> tdiskthumbmanager::MakeJpegTile(const std::string& path, tentry& entry) {
  // The cache first: it holds only files without EXIF data, for which the
  // embedded-thumbnail step finds nothing, so the tile is the same and the
  // picture file is not even opened. The stamp is taken before the file is
  // read: should the file change meanwhile, the entry describes the older
  // file and is made again.
  const tthumbnailcache* cache = source_.Cache();
  const std::optional<tfilestamp> stamp = cache ? tthumbnailcache::Stamp(path) : std::nullopt;
  if (stamp) {
    if (std::optional<tcachedpicture> cached = cache->Read(path, *stamp)) {
      const tscaleddecode d = ScaledDecode(cached->ImageWidth, cached->ImageHeight);
      entry.width = d.Width * d.Divisor;
      entry.height = d.Height * d.Divisor;
      return ComposeTile(tiles_[tpJpeg], cached->Picture, FitPictureRect(d.Width, d.Height));
    }
  }
  tbitmap exif;
  if (source_.ExifThumbnail(path, exif) && !exif.Empty())
    return ComposeTile(tiles_[tpJpeg], exif, ExifThumbnailRect(exif.Width()));
  std::vector<std::uint8_t> data;
  if (!ReadWholeFile(path, data)) return std::nullopt;
  // One eighth first; only a very small picture is decoded larger.
  int divisor = 8;
  tbitmap picture = source_.DecodeJpeg(data, divisor);
  if (picture.Width() <= 59 && picture.Height() <= 44) {
    divisor = 4;
    picture = source_.DecodeJpeg(data, divisor);
    if (picture.Width() <= 59 && picture.Height() <= 44) {
      divisor = 1;
      picture = source_.DecodeJpeg(data, divisor);
    }
  }
  if (picture.Empty()) return std::nullopt;
  entry.width = picture.Width() * divisor;
  entry.height = picture.Height() * divisor;
  const ttilerect rect = FitPictureRect(picture.Width(), picture.Height());
  // The tile is always drawn from the cache-sized picture, so that a tile
  // from the cache and one from a decode are the same.
  tcachedpicture stored;
  stored.Picture = CacheSizedPicture(std::move(picture));
  // Files with EXIF data are left out of the shared cache: their
  // orientation tag, which the desktop's thumbnails obey, is not read here.
  int width = 0, height = 0;
  if (stamp && !HasExifIdentifier(data) && JpegFrameSize(data, width, height)) {
    const tscaleddecode d = ScaledDecode(width, height);
    if (d.Divisor == divisor && d.Width * divisor == entry.width &&
        d.Height * divisor == entry.height) {
      stored.ImageWidth = width;
      stored.ImageHeight = height;
      cache->Write(path, *stamp, stored);
    }
  }
  return ComposeTile(tiles_[tpJpeg], stored.Picture, rect);
}

std::optional<tbitmap> tdiskthumbmanager::MakeCamTile(const std::string& path, tentry& entry) {
  std::vector<std::uint8_t> data;
  if (!ReadWholeFile(path, data)) return std::nullopt;
  bool isjpeg = false;
  tbitmap picture = source_.CamPreview(data, isjpeg);
  if (picture.Empty()) return std::nullopt;
  entry.camvariant = isjpeg ? cvFine : cvNormal;
  return ComposeTile(tiles_[tpCam], picture, CamThumbnailRect());
}

const tdiskthumbmanager::tentry* tdiskthumbmanager::Entry(int n) const {
  if (n < 1 || n > static_cast<int>(entries_.size())) return nullptr;
  return &entries_[static_cast<std::size_t>(n - 1)];
}

bool tdiskthumbmanager::HasThumbnail(int n) const {
  const tentry* e = Entry(n);
  return e && e->thumbnail.has_value();
}

bool tdiskthumbmanager::ThumbnailFailed(int n) const {
  const tentry* e = Entry(n);
  return e && e->failed;
}

tbitmap tdiskthumbmanager::Thumbnail(int n) const {
  if (const tentry* e = Entry(n); e && e->thumbnail) return *e->thumbnail;
  switch (collection_.Kind(n)) {
    case ikJpeg:
      return tiles_[tpJpegWaiting];
    case ikCam:
      return tiles_[tpCam];
    case ikAvi:
      return tiles_[tpAvi];
    default:
      return tbitmap();
  }
}

const tbitmap& tdiskthumbmanager::CellPicture(int n) const {
  const tentry* e = Entry(n);
  switch (collection_.Kind(n)) {
    case ikFolder:
      return collection_.DisplayName(n) == ".." ? tiles_[tpParent] : tiles_[tpFolder];
    case ikAvi:
      return tiles_[tpAvi];
    case ikJpeg:
      return e && e->thumbnail ? *e->thumbnail : tiles_[tpJpegWaiting];
    case ikCam:
      return e && e->thumbnail ? *e->thumbnail : tiles_[tpCam];
    case ikOther:
      break;
  }
  return n >= 1 && n <= Count() ? tiles_[tpOther] : empty_;
}

int tdiskthumbmanager::CamVariant(int n) const {
  const tentry* e = Entry(n);
  return e ? static_cast<int>(e->camvariant) : static_cast<int>(cvNotBuilt);
}
int tdiskthumbmanager::PictureWidth(int n) const {
  const tentry* e = Entry(n);
  return e ? e->width : 0;
}
int tdiskthumbmanager::PictureHeight(int n) const {
  const tentry* e = Entry(n);
  return e ? e->height : 0;
}

std::vector<std::string> tdiskthumbmanager::SelectedPaths(
    std::initializer_list<titemkind> kinds) const {
  std::vector<std::string> out;
  for (int n = 1; n <= Count(); ++n)
    if (selection_.Selected(n) &&
        std::find(kinds.begin(), kinds.end(), collection_.Kind(n)) != kinds.end())
      out.push_back(collection_.Path(n));
  return out;
}

int tdiskthumbmanager::SelectedPictureCount() const {
  return static_cast<int>(SelectedPaths({ikCam, ikJpeg, ikAvi}).size());
}

void tdiskthumbmanager::NextItem(tshiftstate state) { selection_.Next(state); }
void tdiskthumbmanager::PreviousItem(tshiftstate state) { selection_.Previous(state); }
void tdiskthumbmanager::MoveToItem(int n) {
  if (n >= 1 && n <= Count()) selection_.SetCurrent(n);
}

void tdiskthumbmanager::Click(int n, tshiftstate state) { selection_.Click(n, state); }

tactivation tdiskthumbmanager::Activate(int n) {
  if (!active_ || n < 1 || n > Count()) return tactivation::None;
  selection_.SetCurrent(n);
  selection_.SetSelected(n, true);
  const std::string path = collection_.Path(n);
  switch (collection_.Kind(n)) {
    case ikFolder:
      SetFolder(path);
      if (hooks_.folderChanged) hooks_.folderChanged();
      return tactivation::FolderOpened;
    case ikCam:
    case ikJpeg:
      if (hooks_.openPicture) hooks_.openPicture();
      return tactivation::OpenPicture;
    case ikAvi:
      if (hooks_.openMovie) hooks_.openMovie(path);
      return tactivation::OpenMovie;
    case ikOther:
      break;
  }
  return tactivation::None;
}

tactivation tdiskthumbmanager::DoubleClick(int n) { return Activate(n); }

void tdiskthumbmanager::KeyDown(tgridkey key) { lastKey_ = key; }

tactivation tdiskthumbmanager::KeyUp(tgridkey key) {
  const bool matched = lastKey_ && *lastKey_ == key;
  lastKey_.reset();
  if (!matched) return tactivation::None;
  if (key == tgridkey::Enter) return Activate(CurrentItem());
  if (key == tgridkey::Delete && hooks_.deletePictures) hooks_.deletePictures();
  return tactivation::None;
}

void tdiskthumbmanager::KeyPress(char c) {
  if (c == 1) selection_.SelectAll();
}

}  // namespace vantlo
