// TForm1: construction of the window (page list, menus, tool bar, status line), the page
// controls and the small shared routines. Start-up is in form1init.cpp, the close in
// form1close.cpp.
#include "form1.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <memory>

#include "app/core/thumbmanager.h"
#include "app/picturedescription.h"
#include "autocapturepage.h"
#include "browsepage.h"
#include "camerapage.h"
#include "camerapictures.h"
#include "correctionpage.h"
#include "internetfeatures.h"
#include "manual.h"
#include "minilabcommands.h"
#include "moviepage.h"
#include "output/acprinter.h"
#include "output/conman.h"
#include "output/qprinterdevice.h"
#include "picture/retoucher.h"
#include "picturetoolsite.h"
#include "pictureview.h"
#include "placeholderpage.h"
#include "popupbutton.h"
#include "preferencespage.h"
#include "printeroutput.h"
#include "printmenu.h"
#include "resizegroup.h"
#include "rotatepage.h"
#include "savingpage.h"
#include "setuppage.h"
#include "sheetmenu.h"
#include "touchpage.h"
#include "webcampage.h"

namespace vantlo {

namespace {

QTimer* MakeTimer(QObject* parent, int ms, const char* name) {
  auto* t = new QTimer(parent);
  t->setObjectName(name);
  t->setInterval(ms);
  t->setSingleShot(false);
  return t;
}

}  // namespace

TForm1::TForm1(tstartoptions options, QWidget* parent)
    : QMainWindow(parent), options_(std::move(options)), busy_(stop_, nullptr) {
  setObjectName("Form1");
  setWindowTitle("Vantlo");
  busy_.SetView(this);
  // The contact sheet manager and the printer live as long as the window; start-up configures
  // them from the settings records.
  conman_ = std::make_unique<tconman>();
  printer_ = std::make_unique<tacprinter>();
  printerOutput_ = std::make_unique<tprinteroutput>(*printer_);
  BuildPages();
  sheetMenu_ = std::make_unique<tsheetmenu>(*this);
  printMenu_ = std::make_unique<tprintmenu>(*this, *printerOutput_);
  BuildMenus();
  BuildToolBar();
  BuildStatusLine();
  twindowmenus menus;
  menus.bar = menuBar();
  menus.toolBar = findChild<QToolBar*>("ToolBar1");
  for (tpopupbutton* b : ToolButtons) {
    if (b->objectName() == "ToolButton_Thumbnails") menus.thumbnails = b->PopupMenu();
    if (b->objectName() == "ToolButton_Show") menus.show = b->PopupMenu();
    if (b->objectName() == "ToolButton_AutoCapture") menus.autoCapture = b->PopupMenu();
  }
  for (twindowpage* page : pages_) page->AddMenuCommands(menus);
  printMenu_->AddMenuCommands(menus);
  sheetMenu_->AddMenuCommands(menus);
  BuildInternetMenu();
  WirePages();

  Timer1 = MakeTimer(this, 1000, "Timer1");
  Timer2 = MakeTimer(this, 500, "Timer2");
  Timer3 = MakeTimer(this, 1000, "Timer3");
  resizetimer = MakeTimer(this, 400, "resizetimer");
  killtimer = MakeTimer(this, 100, "killtimer");
  connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
  connect(Timer3, &QTimer::timeout, this, &TForm1::Timer3Timer);
  connect(resizetimer, &QTimer::timeout, this, &TForm1::resizetimerTimer);
  connect(killtimer, &QTimer::timeout, this, &TForm1::killtimerTimer);
  resize(1000, 680);
}

TForm1::~TForm1() {
  // The pages go first: they work on the retoucher, the tool host and the managers below.
  pages_.clear();
  pictureView_ = nullptr;
  delete takeCentralWidget();
}

void TForm1::BuildPages() {
  splitter_ = new QSplitter(Qt::Horizontal, this);
  setCentralWidget(splitter_);
  PageControl2 = new QTabWidget;
  PageControl2->setObjectName("PageControl2");
  pagecontrol1 = new QTabWidget;
  pagecontrol1->setObjectName("pagecontrol1");
  pagecontrol1->setUsesScrollButtons(true);
  pagecontrol1->setElideMode(Qt::ElideNone);

  // The pages: first the left-hand ones (number 0), then pagecontrol1's in their order.
  retoucher_ = std::make_unique<tretoucher>();
  toolSite_ = std::make_unique<tpicturetoolsite>(*this);
  pictureView_ = new tpictureview(*this);
  pages_ = {
      new tbrowsepage(*this),
      pictureView_,
      new tcamerapage(*this),
      new tplaceholderpage(2, "TabSheet2", "Camera",
                           "The second camera page comes with fetching from the camera.", false),
      new tsetuppage(*this, options_.portOverride),
      new tplaceholderpage(4, "TabSheet4", " Files ",
                           "File commands come with the disk picture browser."),
      new tsavingpage,
      new twebcampage(*this),
      new tpreferencespage,
      new tautocapturepage(*this),
      new trotatepage(*this),
      new ttouchpage(*retoucher_, *toolSite_),
      new tcorrectionpage(*toolSite_),
      new tmoviepage(*this),
  };
  for (twindowpage* page : pages_) {
    QTabWidget* control = page->PageNumber() == 0 ? PageControl2 : pagecontrol1;
    const int index = control->addTab(page->Widget(), page->TabText());
    // Pages without a tab of their own are opened by the menus.
    if (!page->HasTab()) control->setTabVisible(index, false);
  }
  splitter_->addWidget(PageControl2);
  splitter_->addWidget(pagecontrol1);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 0);
  splitter_->setCollapsible(1, false);
  for (QTabWidget* control : {PageControl2, pagecontrol1}) {
    auto shown = std::make_shared<QPointer<QWidget>>(control->currentWidget());
    connect(control, &QTabWidget::currentChanged, this, [this, control, shown] {
      if (twindowpage* left = PageOf(*shown)) left->Left();
      *shown = control->currentWidget();
      if (control == pagecontrol1) UpdateRightPanelWidth();
      if (twindowpage* page = PageOf(*shown)) page->Entered();
    });
  }

  // Hidden label that measures the wide right panel in the current font.
  Label49 = new QLabel("Report Battery State  ", this);
  Label49->setObjectName("Label49");
  Label49->hide();
}

std::vector<std::string> TForm1::SelectedDiskPictures() {
  return Page<tbrowsepage>().SelectedPictures();
}

void TForm1::StopDiskThumbnails() { Page<tbrowsepage>().Manager().StopLoading(); }

// The links between pages: what one page's command needs of another goes through here.
void TForm1::WirePages() {
  tbrowsepage& browse = Page<tbrowsepage>();
  tcamerapictures& camera = Page<tcamerapage>().Pictures();
  browse.openPicture = [this](const std::string& path) { return OpenPictureFile(path, true); };
  browse.stepCamera = [&camera](int by) {
    if (by > 0)
      camera.NextPicture();
    else
      camera.PreviousPicture();
  };
  camera.step = [&browse](int by) {
    if (by > 0)
      browse.Forward();
    else
      browse.Back();
  };
  camera.showBrowsePicture = [&browse] { browse.OpenCurrent(); };
  camera.prepareBrowseSaveAs = [&browse] { return browse.PrepareSaveAs(); };
  pictureView_->saveAs = [&camera] { camera.Other1Click(); };
  pictureView_->openFolder = [&browse] { return browse.ShownFolder(); };
  pictureView_->defineOrientationSelected = [&browse] { browse.DefineOrientationSelected(); };
  pictureView_->selectedDiskPictures = [&browse] { return browse.SelectedPictures(); };
  pictureView_->OnZoomChanged = [this](int mode) { zoom_ = mode; };
  Page<trotatepage>().defineOrientationSelected = [&browse] { browse.DefineOrientationSelected(); };
  // AutoCapture's settings dialog reaches the printer set-up as the Print menu does.
  Page<tautocapturepage>().PrinterSetup = [this] { printerOutput_->PrinterSetup(this); };

  // Contact sheets and printing work on the Browse page's pictures and the camera pictures;
  // Save As of the shown contact sheet goes through the camera pictures' Save As.
  auto selectedSheetPictures = [&browse] { return browse.SelectedPaths({ikCam, ikJpeg}); };
  auto listedSheetPictures = [&browse] { return browse.ListedPaths({ikCam, ikJpeg}); };
  sheetMenu_->selectedDiskPictures = selectedSheetPictures;
  sheetMenu_->allDiskPictures = listedSheetPictures;
  sheetMenu_->saveAs = [&camera] { camera.Other1Click(); };
  camera.shownContactSheet = [this]() -> std::optional<long> {
    if (!sheetMenu_->SheetShown()) return std::nullopt;
    return sheetMenu_->NextSheetNumber();
  };
  conman_->SetOnSheetFinished([this](tconman& manager) { sheetMenu_->SheetFinished(manager); });
  printMenu_->selectedDiskPictures = selectedSheetPictures;
  printMenu_->allDiskPictures = listedSheetPictures;
  printMenu_->cameraPicturesSelected = [&camera] { return camera.Selection().Any(); };
  printMenu_->runOnCamera = [&camera](const auto& body) { return camera.RunOnWorkflow(body); };

  // The picture tools: the decoder's output size from the "Image" page, its correction strength
  // for the correction page, the " Resize " group on top of the correction page, the Touch
  // page's display hook and clicks on the picture.
  tpreferencespage& preferences = Page<tpreferencespage>();
  connect(&preferences, &tpreferencespage::OutputSizeChanged, this, [this](int choice) {
    pictureView_->Pipeline().SetOutputSize(static_cast<std::uint8_t>(choice));
  });
  toolSite_->strength = [&preferences] { return preferences.CorrectionStrength(); };
  toolSite_->setStrength = [&preferences](int s) { preferences.SetCorrectionStrength(s); };
  tcorrectionpage& correction = Page<tcorrectionpage>();
  correction.AddGroupOnTop(
      new tresizegroup(*this, [&correction] { return correction.SavingQuality(); }));
  ttouchpage& touch = Page<ttouchpage>();
  connect(pictureView_, &tpictureview::PictureChanged, this,
          [this] { toolSite_->PictureChanged(); });
  pictureView_->OnDisplayed = [&touch] { touch.PictureDisplayed(); };
  pictureView_->OnPictureClicked = [&touch](const QPoint& at) { touch.PictureClicked(at); };

  // The MiniLab on the tool bar's "MiniLab" button: the Camera page's commands, the Browse page
  // for the folder it saved into, the help pages' commands of the other pages.
  auto* minilab = new tminilabcommands(*this, camera, this);
  minilab->setObjectName("MiniLab");
  minilab->applySettings = [this] { ApplySettingsToControls(); };
  minilab->showFolder = [this, &browse](const std::string& folder) {
    PageControl2->setCurrentWidget(browse.Widget());
    ShowPage(4);
    browse.SetFolder(folder);
  };
  tminilabwizcommands& help = minilab->wizardCommands;
  help.connectionWizard = [this] { Page<tsetuppage>().ConnectionWizard1Click(); };
  help.chooseFolder = [this](const std::string& start) {
    return QFileDialog::getExistingDirectory(this, "Choose a folder", QString::fromStdString(start))
        .toStdString();
  };
  // Printing the run's pictures is the Print menu's "Selected Camera Pictures", and the last
  // page goes out at the end.
  minilab->printSelected = [this](const tcameraselection&) {
    printMenu_->SelectedCameraPictures1Click();
    printMenu_->FlushPrinter1Click();
  };
  help.printerSetup = [this] { printMenu_->PrinterSetup1Click(); };
  help.pageSetup = [this] { printMenu_->PageSetup1Click(); };
  help.printStatus = [this] { printMenu_->PrintStatus1Click(); };
  help.printerText = [this] {
    const std::optional<std::string> queue = DefaultPrinterName();
    const tconfigrecord& config = settings_.config;
    return "Printer : " + (queue ? *queue : std::string("none (PDF files)")) +
           "\nPictures per page : " + std::to_string(config.PrintRows()) + " rows of " +
           std::to_string(config.PrintColumns());
  };
  help.contactSettings = [this] { sheetMenu_->ContactSheets1Click(); };
  help.defineOrientation = [&browse] { browse.DefineOrientationSelected(); };
  help.camToJpeg = [this, &browse] {
    pictureView_->SaveSelectedCamFilesAsJpegs(browse.SelectedPictures());
  };
  for (tpopupbutton* b : ToolButtons)
    if (b->objectName() == "ToolButton_MiniLab") minilab->AddMenuCommands(b->PopupMenu());
}

void TForm1::BuildMenus() {
  // The bar in its order; the pages add their commands, the "Picture" menu after "File".
  QMenu* file = menuBar()->addMenu("&File");
  file->addAction("E&xit", this, [this] { close(); });
  menuBar()->addMenu("&Camera");

  QMenu* view = menuBar()->addMenu("&View");
  view->addAction("&Camera", this, [this] { ShowPage(1); });
  view->addAction("&Setup", this, [this] { ShowPage(3); });
  view->addAction("&AutoCapture", this, &TForm1::AutoCapture3Click);
  view->addSeparator();
  view->addAction("&Browse", this,
                  [this] { PageControl2->setCurrentWidget(Page<tbrowsepage>().Widget()); });
  view->addAction("&Picture", this, [this] { ShowPicturePage(); });

  // The output menus (filled by the print and contact sheet commands) and the Internet menu.
  menuBar()->addMenu("P&rint");
  menuBar()->addMenu("Contact &Sheets");
  menuBar()->addMenu("&Internet");

  QMenu* help = menuBar()->addMenu("&Help");
  help->addAction("&Manual", this, [this] {
    ShowManual(this, FindManual(QCoreApplication::applicationDirPath()), OpenWithDesktop);
  });
  help->addAction("&About Vantlo", this, [this] {
    QMessageBox::about(this, "Vantlo",
                       "Vantlo\nFor Casio QV digital cameras.\nThe manual is the README "
                       "shipped with the program.");
  });
  menuBar()->addMenu("&Pictures");
  menuBar()->addMenu("&Disk");
}

void TForm1::BuildInternetMenu() {
  QMenu* internet = twindowmenus{menuBar()}.Menu("&Internet");
  internet->setObjectName("InternetMenu");
  internet->addAction("Internet Settings...", this, [this] {
    ReadControlsIntoSettings();
    if (Internet().InternetSettings()) SettingsChanged();
  });
  internet->addAction("Firewall Settings...", this, [this] {
    ReadControlsIntoSettings();
    if (Internet().FirewallParameters()) SettingsChanged();
  });
}

bool TForm1::PreparePrinter() { return printerOutput_->Prepare(this); }

tinternetfeatures& TForm1::Internet() {
  if (!internet_) {
    tftpwindowview::thooks hooks;
    hooks.statusLine = [this](const std::string& text) { BusyStatusText(" " + text); };
    hooks.statusLabel = [this](const std::string& text) { SetPictureText(text); };
    // Webcam mode and AutoCapture hold their slots while they run.
    hooks.captureModeRunning = [this] {
      return busy_.IsHeld(tbusyregister::slotW) || busy_.IsHeld(tbusyregister::slotA);
    };
    internet_ = std::make_unique<tinternetfeatures>(this, settings_, webcamBlock_, hooks);
  }
  return *internet_;
}

void TForm1::BuildToolBar() {
  QToolBar* bar = addToolBar("Tools");
  bar->setObjectName("ToolBar1");
  bar->setMovable(false);
  // The camera page fills the Thumbnails and Show buttons.
  auto* thumbs = new QMenu(this);
  auto* show = new QMenu(this);
  auto* minilab = new QMenu(this);  // the MiniLab commands fill it
  auto* autocap = new QMenu(this);
  autocap->addAction("AutoCapture", this, &TForm1::AutoCapture3Click);
  const std::pair<const char*, QMenu*> buttons[] = {
      {"Thumbnails", thumbs}, {"Show", show}, {"MiniLab", minilab}, {"AutoCapture", autocap}};
  for (const auto& [caption, menu] : buttons) {
    auto* b = new tpopupbutton(caption, menu);
    b->setObjectName(QString("ToolButton_") + caption);
    bar->addWidget(b);
    ToolButtons.push_back(b);
  }
  bar->addSeparator();
  BitBtn_15 = new QPushButton("Stop");
  BitBtn_15->setObjectName("BitBtn_15");
  BitBtn_15->setEnabled(false);
  bar->addWidget(BitBtn_15);
  connect(BitBtn_15, &QPushButton::clicked, this, &TForm1::ToolButton4Click);
}

void TForm1::BuildStatusLine() {
  auto* panel = new QWidget;
  panel->setObjectName("Panel1");
  auto* lay = new QHBoxLayout(panel);
  lay->setContentsMargins(2, 0, 2, 0);
  ProgressBar1 = new QProgressBar;
  ProgressBar1->setObjectName("ProgressBar1");
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setMaximumWidth(160);
  ProgressBar1->setTextVisible(false);
  Label1 = new QLabel(" Ready");
  Label1->setObjectName("Label1");
  Label9 = new QLabel;
  Label9->setObjectName("Label9");
  Label19 = new QLabel;
  Label19->setObjectName("Label19");
  lay->addWidget(ProgressBar1);
  lay->addWidget(Label1, 2);
  lay->addWidget(Label9, 3);
  lay->addWidget(Label19, 1);
  statusBar()->addWidget(panel, 1);
}

// ---- busy view and progress report ----

void TForm1::BusyStatusText(const std::string& text) {
  Label1->setText(QString::fromStdString(text));
  Label1->repaint();
}

void TForm1::BusyIndicators(bool busy) {
  BitBtn_15->setEnabled(busy);
  if (busy) {
    if (!QApplication::overrideCursor()) QApplication::setOverrideCursor(Qt::BusyCursor);
  } else {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  }
}

void TForm1::BusyProgressReset() { ProgressBar1->setValue(0); }

void TForm1::ReportText(const std::string& text, int count) {
  Label1->setText(QString::fromStdString(ProgressStatusText(text, count)));
  statusBar()->repaint();
}

void TForm1::ReportPosition(int position) {
  ProgressBar1->setValue(NextProgressPosition(ProgressBar1->value(), position));
  statusBar()->repaint();
}

void TForm1::FileWritten(const std::string& path) { Page<tbrowsepage>().FileWritten(path); }

void TForm1::FilesWritten(const std::vector<std::string>& paths) {
  Page<tbrowsepage>().FilesWritten(paths);
}

void TForm1::Trace(const QString& text) {
  if (debug_) QMessageBox::information(this, "Vantlo", text);
}

void TForm1::ShowError(const QString& text) { QMessageBox::critical(this, "Vantlo", text); }

// ---- settings ----

void TForm1::ApplySettingsToControls() {
  for (twindowpage* page : pages_) page->ApplySettings(settings_);
}

void TForm1::ReadControlsIntoSettings() {
  for (twindowpage* page : pages_) page->ReadSettings(settings_);
}

void TForm1::SettingsChanged() {
  for (twindowpage* page : pages_) page->SettingsChanged(settings_);
}

// ---- pages ----

twindowpage* TForm1::PageOf(QWidget* widget) const {
  for (twindowpage* page : pages_)
    if (page->Widget() == widget) return page;
  return nullptr;
}

void TForm1::ShowPage(int number) {
  for (twindowpage* page : pages_) {
    if (page->PageNumber() == number && number != 0) {
      pagecontrol1->setCurrentWidget(page->Widget());
      UpdateRightPanelWidth();
      return;
    }
  }
  // other numbers leave the page as it is
}

int TForm1::PageNumber() const {
  const twindowpage* page = PageOf(pagecontrol1->currentWidget());
  return page && page->PageNumber() != 0 ? page->PageNumber() : 1;
}

void TForm1::ShowPicturePage() { PageControl2->setCurrentWidget(pictureView_); }

bool TForm1::BrowsePageShown() const {
  const twindowpage* page = PageOf(PageControl2->currentWidget());
  return page && dynamic_cast<const tbrowsepage*>(page);
}

void TForm1::UpdateRightPanelWidth() {
  const int wide = std::max(2 * Label49->sizeHint().width(), 156);
  QWidget* current = pagecontrol1->currentWidget();
  const twindowpage* page = PageOf(current);
  int width = wide;
  if (page && page->NarrowPanel())
    width = std::max(narrowWidth_, current->minimumSizeHint().width());
  width = std::max(width, current->minimumSizeHint().width() + 8);
  pagecontrol1->setFixedWidth(width);
  // The splitter keeps its old sizes when a child's width is fixed anew;
  // give the rest to the left-hand pages so no gap is left.
  const int total = splitter_->width() - splitter_->handleWidth();
  if (total > width) splitter_->setSizes({total - width, width});
}

void TForm1::AutoCapture3Click() { ShowPage(8); }

void TForm1::ToolButton4Click() {
  stop_.Set();
  // Stop ends webcam mode as its own button does.
  if (Page<twebcampage>().Running()) Page<twebcampage>().SpeedButton7Click();
  // Webcam mode, AutoCapture and the disk thumbnail loader stop here as
  // they join; each tests the stop request between items.
}

void TForm1::SetCurrentPicture(const std::string& path, std::uint64_t bytes) {
  const auto d = DescribePicture(path, static_cast<std::int64_t>(bytes));
  Label9->setText(QString::fromStdString(d.showing));
  Label19->setText(QString::fromStdString(d.size));
}

void TForm1::SetPictureText(const std::string& text) {
  Label9->setText(QString::fromStdString(text));
}

bool TForm1::OpenPictureFile(const std::string& path, bool interactive) {
  return pictureView_ && pictureView_->OpenPictureFile(path, interactive);
}

}  // namespace vantlo
