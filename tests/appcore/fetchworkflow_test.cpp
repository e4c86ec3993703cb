// The fetch workflow against the simulated camera, headless: fetching selected and all pictures
// with orientation, caption and correction, the generated names, Stop, movies as AVI, the
// overwrite rule ("Yes to All", nobody to ask), taking pictures and deleting with the k - d
// numbering.
#include "app/core/fetchworkflow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "library/atomicfile.h"
#include "app/core/thumbmanager.h"
#include "camera/qv10int.h"
#include "camera/waiter.h"
#include "picture/colourcorrection.h"
#include "picture/jpegimage.h"
#include "picture/rotation.h"
#include "simulator/simcamera.h"
#include "tempdir.h"

namespace vantlo {
namespace {

using testing::TempDir;

camsim::Options Camera(camsim::Family family, int count) {
  camsim::Options o;
  o.family = family;
  o.count = count;
  return o;
}

// A fixed yes/no/yes-to-all script for the overwrite question, recording what was asked.
class tscriptedquestion : public toverwritequestion {
 public:
  explicit tscriptedquestion(std::vector<toverwriteanswer> answers)
      : answers_(std::move(answers)) {}
  toverwriteanswer AskOverwrite(const std::string& path) override {
    asked.push_back(path);
    if (answers_.empty()) return toverwriteanswer::no;
    auto a = answers_.front();
    answers_.erase(answers_.begin());
    return a;
  }
  std::vector<std::string> asked;

 private:
  std::vector<toverwriteanswer> answers_;
};

// One simulated camera with the engine, the manager and a workflow writing into a temp folder on
// 6 December 2026 with Date1 naming and no daily folder.
class FetchWorkflow : public ::testing::Test {
 protected:
  void Open(camsim::Options options) {
    camera_ = std::make_unique<camsim::SimulatedCamera>(options);
    camera_->Start();
    engine_ = std::make_unique<tqvProtocolEngine>(camera_->DevicePath(), 0, false, &waiter_);
    engine_->GetCameraType();
    if (options.family == camsim::Family::filesystem) {
      // Enter the picture folder, as the window does when it lists the folders.
      std::vector<std::string> folders;
      engine_->ListFolders(folders);
      if (!folders.empty()) engine_->ChangeFolder(folders.front());
    }
    manager_ = std::make_unique<tthumbmanager>(*engine_, *engine_);
    naming_.outputFolder = out_.path();
    namer_ =
        std::make_unique<tfilenamer>(naming_, [] { return tlocaltime{2026, 12, 6, 9, 30, 0}; });
    tfetchhost host;
    host.progress = [this](int, const std::string& text, int) { progress_.push_back(text); };
    host.message = [this](tmessagekind kind, const std::string& text) {
      messages_.push_back({kind, text});
    };
    host.show = [this](const tshownpicture& p) { shown_.push_back(p); };
    host.stopRequested = [this] { return stop_; };
    workflow_ =
        std::make_unique<tfetchworkflow>(*engine_, *manager_, *namer_, options_, settings_, host,
                                         [] { return tlocaltime{2026, 12, 6, 9, 30, 0}; });
  }

  std::string Out(const std::string& name) const { return out_.path() + "/" + name; }

  // The picture data the camera holds for n, fetched directly.
  std::vector<std::uint8_t> CameraData(int n) {
    std::vector<std::uint8_t> data;
    engine_->FetchPicture(n, data);
    return data;
  }

  TempDir out_;
  trecordingwaiter waiter_;
  std::unique_ptr<camsim::SimulatedCamera> camera_;
  std::unique_ptr<tqvProtocolEngine> engine_;
  std::unique_ptr<tthumbmanager> manager_;
  tnamingsettings naming_;
  std::unique_ptr<tfilenamer> namer_;
  tsaveoptions options_;
  tfetchsettings settings_;
  std::unique_ptr<tfetchworkflow> workflow_;
  std::vector<std::string> progress_;
  std::vector<std::pair<tmessagekind, std::string>> messages_;
  std::vector<tshownpicture> shown_;
  bool stop_ = false;
};

TEST_F(FetchWorkflow, SelectedTwoAndFourOfFiveAreTurnedCaptionedCorrectedAndSaved) {
  Open(Camera(camsim::Family::classic, 5));
  settings_.orientation = 1;  // a quarter turn clockwise
  settings_.caption.mode = 2;
  settings_.caption.customText = "Pic <PICNUM>";
  settings_.caption.style.fontName = "DejaVu Sans";
  settings_.correction = {tcorrectionchoice::Manual, 10};
  tcameraselection selection;
  selection.Set(2, true);
  selection.Set(4, true);

  const tfetchresult result = workflow_->FetchSelected(selection);

  EXPECT_TRUE(result.failed.empty());
  EXPECT_FALSE(result.stopped);
  EXPECT_EQ(result.fetched, (std::vector<int>{2, 4}));
  EXPECT_EQ(result.saved, (std::vector<std::string>{Out("06dec26002.cam"), Out("06dec26002.jpg"),
                                                    Out("06dec26004.cam"), Out("06dec26004.jpg")}));
  EXPECT_TRUE(result.skipped.empty());
  EXPECT_FALSE(std::filesystem::exists(Out("06dec26001.jpg")));
  EXPECT_EQ(workflow_->CurrentPicture(), 4);

  ASSERT_EQ(shown_.size(), 2u);
  EXPECT_EQ(shown_[1].number, 4);
  EXPECT_EQ(shown_[1].kind, tshownkind::cameraPicture);
  EXPECT_EQ(shown_[1].description, "picture #4");
  EXPECT_GT(shown_[1].sizeBytes, 0u);
  EXPECT_EQ(shown_[1].correctionStrength, 10);

  // The CAM file holds the camera's picture as it came; the shown picture is that picture turned,
  // captioned and then corrected: the correction of the uncorrected copy gives what is shown.
  TJPEGImage fromCam;
  engine_->LoadCamFile(ReadWholeFile(Out("06dec26004.cam")), fromCam);
  const tbitmap& shown = shown_[1].image.Bitmap();
  EXPECT_EQ(shown.Width(), fromCam.Height());
  EXPECT_EQ(shown.Height(), fromCam.Width());
  tbitmap turned = RotateBitmap(fromCam.Bitmap(), 1);
  EXPECT_NE(shown_[1].uncorrected, turned);  // the caption is on it
  tbitmap corrected = shown_[1].uncorrected;
  ApplyCasioCorrection(corrected, 10);
  EXPECT_EQ(shown, corrected);

  // The JPEG file is the shown picture.
  TJPEGImage fromJpeg;
  fromJpeg.LoadFromFile(Out("06dec26004.jpg"));
  EXPECT_EQ(fromJpeg.Width(), shown.Width());
  EXPECT_EQ(fromJpeg.Height(), shown.Height());

  for (const char* step : {"Loading picture", "Processing picture", "Orienting", "Writing caption",
                           "Correcting", "Ready"})
    EXPECT_NE(std::find(progress_.begin(), progress_.end(), step), progress_.end()) << step;
}

TEST_F(FetchWorkflow, NothingSelectedOrEmptyCameraSaysSoAndFetchesNothing) {
  Open(Camera(camsim::Family::classic, 0));
  tcameraselection selection;
  EXPECT_TRUE(workflow_->FetchSelected(selection).fetched.empty());
  EXPECT_TRUE(workflow_->FetchByNumber(1).fetched.empty());
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[0].first, tmessagekind::information);
  EXPECT_EQ(messages_[0].second,
            "Select one or more Camera Thumbnails to display using the panel on the right");
  EXPECT_EQ(messages_[1].first, tmessagekind::warning);
  EXPECT_EQ(messages_[1].second, "The camera memory is empty");
  EXPECT_TRUE(shown_.empty());
  EXPECT_TRUE(std::filesystem::is_empty(out_.path()));
}

TEST_F(FetchWorkflow, PictureNumberOutsideTheCameraIsRefused) {
  Open(Camera(camsim::Family::classic, 3));
  auto byNumber = workflow_->FetchByNumber(4);
  ASSERT_EQ(byNumber.failed.size(), 1u);
  EXPECT_EQ(byNumber.failed[0].message, "Picture number out of range");
  EXPECT_THROW(workflow_->FetchPicture(4), tthumbexception);
  // The grid's current cell outside 1..count does nothing.
  EXPECT_TRUE(workflow_->FetchCurrent(4).fetched.empty());
  EXPECT_EQ(workflow_->FetchCurrent(3).fetched, std::vector<int>{3});
}

TEST_F(FetchWorkflow, StopDuringAllPicturesEndsAfterThePictureBeingFetched) {
  Open(Camera(camsim::Family::classic, 5));
  options_.saveCam = false;
  // Stop is pressed while picture 2 is on its way (its "Loading picture" step).
  workflow_->Host().progress = [this](int, const std::string& text, int n) {
    if (text == "Loading picture" && n == 2) stop_ = true;
  };
  const tfetchresult result = workflow_->FetchAll();
  EXPECT_TRUE(result.stopped);
  EXPECT_EQ(result.fetched, (std::vector<int>{1, 2}));
  EXPECT_EQ(result.saved, (std::vector<std::string>{Out("06dec26001.jpg"), Out("06dec26002.jpg")}));
  EXPECT_FALSE(std::filesystem::exists(Out("06dec26003.jpg")));
}

TEST_F(FetchWorkflow, FileSystemCameraMovieIsSavedAsAviAndJpegFilesByteForByte) {
  Open(Camera(camsim::Family::filesystem, 5));
  const tfetchresult result = workflow_->FetchAll();
  ASSERT_TRUE(result.failed.empty()) << result.failed[0].message;
  EXPECT_EQ(result.fetched, (std::vector<int>{1, 2, 3, 4, 5}));

  int movies = 0;
  for (int n = 1; n <= 5; ++n) {
    const std::string stem = Out("06dec2600" + std::to_string(n));
    const std::vector<std::uint8_t> data = CameraData(n);
    if (std::filesystem::exists(stem + ".avi")) {
      ++movies;
      EXPECT_EQ(ReadWholeFile(stem + ".avi"), data) << n;
      EXPECT_FALSE(std::filesystem::exists(stem + ".jpg"));
      EXPECT_FALSE(std::filesystem::exists(stem + ".cam"));
      // Shown twice: the preview, then with the movie data and its file.
      auto it = std::find_if(shown_.begin(), shown_.end(),
                             [n](const tshownpicture& p) { return p.number == n; });
      ASSERT_NE(it, shown_.end());
      EXPECT_EQ(it->kind, tshownkind::moviePreview);
      EXPECT_EQ(it->image.Width(), 320);
      ++it;
      ASSERT_NE(it, shown_.end());
      EXPECT_EQ(it->movieData, data);
      EXPECT_EQ(it->movieFile, stem + ".avi");
    } else {
      // A camera JPEG that nothing changes is saved as the camera made it.
      EXPECT_EQ(ReadWholeFile(stem + ".jpg"), data) << n;
      EXPECT_TRUE(std::filesystem::exists(stem + ".cam"));
    }
  }
  EXPECT_GE(movies, 1);
  EXPECT_EQ(workflow_->CurrentPicture(), 5);

  // A second fetch with nobody to ask replaces no AVI (or anything else): skipped and reported.
  const tfetchresult again = workflow_->FetchAll();
  EXPECT_TRUE(again.saved.empty());
  EXPECT_EQ(again.skipped.size(), result.saved.size());
  EXPECT_NE(std::find_if(again.skipped.begin(), again.skipped.end(),
                         [](const std::string& f) { return f.ends_with(".avi"); }),
            again.skipped.end());
}

TEST_F(FetchWorkflow, SecondFetchFollowsTheOverwriteRuleForCamAndJpeg) {
  Open(Camera(camsim::Family::classic, 3));
  ASSERT_EQ(workflow_->FetchPicture(2).saved.size(), 2u);
  const auto camBefore = ReadWholeFile(Out("06dec26002.cam"));
  WriteFileAtomic(Out("06dec26002.cam"), std::vector<std::uint8_t>{1, 2, 3});

  // Nobody to ask: both names are taken, both files are skipped and reported.
  const tfetchresult headless = workflow_->FetchPicture(2);
  EXPECT_TRUE(headless.saved.empty());
  EXPECT_EQ(headless.skipped,
            (std::vector<std::string>{Out("06dec26002.cam"), Out("06dec26002.jpg")}));
  EXPECT_EQ(ReadWholeFile(Out("06dec26002.cam")), (std::vector<std::uint8_t>{1, 2, 3}));

  // "Yes to All" on the CAM question: written, and the JPEG is not asked about.
  tscriptedquestion question({toverwriteanswer::yesToAll});
  int confirmOff = 0;
  workflow_->Host().overwrite = &question;
  workflow_->Host().onConfirmOverwriteOff = [&] { ++confirmOff; };
  const tfetchresult yesToAll = workflow_->FetchPicture(2);
  EXPECT_EQ(question.asked, std::vector<std::string>{Out("06dec26002.cam")});
  EXPECT_EQ(yesToAll.saved.size(), 2u);
  EXPECT_EQ(ReadWholeFile(Out("06dec26002.cam")), camBefore);
  EXPECT_FALSE(options_.confirmOverwrite);
  EXPECT_EQ(confirmOff, 1);
  // And later fetches overwrite without asking.
  EXPECT_EQ(workflow_->FetchPicture(2).saved.size(), 2u);
  EXPECT_EQ(question.asked.size(), 1u);
}

// The JPEG of picture 1 cannot be written (a folder has its name) after its CAM file was: the
// picture failed, the complete CAM file is still listed, and the batch goes on.
TEST_F(FetchWorkflow, CamFileWrittenBeforeAFailedJpegIsListedAsSaved) {
  Open(Camera(camsim::Family::classic, 2));
  options_.confirmOverwrite = false;
  std::filesystem::create_directory(Out("06dec26001.jpg"));
  const tfetchresult result = workflow_->FetchAll(true);
  ASSERT_EQ(result.failed.size(), 1u);
  EXPECT_EQ(result.failed[0].number, 1);
  EXPECT_NE(result.failed[0].message.find(Out("06dec26001.jpg")), std::string::npos)
      << result.failed[0].message;
  EXPECT_EQ(result.saved, (std::vector<std::string>{Out("06dec26001.cam"), Out("06dec26002.cam"),
                                                    Out("06dec26002.jpg")}));
  EXPECT_TRUE(std::filesystem::is_regular_file(Out("06dec26001.cam")));
  EXPECT_EQ(result.fetched, (std::vector<int>{2}));
}

// Fetching again to show the picture as it came (Redisplay, the resize) writes nothing and asks
// nothing, also where the names are taken or free.
TEST_F(FetchWorkflow, RedisplayShowsThePictureAgainWithoutSaving) {
  Open(Camera(camsim::Family::classic, 3));
  ASSERT_EQ(workflow_->FetchPicture(3).saved.size(), 2u);
  std::filesystem::remove(Out("06dec26003.cam"));
  tscriptedquestion question({toverwriteanswer::yes});
  workflow_->Host().overwrite = &question;
  shown_.clear();
  const tfetchresult again = workflow_->RedisplayPicture(3);
  EXPECT_TRUE(again.saved.empty());
  EXPECT_TRUE(again.skipped.empty());
  EXPECT_TRUE(question.asked.empty());
  EXPECT_FALSE(std::filesystem::exists(Out("06dec26003.cam")));
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].number, 3);
  EXPECT_GT(shown_[0].sizeBytes, 0u);
  EXPECT_EQ(workflow_->CurrentPicture(), 3);
  // Saving is on again for the next fetch: the free CAM name is written, the JPEG asked about.
  EXPECT_EQ(workflow_->FetchPicture(3).saved,
            (std::vector<std::string>{Out("06dec26003.cam"), Out("06dec26003.jpg")}));
  EXPECT_EQ(question.asked, std::vector<std::string>{Out("06dec26003.jpg")});
}

TEST_F(FetchWorkflow, DeletingSelectedTwoAndThreeOfFiveAsksAboutTwoTwice) {
  Open(Camera(camsim::Family::classic, 5));
  manager_->RefreshCount();
  const auto former4 = manager_->CacheStream(4);
  const auto former5 = CameraData(5);
  std::vector<int> asked;
  workflow_->Host().confirmDelete = [&](int n, bool& alwaysAsk) {
    asked.push_back(n);
    if (asked.size() == 2) alwaysAsk = false;  // the check box unticked in the second dialog
    return true;
  };
  tcameraselection selection;
  selection.Set(2, true);
  selection.Set(3, true);

  const tfetchresult result = workflow_->DeleteSelected(selection);
  EXPECT_EQ(asked, (std::vector<int>{2, 2}));
  EXPECT_EQ(result.deleted, (std::vector<int>{2, 2}));
  EXPECT_EQ(camera_->PictureCount(), 3);
  EXPECT_EQ(manager_->Count(), 3);
  EXPECT_FALSE(selection.Any());
  EXPECT_FALSE(settings_.askBeforeDelete);  // stored back from the dialog
  // The cache moved with the pictures: the former 4 is now 2, and so is the camera's.
  EXPECT_EQ(ReadWholeFile(manager_->CachePath(2)), former4);
  EXPECT_EQ(CameraData(3), former5);
}

TEST_F(FetchWorkflow, DecliningADeletionKeepsThePictureAndTheTrueNumbers) {
  Open(Camera(camsim::Family::classic, 5));
  const auto original2 = CameraData(2);
  const auto original5 = CameraData(5);
  std::vector<int> asked;
  workflow_->Host().confirmDelete = [&](int n, bool&) {
    asked.push_back(n);
    return asked.size() != 1;  // "No" for the first picture only
  };
  tcameraselection selection;
  for (int n : {2, 3, 4}) selection.Set(n, true);

  const tfetchresult result = workflow_->DeleteSelected(selection);
  // 2 kept; 3 deleted; the former 4 is then picture 3.
  EXPECT_EQ(asked, (std::vector<int>{2, 3, 3}));
  EXPECT_EQ(result.deleted, (std::vector<int>{3, 3}));
  EXPECT_EQ(camera_->PictureCount(), 3);
  EXPECT_EQ(CameraData(2), original2);
  EXPECT_EQ(CameraData(3), original5);
  EXPECT_FALSE(selection.Any());
}

TEST_F(FetchWorkflow, DeletionWithoutAnyoneToAskDeletesNothingUnlessAskingIsOff) {
  Open(Camera(camsim::Family::classic, 4));
  tcameraselection selection;
  selection.Set(1, true);
  EXPECT_TRUE(workflow_->DeleteSelected(selection).deleted.empty());
  EXPECT_EQ(camera_->PictureCount(), 4);

  settings_.askBeforeDelete = false;
  selection.Set(4, true);
  selection.Set(9, true);  // beyond the count: only cleared
  EXPECT_EQ(workflow_->DeleteSelected(selection).deleted, std::vector<int>{4});
  EXPECT_EQ(camera_->PictureCount(), 3);
  EXPECT_FALSE(selection.Any());

  EXPECT_TRUE(workflow_->DeleteSelected(selection).deleted.empty());
  ASSERT_FALSE(messages_.empty());
  EXPECT_EQ(messages_.back().second,
            "Select one or more Camera Thumbnails to delete using the panel on the right");
}

TEST_F(FetchWorkflow, DeleteAllOnlyAfterYes) {
  Open(Camera(camsim::Family::classic, 3));
  std::vector<std::string> questions;
  bool answer = false;
  workflow_->Host().confirm = [&](const std::string& text) {
    questions.push_back(text);
    return answer;
  };
  EXPECT_FALSE(workflow_->DeleteAll());
  EXPECT_EQ(camera_->PictureCount(), 3);
  answer = true;
  EXPECT_TRUE(workflow_->DeleteAll());
  EXPECT_EQ(camera_->PictureCount(), 0);
  EXPECT_EQ(manager_->Count(), 0);
  EXPECT_EQ(questions,
            std::vector<std::string>(
                2, "Are you sure that you want to delete all the pictures from the camera?"));
}

TEST_F(FetchWorkflow, FileSystemCameraRefusesDeletionBeforeAnyQuestion) {
  Open(Camera(camsim::Family::filesystem, 3));
  int asked = 0;
  workflow_->Host().confirmDelete = [&](int, bool&) { return ++asked > 0; };
  tcameraselection selection;
  selection.Set(1, true);
  try {
    workflow_->DeleteSelected(selection);
    FAIL() << "deleting on a file-system camera must be refused";
  } catch (const tthumbexception& e) {
    EXPECT_STREQ(e.what(),
                 "It is not possible to delete pictures from this camera using the serial link");
  }
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(camera_->PictureCount(), 3);
  EXPECT_TRUE(selection.IsSelected(1));
}

TEST_F(FetchWorkflow, TakePictureWaitsAndCountsTheNewPicture) {
  Open(Camera(camsim::Family::classic, 2));
  waiter_.Clear();
  EXPECT_EQ(workflow_->TakePicture(), 3);
  const auto waits = waiter_.Waits();
  EXPECT_NE(std::find(waits.begin(), waits.end(), 500), waits.end());
  EXPECT_NE(std::find(waits.begin(), waits.end(), 3000), waits.end());
}

TEST(CameraSelection, FlagsOutsideTheGridAreIgnored) {
  tcameraselection s;
  s.Set(0, true);
  s.Set(301, true);
  EXPECT_FALSE(s.Any());
  s.SelectAll(400);
  EXPECT_EQ(s.Selected().size(), 300u);
  s.Invert(2);
  EXPECT_EQ(s.Selected(4), (std::vector<int>{3, 4}));
  s.SelectNone();
  s.Toggle(7);
  EXPECT_EQ(s.Selected(), std::vector<int>{7});
  EXPECT_TRUE(s.Selected(6).empty());
}

}  // namespace
}  // namespace vantlo

namespace vantlo {
namespace {

TEST_F(FetchWorkflow, AFailedDeletionLeavesTheRemainingFlagsOnTheirPictures) {
  // The camera claims 5 pictures but holds 3, so deleting the (then) fourth one fails.
  camsim::Options options = Camera(camsim::Family::classic, 3);
  options.faults.countOverride = 5;
  Open(options);
  settings_.askBeforeDelete = false;
  tcameraselection selection;
  selection.Set(2, true);
  selection.Set(5, true);
  selection.Set(7, true);  // beyond the count
  EXPECT_ANY_THROW(workflow_->DeleteSelected(selection));
  EXPECT_EQ(camera_->PictureCount(), 2);  // picture 2 went
  // The old 5 is now 4 and still selected; 2 is done; 7 moved with the others.
  EXPECT_EQ(selection.Selected(), (std::vector<int>{4, 6}));
}

TEST_F(FetchWorkflow, ACountAboveTheGridIsReportedAndNothingIsFetched) {
  // An extended camera, whose count has room for more than 300.
  camsim::Options options = Camera(camsim::Family::extended, 2);
  options.faults.countOverride = 301;
  Open(options);
  const tfetchresult result = workflow_->FetchAll();
  EXPECT_TRUE(result.fetched.empty());
  ASSERT_EQ(result.failed.size(), 1u);
  EXPECT_EQ(result.failed[0].number, 0);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].first, tmessagekind::error);
  EXPECT_EQ(messages_[0].second, result.failed[0].message);
  EXPECT_LE(manager_->Count(), 300);
  EXPECT_TRUE(shown_.empty());
}

TEST_F(FetchWorkflow, AutoCorrectionAndPromptedCaption) {
  Open(Camera(camsim::Family::classic, 2));
  settings_.correction.Mode = tcorrectionchoice::Auto;
  settings_.caption.mode = 3;  // "Prompt each time"
  settings_.caption.style.fontName = "DejaVu Sans";
  struct tanswer : tcaptionprompt {
    int asked = 0;
    tcaptionpromptanswer AskCaption(std::string& text) override {
      ++asked;
      text = "Shot <PICNUM>";
      return tcaptionpromptanswer::ok;
    }
  } prompt;
  workflow_->Host().captionPrompt = &prompt;
  options_.saveCam = false;
  ASSERT_EQ(workflow_->FetchPicture(1).saved, std::vector<std::string>{Out("06dec26001.jpg")});
  EXPECT_EQ(prompt.asked, 1);
  ASSERT_EQ(shown_.size(), 1u);
  tbitmap expected = shown_[0].uncorrected;
  EXPECT_EQ(AutoCorrect(expected), shown_[0].correctionStrength);
  EXPECT_EQ(shown_[0].image.Bitmap(), expected);
  // Without anyone to ask, "Prompt each time" writes no caption and correction "Off" nothing.
  workflow_->Host().captionPrompt = nullptr;
  settings_.correction.Mode = tcorrectionchoice::Off;
  options_.confirmOverwrite = false;
  workflow_->FetchPicture(1);
  ASSERT_EQ(shown_.size(), 2u);
  EXPECT_EQ(shown_[1].correctionStrength, -1);
  EXPECT_EQ(shown_[1].image.Bitmap(), shown_[1].uncorrected);
  TJPEGImage plain;
  engine_->LoadCamFile(manager_->CamFileBytes(1), plain);
  EXPECT_EQ(shown_[1].image.Bitmap(), plain.Bitmap());
}

}  // namespace
}  // namespace vantlo
