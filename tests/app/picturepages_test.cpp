// The picture tool pages offscreen, each on a fake host that holds the
// displayed picture as a plain bitmap: the "Image" page's settings round
// trip through the stored records, the correction page's commands and
// messages, and the Touch page's sliders, preview, Apply, Undo and Revert.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/core/fetchworkflow.h"
#include "app/ui/correctionpage.h"
#include "app/ui/preferencespage.h"
#include "app/ui/touchpage.h"
#include "library/regconfig.h"
#include "picture/colourcorrection.h"
#include "picture/defringe.h"
#include "picture/fastbm.h"
#include "picture/rawencoder.h"
#include "picture/retoucher.h"

namespace vantlo {
namespace {

// The displayed picture and what the pages told the window.
struct tshown {
  tbitmap picture;
  bool movie = false;
  std::vector<std::string> messages;
  std::vector<std::string> statuses;
  std::vector<std::pair<int, std::string>> progress;
  int replaced = 0;
  int hooked = 0;  // replacements shown through the display hook
  std::function<void()> hook;
};

template <typename Base>
class tfakehost : public Base {
 public:
  explicit tfakehost(tshown& s) : s_(s) {}
  bool HasPicture() const override { return !s_.picture.Empty(); }
  bool IsMovieFrame() const override { return s_.movie; }
  tbitmap PictureBitmap() const override { return s_.picture; }
  void ReplacePicture(const tbitmap& bitmap, bool displayHook) override {
    s_.picture = bitmap;
    ++s_.replaced;
    if (displayHook) {
      ++s_.hooked;
      if (s_.hook) s_.hook();
    }
  }
  void Progress(int position, const std::string& text) override {
    s_.progress.emplace_back(position, text);
  }
  void Status(const std::string& text) override { s_.statuses.push_back(text); }
  void ShowMessage(const std::string& text) override { s_.messages.push_back(text); }

 protected:
  tshown& s_;
};

class tfakecorrectionhost : public tfakehost<tcorrectionhost> {
 public:
  using tfakehost::tfakehost;
  tcorrectionstate& CorrectionState() override { return state; }
  int QuarterTurns() const override { return turns; }
  bool Redisplay() override {
    ++redisplays;
    if (stored.Empty()) {
      s_.messages.push_back("Nothing to redisplay");
      return false;
    }
    ReplacePicture(stored, true);
    return true;
  }
  int CorrectionStrength() const override { return strength; }
  void SetCorrectionStrength(int s) override { strength = s; }

  tcorrectionstate state;
  int turns = 0;
  int strength = 10;
  tbitmap stored;  // what Redisplay brings back
  int redisplays = 0;
};

class tfaketouchhost : public tfakehost<ttouchhost> {
 public:
  using tfakehost::tfakehost;
  QSize DisplaySize() const override {
    return display.isValid() ? display : QSize(s_.picture.Width(), s_.picture.Height());
  }
  QSize display;  // invalid: the picture's own size
};

tcolor PixelAt(const tbitmap& b, int x, int y) {
  tfastbm f;
  f.Attach(const_cast<tbitmap*>(&b));
  return f.GetPixel(x, y);
}

// A quarter turn clockwise: pixel (x, y) goes to (h - 1 - y, x). (The
// picture library's own turn cannot be included beside the settings records,
// whose orientation enum has the same name.)
tbitmap TurnClockwise(const tbitmap& src) {
  tbitmap dst(src.Height(), src.Width());
  tfastbm from, to;
  from.Attach(const_cast<tbitmap*>(&src));
  to.Attach(&dst);
  for (int y = 0; y < src.Height(); ++y)
    for (int x = 0; x < src.Width(); ++x) to.SetPixel(src.Height() - 1 - y, x, from.GetPixel(x, y));
  return dst;
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::int32_t I32At(const std::vector<std::uint8_t>& b, std::size_t off) {
  return static_cast<std::int32_t>(b[off] | (b[off + 1] << 8) | (b[off + 2] << 16) |
                                   (static_cast<std::uint32_t>(b[off + 3]) << 24));
}

// ---- "Image" page ----

TEST(PreferencesPage, SettingsRoundTripThroughTheStoredRecords) {
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString();
  {
    tregconfig store(folder);
    tsettingsrecords records;
    store.ReadAll(records);
    auto page = std::make_unique<tpreferencespage>();
    page->ApplyFrom(records);
    page->QualityBar->setValue(0);  // stored as 1
    page->ProgressiveBox->setChecked(true);
    page->ComboBox4->setCurrentIndex(6);  // "Half Size"
    page->CheckBox3->setChecked(true);
    page->TrackBar1->setValue(37);
    page->RadioButton9->setChecked(true);  // "Auto"
    page->TrackBar8->setValue(15);
    EXPECT_EQ(page->StrengthLabel->text(), "75 %");
    EXPECT_EQ(page->ExpandLabel->text(), "37");
    page->ReadInto(records);
    page.reset();  // the page is closed before the records are written
    store.WriteConfig(records.config);
    store.WriteExtra(records.extra);

    // The next fetch takes them.
    const tfetchsettings fetch = FetchSettingsFrom(records);
    EXPECT_EQ(fetch.jpegQuality, 1);
    EXPECT_TRUE(fetch.progressive);
    EXPECT_EQ(fetch.outputSize, 6);
    EXPECT_TRUE(fetch.colourExpand);
    EXPECT_EQ(fetch.colourExpandPercent, 37);
    EXPECT_EQ(fetch.correction.Mode, tcorrectionchoice::Auto);
    EXPECT_EQ(fetch.correction.Strength, 15);

    const auto config = FileBytes(store.PathOf("CONFIGD5"));
    ASSERT_EQ(config.size(), 2816u);
    EXPECT_EQ(config[12], 6);
    EXPECT_EQ(config[14], 1);
    EXPECT_EQ(I32At(config, 16), 37);
    EXPECT_EQ(I32At(config, 20), 1);
    EXPECT_EQ(config[24], 1);
    const auto extra = FileBytes(store.PathOf("EXTRA"));
    ASSERT_EQ(extra.size(), 788u);
    EXPECT_EQ(I32At(extra, 268), 15);
    EXPECT_EQ(I32At(extra, 272), 2);
  }
  // Reopened: the page shows what was stored.
  tregconfig store(folder);
  tsettingsrecords records;
  store.ReadAll(records);
  tpreferencespage page;
  page.ApplyFrom(records);
  EXPECT_EQ(page.QualityBar->value(), 1);
  EXPECT_TRUE(page.ProgressiveBox->isChecked());
  EXPECT_EQ(page.ComboBox4->currentIndex(), 6);
  EXPECT_EQ(page.ComboBox4->currentText(), "Half Size");
  EXPECT_TRUE(page.CheckBox3->isChecked());
  EXPECT_EQ(page.TrackBar1->value(), 37);
  EXPECT_TRUE(page.RadioButton9->isChecked());
  EXPECT_EQ(page.CorrectionStrength(), 15);

  // "Manual" and "Off" are stored as 1 and 0.
  page.RadioButton10->setChecked(true);
  page.ReadInto(records);
  EXPECT_EQ(records.extra.ColourMode(), tcolourmode::Manual);
  page.RadioButton11->setChecked(true);
  page.QualityBar->setValue(74);
  page.ReadInto(records);
  EXPECT_EQ(records.extra.ColourMode(), tcolourmode::Off);
  EXPECT_EQ(records.config.JpegQuality(), 74);
}

TEST(PreferencesPage, ControlsTextsAndTheOutputSizeSignal) {
  tpreferencespage page;
  EXPECT_EQ(page.ComboBox4->count(), 8);
  EXPECT_EQ(page.ComboBox4->itemText(7), "Quarter Size");
  EXPECT_EQ(page.TrackBar1->maximum(), 50);
  EXPECT_EQ(page.TrackBar1->toolTip(), "Expands the color dynamic range");
  EXPECT_EQ(page.TrackBar8->maximum(), 20);
  EXPECT_EQ(page.QualityBar->toolTip(), "Sets the compression level for JPEGs");
  EXPECT_TRUE(page.RadioButton10->isChecked());  // the form's default
  EXPECT_EQ(page.RadioButton9->toolTip(), "Automatically correct CAM files");
  EXPECT_EQ(page.RadioButton11->toolTip(), "No Correction");
  page.SetCorrectionStrength(3);
  EXPECT_EQ(page.StrengthLabel->text(), "15 %");
  QSignalSpy spy(&page, &tpreferencespage::OutputSizeChanged);
  emit page.ComboBox4->activated(2);
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toInt(), 2);
}

// ---- correction page ----

class CorrectionPageTest : public ::testing::Test {
 protected:
  tshown shown;
  tfakecorrectionhost host{shown};
  tcorrectionpage page{host};
};

TEST_F(CorrectionPageTest, MessagesWithoutAPictureAndForMovieFrames) {
  page.Button15Click();
  page.Button16Click();
  page.Button4Click(false);
  page.DefringeClick(true, false);
  EXPECT_EQ(shown.messages,
            (std::vector<std::string>{"No Image to correct", "No Image to correct",
                                      "No Image to correct", "No Image to de-fringe"}));
  EXPECT_EQ(shown.statuses.front(), "Analysing Picture");
  shown.messages.clear();
  shown.picture = MakeTestPicture(20, 10, 1);
  shown.movie = true;
  page.Button16Click();
  page.Button4Click(true);
  page.HorizontalButton->click();
  EXPECT_EQ(shown.messages,
            (std::vector<std::string>{"Can't correct a movie frame", "Can't correct a movie frame",
                                      "Can't de-fringe a movie frame"}));
  EXPECT_EQ(shown.replaced, 0);
  EXPECT_EQ(host.redisplays, 0);
}

TEST_F(CorrectionPageTest, ManualCorrectTwiceEqualsOnce) {
  const tbitmap pic = MakeTestPicture(60, 40, 3);
  shown.picture = pic;
  host.strength = 12;
  page.Button16->click();
  tbitmap once = pic;
  ApplyCasioCorrection(once, 12);
  EXPECT_EQ(shown.picture, once);
  EXPECT_TRUE(host.state.Applied);
  ASSERT_TRUE(host.state.Uncorrected);
  EXPECT_EQ(*host.state.Uncorrected, pic);
  EXPECT_EQ(shown.statuses, (std::vector<std::string>{"Correcting", "Ready"}));
  EXPECT_EQ(shown.progress.front(), (std::pair<int, std::string>{-10, "Correcting"}));
  page.Button16->click();
  EXPECT_EQ(shown.picture, once);
  // Strength 0 leaves the pixels but still counts as a correction.
  host.state.Reset();
  shown.picture = pic;
  host.strength = 0;
  page.Button16Click();
  EXPECT_EQ(shown.picture, pic);
  EXPECT_TRUE(host.state.Applied);
}

TEST_F(CorrectionPageTest, AutoCorrectSetsTheStrengthFromTheContrast) {
  const tbitmap pic = MakeTestPicture(60, 40, 5);
  shown.picture = pic;
  host.strength = 99;
  page.Button15->click();
  const int expected = StrengthFromContrast(MeasureContrast(pic));
  EXPECT_EQ(host.strength, expected);
  tbitmap corrected = pic;
  ApplyCasioCorrection(corrected, expected);
  EXPECT_EQ(shown.picture, corrected);
  EXPECT_EQ(shown.statuses.front(), "Analysing Picture");
  EXPECT_EQ(shown.statuses.back(), "Ready");
}

TEST_F(CorrectionPageTest, TurningAfterACorrectionAndCorrectingAgainGivesTheTurnedOnceCorrected) {
  const tbitmap pic = MakeTestPicture(30, 20, 7);
  shown.picture = pic;
  host.strength = 10;
  page.Button16Click();
  const tbitmap corrected = shown.picture;
  // The user turns the picture clockwise.
  shown.picture = TurnClockwise(shown.picture);
  host.turns = 1;
  page.Button16Click();
  EXPECT_EQ(shown.picture, TurnClockwise(corrected));
}

TEST_F(CorrectionPageTest, ColorExpandAppliesAgainAndShiftClickRedisplaysFirst) {
  tbitmap pic = MakeTestPicture(50, 40, 2);
  // Narrow the range so the expansion has something to do.
  for (std::uint8_t& v : pic.Bytes()) v = static_cast<std::uint8_t>(60 + v / 3);
  shown.picture = pic;
  host.stored = pic;
  EXPECT_EQ(page.ExpandLabel->text(), "10");
  page.TrackBar5->setValue(20);
  EXPECT_EQ(page.ExpandLabel->text(), "20");
  tbitmap once = pic;
  ASSERT_TRUE(ExpandColourRange(once, 20));
  page.Button4->click();
  EXPECT_EQ(shown.picture, once);
  EXPECT_EQ(host.redisplays, 0);
  tbitmap twice = once;
  ExpandColourRange(twice, 20);
  page.Button4->click();
  EXPECT_EQ(shown.picture, twice);
  // Shift-click: from the stored picture again.
  QTest::mouseClick(page.Button4, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(host.redisplays, 1);
  EXPECT_EQ(shown.picture, once);
  // A plain click after it is plain again.
  QTest::mouseClick(page.Button4, Qt::LeftButton);
  EXPECT_EQ(host.redisplays, 1);
  EXPECT_EQ(shown.picture, twice);
  // Nothing to redisplay: the picture stays.
  host.stored = tbitmap{};
  page.Button4Click(true);
  EXPECT_EQ(shown.picture, twice);
  EXPECT_EQ(shown.messages.back(), "Nothing to redisplay");
}

TEST_F(CorrectionPageTest, DeFringeButtonsFilterTheShownPictureWithProgress) {
  tbitmap pic(12, 24);
  std::fill(pic.Bytes().begin(), pic.Bytes().end(), std::uint8_t{100});
  tfastbm f;
  f.Attach(&pic);
  for (int y = 5; y < 15; ++y) f.SetPixel(4, y, MakeColor(200, 200, 200));
  shown.picture = pic;
  page.VerticalButton->click();
  tbitmap expected = pic, result;
  DeFringe(expected, result, true, false);
  EXPECT_EQ(shown.picture, result);
  EXPECT_NE(shown.picture, pic);
  EXPECT_EQ(shown.progress.front(), (std::pair<int, std::string>{10, "Finding Fringes"}));
  EXPECT_EQ(shown.statuses.back(), "Ready");
  EXPECT_EQ(shown.hooked, 1);
  // A picture the filter refuses stays and its message is shown.
  tbitmap tall(6, 2401);
  shown.picture = tall;
  const int replaced = shown.replaced;
  page.HorizontalButton->click();
  EXPECT_EQ(shown.replaced, replaced);
  EXPECT_EQ(shown.messages.back(), "Bitmap too big for this operation");
}

TEST_F(CorrectionPageTest, SavingQualityLabel) {
  EXPECT_EQ(page.SavingQuality(), 80);
  EXPECT_EQ(page.QualityLabel->text(), "JPEG Quality 80 %");
  page.TrackBar12->setValue(55);
  EXPECT_EQ(page.QualityLabel->text(), "JPEG Quality 55 %");
  EXPECT_EQ(page.TrackBar12->toolTip(), "Sets the JPEG compression used when saving the file.");
}

// ---- Touch page ----

class TouchPageTest : public ::testing::Test {
 protected:
  TouchPageTest() {
    shown.hook = [this] { page.PictureDisplayed(); };
  }
  // A picture shown in the ordinary way.
  void Show(const tbitmap& b) {
    shown.picture = b;
    page.PictureDisplayed();
  }
  QSlider* Bar(int i) { return page.Sliders[i]; }

  tshown shown;
  tfaketouchhost host{shown};
  tretoucher retoucher;
  ttouchpage page{retoucher, host};
};

TEST_F(TouchPageTest, SlidersLabelsMappingsAndTheLock) {
  EXPECT_TRUE(page.LockBox->isChecked());
  Bar(0)->setValue(50);
  EXPECT_EQ(page.SliderLabels[0]->text(), "50");
  EXPECT_EQ(retoucher.Settings().Brightness, -50);
  Bar(1)->setValue(-20);
  EXPECT_EQ(retoucher.Settings().Contrast, 20);
  Bar(2)->setValue(-25);
  EXPECT_EQ(retoucher.Settings().Sharpness, -25);
  // Locked: one colour slider moves all three.
  Bar(4)->setValue(50);
  EXPECT_EQ(Bar(3)->value(), 50);
  EXPECT_EQ(Bar(5)->value(), 50);
  EXPECT_EQ(page.SliderLabels[5]->text(), "50");
  EXPECT_EQ(retoucher.Settings().Red, -100);
  EXPECT_EQ(retoucher.Settings().Blue, -100);
  // Unlocked: each on its own.
  page.LockBox->click();
  Bar(5)->setValue(-50);
  EXPECT_EQ(Bar(3)->value(), 50);
  EXPECT_EQ(retoucher.Settings().Blue, 50);
  // Checking the lock again copies the red slider.
  page.LockBox->click();
  EXPECT_EQ(Bar(5)->value(), 50);
  EXPECT_EQ(retoucher.Settings().Blue, -100);

  page.ZeroAllButton->click();
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(Bar(i)->value(), 0);
    EXPECT_EQ(page.SliderLabels[i]->text(), "0");
  }
  EXPECT_EQ(retoucher.Settings(), tretouchsettings{});
}

TEST_F(TouchPageTest, ApplyUndoAndRevert) {
  const tbitmap pic = MakeTestPicture(200, 150, 4);
  Show(pic);
  EXPECT_FALSE(page.UndoButton->isEnabled());
  Bar(0)->setValue(100);  // doubles
  page.ApplyButton->click();
  tbitmap doubled = pic;
  for (std::uint8_t& v : doubled.Bytes()) v = static_cast<std::uint8_t>(std::min(2 * v, 255));
  EXPECT_EQ(shown.picture, doubled);
  EXPECT_EQ(shown.hooked, 0);  // shown without reloading the retoucher
  EXPECT_TRUE(page.UndoButton->isEnabled());
  EXPECT_EQ(shown.progress.front(), (std::pair<int, std::string>{2, "Processing"}));
  EXPECT_EQ(shown.statuses.back(), "Ready");
  EXPECT_EQ(page.AppliedPositions().Brightness, 100);

  // Apply again: absolute, from the base picture.
  page.ApplyButton->click();
  EXPECT_EQ(shown.picture, doubled);

  page.UndoButton->click();
  EXPECT_EQ(shown.picture, doubled);  // the picture before the last Apply
  EXPECT_FALSE(page.UndoButton->isEnabled());
  page.UndoClick();
  EXPECT_EQ(shown.messages.back(), "Cannot Undo");

  page.ApplyButton->click();
  EXPECT_TRUE(page.UndoButton->isEnabled());
  page.RevertButton->click();
  EXPECT_EQ(shown.picture, pic);
  EXPECT_EQ(shown.hooked, 1);  // through the display hook, which drops the undo
  EXPECT_FALSE(page.UndoButton->isEnabled());
}

TEST_F(TouchPageTest, ApplyMessages) {
  page.ApplyButton->click();
  EXPECT_EQ(shown.messages.back(), "No Image to retouch");
  shown.picture = MakeTestPicture(20, 20, 1);
  shown.movie = true;
  page.ApplyButton->click();
  EXPECT_EQ(shown.messages.back(), "Can't retouch a movie frame");
  EXPECT_EQ(shown.replaced, 0);
}

TEST_F(TouchPageTest, EnteringShowsTheCentreAndAClickNearTheCornerTheCornerArea) {
  const tbitmap pic = MakeTestPicture(640, 480, 6);
  Show(pic);
  page.show();  // entering the page
  EXPECT_EQ(retoucher.PreviewArea(), (tretouchrect{254, 198, 132, 84}));
  ASSERT_FALSE(page.Image1->pixmap().isNull());
  QImage shownPreview = page.Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shownPreview.size(), QSize(132, 84));
  const tcolor centre = PixelAt(pic, 254 + 10, 198 + 5);
  EXPECT_EQ(shownPreview.pixel(10, 5),
            qRgb(GetRValue(centre), GetGValue(centre), GetBValue(centre)));

  page.PictureClicked(QPoint(5, 470));
  EXPECT_EQ(retoucher.PreviewArea(), (tretouchrect{0, 396, 132, 84}));
  shownPreview = page.Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
  const tcolor corner = PixelAt(pic, 0, 479);
  EXPECT_EQ(shownPreview.pixel(0, 83),
            qRgb(GetRValue(corner), GetGValue(corner), GetBValue(corner)));

  // The preview follows the sliders.
  Bar(0)->setValue(-100);  // black
  shownPreview = page.Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shownPreview.pixel(66, 42), qRgb(0, 0, 0));
  page.hide();
}

TEST_F(TouchPageTest, TheDisplayHookReloadsTheBasePicture) {
  const tbitmap first = MakeTestPicture(100, 80, 1);
  Show(first);
  ASSERT_NE(retoucher.BasePicture(), nullptr);
  EXPECT_EQ(*retoucher.BasePicture(), first);
  const tbitmap second = MakeTestPicture(100, 80, 2);
  Show(second);  // same display size: the base is kept and redrawn
  EXPECT_EQ(*retoucher.BasePicture(), second);
  const tbitmap third = MakeTestPicture(60, 40, 3);
  Show(third);
  EXPECT_EQ(*retoucher.BasePicture(), third);
  // A picture smaller than the preview shows white beside it.
  page.show();
  const QImage preview = page.Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(preview.pixel(100, 60), qRgb(255, 255, 255));
  const tcolor c = PixelAt(third, 5, 5);
  EXPECT_EQ(preview.pixel(5, 5), qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
  page.hide();
}

}  // namespace
}  // namespace vantlo
