#include "app/core/picturesaver.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "library/atomicfile.h"
#include "tempdir.h"

namespace vantlo {
namespace {

using testing::TempDir;

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }
tbytesource Source(const std::string& s) {
  return [s] { return Bytes(s); };
}
std::string Content(const std::string& path) {
  auto b = ReadWholeFile(path);
  return {b.begin(), b.end()};
}

// Answers from a script and remembers what it was asked.
class ScriptedQuestion : public toverwritequestion {
 public:
  explicit ScriptedQuestion(std::vector<toverwriteanswer> answers) : answers_(std::move(answers)) {}
  toverwriteanswer AskOverwrite(const std::string& path) override {
    asked.push_back(path);
    if (answers_.empty()) throw std::logic_error("asked too often");
    auto a = answers_.front();
    answers_.erase(answers_.begin());
    return a;
  }
  std::vector<std::string> asked;

 private:
  std::vector<toverwriteanswer> answers_;
};

class SaverTest : public ::testing::Test {
 protected:
  SaverTest() { settings.outputFolder = dir.path(); }
  std::string Out(const std::string& name) { return dir.path() + "/" + name; }

  TempDir dir;
  tnamingsettings settings;
  tfilenamer namer{settings, [] { return tlocaltime{2026, 12, 6}; }};
  tsaveoptions options;
};

TEST_F(SaverTest, FreshNamesAreWrittenWithoutAsking) {
  ScriptedQuestion q({});
  tpicturesaver saver(namer, options, &q);
  auto r = saver.SaveFetchedPicture(5, Source("cam"), Source("jpeg"));
  EXPECT_EQ(r.saved, (std::vector<std::string>{Out("06dec26005.cam"), Out("06dec26005.jpg")}));
  EXPECT_TRUE(r.skipped.empty());
  EXPECT_EQ(Content(Out("06dec26005.cam")), "cam");
  EXPECT_EQ(Content(Out("06dec26005.jpg")), "jpeg");
  EXPECT_TRUE(q.asked.empty());
}

TEST_F(SaverTest, CamFollowsTheSameRuleAsJpeg) {
  {
    ScriptedQuestion q({});
    tpicturesaver saver(namer, options, &q);
    saver.SaveFetchedPicture(5, Source("old cam"), Source("old jpeg"));
  }
  // Second fetch of a different picture 5: "No" to the CAM, "Yes" to the JPEG.
  ScriptedQuestion q({toverwriteanswer::no, toverwriteanswer::yes});
  tpicturesaver saver(namer, options, &q);
  auto r = saver.SaveFetchedPicture(5, Source("new cam"), Source("new jpeg"));
  EXPECT_EQ(q.asked, (std::vector<std::string>{Out("06dec26005.cam"), Out("06dec26005.jpg")}));
  EXPECT_EQ(Content(Out("06dec26005.cam")), "old cam");
  EXPECT_EQ(Content(Out("06dec26005.jpg")), "new jpeg");
  EXPECT_EQ(r.skipped, std::vector<std::string>{Out("06dec26005.cam")});
  EXPECT_EQ(r.saved, std::vector<std::string>{Out("06dec26005.jpg")});
}

TEST_F(SaverTest, YesToAllSwitchesConfirmationOffForLaterSaves) {
  {
    tpicturesaver first(namer, options, nullptr);
    first.SaveFetchedPicture(1, Source("a"), Source("a"));
    first.SaveFetchedPicture(2, Source("a"), Source("a"));
  }
  int notified = 0;
  ScriptedQuestion q({toverwriteanswer::yesToAll});
  tpicturesaver saver(namer, options, &q, [&] { ++notified; });
  saver.SaveFetchedPicture(1, Source("b"), Source("b"));
  saver.SaveFetchedPicture(2, Source("b"), Source("b"));
  EXPECT_EQ(q.asked.size(), 1u);
  EXPECT_FALSE(options.confirmOverwrite);
  EXPECT_EQ(notified, 1);
  for (auto n : {"06dec26001.cam", "06dec26001.jpg", "06dec26002.cam", "06dec26002.jpg"}) {
    EXPECT_EQ(Content(Out(n)), "b") << n;
  }
}

TEST_F(SaverTest, ConfirmationOffOverwritesWithoutAsking) {
  options.confirmOverwrite = false;
  ScriptedQuestion q({});
  tpicturesaver saver(namer, options, &q);
  saver.SaveMovie(3, Source("one"));
  auto r = saver.SaveMovie(3, Source("two"));
  EXPECT_EQ(Content(Out("06dec26003.avi")), "two");
  EXPECT_EQ(r.saved.size(), 1u);
}

TEST_F(SaverTest, NoOneToAskSkipsAndReportsWithoutProducingBytes) {
  tpicturesaver saver(namer, options, nullptr);
  saver.SaveMovie(3, Source("one"));
  bool produced = false;
  auto r = saver.SaveMovie(3, [&] {
    produced = true;
    return Bytes("two");
  });
  EXPECT_FALSE(produced);
  EXPECT_EQ(r.skipped, std::vector<std::string>{Out("06dec26003.avi")});
  EXPECT_EQ(Content(Out("06dec26003.avi")), "one");
}

TEST_F(SaverTest, OptionsChooseWhatIsSaved) {
  options.saveCam = false;
  tpicturesaver saver(namer, options, nullptr);
  auto r = saver.SaveFetchedPicture(1, Source("c"), Source("j"));
  EXPECT_EQ(r.saved, std::vector<std::string>{Out("06dec26001.jpg")});
  EXPECT_TRUE(saver.SaveThumbnail(1, Source("t")).saved.empty());  // "Thumbnails" off
  options.saveThumbnails = true;
  EXPECT_EQ(saver.SaveThumbnail(1, Source("t")).saved,
            std::vector<std::string>{Out("th06dec26001.jpg")});
  EXPECT_EQ(saver.SaveContactSheet(1, Source("s")).saved,
            std::vector<std::string>{Out("cs06dec26001.jpg")});
}

TEST_F(SaverTest, JpegWriteRetriedOnceThenFailurePropagates) {
  tpicturesaver saver(namer, options, nullptr);
  options.saveCam = false;
  int calls = 0;
  auto flaky = [&] {
    if (++calls == 1) throw std::runtime_error("encoder hiccup");
    return Bytes("ok");
  };
  EXPECT_EQ(saver.SaveFetchedPicture(1, Source(""), flaky).saved.size(), 1u);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(Content(Out("06dec26001.jpg")), "ok");

  calls = 0;
  auto broken = [&]() -> std::vector<std::uint8_t> {
    ++calls;
    throw std::runtime_error("encoder broken");
  };
  EXPECT_THROW(saver.SaveFetchedPicture(2, Source(""), broken), std::runtime_error);
  EXPECT_EQ(calls, 2);
  EXPECT_FALSE(std::filesystem::exists(Out("06dec26002.jpg")));
}

TEST_F(SaverTest, SavesGoIntoTheDailyFolder) {
  settings.dailyFolder = true;
  tpicturesaver saver(namer, options, nullptr);
  auto r = saver.SaveFetchedPicture(4, Source("c"), Source("j"));
  EXPECT_EQ(r.saved[1], Out("06dec26/06dec26004.jpg"));
  EXPECT_EQ(namer.CreatedFolders().size(), 1u);
}

TEST(AtomicFile, WritesWholeFileLeavesNoTempAndRespectsMode) {
  TempDir dir;
  WriteFileAtomic(dir / "f", Bytes("first"));
  WriteFileAtomic(dir / "f", Bytes("second"), 0600);
  EXPECT_EQ(Content(dir / "f"), "second");
  struct stat st;
  ASSERT_EQ(::stat((dir / "f").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  int entries = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1);
  EXPECT_THROW(WriteFileAtomic(dir / "missing/f", Bytes("x")), tfileerror);
  EXPECT_THROW(ReadWholeFile(dir / "missing"), tfileerror);
}

// Keeping an existing file: a taken name fails with EEXIST and its file is untouched, a free
// name is written; no temporary file is left either way.
TEST(AtomicFile, KeepingAnExistingFileNeverReplacesIt) {
  TempDir dir;
  WriteFileAtomic(dir / "taken", Bytes("older"));
  try {
    WriteFileAtomic(dir / "taken", Bytes("newer"), 0666, texisting::keep);
    ADD_FAILURE() << "replaced";
  } catch (const tfileerror& e) {
    EXPECT_EQ(e.Error(), EEXIST);
  }
  EXPECT_EQ(Content(dir / "taken"), "older");
  WriteFileAtomic(dir / "free", Bytes("new"), 0666, texisting::keep);
  EXPECT_EQ(Content(dir / "free"), "new");
  int entries = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 2);
}

}  // namespace
}  // namespace vantlo
