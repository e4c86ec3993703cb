#include "app/ui/webcampage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <stdexcept>

#include "app/busyregister.h"
#include "app/cameralink.h"
#include "app/core/cardfolders.h"
#include "app/core/fetchworkflow.h"
#include "app/core/settingsrecords.h"
#include "app/core/webcamsetup.h"
#include "app/createdfolders.h"
#include "app/pumpingwait.h"
#include "app/qtsoundplayer.h"
#include "app/ui/internetfeatures.h"
#include "app/ui/pictureview.h"
#include "app/ui/roundled.h"
#include "app/ui/vantloadv.h"
#include "app/ui/windowhost.h"
#include "camera/qvexceptions.h"
#include "library/records.h"
#include "output/drawhelpers.h"

namespace vantlo {

namespace {

troundled* AddLight(QGridLayout* grid, int index, const QColor& on, const char* name) {
  // The "off" colour is the "on" colour darkened, as a light that is not lit.
  auto* led = new troundled(on, on.darker(200));
  led->setObjectName(name);
  grid->addWidget(led, 0, index);
  return led;
}

QCheckBox* AddBox(QVBoxLayout* box, const char* caption, const char* name) {
  auto* check = new QCheckBox(caption);
  check->setObjectName(name);
  box->addWidget(check);
  return check;
}

}  // namespace

twebcampage::twebcampage(twindowhost& host, tsoundplayer* player, std::string drivesFile)
    : host_(host),
      ownPlayer_(player ? nullptr : std::make_unique<tqtsoundplayer>()),
      player_(player ? player : ownPlayer_.get()),
      drivesFile_(std::move(drivesFile)),
      manager_(host.WebcamBlock()) {
  setObjectName("TabSheet6");
  auto* outer = new QVBoxLayout(this);

  auto* top = new QHBoxLayout;
  Image2 = new QLabel;
  Image2->setObjectName("Image2");
  Image2->setFixedSize(64, 64);
  Image2->setFrameShape(QFrame::Panel);
  Image2->setFrameShadow(QFrame::Sunken);
  top->addWidget(Image2);
  auto* buttons = new QVBoxLayout;
  SpeedButton7 = new QPushButton("Start");
  SpeedButton7->setObjectName("SpeedButton7");
  SpeedButton7->setToolTip("Starts the Automatic Camera running");
  SpeedButton10 = new QPushButton("Take Now");
  SpeedButton10->setObjectName("SpeedButton10");
  SpeedButton10->setToolTip("Takes a picture right now");
  buttons->addWidget(SpeedButton7);
  buttons->addWidget(SpeedButton10);
  top->addLayout(buttons);
  outer->addLayout(top);

  Label12 = new QLabel("Inactive");
  Label12->setObjectName("Label12");
  outer->addWidget(Label12);
  auto* lights = new QGridLayout;
  RoundLed1 = AddLight(lights, 0, QColor(255, 0, 0), "RoundLed1");
  RoundLed2 = AddLight(lights, 1, QColor(255, 0, 255), "RoundLed2");  // fuchsia
  RoundLed3 = AddLight(lights, 2, QColor(0, 255, 0), "RoundLed3");    // lime
  RoundLed4 = AddLight(lights, 3, QColor(0, 255, 255), "RoundLed4");  // aqua
  RoundLed5 = AddLight(lights, 4, QColor(255, 255, 0), "RoundLed5");  // yellow
  RoundLed6 = AddLight(lights, 5, QColor(0, 0, 255), "RoundLed6");    // blue
  lights->setColumnStretch(6, 1);
  outer->addLayout(lights);

  SpeedButton8 = new QPushButton("Advanced...");
  SpeedButton8->setObjectName("SpeedButton8");
  outer->addWidget(SpeedButton8);

  TakePictures = new QGroupBox("Take Pictures");
  auto* take = new QGridLayout(TakePictures);
  ManualRadio = new QRadioButton("Manually");
  FastRadio = new QRadioButton("As fast as possible");
  EveryRadio = new QRadioButton("Every");
  EveryBox = new QSpinBox;
  EveryBox->setObjectName("EveryBox");
  EveryBox->setRange(1, 99999);
  UnitBox = new QComboBox;
  UnitBox->setObjectName("UnitBox");
  UnitBox->addItems({"secs", "mins", "hrs"});
  ScheduleRadio = new QRadioButton("By Schedule");
  BitBtn6 = new QPushButton("Set >");
  BitBtn6->setObjectName("BitBtn6");
  take->addWidget(ManualRadio, 0, 0, 1, 3);
  take->addWidget(FastRadio, 1, 0, 1, 3);
  take->addWidget(EveryRadio, 2, 0);
  take->addWidget(EveryBox, 2, 1);
  take->addWidget(UnitBox, 2, 2);
  take->addWidget(ScheduleRadio, 3, 0);
  take->addWidget(BitBtn6, 3, 1);
  ManualRadio->setChecked(true);
  outer->addWidget(TakePictures);

  auto* boxes = new QVBoxLayout;
  FetchThumbnailBox = AddBox(boxes, "Fetch thumbnail", "FetchThumbnailBox");
  FetchPictureBox = AddBox(boxes, "Fetch picture", "FetchPictureBox");
  SaveThumbnailBox = AddBox(boxes, "Save thumbnail", "SaveThumbnailBox");
  SavePictureBox = AddBox(boxes, "Save picture", "SavePictureBox");
  DeleteBox = AddBox(boxes, "Delete from camera", "DeleteBox");
  outer->addLayout(boxes);
  outer->addStretch();

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(1000);

  connect(SpeedButton7, &QPushButton::clicked, this, &twebcampage::SpeedButton7Click);
  connect(SpeedButton10, &QPushButton::clicked, this, &twebcampage::SpeedButton10Click);
  connect(SpeedButton8, &QPushButton::clicked, this, &twebcampage::SpeedButton8Click);
  connect(BitBtn6, &QPushButton::clicked, this, &twebcampage::BitBtn6Click);
  connect(Timer1, &QTimer::timeout, this, &twebcampage::Timer1Timer);
  ShowScheduler();
}

twebcampage::~twebcampage() {
  Timer1->stop();
  workflow_.reset();  // before the namer and setup it refers to
}

void twebcampage::AddMenuCommands(const twindowmenus& menus) {
  QMenu* menu = menus.Menu("&Vantlo");
  menu->addAction("&Vantlo", this, &twebcampage::Vantlo1Click);
  menu->addAction("&Start / Stop Vantlo", this, &twebcampage::SpeedButton7Click);
  menu->addAction("&Take Now", this, &twebcampage::SpeedButton10Click);
  menu->addAction("&Advanced Vantlo...", this, &twebcampage::SpeedButton8Click);
}

twebcamstatus twebcampage::Status() const {
  return workflow_ ? workflow_->Status() : twebcamstatus::inactive;
}

void twebcampage::ApplySettings(tsettingsrecords&) { ShowScheduler(); }

void twebcampage::ReadSettings(tsettingsrecords&) { ReadPage(); }

void twebcampage::TabSheet6Enter() { ShowScheduler(); }

void twebcampage::TabSheet6Exit() { ReadPage(); }

void twebcampage::Vantlo1Click() { host_.ShowPage(6); }

void twebcampage::ReadPage() {
  int interval = twebcamsettings::kAsFastAsPossible;
  if (ManualRadio->isChecked())
    interval = twebcamsettings::kManual;
  else if (ScheduleRadio->isChecked())
    interval = twebcamsettings::kBySchedule;
  else if (EveryRadio->isChecked())
    interval =
        IntervalSeconds(EveryBox->value(), static_cast<tintervalunit>(UnitBox->currentIndex()));
  manager_.SetInterval(interval);
  twebcamsettings& block = manager_.Block();
  block.SetFetchThumbnail(FetchThumbnailBox->isChecked());
  block.SetFetchPicture(FetchPictureBox->isChecked());
  block.SetSaveThumbnail(SaveThumbnailBox->isChecked());
  block.SetSavePicture(SavePictureBox->isChecked());
  block.SetDeleteFromCamera(DeleteBox->isChecked());
}

void twebcampage::ShowScheduler() {
  const twebcamsettings& block = manager_.Block();
  const int interval = block.Interval();
  if (interval == twebcamsettings::kManual) {
    ManualRadio->setChecked(true);
  } else if (interval == twebcamsettings::kBySchedule) {
    ScheduleRadio->setChecked(true);
  } else if (interval == twebcamsettings::kAsFastAsPossible) {
    FastRadio->setChecked(true);
  } else {
    EveryRadio->setChecked(true);
    const tintervalfield field = IntervalField(interval);
    EveryBox->setValue(field.value);
    UnitBox->setCurrentIndex(static_cast<int>(field.unit));
  }
  FetchThumbnailBox->setChecked(block.FetchThumbnail());
  FetchPictureBox->setChecked(block.FetchPicture());
  SaveThumbnailBox->setChecked(block.SaveThumbnail());
  SavePictureBox->setChecked(block.SavePicture());
  DeleteBox->setChecked(block.DeleteFromCamera());
}

void twebcampage::ShowStatus(twebcamstatus status, const std::string& label) {
  Label12->setText(QString::fromStdString(label));
  // One light for each of the statuses 0 to 5; none while inactive or stopping.
  int index = 0;
  for (troundled* led : {RoundLed1, RoundLed2, RoundLed3, RoundLed4, RoundLed5, RoundLed6})
    led->SetOn(index++ == static_cast<int>(status));
  SpeedButton10->setEnabled(status == twebcamstatus::waiting ||
                            status == twebcamstatus::inactive);
  // Repainted at once: the shot may be inside a long exchange with the camera.
  repaint();
  if (status == twebcamstatus::inactive && closeWhenStopped_) {
    closeWhenStopped_ = false;
    // After the shot has unwound: the window's close asks the pages again.
    QTimer::singleShot(0, host_.Window(), [w = host_.Window()] { w->close(); });
  }
}

void twebcampage::ShowPreview(const tbitmap& thumbnail, const std::string& text) {
  // As a cell of the camera grid: the thumbnail in a sunken well, the time below it.
  QPixmap cell(Image2->size());
  cell.fill(palette().color(QPalette::Window));
  QPainter p(&cell);
  const QImage image = ImageFromBitmap(thumbnail);
  const QRect well = cell.rect().adjusted(4, 4, -4, -16);
  QRect target = QRect(QPoint(0, 0), image.size().scaled(well.size(), Qt::KeepAspectRatio));
  target.moveCenter(well.center());
  p.drawImage(target, image);
  QFont font = p.font();
  font.setPixelSize(10);
  p.setFont(font);
  p.setPen(palette().color(QPalette::WindowText));
  p.drawText(cell.rect().adjusted(0, 0, 0, -2), Qt::AlignHCenter | Qt::AlignBottom,
             QString::fromStdString(text));
  p.end();
  Image2->setPixmap(cell);
  Image2->repaint();
}

void twebcampage::ShowError(const std::string& text) {
  if (showError) {
    showError(text);
    return;
  }
  QMessageBox::critical(host_.Window(), "Vantlo", QString::fromStdString(text));
}

void twebcampage::Sleep(int ms) {
  if (sleepOverride) {
    sleepOverride(ms);
    return;
  }
  // The window stays alive (Stop, closing) while the camera works.
  PumpingWait(ms, neverStop_);
}

void twebcampage::FillSetup() {
  setup_ = WebcamSetupFrom(host_.Settings(), drivesFile_);
  setup_.scanUsb = [this] { return ScanUsbCamera(host_.Settings(), drivesFile_); };
}

twebcamhost twebcampage::MakeHost() {
  twebcamhost h;
  h.status = [this](twebcamstatus status, const std::string& label) { ShowStatus(status, label); };
  h.processEvents = [] { QCoreApplication::processEvents(); };
  h.sleep = [this](int ms) { Sleep(ms); };
  h.requestBusy = [this] { return host_.Busy().BusyControl(tbusyregister::kWebcam); };
  h.releaseBusy = [this] { host_.Busy().BusyControl(tbusyregister::kWebcam + 1); };
  h.timer = [this](bool on) { on ? Timer1->start() : Timer1->stop(); };
  h.running = [this](bool running, bool manual) {
    SpeedButton7->setText(running ? "Stop" : "Start");
    if (running) {
      host_.StatusText(" Vantlo active");
      host_.SetPictureText(manual ? "Manual mode" : "");
    }
    SpeedButton7->repaint();
  };
  h.readPage = [this] { ReadPage(); };
  h.startEnabled = [this](bool enabled) { SpeedButton7->setEnabled(enabled); };
  h.preview = [this](const tbitmap& thumbnail, const std::string& text) {
    ShowPreview(thumbnail, text);
  };
  h.show = [this](const TJPEGImage& picture, const std::string& description) {
    host_.PictureView().ShowPicture(picture, description, tpicturekind::Other);
  };
  h.fileWritten = [this](const std::string& path) { host_.FilesWritten({path}); };
  h.sendFile = [this](const std::string& path) {
    const tftpsendresult result = host_.Internet().SendPicture(path, tftpsendkind::Webcam);
    if (!result.Ok() && result.status == tftpsendresult::Failed)
      throw std::runtime_error(result.message);
  };
  h.disconnectFtp = [this] {
    try {
      host_.Internet().Sender().DisconnectFtp();
    } catch (...) {
    }
  };
  h.playSound = [this] {
    if (player_) player_->PlayAndWait(host_.Settings().contact.SoundFile());
  };
  h.message = [this](tmessagekind kind, const std::string& text) {
    const QString t = QString::fromStdString(text);
    if (kind == tmessagekind::error)
      QMessageBox::critical(host_.Window(), "Vantlo", t);
    else if (kind == tmessagekind::warning)
      QMessageBox::warning(host_.Window(), "Vantlo", t);
    else
      QMessageBox::information(host_.Window(), "Vantlo", t);
  };
  h.askYes = [this](const std::string& text) {
    return QMessageBox::warning(host_.Window(), "Vantlo", QString::fromStdString(text),
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) ==
           QMessageBox::Yes;
  };
  h.finished = [this] {
    // The disk browser shows the output folder with what webcam mode wrote.
    if (!namer_) return;
    try {
      host_.FilesWritten({namer_->Folder()});
    } catch (const std::exception&) {
    }
  };
  return h;
}

bool twebcampage::PrepareWorkflow() {
  if (workflow_ && (workflow_->Running() || depth_ > 0 ||
                    workflow_->Status() != twebcamstatus::inactive)) {
    FillSetup();
    return true;
  }
  tcameralink* link = host_.CameraLink();
  tqvProtocolEngine* engine = link ? link->Engine() : nullptr;
  if (!engine) {
    ShowError(kNotConnectedMessage);
    return false;
  }
  host_.CollectSettings();
  workflow_.reset();
  naming_ = NamingSettingsFrom(host_.Settings());
  namer_ = std::make_unique<tfilenamer>(naming_);
  namer_->SetFolderCreated(
      [this](const std::string& f) { host_.CreatedFolders().NoteCreated(f); });
  FillSetup();
  workflow_ = std::make_unique<twebcamworkflow>(*engine, manager_, *namer_, setup_, MakeHost());
  return true;
}

template <typename tcall>
void twebcampage::Guarded(tcall call) {
  ++depth_;
  std::string error;
  try {
    call();
  } catch (const std::exception& e) {
    error = e.what();
  }
  --depth_;
  // The naming routine may have changed the output folder (a daily folder it could not make).
  StoreNamingSettings(naming_, host_.Settings());
  // The workflow has already stopped itself; the reason goes to the error box.
  if (!error.empty()) ShowError(error);
}

void twebcampage::SpeedButton7Click() {
  if (!SpeedButton7->isEnabled()) return;
  if (Running()) {
    // Stop is taken between the steps of a shot too: the shot then ends at its next test.
    workflow_->Stop();
    return;
  }
  if (depth_ > 0 || !PrepareWorkflow()) return;
  Guarded([this] { workflow_->Start(); });
}

void twebcampage::SpeedButton10Click() {
  if (depth_ > 0 || !SpeedButton10->isEnabled()) return;
  if (!PrepareWorkflow()) return;
  Guarded([this] { workflow_->TakeNow(); });
}

void twebcampage::Timer1Timer() {
  if (depth_ > 0 || !workflow_ || !workflow_->Running()) return;
  FillSetup();
  Guarded([this] { workflow_->Tick(); });
}

void twebcampage::SpeedButton8Click() {
  if (!host_.Busy().BusyControl(tbusyregister::kQuery)) return;
  host_.CollectSettings();
  if (!dialog_) dialog_ = std::make_unique<Tvantloadv>(host_.Window(), player_, drivesFile_);
  dialog_->InternetSettings = [this] {
    if (host_.Internet().InternetSettings()) host_.SettingsChanged();
  };
  dialog_->FirewallSettings = [this] {
    if (host_.Internet().FirewallParameters()) host_.SettingsChanged();
  };
  if (dialog_->Edit(host_.Settings(), manager_.Block())) host_.SettingsChanged();
}

void twebcampage::BitBtn6Click() {
  const QString start = QString::fromStdString(manager_.Block().ScheduleFile());
  const QString file = QFileDialog::getOpenFileName(
      this, "Vantlo", start.isEmpty() ? QString() : QFileInfo(start).absolutePath(),
      "Schedule files (*.sch);;All Files (*)");
  if (file.isEmpty()) return;
  // The field keeps at most 214 characters.
  manager_.Block().SetScheduleFile(file.toStdString());
}

bool twebcampage::MayClose() {
  if (Running()) workflow_->Stop();
  if (workflow_ && (workflow_->ShotInProgress() || depth_ > 0)) {
    // The shot finishes its step, ends with "Inactive", and the page closes the window then.
    closeWhenStopped_ = true;
    return false;
  }
  return true;
}

void twebcampage::Closing() {
  closeWhenStopped_ = false;
  if (Running()) workflow_->Stop();
  Timer1->stop();
  // The engine goes after this: the workflow lets go of it (unless a call is still on the
  // stack, which then ends at its next test of the active flag).
  if (depth_ == 0) workflow_.reset();
}

}  // namespace vantlo
