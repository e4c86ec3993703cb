// The Browse page's thumbnail manager without its widget: the listing of a
// folder (or of found files), one entry per item with its 80 x 80 tile,
// selection and picture size, incremental thumbnail building driven by the
// window ("do the next item" between events), and what clicks and keys do.
// The window draws the tiles and forwards its grid events here. A JPEG
// picture's tile comes from the source's persistent thumbnail cache when it
// holds a fresh entry, and is otherwise decoded and stored there; both ways
// give the same tile.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "library/imagecollection.h"
#include "library/thumbselection.h"
#include "library/thumbsource.h"
#include "library/tilegeometry.h"

namespace vantlo {

// CAM variant of an entry.
enum tcamvariant : std::uint8_t { cvNotBuilt = 0, cvNormal = 1, cvFine = 2 };
// "Type not known", "Normal Mode", "Fine Mode".
std::string CamVariantText(int variant);

// The keys the grid forwards.
enum class tgridkey { Enter, Delete, Other };

// What a double-click or Enter did.
enum class tactivation { None, FolderOpened, OpenPicture, OpenMovie };

class tdiskthumbmanager {
 public:
  // The six notifications (the seventh, spare hook of the original has no
  // caller and is left out). openMovie asks the window to open an AVI file
  // with the desktop's default program.
  struct thooks {
    std::function<void()> openPicture;
    std::function<void()> deletePictures;
    std::function<void()> folderChanged;
    std::function<void()> loadingStarted;
    std::function<void()> loadingFinished;
    std::function<void(int item)> thumbnailMade;
    std::function<void(const std::string& path)> openMovie;
  };

  explicit tdiskthumbmanager(tthumbnailsource& source, ttilepictures tiles = PlainTilePictures());

  thooks& Hooks() { return hooks_; }
  // False until the main window has been shown: loading and activating do
  // nothing before.
  void SetActive(bool active) { active_ = active; }
  bool Active() const { return active_; }

  // Lists a folder (absolute path; "" clears). Raises "<path> : directory
  // does not exist". The folder is canonicalised (so ".." is resolved)
  // without touching the process's current directory.
  void SetFolder(const std::string& path);
  const std::string& CurrentFolder() const { return folder_; }
  // Lists the current folder again and returns to the same item number;
  // errors are swallowed.
  void Refresh();
  // Lists explicit files (search results); each must exist ("<path> does
  // not exist", and the listing is left empty).
  void LoadFileList(const std::vector<std::string>& files);

  // Starts building thumbnails; the window then calls LoadNextThumbnail()
  // between its events until it returns false.
  void LoadThumbnails();
  // Builds the next missing thumbnail; false when loading has ended.
  bool LoadNextThumbnail();
  // Runs the whole loop, calling `pump` before each item (tests, tools).
  void LoadAllThumbnails(const std::function<void()>& pump = {});
  // Ends loading before the next item.
  void StopLoading();
  bool Loading() const { return loading_; }

  std::uint8_t ScanFlags() const { return flags_; }
  void SetScanFlags(std::uint8_t flags);  // re-lists when they change
  bool Autoload() const { return autoload_; }
  void SetAutoload(bool on);  // starts loading when switched on

  const timagecollection& Collection() const { return collection_; }
  int Count() const { return collection_.Count(); }

  // Selected paths whose kind is in `kinds`, in item order.
  std::vector<std::string> SelectedPaths(std::initializer_list<titemkind> kinds) const;
  // Selected CAM, JPEG and AVI items.
  int SelectedPictureCount() const;
  const tthumbselection& Selection() const { return selection_; }
  void SelectAll() { selection_.SelectAll(); }
  void SelectNone() { selection_.SelectNone(); }
  void InvertSelection() { selection_.Invert(); }
  void NextItem(tshiftstate state = {});
  void PreviousItem(tshiftstate state = {});
  void MoveToItem(int n);
  int CurrentItem() const { return selection_.Current(); }
  std::string CurrentPath() const { return collection_.Path(selection_.Current()); }

  // Grid events.
  void Click(int n, tshiftstate state);
  tactivation DoubleClick(int n);
  void KeyDown(tgridkey key);
  tactivation KeyUp(tgridkey key);
  void KeyPress(char c);  // Ctrl+A arrives as character 1

  // Item data.
  bool HasThumbnail(int n) const;
  // True when building item n's tile failed (a damaged, unreadable or too
  // large picture): the item shows its placeholder and loading went on.
  bool ThumbnailFailed(int n) const;
  // The built tile, or the placeholder: "B5" JPEG, "B1" CAM, "B7" AVI, an
  // empty bitmap for folders and other files.
  tbitmap Thumbnail(int n) const;
  // The picture a cell shows (folder "..", folder, AVI, JPEG, CAM, other).
  const tbitmap& CellPicture(int n) const;
  int CamVariant(int n) const;
  int PictureWidth(int n) const;
  int PictureHeight(int n) const;

  // Builds item n's tile now (true when it was built); used by the loop.
  // Never throws: a picture that cannot be made into a tile keeps its
  // placeholder.
  bool BuildThumbnail(int n);

 private:
  struct tentry {
    std::optional<tbitmap> thumbnail;
    bool failed = false;
    std::uint8_t camvariant = cvNotBuilt;
    int width = 0;
    int height = 0;
  };
  void List(const std::string& folder);
  void AfterListing();
  void FinishLoading();
  tactivation Activate(int n);
  const tentry* Entry(int n) const;
  std::optional<tbitmap> MakeJpegTile(const std::string& path, tentry& entry);
  std::optional<tbitmap> MakeCamTile(const std::string& path, tentry& entry);

  tthumbnailsource& source_;
  ttilepictures tiles_;
  tbitmap empty_;
  thooks hooks_;
  bool active_ = false;
  bool autoload_ = false;
  bool loading_ = false;
  bool stop_ = true;
  int next_ = 1;
  std::optional<tgridkey> lastKey_;
  std::uint8_t flags_ = kDefaultScanFlags;
  std::string folder_;
  std::vector<tentry> entries_;
  tthumbselection selection_;
  timagecollection collection_;
};

}  // namespace vantlo
