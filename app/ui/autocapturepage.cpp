#include "app/ui/autocapturepage.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/busyregister.h"
#include "app/cameralink.h"
#include "app/core/autocapture.h"
#include "app/core/cardcapture.h"
#include "app/core/carddrives.h"
#include "app/core/settingsrecords.h"
#include "app/createdfolders.h"
#include "app/progressreport.h"
#include "app/pumpingwait.h"
#include "app/qtsoundplayer.h"
#include "app/stoprequest.h"
#include "app/ui/autocapturesettings.h"
#include "app/ui/internetfeatures.h"
#include "app/ui/pagesetup.h"
#include "app/ui/pictureview.h"
#include "app/ui/roundled.h"
#include "app/ui/usbautocapsettings.h"
#include "app/ui/windowhost.h"
#include "camera/qvexceptions.h"
#include "library/records.h"
#include "output/acprinter.h"
#include "output/drawhelpers.h"

namespace vantlo {

namespace {

troundled* AddLight(QGridLayout* grid, int row, const QColor& on, const QColor& off,
                    const char* name, const char* caption) {
  auto* led = new troundled(on, off);
  led->setObjectName(name);
  grid->addWidget(led, row, 0);
  grid->addWidget(new QLabel(caption), row, 1);
  return led;
}

}  // namespace

tautocapturepage::tautocapturepage(twindowhost& host, tsoundplayer* player)
    : host_(host),
      ownPlayer_(player ? nullptr : std::make_unique<tqtsoundplayer>()),
      status_(player ? player : ownPlayer_.get(), sounds_) {
  setObjectName("TabSheet8");
  auto* outer = new QVBoxLayout(this);
  GroupBox = new QGroupBox("  AutoCapture  ");
  outer->addWidget(GroupBox);
  outer->addStretch();
  auto* box = new QVBoxLayout(GroupBox);

  auto* top = new QHBoxLayout;
  Image12 = new QLabel;
  Image12->setObjectName("Image12");
  Image12->setFixedSize(64, 64);
  Image12->setFrameShape(QFrame::Panel);
  Image12->setFrameShadow(QFrame::Sunken);
  top->addWidget(Image12);
  auto* buttons = new QVBoxLayout;
  Button1 = new QPushButton("Start");
  Button1->setObjectName("Button1");
  Button12 = new QPushButton("< Settings");
  Button12->setObjectName("Button12");
  buttons->addWidget(Button1);
  buttons->addWidget(Button12);
  top->addLayout(buttons);
  box->addLayout(top);

  RadioButton17 = new QRadioButton("Serial");
  RadioButton17->setObjectName("RadioButton17");
  RadioButton18 = new QRadioButton("USB / Card");
  RadioButton18->setObjectName("RadioButton18");
  RadioButton17->setChecked(true);
  auto* sources = new QHBoxLayout;
  sources->addWidget(RadioButton17);
  sources->addWidget(RadioButton18);
  box->addLayout(sources);

  Label37 = new QLabel;
  Label37->setObjectName("Label37");
  Label37->setWordWrap(true);
  box->addWidget(Label37);

  auto* lights = new QGridLayout;
  RoundLed10 =
      AddLight(lights, 0, Qt::yellow, QColor(128, 128, 0), "RoundLed10", "Waiting for connection");
  RoundLed7 =
      AddLight(lights, 1, QColor(0, 255, 0), QColor(0, 128, 0), "RoundLed7", "Camera connected");
  RoundLed8 = AddLight(lights, 2, QColor(0, 255, 255), QColor(0, 128, 128), "RoundLed8",
                       "Capture in progress");
  RoundLed9 = AddLight(lights, 3, QColor(0, 255, 0), QColor(0, 128, 0), "RoundLed9",
                       "All pictures captured");
  box->addLayout(lights);

  status_.onChange = [this](const tautocaplights& l) { ShowLights(l); };
  connect(Button1, &QPushButton::clicked, this, &tautocapturepage::button1click);
  connect(Button12, &QPushButton::clicked, this, &tautocapturepage::Button12Click);
}

tautocapturepage::~tautocapturepage() = default;

void tautocapturepage::AddMenuCommands(const twindowmenus& menus) {
  QMenu* camera = menus.Menu("&Camera");
  camera->addSeparator();
  camera->addAction("Run &AutoCapture", this, &tautocapturepage::button1click);
  camera->addAction("A&utoCapture", this, &tautocapturepage::AutoCapture1Click);
  camera->addAction("AutoCapture...", this, &tautocapturepage::Button12Click);
  camera->addAction("AutoCapture Settings for serial port...", this,
                    &tautocapturepage::AutoCaptureSettings1Click);
  camera->addAction("AutoCapture settings for USB / Card...", this,
                    &tautocapturepage::AutoCapturesettingsforUSBCard1Click);
  if (menus.autoCapture) {
    // The first item is what a plain click on the tool button runs.
    QAction* start = new QAction("Start AutoCapture", menus.autoCapture);
    connect(start, &QAction::triggered, this, &tautocapturepage::StartAutoCapture1Click);
    const auto actions = menus.autoCapture->actions();
    menus.autoCapture->insertAction(actions.isEmpty() ? nullptr : actions.front(), start);
  }
}

void tautocapturepage::ApplySettings(tsettingsrecords& records) {
  (records.autocapture.UsbSource() ? RadioButton18 : RadioButton17)->setChecked(true);
}

void tautocapturepage::ReadSettings(tsettingsrecords& records) {
  records.autocapture.SetUsbSource(RadioButton18->isChecked());
}

void tautocapturepage::Entered() { status_.AllCapturedOff(); }

bool tautocapturepage::MayClose() {
  if (!running_) return true;
  closeWhenStopped_ = true;
  host_.StopRequest().Set();
  return false;
}

void tautocapturepage::ShowLights(const tautocaplights& l) {
  RoundLed10->SetOn(l.waiting);
  RoundLed7->SetOn(l.connected);
  RoundLed8->SetOn(l.capturing);
  RoundLed9->SetOn(l.allCaptured);
  Label37->setText(QString::fromStdString(l.label));
  // Repainted at once: the run may be inside a long exchange with the camera.
  for (QWidget* w :
       std::initializer_list<QWidget*>{RoundLed10, RoundLed7, RoundLed8, RoundLed9, Label37})
    w->repaint();
}

void tautocapturepage::ShowPreview(const tbitmap& thumbnail, bool movie) {
  // As a cell of the camera grid, without its number: the thumbnail in a sunken well, "AVI"
  // for a movie.
  QPixmap cell(Image12->size());
  cell.fill(palette().color(QPalette::Window));
  QPainter p(&cell);
  const QImage image = ImageFromBitmap(thumbnail);
  const QRect well = cell.rect().adjusted(4, 4, -4, -4);
  QRect target = QRect(QPoint(0, 0), image.size().scaled(well.size(), Qt::KeepAspectRatio));
  target.moveCenter(well.center());
  p.drawImage(target, image);
  if (movie) {
    p.setPen(Qt::red);
    p.drawText(cell.rect().adjusted(2, 2, -2, -2), Qt::AlignLeft | Qt::AlignTop, "AVI");
  }
  p.end();
  Image12->setPixmap(cell);
  Image12->repaint();
}

void tautocapturepage::AutoCapture1Click() { host_.ShowPage(8); }

void tautocapturepage::StartAutoCapture1Click() {
  host_.ShowPage(8);
  repaint();
  QCoreApplication::processEvents();
  button1click();
}

void tautocapturepage::Finished(const std::string& folder) {
  // The disk browser shows what was saved.
  host_.FilesWritten({folder});
}

void tautocapturepage::RunSerial() {
  tcameralink* link = host_.CameraLink();
  tqvProtocolEngine* engine = link ? link->Engine() : nullptr;
  if (!engine) throw std::runtime_error(kNotConnectedMessage);
  tsettingsrecords& records = host_.Settings();
  tnamingsettings naming = NamingSettingsFrom(records);
  tfilenamer namer(naming);
  namer.SetFolderCreated([this](const std::string& f) { host_.CreatedFolders().NoteCreated(f); });
  const tfetchsettings pictureSettings = FetchSettingsFrom(records);
  tstoprequest& stop = host_.StopRequest();

  tautocapturehost run;
  run.progress = [this](int position, const std::string& text) {
    host_.Progress().ReportText(text, 0);
    host_.Progress().ReportPosition(position);
  };
  run.processEvents = [&stop] {
    QCoreApplication::processEvents();
    return stop.IsSet();
  };
  run.setStop = [&stop](bool on) { on ? stop.Set() : stop.Clear(); };
  run.pumpingWait = [&stop](int ms) { PumpingWait(ms, stop); };
  run.message = [this](tmessagekind, const std::string& text) {
    QMessageBox::information(host_.Window(), "Vantlo", QString::fromStdString(text));
  };
  run.preview = [this](const tbitmap& b, bool movie) { ShowPreview(b, movie); };
  run.show = [this](const TJPEGImage& picture, long number) {
    host_.PictureView().ShowPicture(picture, "picture #" + std::to_string(number),
                                    tpicturekind::AutoCapture);
  };
  run.fileWritten = [this](const std::string& path) { host_.FilesWritten({path}); };
  run.sendFile = SendFile ? SendFile : [this](const std::string& path) {
    host_.Internet().SendPicture(path, tftpsendkind::Normal);
  };
  run.print = Print ? Print : [this](const TJPEGImage& picture) {
    // The picture joins the print buffer; a page is printed once it is full.
    if (host_.PreparePrinter()) host_.Printer().PrintPicture(picture, host_.ColourDepth(), {});
  };
  run.finished = [this](const std::string& folder) { Finished(folder); };

  tautocapture capture(*engine, records.autocapture, namer, pictureSettings, status_, run);
  try {
    capture.Run();
  } catch (...) {
    StoreNamingSettings(naming, records);
    host_.SettingsChanged();
    throw;
  }
  StoreNamingSettings(naming, records);
  host_.SettingsChanged();
}

void tautocapturepage::RunCard() {
  tsettingsrecords& records = host_.Settings();
  tnamingsettings naming = NamingSettingsFrom(records);
  tfilenamer namer(naming);
  namer.SetFolderCreated([this](const std::string& f) { host_.CreatedFolders().NoteCreated(f); });
  const std::string root = tcarddrives().RootOf(records.autocapture.UsbDrive());
  tcardcapturehost run;
  run.askConnect = [this](const std::string& text) {
    return QMessageBox::information(host_.Window(), "Vantlo", QString::fromStdString(text),
                                    QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
  };
  run.message = [this](tmessagekind kind, const std::string& text) {
    const QString t = QString::fromStdString(text);
    if (kind == tmessagekind::error)
      QMessageBox::critical(host_.Window(), "Vantlo", t);
    else
      QMessageBox::information(host_.Window(), "Vantlo", t);
  };
  run.processEvents = [] { QCoreApplication::processEvents(); };
  run.fileWritten = [this](const std::string& path) { host_.FilesWritten({path}); };
  run.finished = [this](const std::string& folder) { Finished(folder); };
  tcardcapture capture(records.autocapture, namer, status_, root, run);
  try {
    capture.Run();
  } catch (...) {
    StoreNamingSettings(naming, records);
    throw;
  }
  StoreNamingSettings(naming, records);
  host_.SettingsChanged();
}

void tautocapturepage::button1click() {
  host_.ShowPage(8);
  if (running_) {
    // The Stop click: the run ends at its next test of the stop request and finishes below.
    host_.StopRequest().Set();
    return;
  }
  host_.CollectSettings();
  tautocapturerecord& record = host_.Settings().autocapture;
  const bool serial = !RadioButton18->isChecked();
  if (serial && record.DeleteAfterSaving() &&
      !(record.SaveCam() || record.SeparateFiles() || record.SingleFile())) {
    if (QMessageBox::warning(host_.Window(), "Vantlo", kNoSaveQuestion,
                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) !=
        QMessageBox::Yes)
      return;
  }
  if (host_.Busy().BusyControl(tbusyregister::kAutoCapture)) {
    running_ = true;
    record.SetRunning(true);
    Button1->setText("Stop");
    host_.StatusText(" AutoCapture Active");
    host_.StopRequest().Clear();
    sounds_ = SoundsFrom(record);
    status_.Show(tautocapstate::waiting);
    try {
      serial ? RunSerial() : RunCard();
    } catch (const std::exception& e) {
      QMessageBox::information(host_.Window(), "Vantlo", QString::fromUtf8(e.what()));
    }
  }
  host_.Busy().BusyControl(tbusyregister::kAutoCapture + 1);
  running_ = false;
  host_.Settings().autocapture.SetRunning(false);
  Button1->setText("Start");
  host_.StopRequest().Set();
  status_.Show(tautocapstate::stopped);
  if (closeWhenStopped_) {
    closeWhenStopped_ = false;
    host_.Window()->close();
  }
}

void tautocapturepage::Button12Click() {
  host_.CollectSettings();
  if (RadioButton18->isChecked())
    AutoCapturesettingsforUSBCard1Click();
  else
    AutoCaptureSettings1Click();
}

void tautocapturepage::AutoCaptureSettings1Click() {
  host_.CollectSettings();
  if (!serialDialog_) {
    tsoundplayer* player = ownPlayer_ ? ownPlayer_.get() : nullptr;
    serialDialog_ = std::make_unique<Tautocapturesettings>(host_.Window(), player);
  }
  serialDialog_->InternetSetup = InternetSetup ? InternetSetup : [this] {
    if (host_.Internet().InternetSettings()) host_.SettingsChanged();
  };
  serialDialog_->PrinterSetup = PrinterSetup;
  serialDialog_->PageSetup = PageSetup ? PageSetup : [this] {
    if (Tpagesetup::Run(host_.Settings(), host_.Printer(), host_.Window())) host_.SettingsChanged();
  };
  if (serialDialog_->Edit(host_.Settings().autocapture)) host_.SettingsChanged();
}

void tautocapturepage::AutoCapturesettingsforUSBCard1Click() {
  host_.CollectSettings();
  if (!cardDialog_) cardDialog_ = std::make_unique<Tusbautocapsettings>(host_.Window());
  if (cardDialog_->Edit(host_.Settings().autocapture, host_.Settings().config))
    host_.SettingsChanged();
}

}  // namespace vantlo
