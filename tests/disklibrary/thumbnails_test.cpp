#include <gtest/gtest.h>

#include <cstring>

#include "library/diskthumbmanager.h"
#include "picture/jpegimage.h"
#include "tempfolder.h"

namespace vantlo {
namespace {

using testing::ttempfolder;
using testing::WriteBytes;
using testing::WriteText;

TEST(TileGeometry, FitRule) {
  EXPECT_EQ(FitPictureRect(400, 300), (ttilerect{5, 5, 75, 57}));   // h = 52.5 -> 52
  EXPECT_EQ(FitPictureRect(300, 400), (ttilerect{19, 4, 60, 59}));  // w = 41.25 -> 41
  EXPECT_EQ(FitPictureRect(140, 110), (ttilerect{5, 4, 75, 59}));   // exactly 70 : 55
  EXPECT_EQ(FitPictureRect(1000, 10), (ttilerect{5, 31, 75, 32}));  // h = 0.7 -> 1
  EXPECT_EQ(ExifThumbnailRect(80), (ttilerect{4, 4, 76, 58}));
  EXPECT_EQ(ExifThumbnailRect(68), (ttilerect{6, 4, 74, 58}));
  EXPECT_EQ(CamThumbnailRect(), (ttilerect{8, 7, 72, 55}));
}

TEST(TileGeometry, GridShapeAndCaption) {
  EXPECT_EQ(GridShape(50, 0), (tgridshape{1, 0}));
  EXPECT_EQ(GridShape(330, 9), (tgridshape{4, 3}));
  EXPECT_EQ(GridShape(320, 8), (tgridshape{4, 2}));
  EXPECT_EQ(CellItem(GridShape(320, 8), 1, 2), 7);
  // Names are shown as they are on disk: this file system tells MyPhoto.JPG from Myphoto.jpg.
  EXPECT_EQ(TileCaption("DSC0001.JPG"), "DSC0001.JPG");
  EXPECT_EQ(TileCaption("MyPhoto.JPG"), "MyPhoto.JPG");
  EXPECT_EQ(TileCaption("07dec26001.jpg"), "07dec26001.jpg");
}

TEST(Selection, ClicksAndSteps) {
  tthumbselection s;
  s.Reset(6);
  s.Click(2, {});
  EXPECT_TRUE(s.Selected(2));
  EXPECT_EQ(s.Current(), 2);
  s.Click(2, {});  // a plain click on the only selected item deselects it
  EXPECT_FALSE(s.Selected(2));
  s.Click(2, {});
  s.Click(5, {true, false});  // Shift: 2..5
  EXPECT_EQ(s.SelectedCount(), 4);
  EXPECT_FALSE(s.Selected(1));
  EXPECT_EQ(s.Current(), 2);
  s.Click(4, {false, true});  // Ctrl toggles one
  EXPECT_FALSE(s.Selected(4));
  EXPECT_EQ(s.SelectedCount(), 3);
  s.Click(3, {});  // 3 was selected: a plain click clears all and flips it off
  EXPECT_EQ(s.SelectedCount(), 0);
  EXPECT_EQ(s.Current(), 3);
  s.Next({});
  EXPECT_EQ(s.Current(), 4);
  EXPECT_EQ(s.SelectedCount(), 0);  // the old one deselected, the new one not selected
  s.Click(4, {});
  s.Next({false, true});
  EXPECT_TRUE(s.Selected(4));
  s.Next({});
  s.Next({});
  EXPECT_EQ(s.Current(), 6);
  s.Click(9, {});  // beyond the last item
  EXPECT_FALSE(s.Selected(6));
  s.Invert();
  EXPECT_EQ(s.SelectedCount(), 5);
  s.SelectAll();
  EXPECT_EQ(s.SelectedCount(), 6);
}

// A source that records what was asked for and hands out pictures of given
// sizes, so the order of the thumbnail sources can be checked.
class tfakesource : public tthumbnailsource {
 public:
  bool ExifThumbnail(const std::string& path, tbitmap& thumbnail) override {
    calls.push_back("exif " + std::filesystem::path(path).filename().string());
    if (path.ends_with("exif.jpg")) {
      thumbnail = tbitmap(80, 60);
      return true;
    }
    return false;
  }
  tbitmap DecodeJpeg(std::span<const std::uint8_t> data, int divisor) override {
    calls.push_back("jpeg/" + std::to_string(divisor));
    if (data.size() < 2) throw std::runtime_error("damaged");
    // First byte: width / 8; second: height / 8.
    return tbitmap(data[0] * 8 / divisor, data[1] * 8 / divisor);
  }
  tbitmap CamPreview(std::span<const std::uint8_t> cam, bool& isjpeg) override {
    calls.push_back("cam");
    isjpeg = !cam.empty() && cam[0] == 'J';
    return tbitmap(52, 36);
  }
  std::vector<std::string> calls;
};

TEST(DiskThumbnails, SourcesInOrderAndPictureSize) {
  ttempfolder dir;
  WriteText(dir / "exif.jpg", "x");
  WriteBytes(dir / "big.jpg", {80, 60});  // 640 x 480
  WriteBytes(dir / "small.jpg", {5, 5});  // 40 x 40: eighth, quarter, then full
  WriteBytes(dir / "broken.jpg", {1});
  WriteText(dir / "fine.cam", "J");
  WriteText(dir / "normal.cam", "N");
  tfakesource source;
  tdiskthumbmanager m(source);
  m.SetActive(true);
  m.SetScanFlags(sfJpeg | sfCam);
  m.SetFolder(dir.path());
  ASSERT_EQ(m.Count(), 6);  // big, broken, exif, small, fine, normal
  std::vector<int> made;
  int started = 0, finished = 0;
  m.Hooks().thumbnailMade = [&](int n) { made.push_back(n); };
  m.Hooks().loadingStarted = [&] { ++started; };
  m.Hooks().loadingFinished = [&] { ++finished; };
  int pumps = 0;
  m.LoadAllThumbnails([&] { ++pumps; });
  EXPECT_EQ(started, 1);
  EXPECT_EQ(finished, 1);
  EXPECT_FALSE(m.Loading());
  EXPECT_EQ(made, (std::vector<int>{1, 3, 4, 5, 6}));
  EXPECT_GE(pumps, 5);
  EXPECT_EQ(source.calls, (std::vector<std::string>{"exif big.jpg", "jpeg/8", "exif broken.jpg",
                                                    "jpeg/8", "exif exif.jpg", "exif small.jpg",
                                                    "jpeg/8", "jpeg/4", "jpeg/1", "cam", "cam"}));
  EXPECT_EQ(m.PictureWidth(1), 640);
  EXPECT_EQ(m.PictureHeight(1), 480);
  EXPECT_FALSE(m.HasThumbnail(2));  // keeps its placeholder
  EXPECT_EQ(m.Thumbnail(2), PlainTilePictures()[tpJpegWaiting]);
  EXPECT_EQ(m.PictureWidth(3), 0);  // an EXIF thumbnail records no size
  EXPECT_EQ(m.PictureWidth(4), 40);
  EXPECT_EQ(m.CamVariant(5), cvFine);
  EXPECT_EQ(m.CamVariant(6), cvNormal);
  EXPECT_EQ(CamVariantText(m.CamVariant(6)), "Normal Mode");
  EXPECT_EQ(m.Thumbnail(1).Width(), 80);
  EXPECT_EQ(m.Thumbnail(1).Height(), 80);
}

TEST(DiskThumbnails, IncrementalLoadingStops) {
  ttempfolder dir;
  for (int i = 0; i < 5; ++i) WriteBytes(dir / ("p" + std::to_string(i) + ".jpg"), {80, 60});
  tfakesource source;
  tdiskthumbmanager m(source);
  m.SetScanFlags(sfJpeg);
  m.SetFolder(dir.path());
  m.LoadThumbnails();
  EXPECT_FALSE(m.Loading());  // not active yet: nothing happens
  m.SetActive(true);
  int finished = 0;
  m.Hooks().loadingFinished = [&] { ++finished; };
  m.LoadThumbnails();
  EXPECT_TRUE(m.LoadNextThumbnail());
  EXPECT_TRUE(m.LoadNextThumbnail());
  m.StopLoading();
  EXPECT_FALSE(m.LoadNextThumbnail());
  EXPECT_EQ(finished, 1);
  EXPECT_TRUE(m.HasThumbnail(2));
  EXPECT_FALSE(m.HasThumbnail(3));
  // Starting again builds only what is missing.
  source.calls.clear();
  m.LoadAllThumbnails();
  EXPECT_EQ(source.calls.size(), 6u);  // items 3..5: exif test + eighth decode each
}

TEST(DiskThumbnails, FoldersSelectionAndKeys) {
  ttempfolder dir;
  std::filesystem::create_directory(dir / "sub");
  WriteBytes(dir / "sub/in.jpg", {8, 8});
  WriteBytes(dir / "a.jpg", {8, 8});
  WriteText(dir / "b.cam", "N");
  WriteText(dir / "c.avi", "x");
  tfakesource source;
  tdiskthumbmanager m(source);
  m.SetActive(true);
  m.SetFolder(dir.path());
  ASSERT_EQ(m.Count(), 5);  // .., sub, a.jpg, b.cam, c.avi
  EXPECT_EQ(m.CurrentItem(), 1);
  EXPECT_TRUE(m.Selection().Selected(1));
  EXPECT_EQ(m.CellPicture(1), PlainTilePictures()[tpParent]);
  EXPECT_EQ(m.CellPicture(2), PlainTilePictures()[tpFolder]);
  EXPECT_TRUE(m.Thumbnail(2).Empty());

  m.KeyPress(1);
  EXPECT_EQ(m.SelectedPictureCount(), 3);
  EXPECT_EQ(m.SelectedPaths({ikCam, ikJpeg}),
            (std::vector<std::string>{dir / "a.jpg", dir / "b.cam"}));
  EXPECT_EQ(m.SelectedPaths({ikFolder}).size(), 2u);

  int deletes = 0, opens = 0, folderChanges = 0;
  std::string movie;
  m.Hooks().deletePictures = [&] { ++deletes; };
  m.Hooks().openPicture = [&] { ++opens; };
  m.Hooks().folderChanged = [&] { ++folderChanges; };
  m.Hooks().openMovie = [&](const std::string& p) { movie = p; };
  m.KeyUp(tgridkey::Delete);  // no matching key-down
  EXPECT_EQ(deletes, 0);
  m.KeyDown(tgridkey::Delete);
  m.KeyUp(tgridkey::Delete);
  EXPECT_EQ(deletes, 1);
  EXPECT_EQ(m.DoubleClick(3), tactivation::OpenPicture);
  EXPECT_EQ(m.CurrentPath(), dir / "a.jpg");
  EXPECT_EQ(m.DoubleClick(5), tactivation::OpenMovie);
  EXPECT_EQ(movie, dir / "c.avi");
  m.MoveToItem(2);
  m.KeyDown(tgridkey::Enter);
  EXPECT_EQ(m.KeyUp(tgridkey::Enter), tactivation::FolderOpened);
  EXPECT_EQ(folderChanges, 1);
  EXPECT_EQ(m.CurrentFolder(), dir / "sub/");
  EXPECT_EQ(m.Collection().DisplayName(2), "in.jpg");
  EXPECT_EQ(m.DoubleClick(1), tactivation::FolderOpened);  // ".." goes back up
  EXPECT_EQ(m.CurrentFolder(), dir.path() + "/");

  EXPECT_THROW(m.SetFolder(dir / "missing"), std::runtime_error);
  m.LoadFileList({dir / "b.cam", dir / "a.jpg"});
  EXPECT_EQ(m.CurrentFolder(), "");
  EXPECT_EQ(m.Count(), 2);
  EXPECT_THROW(m.LoadFileList({dir / "a.jpg", dir / "gone.jpg"}), std::runtime_error);
  EXPECT_EQ(m.Count(), 0);
}

TEST(DiskThumbnails, RefreshKeepsTheItemAndRestartsLoading) {
  ttempfolder dir;
  for (int i = 0; i < 4; ++i) WriteBytes(dir / ("p" + std::to_string(i) + ".jpg"), {80, 60});
  tfakesource source;
  tdiskthumbmanager m(source);
  m.SetActive(true);
  m.SetScanFlags(sfJpeg);
  m.SetFolder(dir.path());
  m.MoveToItem(4);
  m.SetAutoload(true);
  EXPECT_TRUE(m.Loading());
  m.LoadNextThumbnail();
  WriteBytes(dir / "p9.jpg", {80, 60});
  m.Refresh();
  EXPECT_EQ(m.Count(), 5);
  EXPECT_EQ(m.CurrentItem(), 4);
  EXPECT_TRUE(m.Loading());
  EXPECT_FALSE(m.HasThumbnail(1));  // the listing was made anew
}

// Real JPEG files through the program's decoders: the tile comes from an
// eighth-scale decode and the picture size is recorded.
TEST(DiskThumbnails, RealJpegAtEighthScale) {
  ttempfolder dir;
  tbitmap picture(1024, 768);
  for (std::size_t i = 0; i < picture.Bytes().size(); ++i)
    picture.Bytes()[i] = static_cast<std::uint8_t>(i * 7);
  WriteBytes(dir / "wide.jpg", CompressJpeg(picture, 80, false));
  WriteBytes(dir / "garbage.jpg", {0xFF, 0xD8, 0xFF, 0x00, 1, 2, 3});
  tpicturethumbsource source;
  tdiskthumbmanager m(source);
  m.SetActive(true);
  m.SetScanFlags(sfJpeg);
  m.SetFolder(dir.path());
  m.LoadAllThumbnails();
  ASSERT_EQ(m.Count(), 2);
  EXPECT_FALSE(m.HasThumbnail(1));  // garbage keeps its placeholder
  ASSERT_TRUE(m.HasThumbnail(2));
  EXPECT_EQ(m.PictureWidth(2), 1024);
  EXPECT_EQ(m.PictureHeight(2), 768);
}

}  // namespace
}  // namespace vantlo
