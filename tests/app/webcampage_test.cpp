// The Vantlo page (webcam mode) on a fake host, offscreen: the interval as the page shows and
// stores it, "Take Now" in manual mode on the simulated camera writing the fixed output file,
// and the "Advanced Vantlo Parameters" dialog's copies, OK and Cancel.
#include "app/ui/webcampage.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <filesystem>

#include "app/core/soundplayer.h"
#include "app/ui/roundled.h"
#include "app/ui/vantloadv.h"
#include "dialoganswerer.h"
#include "fakehost.h"
#include "modalcloser.h"
#include "picture/jpegimage.h"
#include "simulator/simcamera.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;

std::string Lights(const twebcampage& page) {
  std::string s;
  for (const troundled* led : {page.RoundLed1, page.RoundLed2, page.RoundLed3, page.RoundLed4,
                               page.RoundLed5, page.RoundLed6})
    s += led->IsOn() ? '1' : '0';
  return s;
}

class WebcamPageTest : public ::testing::Test {
 protected:
  WebcamPageTest() {
    base = fs::path(temp.path().toStdString());
    out = base / "pictures";
    fs::create_directories(out);
    drives = (base / "drives").string();
    host.settings.config.SetSaveFolder(out.string());
    host.settings.config.SetDailyFolder(false);
  }

  QTemporaryDir temp;
  fs::path base;
  fs::path out;
  std::string drives;
  tfakehostof<tcameralink> host;
  tsilentsound sounds;
};

TEST_F(WebcamPageTest, TheEveryIntervalIsStoredInSecondsAndShownInWholeMinutesWhenItCan) {
  twebcampage page(host, &sounds, drives);
  struct tcase {
    int value;
    int unit;  // 0 secs, 1 mins, 2 hrs
    int stored;
    int shownValue;
    QString shownUnit;
  };
  for (const tcase& c : {tcase{90, 0, 90, 90, "secs"}, tcase{2, 1, 120, 2, "mins"},
                         tcase{2, 2, 7200, 120, "mins"}}) {
    SCOPED_TRACE(c.stored);
    page.EveryRadio->setChecked(true);
    page.EveryBox->setValue(c.value);
    page.UnitBox->setCurrentIndex(c.unit);
    page.ReadSettings(host.settings);
    EXPECT_EQ(host.webcam.Interval(), c.stored);
    // Other values on the controls, then the block shown again.
    page.ManualRadio->setChecked(true);
    page.EveryBox->setValue(7);
    page.UnitBox->setCurrentIndex(2);
    page.ApplySettings(host.settings);
    EXPECT_TRUE(page.EveryRadio->isChecked());
    EXPECT_EQ(page.EveryBox->value(), c.shownValue);
    EXPECT_EQ(page.UnitBox->currentText(), c.shownUnit);
  }
  // The other radio buttons stand for the interval's special values, both ways.
  struct tspecial {
    QRadioButton* radio;
    int stored;
  };
  for (const tspecial& s : {tspecial{page.ManualRadio, -1}, tspecial{page.ScheduleRadio, -2},
                            tspecial{page.FastRadio, 0}}) {
    SCOPED_TRACE(s.stored);
    s.radio->setChecked(true);
    page.Left();  // TabSheet6Exit: controls to the scheduler
    EXPECT_EQ(host.webcam.Interval(), s.stored);
    page.EveryRadio->setChecked(true);
    page.Entered();  // TabSheet6Enter: the scheduler to the controls
    EXPECT_TRUE(s.radio->isChecked());
  }
  // The five check boxes go into the block.
  page.FetchThumbnailBox->setChecked(false);
  page.SaveThumbnailBox->setChecked(true);
  page.DeleteBox->setChecked(false);
  page.ReadSettings(host.settings);
  EXPECT_FALSE(host.webcam.FetchThumbnail());
  EXPECT_TRUE(host.webcam.SaveThumbnail());
  EXPECT_FALSE(host.webcam.DeleteFromCamera());
  EXPECT_EQ(host.webcam.FetchPicture(), page.FetchPictureBox->isChecked());
  EXPECT_EQ(host.webcam.SavePicture(), page.SavePictureBox->isChecked());
}

TEST_F(WebcamPageTest, WithoutACameraStartAndTakeNowShowAnErrorAndStayInactive) {
  twebcampage page(host, &sounds, drives);
  std::vector<std::string> errors;
  page.showError = [&](const std::string& text) { errors.push_back(text); };
  page.SpeedButton7Click();
  page.SpeedButton10Click();
  EXPECT_EQ(errors.size(), 2u);
  EXPECT_FALSE(page.Running());
  EXPECT_EQ(page.Label12->text(), "Inactive");
  EXPECT_FALSE(host.busy.AnyHeld());
}

class WebcamCameraPageTest : public WebcamPageTest {
 protected:
  WebcamCameraPageTest() {
    camsim::Options options;
    options.count = 2;
    camera = std::make_unique<camsim::SimulatedCamera>(options);
    camera->Start();
    host.link = MakeEngineLink(camera->DevicePath(), false);
  }
  ~WebcamCameraPageTest() override {
    host.link.reset();
    camera->Stop();
  }
  std::unique_ptr<camsim::SimulatedCamera> camera;
};

TEST_F(WebcamCameraPageTest, TakeNowInManualModeWritesTheOutputFileAndWaits) {
  host.webcam.SetInterval(twebcamsettings::kManual);
  host.webcam.SetOutputFile("webcam");
  host.webcam.SetFetchThumbnail(true);
  host.webcam.SetFetchPicture(true);
  host.webcam.SetSavePicture(true);
  host.webcam.SetDeleteFromCamera(true);
  host.webcam.SetPictureCounter(5);
  twebcampage page(host, &sounds, drives);
  page.ApplySettings(host.settings);
  ASSERT_TRUE(page.ManualRadio->isChecked());
  std::vector<int> sleeps;
  page.sleepOverride = [&](int ms) { sleeps.push_back(ms); };
  std::vector<std::string> errors;
  page.showError = [&](const std::string& text) { errors.push_back(text); };
  std::vector<std::string> labels;
  host.onFilesWritten = [&] { labels.push_back(page.Label12->text().toStdString()); };
  tmodalcloser boxes;

  const int before = camera->PictureCount();
  page.SpeedButton10Click();

  EXPECT_TRUE(errors.empty()) << (errors.empty() ? "" : errors.front());
  EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join("; ").toStdString();
  const fs::path file = out / "webcam";
  ASSERT_TRUE(fs::exists(file));
  EXPECT_FALSE(fs::exists(out / "webcam_"));
  TJPEGImage picture;
  ASSERT_NO_THROW(picture.LoadFromFile(file));
  EXPECT_GT(picture.Width(), 0);
  EXPECT_GT(picture.Height(), 0);
  // The file was announced while the picture step was under way.
  ASSERT_FALSE(labels.empty());
  EXPECT_EQ(labels.front(), "Fetching Picture #5");
  // Webcam mode still runs in manual mode, waiting for the next "Take Now".
  EXPECT_TRUE(page.Running());
  EXPECT_EQ(page.Label12->text(), "Waiting");
  EXPECT_EQ(Lights(page), "100000");
  EXPECT_TRUE(page.SpeedButton10->isEnabled());
  EXPECT_EQ(page.SpeedButton7->text(), "Stop");
  EXPECT_FALSE(page.Timer1->isActive());  // no timer in manual mode
  EXPECT_TRUE(host.busy.IsHeld(tbusyregister::slotW));
  EXPECT_EQ(host.webcam.PictureCounter(), 6);
  EXPECT_EQ(camera->PictureCount(), before);  // taken, then deleted
  EXPECT_FALSE(page.Image2->pixmap().isNull());  // the thumbnail was shown
  EXPECT_FALSE(sleeps.empty());  // every pause went through the page's sleep
  ASSERT_FALSE(host.statuses.empty());
  EXPECT_EQ(host.statuses.front(), " Vantlo active");

  // Stop: inactive again, slot W free.
  page.SpeedButton7Click();
  EXPECT_FALSE(page.Running());
  EXPECT_EQ(page.Label12->text(), "Inactive");
  EXPECT_EQ(Lights(page), "000000");
  EXPECT_EQ(page.SpeedButton7->text(), "Start");
  EXPECT_TRUE(page.SpeedButton7->isEnabled());
  EXPECT_FALSE(host.busy.AnyHeld());
  EXPECT_TRUE(page.MayClose());
}

TEST_F(WebcamCameraPageTest, ClosingWhileWebcamModeWaitsStopsItAndMayClose) {
  host.webcam.SetInterval(60);
  twebcampage page(host, &sounds, drives);
  page.ApplySettings(host.settings);
  page.sleepOverride = [](int) {};
  std::vector<std::string> errors;
  page.showError = [&](const std::string& text) { errors.push_back(text); };
  page.SpeedButton7Click();
  ASSERT_TRUE(errors.empty()) << errors.front();
  EXPECT_TRUE(page.Running());
  EXPECT_TRUE(page.Timer1->isActive());
  EXPECT_EQ(page.Label12->text(), "Waiting");
  EXPECT_TRUE(page.MayClose());
  EXPECT_FALSE(page.Running());
  EXPECT_FALSE(page.Timer1->isActive());
  EXPECT_FALSE(host.busy.AnyHeld());
}

// Answers the dialog: `edit` changes its controls, then OK or Cancel.
tdialoganswerer AnswerDialog(std::function<void(Tvantloadv&)> edit, bool ok) {
  return tdialoganswerer([edit = std::move(edit), ok](QWidget* w) {
    auto* dialog = qobject_cast<Tvantloadv*>(w);
    if (!dialog) {
      w->close();
      return;
    }
    edit(*dialog);
    ok ? dialog->accept() : dialog->reject();
  });
}

TEST_F(WebcamPageTest, TheAdvancedDialogReachesCounter9999AndWritesBackOnlyOnOk) {
  Tvantloadv dialog(nullptr, &sounds, drives);
  tsettingsrecords records;
  twebcamsettings block;
  block.SetPictureCounter(12);
  block.SetOutputFile("old");
  block.SetRemoteHost("ftp.example.org");
  const tdatetime first = tdatetime::FromCivil(2024, 3, 5, 14, 30);
  block.SetFirstPictureTime(first);

  dialog.LoadFrom(records, block);
  dialog.CounterBox->setValue(9999);
  EXPECT_EQ(dialog.CounterBox->value(), 9999);
  dialog.CounterBox->setValue(10000);  // beyond what the counter holds
  EXPECT_EQ(dialog.CounterBox->value(), 9999);
  dialog.ZeroClick();
  EXPECT_EQ(dialog.CounterBox->value(), 0);
  // The first picture time read back from the boxes is the one stored.
  EXPECT_NEAR(dialog.FirstPictureTimeOfBoxes().Days(), first.Days(), 1e-6);

  const auto edit = [](Tvantloadv& d) {
    d.CounterBox->setValue(9999);
    d.OutputFileEdit->setText("webcam.jpg");
    d.OutputSizeBox->setCurrentIndex(2);
    d.PlaySoundBox->setChecked(true);
    d.SoundEdit->setText("/sounds/click.wav");
    d.RunProgramBox->setChecked(true);
    d.ProgramEdit->setText("/usr/bin/upload");
    d.FtpBox->setChecked(true);
    d.FtpProgressBox->setChecked(!d.FtpProgressBox->isChecked());
    d.QuietBox->setChecked(true);
    d.QuietFromEdit->setText("22:00");
    d.QuietToEdit->setText("06:00");
    d.UsbRadio->setChecked(true);
  };
  const bool progressBefore = records.ftp.ShowFtpProgress();
  {
    auto cancel = AnswerDialog(edit, false);
    EXPECT_FALSE(dialog.Edit(records, block));
  }
  EXPECT_EQ(block.PictureCounter(), 12);
  EXPECT_EQ(block.OutputFile(), "old");
  EXPECT_FALSE(records.capdata.UsbAndSerial());
  EXPECT_EQ(records.ftp.ShowFtpProgress(), progressBefore);
  const tsettingsrecords untouched;
  EXPECT_EQ(records.capdata, untouched.capdata);
  EXPECT_EQ(records.contact, untouched.contact);
  EXPECT_EQ(records.autocapture, untouched.autocapture);
  EXPECT_EQ(records.ftp, untouched.ftp);

  {
    auto ok = AnswerDialog(edit, true);
    EXPECT_TRUE(dialog.Edit(records, block));
  }
  EXPECT_EQ(block.PictureCounter(), 9999);
  EXPECT_EQ(block.OutputFile(), "webcam.jpg");
  EXPECT_EQ(records.autocapture.OutputSize(), 2);
  EXPECT_TRUE(records.contact.PlaySound());
  EXPECT_EQ(records.contact.SoundFile(), "/sounds/click.wav");
  EXPECT_TRUE(block.RunProgram());
  EXPECT_EQ(block.Program(), "/usr/bin/upload");
  EXPECT_TRUE(block.SendByFtp());
  EXPECT_EQ(records.ftp.ShowFtpProgress(), !progressBefore);
  EXPECT_TRUE(records.capdata.QuietPeriod());
  EXPECT_NEAR(records.capdata.QuietStart().TimeOfDay(), 22.0 / 24, 1e-9);
  EXPECT_NEAR(records.capdata.QuietEnd().TimeOfDay(), 6.0 / 24, 1e-9);
  EXPECT_TRUE(records.capdata.UsbAndSerial());
  // Untouched: the remote host (the Internet settings' field) and the first picture time,
  // whose boxes were not edited.
  EXPECT_EQ(block.RemoteHost(), "ftp.example.org");
  EXPECT_EQ(block.FirstPictureTime(), first);
}

TEST_F(WebcamPageTest, TheAdvancedDialogTakesTheFirstPictureTimeOnlyWhenEdited) {
  Tvantloadv dialog(nullptr, &sounds, drives);
  tsettingsrecords records;
  twebcamsettings block;
  // None set: the boxes show now, and OK without editing keeps none.
  dialog.LoadFrom(records, block);
  EXPECT_FALSE(dialog.FirstTimeEdit->text().isEmpty());
  EXPECT_FALSE(dialog.FirstDateEdit->text().isEmpty());
  dialog.StoreInto(records, block);
  EXPECT_TRUE(block.FirstPictureTime().IsZero());
  // Edited to a time that reads: taken over.
  dialog.LoadFrom(records, block);
  dialog.FirstTimeEdit->setText("07:15");
  emit dialog.FirstTimeEdit->textEdited("07:15");
  dialog.StoreInto(records, block);
  ASSERT_FALSE(block.FirstPictureTime().IsZero());
  EXPECT_NEAR(block.FirstPictureTime().TimeOfDay(), 7.25 / 24, 1e-6);
  // Edited to something unreadable: cleared to none.
  dialog.LoadFrom(records, block);
  dialog.FirstDateEdit->setText("not a date");
  emit dialog.FirstDateEdit->textEdited("not a date");
  dialog.StoreInto(records, block);
  EXPECT_TRUE(block.FirstPictureTime().IsZero());
}

TEST_F(WebcamPageTest, AdvancedOpensOnlyWhenTheProgramIsNotBusyAndEditsTheWindowsBlock) {
  twebcampage page(host, &sounds, drives);
  int opened = 0;
  {
    auto ok = AnswerDialog(
        [&](Tvantloadv& d) {
          ++opened;
          d.CounterBox->setValue(321);
        },
        true);
    ASSERT_TRUE(host.busy.BusyControl(tbusyregister::kAutoCapture));
    page.SpeedButton8Click();
    EXPECT_EQ(opened, 0);
    host.busy.BusyControl(tbusyregister::kAutoCapture + 1);
    page.SpeedButton8Click();
  }
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(host.webcam.PictureCounter(), 321);
  EXPECT_GE(host.changed, 1);
}

}  // namespace
}  // namespace vantlo
