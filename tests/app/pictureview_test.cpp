// The picture commands of the main window, offscreen: the picture view with
// its zoom levels, opening files, the Rotate page, the resize group with its
// size report, Define Orientation for the current picture and the batch
// "Save Selected CAM Files as JPEGs". Messages and dialogs go through the
// view's hooks, so no test waits on a modal window.
#include "app/ui/pictureview.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/core/captions.h"
#include "app/ui/browsedialogs.h"
#include "app/ui/browsepage.h"
#include "app/ui/correctionpage.h"
#include "app/ui/form1.h"
#include "app/ui/preferencespage.h"
#include "app/ui/resizegroup.h"
#include "app/ui/rotatepage.h"
#include "app/ui/setuppage.h"
#include "app/ui/touchpage.h"
#include "library/pictureproperties.h"
#include "library/records/captionrecord.h"
#include "modalcloser.h"
#include "picture/camformats.h"
#include "picture/colourcorrection.h"
#include "picture/rawencoder.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;
using bytes = std::vector<std::uint8_t>;

class tconfigfolder {
 public:
  tconfigfolder() : old_(qgetenv("VANTLO_CONFIG_DIR")) {
    qputenv("VANTLO_CONFIG_DIR", dir_.path().toUtf8());
  }
  ~tconfigfolder() { qputenv("VANTLO_CONFIG_DIR", old_); }

 private:
  QTemporaryDir dir_;
  QByteArray old_;
};

void WriteFile(const std::string& path, const bytes& data) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

bytes JpegOf(int w, int h, int seed) {
  return CompressJpeg(MakeTestPicture(w, h, seed), 90, false);
}

bytes CamOf(int seed) {
  tbytes cam;
  RawToCamFile(EncodeRawPicture(MakeTestPicture(480, 240, seed), 0), cam, 1);
  return bytes(cam.begin(), cam.end());
}

class PictureCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = dir_.path().toStdString();
    form_ = std::make_unique<TForm1>(tstartoptions{});
    form_->Initialise();
    form_->resize(1000, 700);
    view_ = &form_->PictureView();
    view_->ShowMessage = [this](const std::string& t) { messages_.push_back(t); };
    view_->RunDialog = [this](QDialog& d) {
      dialogs_.push_back(&d);
      auto* o = dynamic_cast<Tdefineorientation*>(&d);
      if (o && answer_ >= 0) {
        o->ComboBox1->setCurrentIndex(answer_);
        return static_cast<int>(QDialog::Accepted);
      }
      return static_cast<int>(QDialog::Rejected);
    };
  }
  void TearDown() override { form_->CloseAfterLoop(); }
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  QSize Shown() const {
    const QPixmap p = form_->PictureView().Image3->pixmap();
    return p.isNull() ? QSize() : p.size();
  }
  template <class T>
  T* Find(const char* name) const {
    return form_->findChild<T*>(name);
  }

  tconfigfolder config_;
  tmodalcloser closer_;  // in case anything still opens a box
  QTemporaryDir dir_;
  std::string folder_;
  std::unique_ptr<TForm1> form_;
  tpictureview* view_ = nullptr;
  std::vector<std::string> messages_;
  std::vector<QDialog*> dialogs_;
  int answer_ = -1;
};

TEST_F(PictureCommands, ZoomLevelsDrawThePictureAtTheirSizeAndStopAtTheEnds) {
  WriteFile(Path("z.jpg"), JpegOf(200, 100, 1));
  ASSERT_TRUE(form_->OpenPictureFile(Path("z.jpg")));
  struct tlevel {
    int mode;
    const char* text;
    QSize size;
  } levels[] = {{1, " (Reduced : 25%)", {50, 25}},      {2, " (Reduced : 50%) ", {100, 50}},
                {3, " (Reduced : 75%)", {150, 75}},     {4, " (Actual Size)", {200, 100}},
                {5, " (Enlarged : 150%) ", {300, 150}}, {6, " (Enlarged : 200%) ", {400, 200}},
                {7, " (Enlarged : 300%) ", {600, 300}}};
  for (const auto& l : levels) {
    view_->SetZoom(l.mode);
    EXPECT_EQ(form_->PictureView().Label32->text().toStdString(), l.text);
    EXPECT_EQ(Shown(), l.size) << l.mode;
    EXPECT_EQ(form_->ZoomMode(), l.mode);  // stored at close
  }
  auto* in = Find<QPushButton>("ZoomInButton");
  auto* out = Find<QPushButton>("ZoomOutButton");
  ASSERT_TRUE(in && out);
  EXPECT_FALSE(in->isEnabled());
  view_->ZoomIn();
  EXPECT_EQ(view_->Zoom(), 7);
  view_->SetZoom(1);
  EXPECT_FALSE(out->isEnabled());
  EXPECT_TRUE(in->isEnabled());
  view_->ZoomOut();
  EXPECT_EQ(view_->Zoom(), 1);
  in->click();
  EXPECT_EQ(view_->Zoom(), 2);

  // Fit keeps the shape inside the viewport; stretch fills it.
  view_->SetZoom(-1);
  EXPECT_EQ(form_->PictureView().Label32->text().toStdString(), " (Fit to screen)");
  const QSize fit = Shown();
  EXPECT_NEAR(fit.width(), 2 * fit.height(), 2);
  view_->SetZoom(-2);
  EXPECT_EQ(form_->PictureView().Label32->text().toStdString(), " (Stretch to screen)");
  // Unknown modes become "Actual Size".
  view_->SetZoom(0);
  EXPECT_EQ(view_->Zoom(), 4);
}

TEST_F(PictureCommands, DeferredStartTakesTheStoredZoom) {
  form_->Settings().diskman.SetZoomMode(1);
  form_->Timer3Timer();
  EXPECT_EQ(view_->Zoom(), 1);
  EXPECT_EQ(form_->PictureView().Label32->text().toStdString(), " (Reduced : 25%)");
}

TEST_F(PictureCommands, OpeningShowsThePictureAndDamagedFilesLeaveNone) {
  const bytes jpeg = JpegOf(64, 48, 2);
  WriteFile(Path("p.JPG"), jpeg);
  WriteFile(Path("bad.jpg"), bytes(40, 0x33));
  EXPECT_TRUE(form_->OpenPictureFile(Path("p.JPG")));
  EXPECT_EQ(Shown(), QSize(64, 48));
  EXPECT_EQ(form_->PageControl2->currentWidget(), &form_->PictureView());
  EXPECT_TRUE(form_->PictureView().BitBtn5->isEnabled());
  EXPECT_TRUE(form_->Label9->text().contains("p.JPG"));
  EXPECT_EQ(view_->Document().Kind(), tpicturekind::JpegFile);

  // From the Browse page's open command too.
  ASSERT_TRUE(&form_->Page<tbrowsepage>());
  ASSERT_TRUE(form_->Page<tbrowsepage>().openPicture);
  form_->OpenPictureFile(Path("bad.jpg"));
  EXPECT_EQ(messages_, std::vector<std::string>{"Unable to parse the JPEG data"});
  EXPECT_FALSE(view_->HasPicture());
  EXPECT_TRUE(Shown().isEmpty());
  EXPECT_TRUE(form_->Page<tbrowsepage>().openPicture(Path("p.JPG")));
  EXPECT_TRUE(view_->HasPicture());

  // Non-interactive opening throws instead of showing a box.
  EXPECT_THROW(view_->OpenPictureFile(Path("bad.jpg"), false), tpictureopenerror);
  EXPECT_EQ(messages_.size(), 1u);
  // Other endings open nothing.
  EXPECT_FALSE(form_->OpenPictureFile(Path("p.jpeg")));

  // A camera picture shown from elsewhere.
  TJPEGImage p;
  p.Assign(MakeTestPicture(30, 20, 3));
  view_->ShowPicture(p, "Camera picture 3");
  EXPECT_EQ(Shown(), QSize(30, 20));
  EXPECT_EQ(form_->Label9->text(), "Camera picture 3");
  EXPECT_EQ(view_->Document().Kind(), tpicturekind::Camera);
  EXPECT_FALSE(view_->Document().Uncorrected().has_value());
  const tbitmap before = MakeTestPicture(30, 20, 4);
  view_->ShowPicture(p, "Camera picture 4", tpicturekind::Camera, {}, &before);
  ASSERT_TRUE(view_->Document().Uncorrected().has_value());
  EXPECT_EQ(view_->Document().Uncorrected()->Bitmap(), before);
}

TEST_F(PictureCommands, RotatePageTurnsThePictureAndSetsTheFetchOrientation) {
  form_->pagecontrol1->setCurrentWidget(&form_->Page<trotatepage>());
  auto* cw = Find<QPushButton>("SpeedButton5");
  auto* ccw = Find<QPushButton>("SpeedButton4");
  ASSERT_TRUE(cw && ccw);
  WriteFile(Path("t.jpg"), JpegOf(40, 20, 4));
  form_->OpenPictureFile(Path("t.jpg"));
  cw->click();
  EXPECT_EQ(Shown(), QSize(20, 40));
  EXPECT_EQ(view_->Document().QuarterTurns(), 1);
  ccw->click();
  ccw->click();
  EXPECT_EQ(view_->Document().QuarterTurns(), 3);
  for (int i = 0; i < 3; ++i) cw->click();
  EXPECT_EQ(view_->Document().QuarterTurns(), 2);
  EXPECT_EQ(Shown(), QSize(40, 20));

  auto* upside = Find<QRadioButton>("OrientationButton2");
  ASSERT_TRUE(upside);
  upside->click();
  EXPECT_EQ(form_->Settings().ftp.Orientation(), torientation::UpsideDown);
  form_->Settings().ftp.SetOrientation(torientation::Clockwise);
  form_->pagecontrol1->setCurrentWidget(&form_->Page<tsetuppage>());
  form_->show();
  form_->pagecontrol1->setCurrentWidget(&form_->Page<trotatepage>());
  EXPECT_TRUE(Find<QRadioButton>("OrientationButton1")->isChecked());
}

TEST_F(PictureCommands, ResizeApplyShowsTheSizeReport) {
  auto* apply = Find<QPushButton>("Button9");
  auto* choice = Find<QComboBox>("ComboBox6");
  ASSERT_TRUE(apply && choice);
  EXPECT_EQ(choice->count(), 10);
  EXPECT_EQ(choice->itemText(9), "");
  apply->click();
  EXPECT_EQ(messages_, std::vector<std::string>{"No picture on display"});

  const bytes jpeg = JpegOf(640, 480, 5);
  WriteFile(Path("big.jpg"), jpeg);
  form_->OpenPictureFile(Path("big.jpg"));
  form_->pagecontrol1->setCurrentWidget(form_->findChild<QWidget*>("tabcorrection"));
  QLabel* quality = form_->Page<tcorrectionpage>().QualityLabel;
  ASSERT_TRUE(quality);
  EXPECT_EQ(quality->text(), "JPEG Quality 80 %");
  choice->setCurrentIndex(2);  // Small (320 x 240)
  Find<QPushButton>("SpeedButton5")->click();
  apply->click();
  // The turned 480 x 640 picture at the fixed width 320 keeps its shape.
  EXPECT_EQ(view_->Document().Picture().Width(), 320);
  EXPECT_EQ(view_->Document().Picture().Height(), 426);
  EXPECT_EQ(view_->Document().QuarterTurns(), 1);
  EXPECT_EQ(Find<QLabel>("OriginalSizeLabel")->text().toStdString(),
            "Original size : " + std::to_string(jpeg.size() / 1024) + "KB");
  EXPECT_EQ(Find<QLabel>("CurrentSizeLabel")->text().toStdString(),
            "Current size : " +
                std::to_string(view_->Document().Picture().JpegData().size() / 1024) + "KB");
  EXPECT_EQ(messages_.size(), 1u);

  // A camera picture without a way to fetch it again: nothing to redisplay.
  TJPEGImage p;
  p.Assign(MakeTestPicture(64, 48, 6));
  view_->ShowPicture(p, "x", tpicturekind::Other);
  apply->click();
  EXPECT_EQ(messages_.back(), "Nothing to redisplay");
}

// The picture tool pages in the window: one picture size list (on the "Image" page), handed to
// the decoder when it changes; "AutoCorrect" corrects the shown picture and sets the "Image"
// page's strength; the Touch page's "Apply" changes the picture, "Undo" brings it back, and a
// click on the picture chooses the area the preview shows.
TEST_F(PictureCommands, PictureToolPagesWorkOnTheShownPicture) {
  EXPECT_EQ(form_->findChildren<QComboBox*>("ComboBox4").size(), 1);
  tpreferencespage& image = form_->Page<tpreferencespage>();
  image.ComboBox4->setCurrentIndex(3);
  emit image.ComboBox4->activated(3);
  EXPECT_EQ(view_->Pipeline().OutputSize, 3);

  WriteFile(Path("t.jpg"), JpegOf(160, 120, 9));
  ASSERT_TRUE(form_->OpenPictureFile(Path("t.jpg"), false));
  const tbitmap opened = view_->Document().Picture().Bitmap();
  image.SetCorrectionStrength(0);
  tcorrectionpage& correction = form_->Page<tcorrectionpage>();
  correction.Button15Click();  // AutoCorrect
  EXPECT_TRUE(messages_.empty());
  EXPECT_FALSE(view_->Document().Picture().Bitmap() == opened);
  const tbitmap expected = [&] {
    tbitmap b = opened;
    AutoCorrect(b);
    return b;
  }();
  EXPECT_EQ(image.CorrectionStrength(), StrengthFromContrast(MeasureContrast(opened)));
  EXPECT_TRUE(view_->Document().Picture().Bitmap() == expected);

  ASSERT_TRUE(form_->OpenPictureFile(Path("t.jpg"), false));
  ttouchpage& touch = form_->Page<ttouchpage>();
  form_->pagecontrol1->setCurrentWidget(&touch);
  form_->show();
  const QImage before = touch.Image1->pixmap().toImage();
  QTest::mouseClick(
      view_->Image3, Qt::LeftButton, {},
      view_->Image3->rect().center() + QPoint(view_->Image3->pixmap().width() / 2 - 2,
                                              view_->Image3->pixmap().height() / 2 - 2));
  EXPECT_NE(touch.Image1->pixmap().toImage(), before);  // the corner area now
  touch.Sliders[0]->setValue(touch.Sliders[0]->maximum());
  touch.ApplyClick();
  EXPECT_FALSE(view_->Document().Picture().Bitmap() == opened);
  touch.UndoClick();
  EXPECT_TRUE(view_->Document().Picture().Bitmap() == opened);
  EXPECT_TRUE(messages_.empty()) << messages_.front();
}

TEST_F(PictureCommands, DefineOrientationForTheCurrentPicture) {
  auto* current = Find<QPushButton>("DefineCurrentButton");
  ASSERT_TRUE(current);
  WriteFile(Path("j.jpg"), JpegOf(32, 16, 7));
  form_->OpenPictureFile(Path("j.jpg"));
  current->click();
  EXPECT_EQ(messages_,
            std::vector<std::string>{"You can only define the orientation of a CAM file"});
  EXPECT_TRUE(dialogs_.empty());

  TJPEGImage p;
  p.Assign(MakeTestPicture(8, 8, 1));
  view_->ShowPicture(p, "camera", tpicturekind::Camera);
  current->click();
  EXPECT_EQ(messages_.size(), 1u);  // ignored silently
  EXPECT_TRUE(dialogs_.empty());

  WriteFile(Path("c.cam"), CamOf(8));
  form_->OpenPictureFile(Path("c.cam"));
  const int w = view_->Document().Picture().Width();
  const int h = view_->Document().Picture().Height();
  answer_ = 3;
  current->click();
  ASSERT_EQ(dialogs_.size(), 1u);
  EXPECT_EQ(StoredOrientationOf(Path("c.cam")), 3);
  EXPECT_EQ(view_->Document().Picture().Width(), h);  // reopened, turned
  EXPECT_EQ(view_->Document().Picture().Height(), w);
  // Cancel changes nothing.
  answer_ = -1;
  current->click();
  EXPECT_EQ(StoredOrientationOf(Path("c.cam")), 3);
}

// Answers the caption prompt with a fixed text and counts the questions.
class tfixedcaption : public tcaptionprompt {
 public:
  tcaptionpromptanswer AskCaption(std::string& text) override {
    ++asked;
    text = "Harbour <PICNUM>";
    return tcaptionpromptanswer::ok;
  }
  int asked = 0;
};

// A CAM file opened with the caption setting "Prompt each time" asks for the caption and writes
// the answer onto the picture.
TEST_F(PictureCommands, OpeningACamFileWithPromptedCaptionsWritesTheAnswer) {
  WriteFile(Path("p.cam"), CamOf(11));
  ASSERT_TRUE(form_->OpenPictureFile(Path("p.cam"), false));
  const tbitmap plain = view_->Document().Picture().Bitmap();

  tcaptionrecord caption = form_->Settings().capdata.Caption(tcaptionkind::Interactive);
  caption.SetMode(tcaptionmode::Prompt);
  form_->Settings().capdata.SetCaption(tcaptionkind::Interactive, caption);
  tfixedcaption prompt;
  view_->CaptionPrompt = &prompt;
  ASSERT_TRUE(form_->OpenPictureFile(Path("p.cam"), false));
  EXPECT_EQ(prompt.asked, 1);
  const tbitmap captioned = view_->Document().Picture().Bitmap();
  ASSERT_EQ(captioned.Height(), plain.Height());
  bool differs = false;
  for (int y = 0; y < plain.Height() && !differs; ++y)
    differs =
        !std::equal(plain.ScanLine(y), plain.ScanLine(y) + plain.RowBytes(), captioned.ScanLine(y));
  EXPECT_TRUE(differs);
}

TEST_F(PictureCommands, SaveSelectedCamFilesAsJpegsReportsAndReleasesTheBusySlot) {
  view_->SaveSelectedCamFilesAsJpegs({});
  EXPECT_EQ(messages_, std::vector<std::string>{"No Pictures are Selected"});

  WriteFile(Path("A.CAM"), CamOf(9));
  tpictureproperties props;
  props.SetFile(Path("A.CAM"));
  props.SetTitle("Pier");
  props.Save();
  WriteFile(Path("b.jpg"), JpegOf(16, 16, 1));
  const auto r = view_->SaveSelectedCamFilesAsJpegs({Path("A.CAM"), Path("b.jpg")});
  EXPECT_EQ(r.saved, std::vector<std::string>{Path("a.jpg")});
  EXPECT_TRUE(fs::exists(Path("a.jpg")));
  EXPECT_TRUE(fs::exists(CompanionPath(Path("a.jpg"))));
  EXPECT_TRUE(fs::exists(Path("A.CAM")));
  EXPECT_EQ(messages_.back(), "Saved 1, skipped 1, failed 0");
  EXPECT_TRUE(form_->BusyControl(16));
}

}  // namespace
}  // namespace vantlo

namespace vantlo {
namespace {

TEST_F(PictureCommands, ResizeOfACameraPictureFetchesItAgainFirst) {
  TJPEGImage p;
  p.Assign(MakeTestPicture(64, 48, 20));
  int fetches = 0;
  // Fetching shows the picture again, which replaces the hook as the camera
  // pages do.
  std::function<bool()> refetch;
  refetch = [&] {
    ++fetches;
    view_->ShowPicture(p, "picture #3");
    view_->Refetch = refetch;
    return true;
  };
  view_->ShowPicture(p, "picture #3");
  view_->Refetch = refetch;
  Find<QPushButton>("SpeedButton5")->click();
  Find<QComboBox>("ComboBox6")->setCurrentIndex(6);  // Half Size
  Find<QPushButton>("Button9")->click();
  EXPECT_EQ(fetches, 1);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(view_->Document().Picture().Width(), 24);
  EXPECT_EQ(view_->Document().Picture().Height(), 32);
  EXPECT_EQ(view_->Document().QuarterTurns(), 1);
  EXPECT_EQ(Find<QLabel>("OriginalSizeLabel")->text(), "Original size : 0KB");
}

}  // namespace
}  // namespace vantlo
