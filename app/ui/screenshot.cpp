// vantlo-screenshot: renders the main window offscreen into a PNG.
//   vantlo-screenshot OUT.png [--page=N] [--simulate[=FAMILY]] [--size=WxH] [--browse=FOLDER]
//   [--thumbnails]
// --thumbnails loads the camera thumbnails into the Camera page's grid first.
// Settings come from a temporary folder unless VANTLO_CONFIG_DIR is set, and
// nothing is written back.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <string>

#include "app/simulation.h"
#include "browsepage.h"
#include "camerapage.h"
#include "camerapictures.h"
#include "form1.h"

namespace {

void Pump(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir configDir;
  if (qEnvironmentVariableIsEmpty("VANTLO_CONFIG_DIR"))
    qputenv("VANTLO_CONFIG_DIR", configDir.path().toUtf8());
  QApplication app(argc, argv);
  std::string out;
  int page = 3;
  int width = 1000, height = 680;
  std::string family;
  std::string browse;  // a folder for the Browse page, its tiles built
  bool thumbnails = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a.rfind("--page=", 0) == 0)
      page = std::atoi(a.c_str() + 7);
    else if (a == "--simulate")
      family = "classic";
    else if (a.rfind("--simulate=", 0) == 0)
      family = a.substr(11);
    else if (a == "--thumbnails")
      thumbnails = true;
    else if (a.rfind("--browse=", 0) == 0)
      browse = a.substr(9);
    else if (a.rfind("--size=", 0) == 0)
      std::sscanf(a.c_str() + 7, "%dx%d", &width, &height);
    else
      out = a;
  }
  if (out.empty()) {
    std::fprintf(stderr, "usage: vantlo-screenshot OUT.png [--page=N] [--simulate[=FAMILY]]\n");
    return 2;
  }
  std::unique_ptr<vantlo::tsimulation> sim;
  vantlo::tstartoptions options;
  if (!family.empty()) {
    try {
      sim = std::make_unique<vantlo::tsimulation>(family);
      options.portOverride = vantlo::tsimulation::kPort;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "vantlo-screenshot: %s\n", e.what());
    }
  }
  vantlo::TForm1 form(options);
  try {
    form.Initialise();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vantlo-screenshot: start-up failed: %s\n", e.what());
    return 1;
  }
  form.setWindowState(Qt::WindowNoState);
  form.resize(width, height);
  form.show();
  form.Timer2->stop();
  Pump(300);
  form.Timer2->stop();  // no welcome window in the picture
  if (thumbnails) {
    form.Page<vantlo::tcamerapage>().Pictures().ShowThumbnails1Click();
    form.Page<vantlo::tcamerapage>().Pictures().Selection().Set(2, true);
    form.Page<vantlo::tcamerapage>().Pictures().Selection().Set(3, true);
  }
  form.ShowPageNumber(page);
  form.resize(width, height);
  Pump(300);
  if (!browse.empty() && form.Page<vantlo::tbrowsepage>().SetFolder(browse)) {
    form.Page<vantlo::tbrowsepage>().CheckBox25->setChecked(true);
    for (int i = 0; i < 200 && form.Page<vantlo::tbrowsepage>().Manager().Loading(); ++i) Pump(50);
    if (form.Page<vantlo::tbrowsepage>().Manager().Count() > 3) {
      form.Page<vantlo::tbrowsepage>().Manager().Click(3, {});
      form.Page<vantlo::tbrowsepage>().Manager().Click(4, {false, true});
    }
    Pump(200);
  }
  const QPixmap shot = form.grab();
  if (!shot.save(QString::fromStdString(out), "PNG")) {
    std::fprintf(stderr, "vantlo-screenshot: cannot write %s\n", out.c_str());
    return 1;
  }
  std::printf("%s\n", out.c_str());
  return 0;
}
