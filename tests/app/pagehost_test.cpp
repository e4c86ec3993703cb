// Pages of the main window on a small fake host, without a window or a settings folder: the
// Camera page's battery, power and reset commands on a stand-in camera link (busy slot held,
// failures shown, nothing done while the camera is busy), the Setup page's settings round trip
// (the port list, the speed handed to the link, cable or IrDA, a port that does not exist), and
// the Saving page showing what a command wrote back.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QRadioButton>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/busyregister.h"
#include "app/cameralink.h"
#include "app/createdfolders.h"
#include "app/progressreport.h"
#include "app/stoprequest.h"
#include "app/ui/camerapage.h"
#include "app/ui/internetfeatures.h"
#include "app/ui/pictureview.h"
#include "app/ui/savingpage.h"
#include "app/ui/setuppage.h"
#include "app/ui/windowhost.h"
#include "camera/qv10int.h"
#include "dialoganswerer.h"
#include "fakehost.h"
#include "library/records.h"
#include "output/acprinter.h"
#include "output/conman.h"

namespace vantlo {
namespace {

// A camera link that records what the pages ask of it.
class tfakelink : public tcameralink {
 public:
  std::string CurrentPortName() const override { return port; }
  void SelectPort(const std::string& name) override { port = name; }
  int TestLink(std::string& firstByte, int& errorCode) override {
    firstByte.clear();
    errorCode = 2;
    return 2;
  }
  std::string ErrorText(int) const override { return "Port not found (2)"; }
  void SetDesiredSpeed(unsigned char baudIndex) override { speeds.push_back(baudIndex); }
  void SetIrdaMode(bool on) override { irda = on; }
  void SetBlockSize(int) override {}
  void SetLowVoltageThreshold(double v) override { threshold = v; }
  void SetOnLowVoltage(std::function<void()>) override {}
  void SetOnProgress(std::function<void(int, const std::string&, int)>) override {}
  bool CheckCamera() override { return false; }
  void PowerOff() override {
    ++powerOffs;
    if (fail) throw std::runtime_error("Camera must be in REC mode");
  }
  void ResetCamera() override { ++resets; }
  double GetBatteryVoltage() override {
    if (fail) throw std::runtime_error("Camera must be in REC mode");
    return volts;
  }
  int GetPictureCount() override { return 0; }
  void SelectPicture(int) override {}
  std::string DeviceOf(const std::string& name) const override {
    return name == "COM2:" ? "/dev/ttyFAKE" : std::string();
  }
  void ReopenIfClosed() override {}
  std::string PortFailure() const override { return {}; }

  std::string port = "COM1:";
  std::vector<unsigned char> speeds;
  bool irda = false;
  double threshold = 0;
  double volts = 4.4;
  bool fail = false;
  int powerOffs = 0;
  int resets = 0;
};

using tfakehost = tfakehostof<tfakelink>;

// Answers every message box with its escape button and keeps its text.
struct tboxes {
  tboxes()
      : answerer([this](QWidget* w) {
          if (auto* box = qobject_cast<QMessageBox*>(w)) {
            texts.push_back(box->text().toStdString());
            box->reject();
          }
        }) {}
  std::vector<std::string> texts;
  tdialoganswerer answerer;
};

TEST(CameraPageOnAFakeHost, BatteryPowerAndResetGoThroughTheLinkInSlotP) {
  tfakehost host;
  tcamerapage page(host);
  host.link->volts = 4.4;
  page.SpeedButton3Click();
  EXPECT_FALSE(page.VoltageLabel->text().isEmpty());
  EXPECT_GT(page.Gauge1->value(), 0);
  page.SpeedButton1Click();
  page.SpeedButton2Click();
  EXPECT_EQ(host.link->powerOffs, 1);
  EXPECT_EQ(host.link->resets, 1);
  // Every command released its slot.
  EXPECT_FALSE(host.busy.AnyHeld());

  // "Report Voltage" opens the Camera page first.
  host.shownPage = 3;
  page.ReportVoltage1Click();
  EXPECT_EQ(host.shownPage, 1);
}

TEST(CameraPageOnAFakeHost, NothingIsSentWhileTheCameraIsBusyAndFailuresAreShown) {
  tfakehost host;
  tcamerapage page(host);
  {
    tbusyguard thumbnails(host.busy, tbusyregister::kThumbnails);
    ASSERT_TRUE(thumbnails.Granted());
    page.SpeedButton1Click();
    page.SpeedButton2Click();
  }
  EXPECT_EQ(host.link->powerOffs, 0);
  EXPECT_EQ(host.link->resets, 0);

  tboxes boxes;
  host.link->fail = true;
  page.SpeedButton1Click();
  EXPECT_EQ(boxes.texts, (std::vector<std::string>{"Camera must be in REC mode"}));
  EXPECT_FALSE(host.busy.AnyHeld());

  // Without a link (the close has freed the engine) the commands do nothing.
  host.link.reset();
  page.SpeedButton3Click();
  page.SpeedButton1Click();
  EXPECT_EQ(boxes.texts.size(), 1u);
}

TEST(SetupPageOnAFakeHost, SettingsRoundTripAndTheSpeedGoesToTheLink) {
  tfakehost host;
  tsetuppage page(host, "");
  host.settings.config.SetPort("COM2:");
  host.settings.config.SetSpeedChoice(5);  // 115200
  host.settings.extra.SetIrDA(true);
  page.ApplySettings(host.settings);
  EXPECT_EQ(page.ComboBox2->currentData().toString(), "COM2:");
  EXPECT_TRUE(page.ComboBox2->currentText().contains("/dev/ttyFAKE"));
  EXPECT_EQ(page.ComboBox1->currentIndex(), 5);
  EXPECT_TRUE(page.RadioButton8->isChecked());
  ASSERT_FALSE(host.link->speeds.empty());
  EXPECT_EQ(host.link->speeds.back(), BaudIndexOfSpeedChoice(5));

  page.ComboBox1->setCurrentIndex(2);
  page.ComboBox1Change();
  EXPECT_EQ(host.link->speeds.back(), BaudIndexOfSpeedChoice(2));
  page.RadioButton7->setChecked(true);
  page.RadioButton7Click();
  EXPECT_FALSE(host.link->irda);

  tsettingsrecords read;
  page.ReadSettings(read);
  EXPECT_EQ(read.config.Port(), "COM2:");
  EXPECT_EQ(read.config.SpeedChoice(), 2);
  EXPECT_FALSE(read.extra.IrDA());
}

TEST(SetupPageOnAFakeHost, APortThatDoesNotExistBecomesCom1AndAnOverrideIsNotStored) {
  tfakehost host;
  tsetuppage page(host, "COM3:");
  host.settings.config.SetPort("LPT1:");
  page.ApplySettings(host.settings);
  EXPECT_EQ(host.settings.config.Port(), "COM1:");
  // The list starts on the override's port; reading it back leaves the stored port alone.
  EXPECT_EQ(page.ComboBox2->currentData().toString(), "COM3:");
  page.ReadSettings(host.settings);
  EXPECT_EQ(host.settings.config.Port(), "COM1:");
  page.ComboBox2->setCurrentIndex(3);  // the user picks COM4:
  page.ReadSettings(host.settings);
  EXPECT_EQ(host.settings.config.Port(), "COM4:");
}

TEST(SavingPageOnAFakeHost, ShowsTheFolderAndConfirmationACommandWroteBack) {
  tsavingpage page;
  tsettingsrecords records;
  records.config.SetSaveFolder("/tmp/pictures");
  records.config.SetConfirmOverwrite(true);
  page.ApplySettings(records);
  EXPECT_TRUE(page.ConfirmOverwriteBox->isChecked());
  page.Edit1->setText("abc");  // typed, not yet stored

  records.config.SetConfirmOverwrite(false);  // "Yes to All"
  records.config.SetSaveFolder("/tmp/other");
  page.SettingsChanged(records);
  EXPECT_FALSE(page.ConfirmOverwriteBox->isChecked());
  EXPECT_EQ(page.FolderEdit->text(), "/tmp/other");
  EXPECT_EQ(page.Edit1->text(), "abc");  // the rest of the page keeps what the user typed
}

}  // namespace
}  // namespace vantlo
