// The camera thumbnail manager against the simulated camera on a pseudo-terminal.
#include "app/core/thumbmanager.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "library/atomicfile.h"
#include "camera/qv10int.h"
#include "camera/waiter.h"
#include "picture/camformats.h"
#include "picture/jpegimage.h"
#include "picture/pipeline.h"
#include "tempdir.h"
#include "simulator/simcamera.h"

namespace vantlo {
namespace {

using testing::TempDir;

camsim::Options Camera(camsim::Family family = camsim::Family::classic, int count = 5) {
  camsim::Options o;
  o.family = family;
  o.count = count;
  return o;
}

struct ThumbTest : ::testing::Test {
  explicit ThumbTest(camsim::Options options = Camera(), bool realWaits = false) : camera(options) {
    camera.Start();
    engine = std::make_unique<tqvProtocolEngine>(camera.DevicePath(), 0, false,
                                                 realWaits ? nullptr : &waiter);
    // As at connection time: the engine learns which family it talks to.
    engine->GetCameraType();
    if (engine->HasFileSystem()) {  // and a folder camera shows its first folder
      std::vector<std::string> folders;
      engine->ListFolders(folders);
      if (!folders.empty()) engine->ChangeFolder(folders.front());
    }
    manager = std::make_unique<tthumbmanager>(*engine, pipeline, base.path());
  }
  // Commands the camera answered that start with `prefix`.
  long Commands(const std::string& prefix) {
    auto log = camera.CommandLog();
    return std::count_if(log.begin(), log.end(),
                         [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
  }
  long Transfers() { return camera.Stats().transfers; }
  std::vector<std::uint8_t> File(const std::string& path) { return ReadWholeFile(path); }

  TempDir base;
  camsim::SimulatedCamera camera;
  trecordingwaiter waiter;
  std::unique_ptr<tqvProtocolEngine> engine;
  tpicturepipeline pipeline;
  std::unique_ptr<tthumbmanager> manager;
};

TEST_F(ThumbTest, FetchAllLoadsEachThumbnailOnceAndCallsTheHook) {
  std::vector<int> seen;
  manager->OnThumbnail = [&](int n, bool&) { seen.push_back(n); };
  manager->FetchAllThumbnails();
  EXPECT_EQ(manager->Count(), 5);
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5}));
  for (int n = 1; n <= 5; ++n) {
    ASSERT_TRUE(manager->HasThumbnail(n));
    EXPECT_EQ(manager->Thumbnail(n)->Width(), 52);
    EXPECT_EQ(manager->Thumbnail(n)->Height(), 36);
  }
  EXPECT_FALSE(manager->HasThumbnail(6));
  const long transfers = Transfers();
  seen.clear();
  manager->FetchAllThumbnails();  // all loaded: no thumbnail crosses the line again
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(Transfers(), transfers);
}

TEST_F(ThumbTest, HookStopEndsFetchAll) {
  manager->OnThumbnail = [&](int n, bool& stop) { stop = n == 2; };
  manager->FetchAllThumbnails();
  EXPECT_TRUE(manager->HasThumbnail(2));
  EXPECT_FALSE(manager->HasThumbnail(3));
}

TEST_F(ThumbTest, RangeChecks) {
  for (int n : {0, 6}) {
    try {
      manager->FetchThumbnail(n);
      FAIL() << n;
    } catch (const tthumbexception& e) {
      EXPECT_STREQ(e.what(), "Thumbnail out of range");
    }
  }
  for (int n : {0, 301}) {
    try {
      manager->HasThumbnail(n);
      FAIL() << n;
    } catch (const tthumbexception& e) {
      EXPECT_STREQ(e.what(), "Picture number out of range");
    }
  }
  EXPECT_EQ(manager->Thumbnail(0), nullptr);
  EXPECT_EQ(manager->Thumbnail(301), nullptr);
  EXPECT_FALSE(manager->FineFlag(999));
}

TEST_F(ThumbTest, SecondLoadComesFromThePrivateCache) {
  TJPEGImage first, second;
  std::vector<std::string> texts;
  auto progress = [&](int pos, const std::string& text, int n) {
    if (pos == 5 || pos == 60)
      texts.push_back(std::to_string(pos) + " " + text + " " + std::to_string(n));
    return tprogressanswer::carryOn;
  };
  manager->LoadPicture(2, first, progress);
  const long transfers = Transfers();
  manager->LoadPicture(2, second, progress);
  EXPECT_EQ(Transfers(), transfers);
  EXPECT_EQ(first.Bitmap(), second.Bitmap());
  EXPECT_GT(first.Width(), 0);
  EXPECT_EQ(texts, (std::vector<std::string>{"5 Loading picture 2", "60 Processing picture 2",
                                             "5 Loading picture 2", "60 Processing picture 2"}));

  const std::string path = manager->CachePath(2);
  EXPECT_EQ(std::filesystem::path(path).filename(), "2.rcd");
  auto bytes = File(path);
  EXPECT_GE(bytes.back(), 1);
  EXPECT_LE(bytes.back(), 4);
  struct stat st;
  ASSERT_EQ(::stat(std::filesystem::path(path).parent_path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0077, 0u);
  // The private folder sits under the configured cache folder.
  EXPECT_EQ(std::filesystem::path(path).parent_path().parent_path(), base.path());
}

TEST_F(ThumbTest, EmptyOrDamagedCacheFileIsFetchedAgain) {
  TJPEGImage good;
  manager->LoadPicture(3, good);
  const std::string path = manager->CachePath(3);
  const auto original = File(path);

  std::ofstream(path, std::ios::trunc).close();  // empty
  long transfers = Transfers();
  TJPEGImage again;
  manager->LoadPicture(3, again);
  EXPECT_GT(Transfers(), transfers);
  EXPECT_EQ(File(path), original);
  EXPECT_EQ(again.Bitmap(), good.Bitmap());

  // A sound-looking stream whose data does not decode: fetched again, not shown broken.
  std::vector<std::uint8_t> damaged(original.begin(), original.begin() + 40);
  damaged.push_back(original.back());
  WriteFileAtomic(path, damaged);
  transfers = Transfers();
  TJPEGImage third;
  manager->LoadPicture(3, third);
  EXPECT_GT(Transfers(), transfers);
  EXPECT_EQ(third.Bitmap(), good.Bitmap());
  EXPECT_EQ(File(path), original);

  // A kind byte that no camera sends: fetched again for the CAM file too.
  auto badKind = original;
  badKind.back() = 77;
  WriteFileAtomic(path, badKind);
  transfers = Transfers();
  auto cam = manager->CamFileBytes(3);
  EXPECT_GT(Transfers(), transfers);
  std::vector<std::uint8_t> expected;
  RawToCamFile(std::span<const std::uint8_t>(original.data(), original.size() - 1), expected,
               original.back());
  EXPECT_EQ(cam, expected);
}

TEST_F(ThumbTest, SaveRawPictureWritesTheCamFile) {
  TempDir out;
  manager->SaveRawPicture(1, out / "x.cam");
  auto stream = File(manager->CachePath(1));
  std::vector<std::uint8_t> expected;
  RawToCamFile(std::span<const std::uint8_t>(stream.data(), stream.size() - 1), expected,
               stream.back());
  EXPECT_EQ(File(out / "x.cam"), expected);
  TJPEGImage fromCam;
  pipeline.LoadCamFile(expected, fromCam);
  EXPECT_GT(fromCam.Width(), 0);
}

TEST_F(ThumbTest, DeletingThreeOfFiveRenumbersThumbnailsAndCache) {
  manager->FetchThumbnail(4);
  manager->FetchThumbnail(5);
  const tbitmap old4 = *manager->Thumbnail(4);
  const tbitmap old5 = *manager->Thumbnail(5);
  ASSERT_NE(old4, old5);
  auto old4cache = manager->CacheStream(4);
  ASSERT_FALSE(std::filesystem::exists(manager->CachePath(5)));

  manager->DeletePicture(3);
  EXPECT_EQ(manager->Count(), 4);
  EXPECT_EQ(engine->GetPictureCount(), 4);
  ASSERT_NE(manager->Thumbnail(3), nullptr);
  ASSERT_NE(manager->Thumbnail(4), nullptr);
  EXPECT_EQ(*manager->Thumbnail(3), old4);
  EXPECT_EQ(*manager->Thumbnail(4), old5);
  EXPECT_EQ(manager->Thumbnail(5), nullptr);
  EXPECT_EQ(File(manager->CachePath(3)), old4cache);
  EXPECT_FALSE(std::filesystem::exists(manager->CachePath(4)));

  // The cached data really is the camera's new picture 3.
  const long transfers = Transfers();
  EXPECT_EQ(manager->CacheStream(3), old4cache);
  EXPECT_EQ(Transfers(), transfers);
  EXPECT_THROW(manager->DeletePicture(5), tthumbexception);
}

TEST_F(ThumbTest, DeleteAllClearsEverything) {
  manager->FetchAllThumbnails();
  manager->CacheStream(1);
  manager->DeleteAllPictures();
  EXPECT_EQ(manager->Count(), 0);
  EXPECT_EQ(engine->GetPictureCount(), 0);
  EXPECT_EQ(manager->Thumbnail(1), nullptr);
  EXPECT_FALSE(std::filesystem::exists(manager->CachePath(1)));
}

TEST_F(ThumbTest, CacheFolderRemovedWithTheManager) {
  manager->CacheStream(1);
  const auto folder = std::filesystem::path(manager->CachePath(1)).parent_path();
  ASSERT_TRUE(std::filesystem::exists(folder));
  manager.reset();
  EXPECT_FALSE(std::filesystem::exists(folder));
}

struct FileSystemThumbTest : ThumbTest {
  FileSystemThumbTest() : ThumbTest(Camera(camsim::Family::filesystem, 3), true) {}
};

TEST_F(FileSystemThumbTest, CameraThatCannotDeleteIsLeftUntouched) {
  ASSERT_EQ(manager->RefreshCount(), 3);
  ASSERT_NO_THROW(manager->CacheStream(2));
  const auto cache = File(manager->CachePath(2));
  for (auto call : {0, 1}) {
    try {
      if (call == 0)
        manager->DeletePicture(2);
      else
        manager->DeleteAllPictures();
      FAIL();
    } catch (const tthumbexception& e) {
      EXPECT_STREQ(e.what(),
                   "It is not possible to delete pictures from this camera using the serial link");
    }
  }
  EXPECT_EQ(manager->Count(), 3);
  EXPECT_EQ(camera.PictureCount(), 3);
  EXPECT_EQ(File(manager->CachePath(2)), cache);
}

TEST(ClampPictureCount, Above300IsClampedWithAMessage) {
  std::string message;
  EXPECT_EQ(ClampPictureCount(400, message), 300);
  EXPECT_EQ(message, "The camera holds 400 pictures; only the first 300 can be shown and fetched");
  EXPECT_EQ(ClampPictureCount(300, message), 300);
  EXPECT_TRUE(message.empty());
  EXPECT_EQ(ClampPictureCount(-3, message), 0);
  EXPECT_EQ(ClampPictureCount(0, message), 0);
}

struct PhantomThumbTest : ThumbTest {
  static camsim::Options Opts() {
    auto o = Camera();
    o.faults.countOverride = 7;  // the camera claims 7 but holds 5
    return o;
  }
  PhantomThumbTest() : ThumbTest(Opts()) {}
};

TEST_F(PhantomThumbTest, FailedThumbnailFetchLeavesTheSlotEmpty) {
  EXPECT_ANY_THROW(manager->FetchThumbnail(7));
  EXPECT_FALSE(manager->HasThumbnail(7));
  EXPECT_EQ(manager->Thumbnail(7), nullptr);
}

}  // namespace
}  // namespace vantlo
