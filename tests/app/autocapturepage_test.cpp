// The AutoCapture page on a fake host, offscreen: the lights and the label follow the status
// display through a card run and a serial run on the simulated camera; Start and Stop; closing
// the window while a run goes on; the question before a run that would only delete; and the two
// settings dialogs' rules.
#include "app/ui/autocapturepage.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "app/core/carddrives.h"
#include "app/core/cardfolders.h"
#include "app/core/soundplayer.h"
#include "app/ui/autocapturesettings.h"
#include "app/ui/roundled.h"
#include "app/ui/usbautocapsettings.h"
#include "fakehost.h"
#include "modalcloser.h"
#include "simulator/simcamera.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;

// A window that counts the close requests it gets.
class tclosingwindow : public QWidget {
 public:
  int closes = 0;

 protected:
  void closeEvent(QCloseEvent* event) override {
    ++closes;
    event->accept();
  }
};

class tautocaphost : public tfakehostof<tcameralink> {
 public:
  QWidget* Window() override { return &window; }
  tclosingwindow window;
};

std::string Lights(const tautocapturepage& page) {
  std::string s;
  for (const troundled* led : {page.RoundLed10, page.RoundLed7, page.RoundLed8, page.RoundLed9})
    s += led->IsOn() ? '1' : '0';
  return s;
}

class AutoCapturePageTest : public ::testing::Test {
 protected:
  AutoCapturePageTest() {
    out = fs::path(temp.path().toStdString()) / "pictures";
    fs::create_directories(out);
    host.settings.config.SetSaveFolder(out.string());
    host.settings.config.SetDailyFolder(false);
    host.settings.autocapture.SetNameByPrefix(true);
    host.settings.autocapture.SetSeparateFiles(true);
  }
  void MakeCard() {
    const fs::path card = fs::path(temp.path().toStdString()) / "card";
    fs::create_directories(card / "DCIM/100CASIO");
    std::ofstream(card / "DCIM/100CASIO/CIMG0001.JPG") << "one";
    std::ofstream(card / "DCIM/100CASIO/CIMG0002.JPG") << "two";
    tcarddrives drives;
    const int drive = drives.DriveOf(card.string());
    ASSERT_TRUE(drives.Save());
    host.settings.autocapture.SetUsbDrive(drive);
    host.settings.autocapture.SetUsbSource(true);
    host.settings.autocapture.SetKeepCardNames(true);
  }

  QTemporaryDir temp;
  fs::path out;
  tautocaphost host;
  tsilentsound sounds;
};

TEST_F(AutoCapturePageTest, TheLightsAndLabelFollowACardRun) {
  MakeCard();
  tautocapturepage page(host, &sounds);
  page.ApplySettings(host.settings);
  EXPECT_TRUE(page.RadioButton18->isChecked());
  std::vector<std::string> during;
  host.onFilesWritten = [&] {
    during.push_back(Lights(page) + " " + page.Label37->text().toStdString() + " " +
                     page.Button1->text().toStdString());
  };
  page.button1click();
  ASSERT_GE(during.size(), 2u);
  EXPECT_EQ(during[0], "0110 2 pictures to capture Stop");
  EXPECT_EQ(during[1], "0110 1 picture to capture Stop");
  EXPECT_TRUE(fs::exists(out / "cimg0002.jpg"));
  // Stopped: every light off but "All pictures captured", the label empty, slot A free.
  EXPECT_EQ(Lights(page), "0001");
  EXPECT_EQ(page.Label37->text(), "");
  EXPECT_EQ(page.Button1->text(), "Start");
  EXPECT_FALSE(host.busy.AnyHeld());
  EXPECT_FALSE(host.settings.autocapture.Running());
  EXPECT_EQ(host.shownPage, 8);
  EXPECT_EQ(host.statuses.front(), " AutoCapture Active");
  // Entering the page switches the all-captured light off.
  page.Entered();
  EXPECT_EQ(Lights(page), "0000");
}

class AutoCaptureSerialPageTest : public AutoCapturePageTest {
 protected:
  AutoCaptureSerialPageTest() {
    camsim::Options options;
    options.count = 3;
    camera = std::make_unique<camsim::SimulatedCamera>(options);
    camera->Start();
    host.link = MakeEngineLink(camera->DevicePath(), false);
    host.settings.autocapture.SetKeepPolling(true);
  }
  ~AutoCaptureSerialPageTest() override {
    host.link.reset();
    camera->Stop();
  }
  std::unique_ptr<camsim::SimulatedCamera> camera;
};

TEST_F(AutoCaptureSerialPageTest, StopEndsAPollingRunAfterThePicture) {
  tautocapturepage page(host, &sounds);
  int files = 0;
  host.onFilesWritten = [&] {
    // The second file (the first picture's JPEG): the user clicks Stop.
    if (++files == 2) {
      EXPECT_EQ(Lights(page), "0110");
      EXPECT_EQ(page.Label37->text(), "3 pictures to capture");
      EXPECT_TRUE(host.busy.AnyHeld());
      page.button1click();
    }
  };
  page.button1click();
  EXPECT_EQ(page.Button1->text(), "Start");
  EXPECT_FALSE(page.Running());
  EXPECT_FALSE(host.busy.AnyHeld());
  EXPECT_EQ(Lights(page), "0000");
  EXPECT_TRUE(fs::exists(out / "autocap000.jpg"));
  EXPECT_FALSE(fs::exists(out / "autocap001.jpg"));
  EXPECT_EQ(camera->PictureCount(), 2);
  EXPECT_FALSE(page.Image12->pixmap().isNull());  // the thumbnail was shown
}

TEST_F(AutoCaptureSerialPageTest, ClosingDuringARunStopsItAndThenCloses) {
  tautocapturepage page(host, &sounds);
  bool mayClose = true;
  host.onFilesWritten = [&] {
    if (host.written.size() == 1) mayClose = page.MayClose();
  };
  page.button1click();
  EXPECT_FALSE(mayClose);
  EXPECT_EQ(host.window.closes, 1);  // the page closed the window once the run had ended
  EXPECT_FALSE(page.Running());
  EXPECT_TRUE(page.MayClose());
}

TEST_F(AutoCaptureSerialPageTest, ARunThatWouldOnlyDeleteAsksFirst) {
  host.settings.autocapture.SetSeparateFiles(false);
  host.settings.autocapture.SetSaveCam(false);
  host.settings.autocapture.SetSingleFile(false);
  tautocapturepage page(host, &sounds);
  tmodalcloser boxes;  // answers No
  page.button1click();
  ASSERT_EQ(boxes.texts.size(), 1);
  EXPECT_EQ(boxes.texts[0].toStdString(), tautocapturepage::kNoSaveQuestion);
  EXPECT_EQ(camera->PictureCount(), 3);
  EXPECT_TRUE(host.statuses.empty());  // never started
}

TEST(AutoCaptureSettingsDialogs, TheSerialDialogRoundTripsAndAsksWhenNothingIsSaved) {
  Tautocapturesettings dialog(nullptr, nullptr);
  tautocapturerecord record;
  record.SetSoundFile(tautocapsound::Disconnected, "/sounds/gone.wav");
  record.SetPlaySound(tautocapsound::Disconnected, true);
  record.SetOutputSize(4);
  record.SetKeepPolling(true);
  record.SetNamePrefix("station");
  dialog.LoadFrom(record);
  EXPECT_FALSE(dialog.StopWhenAllBox->isChecked());
  tautocapturerecord back;
  dialog.StoreInto(back);
  EXPECT_EQ(back, record);

  dialog.SeparateBox->setChecked(false);
  dialog.SingleFileBox->setChecked(false);
  dialog.CamBox->setChecked(false);
  {
    tmodalcloser boxes;  // answers No: the dialog stays open
    dialog.accept();
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_EQ(boxes.texts[0].toStdString(), Tautocapturesettings::kNothingSavedQuestion);
  }
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  tmodalcloser yes;
  yes.answerYes = true;
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(AutoCaptureSettingsDialogs, TheCardDialogEnablesNamingOnlyForPicturesAndLocatesACard) {
  QTemporaryDir temp;
  const fs::path base = temp.path().toStdString();
  fs::create_directories(base / "card/DCIM");
  tcarddrives drives((base / "drives").string());
  drives.DriveOf((base / "card").string());  // a folder the user named: D:
  ASSERT_TRUE(drives.Save());
  Tusbautocapsettings dialog(nullptr, (base / "drives").string());
  tautocapturerecord record;
  tconfigrecord config;
  config.SetSaveFolder("/home/me/Pictures/");
  record.SetCopyCompleteCard(true);
  dialog.LoadFrom(record, config);
  EXPECT_FALSE(dialog.NamesGroup->isEnabled());
  EXPECT_FALSE(dialog.DailyBox->isEnabled());
  dialog.PicturesRadio->setChecked(true);
  EXPECT_TRUE(dialog.NamesGroup->isEnabled());
  EXPECT_TRUE(dialog.DailyBox->isEnabled());
  EXPECT_EQ(dialog.SelectedDrive(), 0);  // not set up: the box starts empty

  // A card mounted on this machine would be the most recent volume holding DCIM.
  if (FindCard(RemovableVolumes())) GTEST_SKIP() << "a card is mounted here";
  tdialoganswerer ok([](QWidget* w) {
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
      QAbstractButton* b = box->button(QMessageBox::Ok);
      (b ? b : box->buttons().first())->click();
    }
  });
  const int found = dialog.LocateClick();
  EXPECT_EQ(found, 4);
  EXPECT_EQ(dialog.SelectedDrive(), 4);
  dialog.OriginalRadio->setChecked(true);
  dialog.StoreInto(record, config);
  EXPECT_EQ(record.UsbDrive(), 4);
  EXPECT_TRUE(record.KeepCardNames());
  EXPECT_FALSE(record.CopyCompleteCard());
  EXPECT_EQ(config.SaveFolder(), "/home/me/Pictures/");
}

}  // namespace
}  // namespace vantlo
