// The MiniLab wizard and "MiniLab Default Actions" offscreen, on a fake window and a recording
// runner host: every page in order with its texts and checks (no camera, a silent camera, the
// range and chosen-thumbnail checks), the window pages shown on the way, "Start Processing" in
// the MiniLab slot (refused while the camera is busy) with the stored defaults left as they
// were, "Save these settings", the help pages, and the wizard shown without being modal.
#include "app/ui/minilabwiz.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <stdexcept>

#include "app/ui/develop.h"
#include "moviehost.h"

namespace vantlo {
namespace {

using testhost::tmoviehost;

// The runner's side, recording what a run asks for.
class trunner : public tminilabhost {
 public:
  explicit trunner(tmoviehost& window) : window_(window) {}
  tsettingsrecords& Settings() override { return window_.settings; }
  void CollectSettings() override {}
  void SettingsChanged() override { ++changed; }
  tcameraselection& CameraSelection() override { return selection; }
  bool StopRequested() override { return false; }
  void LoadAllThumbnails() override { ++thumbnailLoads; }
  void FetchSelected() override {
    fetched = selection.Selected();
    slotHeld = window_.busy.IsHeld(tbusyregister::slotM);
    savedJpeg = window_.settings.config.SaveJpeg();
    savedCam = window_.settings.config.SaveCam();
    savedIn = window_.settings.config.SaveFolder();
    if (fail) throw std::runtime_error("Camera is not connected");
  }
  void PrintSelected() override { printed = selection.Selected(); }
  int PictureCount() override {
    if (silent) throw std::runtime_error("no answer");
    return count;
  }
  std::string SaveFolder() override { return "/pictures/autosave/"; }
  void EnsureDailyFolder() override {}
  void ShowFolder(const std::string& folder) override { shownFolder = folder; }

  tcameraselection selection;
  int count = 5;
  bool silent = false;
  bool fail = false;
  int thumbnailLoads = 0;
  int changed = 0;
  std::vector<int> fetched, printed;
  bool slotHeld = false, savedJpeg = false, savedCam = true;
  std::string savedIn, shownFolder;

 private:
  tmoviehost& window_;
};

class MiniLabWizard : public ::testing::Test {
 protected:
  MiniLabWizard() : runner(host), wizard(host, runner, Commands()) {}
  tminilabwizcommands Commands() {
    tminilabwizcommands c;
    c.message = [this](const std::string& t) { messages.push_back(t); };
    c.chooseFolder = [](const std::string&) { return std::string("/pictures/lab"); };
    c.printerText = [] { return std::string("Printer : PDF, Portrait, 4 pictures per page"); };
    c.connectionWizard = [this] { ++connectionWizards; };
    return c;
  }
  // Through the pages to the summary: pictures 3 to 5 as JPEG files into /pictures/lab, no print.
  void ToSummary() {
    wizard.StartCameraTask();
    wizard.CameraYes();
    wizard.ChooseRange();
    wizard.FromNumber->setValue(3);
    wizard.ToNumber->setValue(5);
    wizard.Continue();
    wizard.SaveChoice(false, true);
    wizard.ChooseAnotherFolder();
    wizard.UseThisFolder();
    wizard.PrintChoice(false);
  }

  tmoviehost host;
  trunner runner;
  Tminilabwiz wizard;
  std::vector<std::string> messages;
  int connectionWizards = 0;
};

TEST_F(MiniLabWizard, ThePagesInOrderWithTheirTextsAndChecks) {
  EXPECT_EQ(wizard.Page(), Tminilabwiz::pgWelcome);
  EXPECT_FALSE(wizard.BackButton->isVisibleTo(&wizard));
  wizard.StartCameraTask();
  EXPECT_EQ(wizard.Page(), Tminilabwiz::pgConnected);
  EXPECT_TRUE(wizard.StartButton->isVisibleTo(&wizard));
  EXPECT_EQ(host.pages.back(), 3);  // the setup panel

  wizard.CameraNo();
  runner.count = 0;
  wizard.CameraYes();
  runner.silent = true;
  wizard.CameraYes();
  EXPECT_EQ(messages,
            (std::vector<std::string>{kConnectTheCamera, kNoPicturesInCamera, kCannotCommunicate}));
  EXPECT_EQ(wizard.Page(), Tminilabwiz::pgConnected);
  runner.silent = false;
  runner.count = 1;
  wizard.CameraYes();
  EXPECT_EQ(wizard.CountLabel->text(), "There is 1 picture stored in the Camera.");
  wizard.Back();
  runner.count = 5;
  wizard.CameraYes();
  EXPECT_EQ(wizard.CountLabel->text(), "There are 5 pictures stored in the Camera.");
  EXPECT_EQ(wizard.Page(), Tminilabwiz::pgWhich);
  EXPECT_EQ(wizard.ToNumber->value(), 5);
  EXPECT_EQ(wizard.ToNumber->maximum(), 5);

  messages.clear();
  wizard.ChooseRange();
  wizard.FromNumber->setValue(5);
  wizard.ToNumber->setValue(3);
  wizard.Continue();
  EXPECT_EQ(messages, (std::vector<std::string>{kFirstBelowLast}));
  EXPECT_EQ(wizard.Page(), Tminilabwiz::pgWhich);

  // Chosen thumbnails: the grid's selection is cleared, the thumbnails loaded, and nothing
  // chosen is refused.
  runner.selection.Set(2, true);
  wizard.ChooseThumbnails();
  EXPECT_EQ(runner.thumbnailLoads, 1);
  EXPECT_FALSE(runner.selection.Any());
  EXPECT_EQ(wizard.ThumbnailsLabel->text(),
            "Select the pictures you want to fetch and click \"Continue\"");
  wizard.Continue();
  EXPECT_EQ(messages.back(), kNothingChosen);
  runner.selection.Set(4, true);
  wizard.Continue();
  EXPECT_EQ(wizard.Page(), Tminilabwiz::pgSave);
  EXPECT_EQ(host.pages.back(), 7);  // "Image"

  wizard.SaveChoice(true, true);
  EXPECT_EQ(wizard.Page(), Tminilabwiz::pgWhere);
  EXPECT_EQ(host.pages.back(), 5);  // "Saving"
  EXPECT_EQ(wizard.AutoSaveLabel->text(), "The AutoSave Folder is : /pictures/autosave/");
  EXPECT_EQ(wizard.ChosenFolderLabel->text(), "   /pictures/autosave/   ");
  wizard.ChooseAnotherFolder();
  EXPECT_EQ(wizard.ChosenFolderLabel->text(), "   /pictures/lab   ");
  wizard.UseDefaultFolder();
  EXPECT_EQ(wizard.Plan().folder, "/pictures/autosave/");
  wizard.ChangeDefaultFolder();
  EXPECT_TRUE(wizard.UseNewDefaultButton->isVisibleTo(&wizard));
  wizard.UseNewDefaultFolder();
  EXPECT_EQ(wizard.AutoSaveLabel->text(), "The Default AutoSave Folder is : /pictures/autosave/");
  wizard.UseThisFolder();
  EXPECT_EQ(wizard.Page(), Tminilabwiz::pgPrint);
  wizard.PrintChoice(true);
  EXPECT_EQ(wizard.Page(), Tminilabwiz::pgSummary);
  EXPECT_EQ(wizard.SummaryFetch->text(), ":  Selected Pictures");
  EXPECT_EQ(wizard.SummarySave->text(), ":  CAM and JPG files");
  EXPECT_EQ(wizard.SummaryFolder->text(), ":  /pictures/autosave/");
  EXPECT_EQ(wizard.SummaryPrint->text(), ":  Yes");

  // "< Back" returns to the page before; "<< Start" to the first.
  wizard.Back();
  EXPECT_EQ(wizard.Page(), Tminilabwiz::pgPrint);
  wizard.StartOver();
  EXPECT_EQ(wizard.Page(), Tminilabwiz::pgWelcome);
}

TEST_F(MiniLabWizard, StartProcessingRunsTheRangeInTheMiniLabSlotAndKeepsTheStoredDefaults) {
  tconfigrecord& config = host.settings.config;
  config.SetSaveCam(true);
  config.SetSaveJpeg(false);
  config.SetSaveFolder("/pictures/autosave");
  config.SetMiniLabSaveCam(true);
  config.SetMiniLabSaveJpeg(false);
  config.SetMiniLabFetchThumbnails(true);
  host.settings.extra.SetMiniLabFolder("");
  const auto before = std::vector<std::uint8_t>(config.Bytes().begin(), config.Bytes().end());

  ToSummary();
  EXPECT_EQ(wizard.SummaryFetch->text(), ":  Pictures 3 to 5");
  EXPECT_EQ(wizard.SummarySave->text(), ":  JPG files");
  EXPECT_EQ(wizard.SummaryPrint->text(), ":  No");
  EXPECT_TRUE(wizard.FetchThumbnailsBox->isChecked());
  wizard.FetchThumbnailsBox->setChecked(false);
  wizard.ShowWizard();
  EXPECT_FALSE(wizard.isModal());
  wizard.StartProcessing();

  EXPECT_EQ(runner.fetched, (std::vector<int>{3, 4, 5}));
  EXPECT_TRUE(runner.slotHeld);
  EXPECT_TRUE(runner.savedJpeg);
  EXPECT_FALSE(runner.savedCam);
  EXPECT_EQ(runner.savedIn, "/pictures/lab");
  EXPECT_EQ(runner.thumbnailLoads, 0);
  EXPECT_EQ(runner.shownFolder, "/pictures/lab");
  EXPECT_FALSE(host.busy.AnyHeld());
  EXPECT_FALSE(wizard.isVisible());
  EXPECT_EQ(wizard.Page(), Tminilabwiz::pgWelcome);
  EXPECT_EQ(std::vector<std::uint8_t>(config.Bytes().begin(), config.Bytes().end()), before);
  EXPECT_EQ(host.settings.extra.MiniLabFolder(), "");
}

TEST_F(MiniLabWizard, StartProcessingIsRefusedWhileTheCameraIsBusyAndShowsErrors) {
  ToSummary();
  {
    tbusyguard thumbnails(host.busy, tbusyregister::kThumbnails);
    wizard.StartProcessing();
  }
  EXPECT_EQ(messages, (std::vector<std::string>{tbusyregister::kBusyBoxText}));
  EXPECT_TRUE(runner.fetched.empty());

  runner.fail = true;
  wizard.StartProcessing();
  EXPECT_EQ(messages.back(), "Camera is not connected");
  EXPECT_TRUE(wizard.isVisible());  // shown again with the error
  EXPECT_EQ(wizard.Page(), Tminilabwiz::pgSummary);
  EXPECT_FALSE(host.busy.AnyHeld());
  EXPECT_TRUE(runner.shownFolder.empty());
  wizard.CloseWithWindow();
  EXPECT_FALSE(wizard.isVisible());
}

TEST_F(MiniLabWizard, SaveTheseSettingsMakesTheAnswersTheDefaults) {
  ToSummary();
  wizard.FetchThumbnailsBox->setChecked(true);
  wizard.SaveTheseSettings();
  EXPECT_EQ(wizard.DefaultsLabel->text(), kDefaultsSaved);
  const tconfigrecord& c = host.settings.config;
  EXPECT_TRUE(c.MiniLabFetchThumbnails());
  EXPECT_TRUE(c.MiniLabSaveJpeg());
  EXPECT_FALSE(c.MiniLabSaveCam());
  EXPECT_FALSE(c.MiniLabPrint());
  EXPECT_TRUE(c.MiniLabFetchPictures());
  EXPECT_EQ(host.settings.extra.MiniLabFolder(), "/pictures/lab");
  EXPECT_GT(runner.changed, 0);
}

TEST_F(MiniLabWizard, HelpPagesShowTheSettingsAndLeadToTheCommands) {
  wizard.OpenHelp();
  EXPECT_EQ(wizard.Page(), Tminilabwiz::pgHelp);
  wizard.Pages->currentWidget()->findChild<QPushButton*>("HelpPrintButton")->click();
  EXPECT_EQ(wizard.Page(), Tminilabwiz::pgHelpPrint);
  EXPECT_EQ(wizard.PrinterLabel->text(), "Printer : PDF, Portrait, 4 pictures per page");
  wizard.Back();
  host.settings.config.SetSaveContactSheets(true);
  wizard.Pages->currentWidget()->findChild<QPushButton*>("HelpSheetsButton")->click();
  EXPECT_TRUE(wizard.SheetLabel->text().startsWith("Contact sheet size : "));
  EXPECT_TRUE(wizard.AutoSaveSheet->isChecked());
  wizard.AskSheet->click();
  EXPECT_FALSE(host.settings.config.SaveContactSheets());
  wizard.Back();
  EXPECT_EQ(wizard.Page(), Tminilabwiz::pgHelp);

  wizard.StartCameraTask();
  wizard.Pages->currentWidget()->findChild<QPushButton*>("ConnectHelpButton")->click();
  EXPECT_EQ(connectionWizards, 1);
}

TEST(MiniLabDefaultActions, OkWritesTheBoxesBackAndCancelChangesNothing) {
  tconfigrecord config;
  config.SetMiniLabFetchThumbnails(true);
  config.SetMiniLabSaveJpeg(true);
  config.SetMiniLabSaveCam(false);
  config.SetMiniLabPrint(false);
  {
    Tdevelop dialog(config);
    EXPECT_EQ(dialog.windowTitle(), "MiniLab Default Actions");
    EXPECT_TRUE(dialog.FetchThumbnails->isChecked());
    EXPECT_FALSE(dialog.SaveCam->isChecked());
    dialog.SaveCam->setChecked(true);
    dialog.FetchThumbnails->setChecked(false);
    dialog.reject();
  }
  EXPECT_FALSE(config.MiniLabSaveCam());
  EXPECT_TRUE(config.MiniLabFetchThumbnails());
  {
    Tdevelop dialog(config);
    dialog.SaveCam->setChecked(true);
    dialog.PrintPictures->setChecked(true);
    dialog.accept();
  }
  EXPECT_TRUE(config.MiniLabSaveCam());
  EXPECT_TRUE(config.MiniLabPrint());
  EXPECT_TRUE(config.MiniLabSaveJpeg());
}

}  // namespace
}  // namespace vantlo
