// Faults of the original behaviour that the engine mends, driven by a
// scripted camera: folder climbs that never reach the top, leaving PREVIEW on
// error paths, time-outs restored after failures, picture numbers that do
// not fit the wire, file-system fetches outside the file list.
#include <gtest/gtest.h>

#include "camera/qv10int.h"
#include "tests/camera/scriptcamera.h"

namespace vantlo {
namespace {

using test::EndPacket;
using test::Packet;
using test::tbytes;
using test::tscriptanswer;
using test::tscriptcamera;

tbytes Names(std::initializer_list<const char*> names) {
  tbytes out;
  for (const char* n : names) {
    out.insert(out.end(), n, n + std::char_traits<char>::length(n));
    out.push_back(0);
  }
  return out;
}

// A file-system camera: "XC" and "ZD" answer, "ZD" reaches the top after
// `depth` steps, folders and files as given.
struct FileSystemScript {
  int depth = 2;
  bool zdEverTop = true;
  bool failPreviewTransfer = false;
  tscriptanswer operator()(const tbytes& c) {
    const std::string letters(c.begin(), c.begin() + 2);
    const std::string arg(c.begin() + 2, c.end());
    tscriptanswer a;
    if (letters == "XC" || letters == "BC") a.data = {0};
    if (letters == "ZD") {
      const bool top = zdEverTop && depth == 0;
      if (depth > 0) --depth;
      a.data = {static_cast<std::uint8_t>(top ? 0xFF : 0x00)};
    }
    if (letters == "CD") {
      ++depth;
      a.data = {0};
    }
    if (letters == "ZE")
      a.packets = {Packet(Names({"CIMG0001.JPG", "NOTE.TXT", "MOV0002.avi"})), EndPacket()};
    if (letters == "ZH") a.packets = {Packet(Names({"100CASIO", "MISC", ""})), EndPacket()};
    if (letters == "ZG") {
      if (failPreviewTransfer) {
        a.packets = {Packet({1}, true), Packet({1}, true), Packet({1}, true)};
      } else {
        a.packets = {Packet({0xFF, 0xD8, 0xFF, 0xD9}), EndPacket()};
      }
    }
    return a;
  }
};

struct MendedTest : ::testing::Test {
  tscriptcamera camera;
  trecordingwaiter waiter;
  tqvProtocolEngine engine{camera.DevicePath(), 0, false, &waiter};
  void SetUp() override {
    ASSERT_TRUE(engine.Port().IsOpen());
    engine.Port().SetReadTimeout(300);
  }
  void BecomeFileSystemCamera(FileSystemScript script) {
    camera.SetHandler(script);
    ASSERT_EQ(engine.GetCameraType(), 2);
    ASSERT_TRUE(engine.KnownFileSystem());
  }
  std::size_t CountCommand(const std::string& text) {
    const auto log = camera.Commands();
    return static_cast<std::size_t>(std::count(log.begin(), log.end(), text));
  }
};

TEST_F(MendedTest, FolderClimbGivesUpAfterABoundedNumberOfSteps) {
  FileSystemScript script;
  script.zdEverTop = false;
  BecomeFileSystemCamera(script);
  std::vector<std::string> folders = {"stale"};
  engine.ListFolders(folders);
  EXPECT_TRUE(folders.empty());
  // One "ZD" of the identification, then the bounded climb.
  EXPECT_EQ(CountCommand("ZD"), 1u + tqvProtocolEngine::kMaxFolderClimb);
  engine.ChangeFolder("100CASIO");
  EXPECT_TRUE(engine.CurrentFolder().empty());
}

TEST_F(MendedTest, FolderListKeepsPictureFolders) {
  BecomeFileSystemCamera({});
  std::vector<std::string> folders;
  engine.ListFolders(folders);
  EXPECT_EQ(folders, std::vector<std::string>{"100CASIO"});
  std::vector<std::string> files;
  engine.ListFiles(files);
  // Only .JPG and .AVI names, in camera order, any case.
  EXPECT_EQ(files, (std::vector<std::string>{"CIMG0001.JPG", "MOV0002.avi"}));
}

TEST_F(MendedTest, PreviewIsLeftAfterAFailedTransfer) {
  FileSystemScript script;
  script.failPreviewTransfer = true;
  BecomeFileSystemCamera(script);
  engine.ChangeFolder("100CASIO");
  ASSERT_EQ(engine.CurrentFolder(), "100CASIO");
  tbytes jpeg;
  EXPECT_THROW(engine.FetchPreviewThumbnailData(1, jpeg), tqvnotconnected);
  const auto log = camera.WaitCommands(0);
  const auto preview = std::find(log.begin(), log.end(), "CD 50 52 45 56 49 45 57 00");
  ASSERT_NE(preview, log.end());
  // After the preview fetch: climb, DCIM, the picture folder again.
  const std::vector<std::string> tail(preview + 2, log.end());
  ASSERT_GE(tail.size(), 2u);
  EXPECT_EQ(tail.back(), "CD 31 30 30 43 41 53 49 4F 00");
}

TEST_F(MendedTest, PreviewOfAMovieFetchesItsJpegAndReturns) {
  BecomeFileSystemCamera({});
  engine.ChangeFolder("100CASIO");
  tbytes jpeg;
  EXPECT_TRUE(engine.FetchPreviewThumbnailData(2, jpeg));
  EXPECT_EQ(jpeg, (tbytes{0xFF, 0xD8, 0xFF, 0xD9}));
  const auto log = camera.Commands();
  // "ZG" + "MOV0002.JPG" + NUL: the movie's preview picture.
  EXPECT_NE(std::find(log.begin(), log.end(), "ZG 4D 4F 56 30 30 30 32 2E 4A 50 47 00"), log.end());
  EXPECT_EQ(log.back(), "CD 31 30 30 43 41 53 49 4F 00");
}

TEST_F(MendedTest, FileSystemFetchOutsideTheListIsAnIllegalNumber) {
  BecomeFileSystemCamera({});
  tbytes stream;
  EXPECT_THROW(engine.FetchPicture(3, stream), tqvbadpicnum);
  EXPECT_THROW(engine.FetchPicture(0, stream), tqvbadpicnum);
  EXPECT_THROW(engine.FetchPreviewThumbnailData(-1, stream), tqvbadpicnum);
  EXPECT_EQ(engine.FetchPicture(2, stream), kKindAviFile);
  EXPECT_EQ(engine.FetchPicture(1, stream), kKindJpegFile);
  EXPECT_EQ(stream, (tbytes{0xFF, 0xD8, 0xFF, 0xD9}));
}

TEST_F(MendedTest, FileSystemCameraDeletesNothing) {
  BecomeFileSystemCamera({});
  const auto before = camera.Commands().size();
  engine.DeletePicture(1);
  engine.DeleteAllPictures();
  EXPECT_EQ(camera.Commands().size(), before);
}

// A classic camera: the family probe "XC" goes unanswered.
tscriptanswer ClassicAnswer(const tbytes& c) {
  tscriptanswer a;
  if (c[0] == 'X' && c[1] == 'C') a.noChecksum = true;
  if (c[0] == 'M' && c[1] == 'P') a.data = {255};
  if (c[0] == 'D' && c[1] == 'Y') a.data = {1};
  return a;
}

TEST_F(MendedTest, ClassicNumbersAbove255AreIllegal) {
  camera.SetHandler(ClassicAnswer);
  EXPECT_THROW(engine.SelectThumbnail(256), tqvbadpicnum);
  EXPECT_THROW(engine.SelectPicture(256), tqvbadpicnum);
  EXPECT_THROW(engine.IsFinePicture(300), tqvbadpicnum);
  EXPECT_THROW(engine.DeletePicture(256), tqvbadpicnum);
  // Nothing but handshakes and the family probe reached the camera.
  EXPECT_EQ(camera.Commands(), std::vector<std::string>{"XC"});
  engine.SelectThumbnail(255);
  EXPECT_EQ(camera.Commands().back(), "DH FF");
}

TEST_F(MendedTest, ReadTimeoutIsRestoredWhenACommandFails) {
  engine.SetKnownFamily(kCameraClassic, false);  // no probe: every enquiry below is scripted
  engine.Port().SetReadTimeout(100);
  // The check passes, then the camera refuses the "MP" exchange (11 NAKs),
  // while the count's 7000 ms time-out is in force.
  camera.QueueEnquiryAnswers({0x06});
  camera.QueueEnquiryAnswers(tbytes(11, 0x15));
  EXPECT_THROW(engine.GetPictureCount(), tqvnotconnected);
  EXPECT_EQ(engine.Port().Params().ReadTimeout, 100);
  // The same for taking a picture (12000 ms).
  camera.QueueEnquiryAnswers({0x06});
  camera.QueueEnquiryAnswers(tbytes(11, 0x15));
  EXPECT_THROW(engine.TakePicture(), tqvnotconnected);
  EXPECT_EQ(engine.Port().Params().ReadTimeout, 100);
}

TEST_F(MendedTest, ExtendedNumbersMustFitTwoBytes) {
  camera.SetHandler([](const tbytes& c) {
    tscriptanswer a;
    if (c[0] == 'X' && c[1] == 'C') a.data = {0};
    return a;
  });
  ASSERT_EQ(engine.GetCameraType(), 2);
  tbytes stream;
  EXPECT_THROW(engine.FetchThumbnailData(0, stream), tqvbadpicnum);
  EXPECT_THROW(engine.FetchThumbnailData(70000, stream), tqvbadpicnum);
}

}  // namespace
}  // namespace vantlo
