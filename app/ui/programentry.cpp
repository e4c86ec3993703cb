#include "programentry.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/commandline.h"
#include "app/portmapio.h"
#include "app/signalbridge.h"
#include "app/simulation.h"
#include "form1.h"
#include "splash.h"

namespace vantlo {

int RunVantlo(const std::vector<std::string>& args, const std::function<void(TForm1&)>& onShown) {
  QApplication::setApplicationName("Vantlo");
  QApplication::setApplicationDisplayName("Vantlo");

  const tcommandline cl = ParseCommandLine(args, false);
  if (cl.error) {
    std::fprintf(stderr, "vantlo: %s\n", cl.error->c_str());
    return 2;
  }

  tstartoptions options;
  options.args = args;
  std::unique_ptr<tsimulation> simulation;
  try {
    tportmapio::LoadStored();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vantlo: port map not read: %s\n", e.what());
  }
  if (cl.simulate) {
    try {
      simulation = std::make_unique<tsimulation>(cl.simulateFamily);
      options.portOverride = tsimulation::kPort;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "vantlo: %s\n", e.what());
      return 1;
    }
  }

  TForm1 form(options);
  Tsplash1 splash;
  splash.show();
  splash.repaint();
  QCoreApplication::processEvents();
  QThread::msleep(650);

  try {
    form.Initialise();
  } catch (const std::exception& e) {
    splash.hide();
    QMessageBox::critical(nullptr, "Vantlo", QString::fromStdString(e.what()));
    return 1;
  }
  splash.hide();

  // SIGTERM and SIGINT close the window in order, as a desktop logout does.
  tsignalbridge termination;
  QObject::connect(&termination, &tsignalbridge::terminationRequested, &form,
                   &TForm1::RequestClose);

  if (simulation)
    form.setWindowTitle("Vantlo - simulated camera on COM1: (" +
                        QString::fromStdString(simulation->DevicePath()) + ")");
  form.show();
  if (onShown) QTimer::singleShot(0, &form, [&] { onShown(form); });
  const int rc = QApplication::exec();
  // The loop can also end without a close (the session quits the
  // application): the settings are still written and the camera reset.
  if (!form.Closed()) form.CloseAfterLoop();
  // Settings that could not be written are a failure of the run, for scripts and session
  // managers as much as for the user who saw the warning.
  if (rc == 0 && !form.CloseWriteFailures().empty()) return 1;
  return rc;
}

}  // namespace vantlo
