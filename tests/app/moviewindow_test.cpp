// A mini movie in the main window, offscreen, as a new user makes one: a 2x2 burst picture
// selected on the Browse page, played on the picture view from the movie page (stopped from
// the view after its four frames, not on a timer), then saved as an AVI file in the folder the
// Browse page shows, which lists it; the menu command "MiniMovie - Selected Disk Pictures".
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/ui/browsepage.h"
#include "app/ui/form1.h"
#include "app/ui/moviepage.h"
#include "app/ui/pictureview.h"
#include "configdir.h"
#include "library/diskthumbmanager.h"
#include "library/regconfig.h"
#include "picture/jpegimage.h"
#include "temphome.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;

// A 640 x 480 burst of four 320 x 240 frames, each a colour of its own (blue, green, red bytes).
void WriteBurst(const fs::path& path) {
  tbitmap b(640, 480);
  const std::uint8_t colours[4][3] = {{200, 30, 30}, {30, 200, 30}, {30, 30, 200}, {200, 200, 30}};
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const auto* c = colours[(y / 240) * 2 + x / 320];
      std::copy(c, c + 3, b.ScanLine(y) + 3 * x);
    }
  const auto bytes = CompressJpeg(b, 90, false);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

class MovieWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    {
      // Not a first run: no welcome window.
      tregconfig reg;
      tconfigrecord config;
      reg.WriteConfig(config);
    }
    root_ = fs::path(pictures_.path().toStdString());
    WriteBurst(root_ / "burst.jpg");
    WriteBurst(root_ / "other.jpg");
    config_.NotAFirstRun();
    form_ = std::make_unique<TForm1>(tstartoptions{});
    form_->Initialise();
    form_->resize(900, 600);
    browse_ = &form_->Page<tbrowsepage>();
    browse_->Activate();
    ASSERT_TRUE(browse_->SetFolder(root_.string()));
    movie_ = &form_->Page<tmoviepage>();
    movie_->ShowMessage = [this](const std::string& t) { messages_.push_back(t); };
  }
  void TearDown() override {
    browse_->Manager().StopLoading();
    form_->CloseAfterLoop();
    form_.reset();
  }
  void SelectOnly(const std::string& name) {
    browse_->Manager().SelectNone();
    const auto& c = browse_->Manager().Collection();
    for (int n = 1; n <= c.Count(); ++n)
      if (c.DisplayName(n) == name) browse_->Manager().Click(n, {});
  }
  // Stops a playback once `frames` frames have been shown.
  void StopAfter(int frames) {
    QObject::connect(&form_->PictureView(), &tpictureview::PictureChanged, movie_, [this, frames] {
      if (++shown_ == frames) form_->StopRequest().Set();
    });
  }

  ttemphome home_;
  tconfigdir config_;
  QTemporaryDir pictures_;
  fs::path root_;
  std::unique_ptr<TForm1> form_;
  tbrowsepage* browse_ = nullptr;
  tmoviepage* movie_ = nullptr;
  std::vector<std::string> messages_;
  int shown_ = 0;
};

TEST_F(MovieWindow, ABurstPictureSelectedOnTheBrowsePagePlaysAndSavesAsAnAvi) {
  SelectOnly("burst.jpg");
  ASSERT_EQ(form_->SelectedDiskPictures(),
            (std::vector<std::string>{(root_ / "burst.jpg").string()}));
  form_->ShowPage(13);
  movie_->Format[1]->click();  // "2x2 MiniMovie Frame"
  StopAfter(4);
  movie_->PlaySelectedClick();
  EXPECT_TRUE(messages_.empty()) << messages_.front();
  EXPECT_EQ(shown_, 4);
  EXPECT_EQ(movie_->Movie().FrameCount(), 4);
  const TJPEGImage& frame = form_->PictureView().Document().Picture();
  EXPECT_EQ(frame.Width(), 320);
  EXPECT_EQ(frame.Height(), 240);
  // The last frame shown is the bottom-right one, blue and green without red.
  const std::uint8_t* p = frame.Bitmap().ScanLine(120) + 3 * 160;
  EXPECT_GT(p[0], 150);
  EXPECT_GT(p[1], 150);
  EXPECT_LT(p[2], 90);
  EXPECT_EQ(movie_->StatusLabel->text(), "Stopped");
  EXPECT_FALSE(form_->Busy().AnyHeld());

  const std::string saved = (root_ / "burst movie.avi").string();
  movie_->ChooseFile = [&] { return saved; };
  movie_->ChooseCodec = [] { return std::optional<tmoviecodec>(tmoviecodec::motionJpeg); };
  movie_->SaveClick();
  EXPECT_TRUE(messages_.empty()) << messages_.front();
  ASSERT_TRUE(fs::exists(saved));
  EXPECT_GT(fs::file_size(saved), 1000u);
  // The Browse page lists the new movie in its folder.
  QCoreApplication::processEvents();
  bool listed = false;
  const auto& c = browse_->Manager().Collection();
  for (int n = 1; n <= c.Count(); ++n) listed = listed || c.DisplayName(n) == "burst movie.avi";
  EXPECT_TRUE(listed);
}

TEST_F(MovieWindow, TheMenuCommandOpensTheMoviePageAndPlaysTheSelection) {
  browse_->Manager().SelectAll();
  StopAfter(2);
  QAction* command = nullptr;
  for (QAction* menu : form_->menuBar()->actions())
    if (menu->menu())
      for (QAction* a : menu->menu()->actions())
        if (a->text() == "MiniMovie - Selected Disk Pictures") command = a;
  ASSERT_NE(command, nullptr);
  command->trigger();
  EXPECT_EQ(form_->ShownPage(), 13);
  EXPECT_EQ(movie_->Movie().FrameCount(), 2);  // two single images
  EXPECT_EQ(shown_, 2);
  EXPECT_TRUE(messages_.empty()) << messages_.front();
}

}  // namespace
}  // namespace vantlo
