// Folders the window saves into, against the simulated camera: the daily folder a fetch makes is
// removed at close when it is empty and was made by this run, and never otherwise.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>

#include "app/ui/camerapage.h"
#include "app/ui/camerapictures.h"
#include "app/ui/form1.h"
#include "simulator/simcamera.h"
#include "temphome.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;

const tlocaltime kDay{2026, 12, 6, 9, 30, 0};

class tsettingsdir {
 public:
  tsettingsdir() : old_(qgetenv("VANTLO_CONFIG_DIR")) {
    qputenv("VANTLO_CONFIG_DIR", dir_.path().toUtf8());
  }
  ~tsettingsdir() { qputenv("VANTLO_CONFIG_DIR", old_); }

 private:
  QTemporaryDir dir_;
  QByteArray old_;
};

// Every dialog is rejected as soon as it is shown, and its title recorded: these tests expect
// none, and a dialog must not leave them waiting.
class trejectdialogs : public QObject {
 public:
  trejectdialogs() { qApp->installEventFilter(this); }
  ~trejectdialogs() override { qApp->removeEventFilter(this); }
  QStringList shown;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show)
      if (auto* dlg = qobject_cast<QDialog*>(watched)) {
        shown << dlg->windowTitle();
        QMetaObject::invokeMethod(dlg, &QDialog::reject, Qt::QueuedConnection);
      }
    return false;
  }
};

// One run of the window on a simulated camera, saving JPEG and CAM files into `out` with a
// daily folder; fetches picture 1, empties the daily folder again and closes.
void FetchEmptyAndClose(const QTemporaryDir& out) {
  camsim::Options o;
  o.count = 2;
  camsim::SimulatedCamera camera(o);
  ::setenv("VANTLO_COM1", camera.DevicePath().c_str(), 1);
  camera.Start();
  trejectdialogs dialogs;
  TForm1 form(tstartoptions{{}, "COM1:"});
  form.Initialise();
  auto& config = form.Settings().config;
  config.SetSaveFolder(out.path().toStdString());
  config.SetNameByDate(true);
  config.SetDailyFolder(true);
  config.SetSaveJpeg(true);
  config.SetSaveCam(true);
  config.SetSaveThumbnails(false);
  form.Settings().extra.SetDate2Style(false);
  form.ApplySettingsToControls();
  form.Page<tcamerapage>().Pictures().SetClock([] { return kDay; });
  form.Page<tcamerapage>().Pictures().Selection().Set(1, true);
  form.Page<tcamerapage>().Pictures().ShowSelectedPictures1Click();
  EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join("|").toStdString();
  const fs::path daily = fs::path(out.path().toStdString()) / "06dec26";
  EXPECT_TRUE(fs::exists(daily / "06dec26001.jpg"));
  EXPECT_TRUE(fs::exists(daily / "06dec26001.cam"));
  for (const auto& e : fs::directory_iterator(daily)) fs::remove(e.path());
  form.CloseAfterLoop();
  ::unsetenv("VANTLO_COM1");
}

TEST(DailyFolder, RemovedAtCloseOnlyWhenThisRunMadeItAndItIsEmpty) {
  ttemphome home;
  tsettingsdir settings;
  QTemporaryDir out;
  const fs::path daily = fs::path(out.path().toStdString()) / "06dec26";

  FetchEmptyAndClose(out);
  EXPECT_FALSE(fs::exists(daily));  // made by the fetch, empty at close

  // A daily folder that was there before the run is the user's: it stays, even empty.
  fs::create_directory(daily);
  FetchEmptyAndClose(out);
  EXPECT_TRUE(fs::is_directory(daily));
}

}  // namespace
}  // namespace vantlo
