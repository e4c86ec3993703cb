#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "library/atomicfile.h"
#include "app/core/saveasname.h"
#include "app/core/saveasworkflow.h"
#include "app/core/terminalquestion.h"
#include "library/pictureproperties.h"
#include "picture/jpegimage.h"
#include "picture/rawencoder.h"
#include "tempdir.h"

namespace vantlo {
namespace {

TEST(SaveAsName, ProposalAndEndings) {
  EXPECT_EQ(SaveAsProposal("/a/x.cam"), "x");
  EXPECT_EQ(SaveAsProposal("/pics/06dec26005.JPG"), "06dec26005");
  EXPECT_EQ(SaveAsProposal("movie.Avi"), "movie");
  EXPECT_EQ(SaveAsProposal("/a/b.png"), "b.png");
  EXPECT_EQ(SaveAsProposal("/a/.jpg"), "");
  EXPECT_EQ(EnsureEnding("y", ".cam"), "y.cam");
  EXPECT_EQ(EnsureEnding("y.CAM", ".cam"), "y.CAM");
  EXPECT_EQ(EnsureEnding("photo.jpg", ".jpg"), "photo.jpg");
  EXPECT_EQ(EnsureEnding("photo.jpeg", ".jpg"), "photo.jpeg.jpg");
  EXPECT_EQ(EnsureEnding("jpg", ".jpg"), "jpg.jpg");  // shorter than 4: always appended
}

TEST(TerminalQuestion, AnswersAndNoTerminal) {
  std::istringstream in("y\n  A\nn\nwhatever\n");
  std::ostringstream out;
  tterminalquestion q(in, out, true);
  EXPECT_EQ(q.AskOverwrite("/p/a.jpg"), toverwriteanswer::yes);
  EXPECT_EQ(q.AskOverwrite("/p/a.jpg"), toverwriteanswer::yesToAll);
  EXPECT_EQ(q.AskOverwrite("/p/a.jpg"), toverwriteanswer::no);
  EXPECT_EQ(q.AskOverwrite("/p/a.jpg"), toverwriteanswer::no);
  EXPECT_EQ(q.AskOverwrite("/p/a.jpg"), toverwriteanswer::no);  // end of input
  EXPECT_NE(out.str().find("Do you want to overwrite /p/a.jpg"), std::string::npos);

  std::istringstream yes("y\n");
  std::ostringstream silent;
  tterminalquestion headless(yes, silent, false);
  EXPECT_EQ(headless.AskOverwrite("/p/a.jpg"), toverwriteanswer::no);
  EXPECT_TRUE(silent.str().empty());
}

}  // namespace
}  // namespace vantlo

namespace vantlo {
namespace {

using testing::TempDir;

std::vector<std::uint8_t> FileBytes(const std::string& path) { return ReadWholeFile(path); }

// Answers from a script and remembers what it was asked.
class tanswers : public toverwritequestion {
 public:
  explicit tanswers(std::vector<toverwriteanswer> a) : answers_(std::move(a)) {}
  toverwriteanswer AskOverwrite(const std::string& path) override {
    asked.push_back(path);
    if (answers_.empty()) return toverwriteanswer::no;
    const auto a = answers_.front();
    answers_.erase(answers_.begin());
    return a;
  }
  std::vector<std::string> asked;

 private:
  std::vector<toverwriteanswer> answers_;
};

bool IsProgressive(const std::vector<std::uint8_t>& jpeg) {
  for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC2) return true;
  return false;
}

class SaveAs : public ::testing::Test {
 protected:
  SaveAs() { naming.outputFolder = dir.path(); }
  std::string Out(const std::string& name) const { return dir / name; }
  tsaveassubject Camera(const TJPEGImage& picture, long n = 3) {
    tsaveassubject s;
    s.kind = tshownkind::cameraPicture;
    s.picture = &picture;
    s.number = n;
    s.camData = [] { return std::vector<std::uint8_t>{'C', 'A', 'M'}; };
    return s;
  }

  TempDir dir;
  tnamingsettings naming;
  tfilenamer namer{naming, [] { return tlocaltime{2026, 12, 6}; }};
  tsaveoptions options;
  tanswers question{{}};
  tsaveasworkflow saveAs{namer, options, &question};
  const tjpegsettings jpeg{85, false};
};

TEST_F(SaveAs, FiltersAreKnownByTheirDialogNames) {
  EXPECT_EQ(SaveAsFilterNamed("JPEG (*.jpg)"), tsaveasfilter::jpeg);
  EXPECT_EQ(SaveAsFilterNamed("CAM (*.cam)"), tsaveasfilter::cam);
  EXPECT_EQ(SaveAsFilterNamed("AVI (*.avi)"), tsaveasfilter::avi);
  EXPECT_FALSE(SaveAsFilterNamed("All files (*)"));
  EXPECT_FALSE(SaveAsFilterNamed(""));
  EXPECT_STREQ(SaveAsFilterInfo(tsaveasfilter::cam).suffix, "cam");
  EXPECT_EQ(tsaveasworkflow::InitialFilter(tshownkind::moviePreview), tsaveasfilter::avi);
  EXPECT_EQ(tsaveasworkflow::InitialFilter(tshownkind::cameraPicture), tsaveasfilter::jpeg);

  // A filter that is none of them is an error; nothing is written (not even as a movie).
  TJPEGImage picture;
  picture.Assign(MakeTestPicture(32, 16, 1));
  std::vector<std::uint8_t> movie{'R', 'I', 'F', 'F'};
  tsaveassubject subject = Camera(picture);
  subject.movieData = &movie;
  const tsaveasresult r = saveAs.Save(subject, Out("x"), "All files (*)", jpeg);
  EXPECT_EQ(r.messageKind, tmessagekind::error);
  EXPECT_FALSE(r.message.empty());
  EXPECT_TRUE(r.saved.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(SaveAs, ProposalsByWhatIsShown) {
  TJPEGImage picture;
  picture.Assign(MakeTestPicture(8, 8, 1));
  EXPECT_EQ(saveAs.Proposal(Camera(picture, 3)), "06dec26003");
  tsaveassubject opened;
  opened.kind = tshownkind::camFile;
  opened.openedFile = "/a/x.CAM";
  EXPECT_EQ(saveAs.Proposal(opened), "x");
  tsaveassubject movie;
  movie.kind = tshownkind::moviePreview;
  movie.number = 12;
  EXPECT_EQ(saveAs.Proposal(movie), "06dec26012");
  EXPECT_FALSE(saveAs.Proposal(tsaveassubject{}));
}

// An unedited JPEG keeps its data byte for byte; an edited picture is compressed with the current
// settings, progressive included.
TEST_F(SaveAs, JpegDataIsWrittenAsItIsAndEditedPicturesWithTheCurrentSettings) {
  const std::vector<std::uint8_t> original = CompressJpeg(MakeTestPicture(64, 48, 2), 60, false);
  TJPEGImage unedited;
  unedited.LoadFromStream(original);
  const tsaveasresult r = saveAs.Save(Camera(unedited), Out("copy"), "JPEG (*.jpg)", {95, true});
  EXPECT_EQ(r.saved, std::vector<std::string>{Out("copy.jpg")});
  EXPECT_EQ(FileBytes(Out("copy.jpg")), original);

  TJPEGImage edited;
  edited.Assign(MakeTestPicture(64, 48, 2));
  saveAs.Save(Camera(edited), Out("edited.JPG"), "JPEG (*.jpg)", {70, true});
  const auto bytes = FileBytes(Out("edited.JPG"));
  EXPECT_TRUE(IsProgressive(bytes));
  EXPECT_EQ(PictureJpegBytes(edited, {70, true}), bytes);
}

// The ending is added before the overwrite rule looks at the name: the final name is asked about.
TEST_F(SaveAs, TheFinalNameIsAskedAboutBeforeItIsReplaced) {
  const std::vector<std::uint8_t> old{'o', 'l', 'd'};
  WriteFileAtomic(Out("06dec26003.jpg"), old);
  TJPEGImage picture;
  picture.Assign(MakeTestPicture(16, 16, 3));

  question = tanswers({toverwriteanswer::no, toverwriteanswer::yes});
  tsaveasresult r = saveAs.Save(Camera(picture), Out("06dec26003"), "JPEG (*.jpg)", jpeg);
  EXPECT_EQ(question.asked, std::vector<std::string>{Out("06dec26003.jpg")});
  EXPECT_EQ(r.skipped, std::vector<std::string>{Out("06dec26003.jpg")});
  EXPECT_EQ(FileBytes(Out("06dec26003.jpg")), old);

  r = saveAs.Save(Camera(picture), Out("06dec26003"), "JPEG (*.jpg)", jpeg);
  EXPECT_EQ(r.saved, std::vector<std::string>{Out("06dec26003.jpg")});
  EXPECT_NE(FileBytes(Out("06dec26003.jpg")), old);

  // With "Overwriting file" off the name is replaced without a question; CAM names too.
  WriteFileAtomic(Out("raw.cam"), old);
  options.confirmOverwrite = false;
  r = saveAs.Save(Camera(picture), Out("raw"), "CAM (*.cam)", jpeg);
  EXPECT_EQ(question.asked.size(), 2u);
  EXPECT_EQ(FileBytes(Out("raw.cam")), (std::vector<std::uint8_t>{'C', 'A', 'M'}));
}

TEST_F(SaveAs, CamAndAviOnlyForWhatHasThem) {
  TJPEGImage picture;
  picture.Assign(MakeTestPicture(16, 16, 4));
  // A CAM file opened from disk: copied with its properties; onto itself: nothing to do.
  const std::vector<std::uint8_t> cam{'Q', 'V', 'C', 'A', 'M'};
  WriteFileAtomic(Out("a.cam"), cam);
  tpictureproperties props;
  props.SetFile(Out("a.cam"));
  props.SetTitle("Pier");
  props.Save();
  tsaveassubject opened;
  opened.kind = tshownkind::camFile;
  opened.picture = &picture;
  opened.openedFile = Out("a.cam");
  EXPECT_EQ(saveAs.Save(opened, Out("b"), "CAM (*.cam)", jpeg).saved,
            std::vector<std::string>{Out("b.cam")});
  EXPECT_EQ(FileBytes(Out("b.cam")), cam);
  tpictureproperties copied;
  copied.SetFile(Out("b.cam"));
  copied.Load();
  EXPECT_EQ(copied.Title(), "Pier");
  EXPECT_TRUE(saveAs.Save(opened, Out("a"), "CAM (*.cam)", jpeg).saved.empty());
  EXPECT_TRUE(question.asked.empty());

  // A JPEG file is no camera picture; a camera picture is no movie.
  tsaveassubject jpegFile = opened;
  jpegFile.kind = tshownkind::jpegFile;
  jpegFile.openedFile = Out("j.jpg");
  tsaveasresult r = saveAs.Save(jpegFile, Out("c"), "CAM (*.cam)", jpeg);
  EXPECT_EQ(r.message, tsaveasworkflow::kOnlyCameraAsCam);
  EXPECT_EQ(r.messageKind, tmessagekind::error);
  r = saveAs.Save(Camera(picture), Out("m"), "AVI (*.avi)", jpeg);
  EXPECT_EQ(r.message, tsaveasworkflow::kOnlyAviAsAvi);
  EXPECT_FALSE(std::filesystem::exists(Out("m.avi")));

  // A movie: its data as fetched under ".avi"; as a JPEG there is nothing to save.
  const std::vector<std::uint8_t> avi{'R', 'I', 'F', 'F', 1, 2};
  tsaveassubject movie;
  movie.kind = tshownkind::moviePreview;
  movie.picture = &picture;
  movie.number = 2;
  movie.movieData = &avi;
  EXPECT_EQ(saveAs.Save(movie, Out("clip"), "AVI (*.avi)", jpeg).saved,
            std::vector<std::string>{Out("clip.avi")});
  EXPECT_EQ(FileBytes(Out("clip.avi")), avi);
  r = saveAs.Save(movie, Out("still"), "JPEG (*.jpg)", jpeg);
  EXPECT_EQ(r.message, tsaveasworkflow::kNothingToSave);
  EXPECT_FALSE(std::filesystem::exists(Out("still.jpg")));
}

// A write that fails says why and leaves the existing file as it was.
TEST_F(SaveAs, AFailedWriteKeepsTheOldFileAndSaysWhy) {
  TJPEGImage picture;
  picture.Assign(MakeTestPicture(16, 16, 5));
  try {
    saveAs.Save(Camera(picture), Out("missing/x"), "JPEG (*.jpg)", jpeg);
    FAIL() << "no error";
  } catch (const tfileerror& e) {
    EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos)
        << e.what();
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace vantlo
