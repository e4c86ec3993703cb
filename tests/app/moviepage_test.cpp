// The movie page on a fake host, offscreen: the capture formats, "Add Selected Pics" from the
// Browse page's selection with its progress and messages, playback in slot S until Stop (the
// test stops it from the picture view, after a number of frames, never on a timer), stepping
// with the frame label, and "Save MiniMovie" with the file and compressor choices (cancelled:
// no file; H.264 named .mp4; an empty movie refused before any question).
#include "app/ui/moviepage.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "moviehost.h"
#include "output/moviesave.h"
#include "picture/jpegimage.h"
#include "picture/rawencoder.h"

namespace vantlo {
namespace {

using testhost::tmoviehost;

class MoviePage : public ::testing::Test {
 protected:
  MoviePage() : page(host) {
    page.ShowMessage = [this](const std::string& text) { messages.push_back(text); };
    page.ChooseFile = [this] {
      ++fileQuestions;
      return fileName;
    };
    page.ChooseCodec = [this] { return codec; };
    page.ConfirmReplace = [](const std::string&) { return true; };
  }
  std::string Path(const std::string& name) { return dir.filePath(name.c_str()).toStdString(); }
  // A JPEG file of w x h on disk.
  std::string Jpeg(const std::string& name, int w, int h, int seed) {
    const auto bytes = CompressJpeg(MakeTestPicture(w, h, seed), 90, false);
    std::ofstream(Path(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return Path(name);
  }
  // Stops the playback once `frames` frames have been shown.
  void StopAfter(int frames) {
    QObject::connect(&host.PictureView(), &tpictureview::PictureChanged, &page, [this, frames] {
      if (++shown >= frames) host.stop.Set();
    });
  }

  QTemporaryDir dir;
  tmoviehost host;
  tmoviepage page;
  std::vector<std::string> messages;
  std::string fileName;
  std::optional<tmoviecodec> codec = tmoviecodec::motionJpeg;
  int fileQuestions = 0;
  int shown = 0;
};

TEST_F(MoviePage, CaptureFormatsSetRowsAndColumnsAndOnlyCustomLetsThemChange) {
  EXPECT_TRUE(page.Format[0]->isChecked());
  EXPECT_EQ(page.FramesPerSecond->value(), 10);
  EXPECT_EQ(page.FramesPerSecond->maximum(), 20);
  EXPECT_EQ(page.StatusLabel->text(), "Stopped");
  page.Format[2]->click();
  EXPECT_EQ(page.Rows->value(), 4);
  EXPECT_EQ(page.Columns->value(), 4);
  EXPECT_FALSE(page.Rows->isEnabled());
  page.Format[3]->click();
  EXPECT_TRUE(page.Rows->isEnabled());
  EXPECT_TRUE(page.Columns->isEnabled());
  page.Rows->setValue(3);
  page.Columns->setValue(5);
  page.Format[1]->click();
  EXPECT_EQ(page.Rows->value(), 2);
  EXPECT_EQ(page.Columns->value(), 2);
  EXPECT_EQ(page.AddButton->toolTip(), "Adds the selected frames to the movie");
  EXPECT_EQ(page.SaveButton->toolTip(), "Save Movie as AVI file");
}

TEST_F(MoviePage, AddSelectedPicsBuildsTheMovieFromTheBrowseSelection) {
  host.selected = {Jpeg("a.jpg", 640, 480, 1), Jpeg("b.jpg", 640, 480, 2)};
  page.Format[1]->click();
  EXPECT_TRUE(page.AddSelectedClick());
  EXPECT_EQ(page.Movie().FrameCount(), 8);
  EXPECT_EQ(page.Movie().FrameWidth(), 320);
  EXPECT_EQ(host.progress.texts,
            (std::vector<std::string>{"Building MiniMovie : Picture 1",
                                      "Building MiniMovie : Picture 2", "Ready"}));
  EXPECT_TRUE(messages.empty());

  // Nothing selected, or a file that is no picture: the message, and the movie as it was.
  host.selected.clear();
  EXPECT_FALSE(page.AddSelectedClick());
  host.selected = {Path("clip.avi")};
  EXPECT_FALSE(page.AddSelectedClick());
  EXPECT_EQ(messages,
            (std::vector<std::string>{"No Pictures are Selected",
                                      "Cannot make a mini movie from " + Path("clip.avi")}));
  EXPECT_EQ(page.Movie().FrameCount(), 8);
  page.NewMovieClick();
  EXPECT_EQ(page.Movie().FrameCount(), 0);
}

TEST_F(MoviePage, PlayingCyclesThroughTheFramesInSlotSUntilStopped) {
  page.PlayClick();
  EXPECT_EQ(messages, (std::vector<std::string>{kNoMiniMovie}));

  host.selected = {Jpeg("burst.jpg", 320, 240, 3)};
  page.Format[1]->click();
  ASSERT_TRUE(page.AddSelectedClick());
  page.FramesPerSecond->setValue(20);
  bool slotHeld = false;
  QString label;
  QObject::connect(&host.PictureView(), &tpictureview::PictureChanged, &page, [&] {
    slotHeld = host.busy.IsHeld(tbusyregister::slotS);
    label = page.StatusLabel->text();
  });
  StopAfter(6);  // four frames, then frame 0 and 1 again
  page.PlayClick();
  EXPECT_EQ(shown, 6);
  EXPECT_TRUE(slotHeld);
  EXPECT_EQ(label, "Playing...");
  EXPECT_EQ(page.Movie().CurrentFrame(), 1);
  EXPECT_FALSE(page.Playing());
  EXPECT_FALSE(host.busy.AnyHeld());
  EXPECT_EQ(page.StatusLabel->text(), "Stopped");
  EXPECT_GE(host.picturePageShown, 1);
  EXPECT_EQ(host.thumbnailStops, 1);  // the Browse page's loading does not compete
}

TEST_F(MoviePage, NextAndPreviousStepWithTheFrameLabel) {
  host.selected = {Jpeg("burst.jpg", 320, 240, 3)};
  page.Format[1]->click();
  ASSERT_TRUE(page.AddSelectedClick());
  page.NextClick();
  EXPECT_EQ(page.StatusLabel->text(), "Frame 2 of 4");
  page.PreviousClick();
  page.PreviousClick();
  EXPECT_EQ(page.StatusLabel->text(), "Frame 4 of 4");
  page.NextClick();
  EXPECT_EQ(page.StatusLabel->text(), "Frame 1 of 4");

  // One single image: both stay on its one frame.
  page.Format[0]->click();
  host.selected = {Jpeg("one.jpg", 64, 48, 4)};
  page.NewMovieClick();
  ASSERT_TRUE(page.AddSelectedClick());
  page.NextClick();
  EXPECT_EQ(page.StatusLabel->text(), "Frame 1 of 1");
  page.PreviousClick();
  EXPECT_EQ(page.StatusLabel->text(), "Frame 1 of 1");
}

TEST_F(MoviePage, TheMenuCommandShowsThePageAndPlaysTheSelection) {
  host.selected = {Jpeg("a.jpg", 64, 48, 1), Jpeg("b.jpg", 64, 48, 2)};
  StopAfter(1);
  page.MiniMovieMenuClick();
  EXPECT_EQ(host.pages, (std::vector<int>{13}));
  EXPECT_EQ(page.Movie().FrameCount(), 2);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(page.StatusLabel->text(), "Stopped");
}

TEST_F(MoviePage, SavingAsksForTheFileAndTheCompressorAndWritesNothingWhenCancelled) {
  page.SaveClick();
  EXPECT_EQ(messages, (std::vector<std::string>{kNoMiniMovie}));
  EXPECT_EQ(fileQuestions, 0);

  host.selected = {Jpeg("a.jpg", 64, 48, 1), Jpeg("b.jpg", 64, 48, 2)};
  ASSERT_TRUE(page.AddSelectedClick());
  fileName = Path("movie.avi");
  codec.reset();
  page.SaveClick();
  EXPECT_FALSE(std::filesystem::exists(fileName));
  EXPECT_TRUE(host.written.empty());

  codec = tmoviecodec::motionJpeg;
  page.SaveClick();
  EXPECT_TRUE(std::filesystem::exists(fileName));
  EXPECT_EQ(host.written, (std::vector<std::string>{fileName}));
  EXPECT_FALSE(host.busy.AnyHeld());
  EXPECT_EQ(host.progress.texts.back(), "");
  EXPECT_NE(
      std::find(host.progress.texts.begin(), host.progress.texts.end(), "Saving Frame 2 of 2"),
      host.progress.texts.end());

  if (CodecAvailable(tmoviecodec::h264)) {
    codec = tmoviecodec::h264;
    page.SaveClick();
    EXPECT_TRUE(std::filesystem::exists(Path("movie.mp4")));
  }
  EXPECT_EQ(messages.size(), 1u);
}

}  // namespace
}  // namespace vantlo
