#include "library/tidydb.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tempfolder.h"

namespace vantlo {
namespace {

using testing::Exists;
using testing::ttempfolder;
using testing::WriteText;

TEST(TidyDb, RemovesOnlyCompanionsWhosePictureIsGone) {
  ttempfolder dir;
  WriteText(dir / "live.jpg", "p");
  WriteText(dir / "live.QVJ", "c");
  WriteText(dir / "UPPER.JPG", "p");
  WriteText(dir / "upper.QVJ", "c");  // picture in another letter case: kept
  WriteText(dir / "Mixed.cam", "p");
  WriteText(dir / "MIXED.qvc", "c");
  WriteText(dir / "gone.QVJ", "c");
  WriteText(dir / "sub/deeper/gone.QVC", "c");
  WriteText(dir / "sub/movie.QVV", "c");  // a movie's companion is never checked
  WriteText(dir / "sub/odd.QVX", "c");
  std::vector<std::string> texts;
  ttidyresult r = ttidydb().Compress(dir.path(), [&](const std::string& t) {
    texts.push_back(t);
    return true;
  });
  EXPECT_EQ(r.removed, 2);
  EXPECT_TRUE(r.Ok());
  EXPECT_FALSE(Exists(dir / "gone.QVJ"));
  EXPECT_FALSE(Exists(dir / "sub/deeper/gone.QVC"));
  for (auto keep : {"live.QVJ", "upper.QVJ", "MIXED.qvc", "sub/movie.QVV", "sub/odd.QVX"})
    EXPECT_TRUE(Exists(dir / keep)) << keep;
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), "Building directory list...");
  EXPECT_EQ(texts.back(), "Finished Compressing");
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Number of files removed : 2"), texts.end());
}

TEST(TidyDb, NeverFollowsSymbolicLinks) {
  ttempfolder dir, outside;
  WriteText(dir / "a/orphan.QVJ", "c");
  WriteText(outside / "victim.QVJ", "c");  // its picture is gone, but it is not ours
  ASSERT_EQ(::symlink(dir.path().c_str(), (dir / "a/loop").c_str()), 0);
  ASSERT_EQ(::symlink(outside.path().c_str(), (dir / "a/out").c_str()), 0);
  ASSERT_EQ(::symlink((outside / "victim.QVJ").c_str(), (dir / "a/link.QVJ").c_str()), 0);
  ttidyresult r = ttidydb().Compress(dir.path());
  EXPECT_EQ(r.removed, 1);
  EXPECT_TRUE(Exists(outside / "victim.QVJ"));
  EXPECT_TRUE(Exists(dir / "a/link.QVJ"));
}

TEST(TidyDb, FailuresAreReportedAndStopEndsTheRun) {
  ttempfolder dir;
  ttidyresult missing = ttidydb().Compress(dir / "nowhere");
  EXPECT_FALSE(missing.Ok());
  EXPECT_NE(missing.Summary(), "Finished Compressing");
  EXPECT_FALSE(ttidydb().Compress("relative/path").Ok());

  WriteText(dir / "x/gone.QVJ", "c");
  ttidyresult stopped = ttidydb().Compress(
      dir.path(), [](const std::string& t) { return t.rfind("Searching", 0) != 0; });
  EXPECT_TRUE(stopped.stopped);
  EXPECT_TRUE(Exists(dir / "x/gone.QVJ"));
}

}  // namespace
}  // namespace vantlo
