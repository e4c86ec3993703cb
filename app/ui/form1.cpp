// TForm1: construction of the window (menus, tool bar, pages, status line)
// and the small shared routines. Start-up is in form1init.cpp, the camera
// and setup handlers in form1camera.cpp, the close in form1close.cpp.
#include "form1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/picturedescription.h"
#include "app/portchoice.h"
#include "browsepage.h"
#include "diskgrid.h"
#include "foldertree.h"
#include "manual.h"
#include "popupbutton.h"
#include "savingpage.h"

namespace vantlo {

namespace {

QWidget* EmptyPage(const QString& note) {
  auto* page = new QWidget;
  auto* lay = new QVBoxLayout(page);
  auto* label = new QLabel(note);
  label->setWordWrap(true);
  label->setEnabled(false);
  lay->addWidget(label);
  lay->addStretch();
  return page;
}

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
  BuildPages();
  BuildMenus();
  BuildPictureCommands();
  BuildToolBar();
  BuildCameraPictureCommands();
  BuildStatusLine();
  browser_ = new tbrowsepage(*this);
  browser_->BuildMenu(menuBar());
  browser_->openPicture = [this](const std::string& path) { return OpenPictureFile(path, true); };
  connect(PageControl2, &QTabWidget::currentChanged, this, [this] {
    if (PageControl2->currentWidget() == BrowseSheet) browser_->PageShown();
  });

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

TForm1::~TForm1() = default;

void TForm1::BuildPages() {
  splitter_ = new QSplitter(Qt::Horizontal, this);
  setCentralWidget(splitter_);

  PageControl2 = new QTabWidget;
  PageControl2->setObjectName("PageControl2");
  BuildBrowsePage();
  TabSheet11 = new QWidget;
  TabSheet11->setObjectName("TabSheet11");
  {
    auto* lay = new QVBoxLayout(TabSheet11);
    auto* top = new QHBoxLayout;
    BitBtn5 = new QPushButton("Redisplay");
    BitBtn5->setObjectName("BitBtn5");
    BitBtn5->setEnabled(false);
    Label32 = new QLabel;
    Label32->setObjectName("Label32");
    top->addWidget(BitBtn5);
    top->addWidget(Label32, 1);
    lay->addLayout(top);
    auto* scroll = new QScrollArea;
    Image3 = new QLabel;
    Image3->setObjectName("Image3");
    Image3->setAlignment(Qt::AlignCenter);
    scroll->setWidget(Image3);
    scroll->setWidgetResizable(true);
    lay->addWidget(scroll, 1);
  }
  PageControl2->addTab(TabSheet11, "Picture");
  splitter_->addWidget(PageControl2);

  pagecontrol1 = new QTabWidget;
  pagecontrol1->setObjectName("pagecontrol1");
  pagecontrol1->setUsesScrollButtons(true);
  pagecontrol1->setElideMode(Qt::ElideNone);
  BuildCameraPage();
  TabSheet2 = EmptyPage("The second camera page comes with fetching from the camera.");
  BuildSetupPage();
  TabSheet4 = EmptyPage("File commands come with the disk picture browser.");
  SavingPage = new tsavingpage;
  TabSheet5 = SavingPage;
  TabSheet6 = EmptyPage("Webcam mode comes with its scheduler.");
  preferences = EmptyPage("Picture options come with the picture commands.");
  TabSheet8 = EmptyPage("AutoCapture comes with its workflow.");
  TabSheet9 = EmptyPage("Rotation comes with the picture commands.");
  TabSheet10 = EmptyPage("Retouching comes with the retoucher.");
  tabcorrection = EmptyPage("Colour correction comes with the picture commands.");
  TabSheet13 = EmptyPage("Mini movies come with the movie maker.");
  struct tpage {
    QWidget* w;
    const char* name;
    const char* caption;
  };
  const tpage pages[] = {{TabSheet1, "TabSheet1", "Camera"},
                         {TabSheet2, "TabSheet2", "Camera"},
                         {TabSheet3, "TabSheet3", "Setup"},
                         {TabSheet4, "TabSheet4", " Files "},
                         {TabSheet5, "TabSheet5", "Saving"},
                         {TabSheet6, "TabSheet6", "Vantlo"},
                         {preferences, "preferences", "Image"},
                         {TabSheet8, "TabSheet8", "AutoCapture"},
                         {TabSheet9, "TabSheet9", "Rotate"},
                         {TabSheet10, "TabSheet10", "Touch"},
                         {tabcorrection, "tabcorrection", "Correction"},
                         {TabSheet13, "TabSheet13", "Movie"}};
  for (const auto& p : pages) {
    p.w->setObjectName(p.name);
    pagecontrol1->addTab(p.w, p.caption);
  }
  // The second camera page and the AutoCapture page have no tab of their
  // own; the menus open them.
  pagecontrol1->setTabVisible(pagecontrol1->indexOf(TabSheet2), false);
  pagecontrol1->setTabVisible(pagecontrol1->indexOf(TabSheet8), false);
  splitter_->addWidget(pagecontrol1);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 0);
  splitter_->setCollapsible(1, false);
  connect(pagecontrol1, &QTabWidget::currentChanged, this, [this] { UpdateRightPanelWidth(); });

  // Hidden label that measures the wide right panel in the current font.
  Label49 = new QLabel("Report Battery State  ", this);
  Label49->setObjectName("Label49");
  Label49->hide();
}

void TForm1::BuildBrowsePage() {
  BrowseSheet = new QWidget;
  BrowseSheet->setObjectName("BrowseSheet");
  auto* lay = new QVBoxLayout(BrowseSheet);
  Label27 = new QLabel;
  Label27->setObjectName("Label27");
  lay->addWidget(Label27);
  auto* filters = new QHBoxLayout;
  FilterCam = new QCheckBox("CAM");
  FilterJpg = new QCheckBox("JPG");
  FilterFolders = new QCheckBox("Folders");
  CheckBox25 = new QCheckBox("Autoload");
  CheckBox25->setObjectName("CheckBox25");
  for (auto* c : {FilterCam, FilterJpg, FilterFolders, CheckBox25}) filters->addWidget(c);
  filters->addStretch();
  RefreshButton = new QPushButton("Refresh");
  RefreshButton->setObjectName("RefreshButton");
  RefreshButton->setToolTip("Refreshes the current directory");
  TodayButton = new QPushButton("Today");
  TodayButton->setObjectName("TodayButton");
  TodayButton->setToolTip("Goes to Today's Autosave directory");
  filters->addWidget(RefreshButton);
  filters->addWidget(TodayButton);
  lay->addLayout(filters);
  auto* speed = new QHBoxLayout;
  SlideShowSpeed = new QSlider(Qt::Horizontal);
  SlideShowSpeed->setObjectName("SlideShowSpeed");
  SlideShowSpeed->setRange(0, tdiskmanrecord::kDelayChoices - 1);
  SlideShowSpeed->setPageStep(1);
  SlideShowSpeed->setTickPosition(QSlider::TicksBelow);
  SlideShowSpeed->setToolTip("Slide show speed");
  speed->addWidget(new QLabel("Slide show speed"));
  speed->addWidget(new QLabel("Slow"));
  speed->addWidget(SlideShowSpeed, 1);
  speed->addWidget(new QLabel("Fast"));
  lay->addLayout(speed);
  auto* split = new QSplitter(Qt::Horizontal);
  auto* left = new QWidget;
  auto* leftLay = new QVBoxLayout(left);
  leftLay->setContentsMargins(0, 0, 0, 0);
  dirModel_ = new tfoldertreemodel(this);
  directoryoutline1 = new QTreeView;
  directoryoutline1->setObjectName("directoryoutline1");
  directoryoutline1->setModel(dirModel_);
  directoryoutline1->header()->hide();
  directoryoutline1->setEnabled(false);
  leftLay->addWidget(directoryoutline1, 1);
  Image1 = new QLabel;
  Image1->setObjectName("Image1");
  Image1->setFrameShape(QFrame::StyledPanel);
  leftLay->addWidget(Image1, 0, Qt::AlignHCenter);
  split->addWidget(left);
  DrawGrid12 = new Tdiskgrid;
  DrawGrid12->setObjectName("DrawGrid12");
  split->addWidget(DrawGrid12);
  split->setStretchFactor(1, 1);
  lay->addWidget(split, 1);
  PageControl2->addTab(BrowseSheet, "Browse");
  connect(directoryoutline1, &QTreeView::clicked, this,
          [this](const QModelIndex& i) { SetBrowseFolder(dirModel_->filePath(i).toStdString()); });
}

void TForm1::BuildCameraPage() {
  TabSheet1 = new QWidget;
  auto* lay = new QVBoxLayout(TabSheet1);
  DrawGrid11 = new QTableWidget(0, 2);
  DrawGrid11->setObjectName("DrawGrid11");
  DrawGrid11->horizontalHeader()->hide();
  DrawGrid11->verticalHeader()->hide();
  DrawGrid11->verticalHeader()->setDefaultSectionSize(64);
  DrawGrid11->horizontalHeader()->setDefaultSectionSize(64);
  DrawGrid11->setShowGrid(false);
  DrawGrid11->setToolTip("Double click once to load thumbnail; again to load picture");
  lay->addWidget(DrawGrid11, 1);

  auto button = [&](QPushButton*& b, const char* name, const QString& text) {
    b = new QPushButton(text);
    b->setObjectName(name);
    lay->addWidget(b);
  };
  button(SpeedButton1, "SpeedButton1", "Switch Power Off");
  button(SpeedButton2, "SpeedButton2", "Reset Camera");
  button(ShowPicNumButton, "ShowPicNumButton", "Show Picture by Number...");
  auto* battery = new QGroupBox("Battery");
  auto* bl = new QVBoxLayout(battery);
  SpeedButton3 = new QPushButton("Report Battery State");
  SpeedButton3->setObjectName("SpeedButton3");
  Gauge1 = new QProgressBar;
  Gauge1->setObjectName("Gauge1");
  Gauge1->setRange(0, 100);
  Gauge1->setValue(0);
  Gauge1->setTextVisible(false);
  VoltageLabel = new QLabel;
  VoltageLabel->setObjectName("VoltageLabel");
  SpeedButton11 = new QPushButton("Voltage Threshold...");
  SpeedButton11->setObjectName("SpeedButton11");
  bl->addWidget(SpeedButton3);
  bl->addWidget(Gauge1);
  bl->addWidget(VoltageLabel);
  bl->addWidget(SpeedButton11);
  lay->addWidget(battery);

  connect(SpeedButton1, &QPushButton::clicked, this, &TForm1::SpeedButton1Click);
  connect(SpeedButton2, &QPushButton::clicked, this, &TForm1::SpeedButton2Click);
  connect(SpeedButton3, &QPushButton::clicked, this, &TForm1::SpeedButton3Click);
  connect(SpeedButton11, &QPushButton::clicked, this, &TForm1::SpeedButton11Click);
  connect(ShowPicNumButton, &QPushButton::clicked, this, &TForm1::ShowPictureByNumberClick);
}

void TForm1::BuildSetupPage() {
  TabSheet3 = new QWidget;
  auto* lay = new QVBoxLayout(TabSheet3);
  auto* link = new QGroupBox("Camera connection");
  auto* grid = new QGridLayout(link);
  ComboBox2 = new QComboBox;
  ComboBox2->setObjectName("ComboBox2");
  ComboBox1 = new QComboBox;
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->addItems({"Auto", "9600", "19200", "38400", "57600", "115200"});
  grid->addWidget(new QLabel("Port:"), 0, 0);
  grid->addWidget(ComboBox2, 0, 1);
  grid->addWidget(new QLabel("Baud Rate:"), 1, 0);
  grid->addWidget(ComboBox1, 1, 1);
  RadioButton7 = new QRadioButton("Cable");
  RadioButton7->setObjectName("RadioButton7");
  RadioButton8 = new QRadioButton("IrDA");
  RadioButton8->setObjectName("RadioButton8");
  RadioButton7->setChecked(true);
  auto* radios = new QHBoxLayout;
  radios->addWidget(RadioButton7);
  radios->addWidget(RadioButton8);
  radios->addStretch();
  grid->addLayout(radios, 2, 0, 1, 2);
  lay->addWidget(link);

  Button5 = new QPushButton("Test Communications");
  Button5->setObjectName("Button5");
  ConnectionWizardButton = new QPushButton("Connection Wizard");
  ConnectionWizardButton->setObjectName("ConnectionWizardButton");
  PortMapButton = new QPushButton("Port Devices...");
  PortMapButton->setObjectName("PortMapButton");
  PortMapButton->setToolTip("Choose the device each COM port name opens");
  TestStatusLabel = new QLabel;
  TestStatusLabel->setObjectName("TestStatusLabel");
  TestStatusLabel->setWordWrap(true);
  lay->addWidget(Button5);
  lay->addWidget(TestStatusLabel);
  lay->addWidget(ConnectionWizardButton);
  lay->addWidget(PortMapButton);

  auto* size = new QGroupBox("CAM to JPEG picture size");
  auto* sl = new QVBoxLayout(size);
  ComboBox4 = new QComboBox;
  ComboBox4->setObjectName("ComboBox4");
  ComboBox4->addItems({"Default", "160 x 120", "320 x 240", "480 x 360", "640 x 480", "1280 x 960",
                       "Half Size", "Quarter Size"});
  sl->addWidget(ComboBox4);
  lay->addWidget(size);
  lay->addStretch();

  connect(ComboBox1, &QComboBox::activated, this, &TForm1::ComboBox1Change);
  connect(ComboBox2, &QComboBox::activated, this, &TForm1::ComboBox2Change);
  connect(RadioButton7, &QRadioButton::clicked, this, &TForm1::RadioButton7Click);
  connect(RadioButton8, &QRadioButton::clicked, this, &TForm1::RadioButton7Click);
  connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
  connect(ConnectionWizardButton, &QPushButton::clicked, this, &TForm1::ConnectionWizard1Click);
  connect(PortMapButton, &QPushButton::clicked, this, &TForm1::EditPortMapClick);
}

void TForm1::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->addAction("E&xit", this, [this] { close(); });

  QMenu* camera = menuBar()->addMenu("&Camera");
  camera->addAction("&Test Communications", this, &TForm1::TestCommunications1Click);
  camera->addAction("Connection &Wizard...", this, &TForm1::ConnectionWizard1Click);
  camera->addSeparator();
  camera->addAction("Switch Power &Off", this, &TForm1::SpeedButton1Click);
  camera->addAction("&Reset Camera", this, &TForm1::SpeedButton2Click);
  camera->addAction("Report &Voltage", this, &TForm1::ReportVoltage1Click);
  camera->addAction("Voltage &Threshold...", this, &TForm1::SpeedButton11Click);
  camera->addSeparator();
  camera->addAction("Show Picture by &Number...", this, &TForm1::ShowPictureByNumberClick);
  camera->addAction("Selected Thumbnail on Camera &Display", this,
                    &TForm1::SelectedThumbnailOnCamera1Click);

  QMenu* view = menuBar()->addMenu("&View");
  view->addAction("&Camera", this, [this] { ShowPage(1); });
  view->addAction("&Setup", this, [this] { ShowPage(3); });
  view->addAction("&AutoCapture", this, &TForm1::AutoCapture3Click);
  view->addSeparator();
  view->addAction("&Browse", this, [this] { PageControl2->setCurrentWidget(BrowseSheet); });
  view->addAction("&Picture", this, [this] { PageControl2->setCurrentWidget(TabSheet11); });

  QMenu* help = menuBar()->addMenu("&Help");
  help->addAction("&Manual", this, [this] {
    ShowManual(this, FindManual(QCoreApplication::applicationDirPath()), OpenWithDesktop);
  });
  help->addAction("&About Vantlo", this, [this] {
    QMessageBox::about(this, "Vantlo",
                       "Vantlo\nFor Casio QV digital cameras.\nThe manual is the README "
                       "shipped with the program.");
  });
}

void TForm1::BuildToolBar() {
  QToolBar* bar = addToolBar("Tools");
  bar->setObjectName("ToolBar1");
  bar->setMovable(false);
  auto later = [](QMenu* m, const QString& text, const QString& why) {
    QAction* a = m->addAction(text);
    a->setEnabled(false);
    a->setToolTip(why);
  };
  auto* thumbs = new QMenu(this);
  later(thumbs, "Load Camera Thumbnails", "Comes with fetching from the camera");
  auto* show = new QMenu(this);
  later(show, "Show Picture", "Comes with the picture commands");
  show->addAction("Show Picture by Number...", this, &TForm1::ShowPictureByNumberClick);
  auto* minilab = new QMenu(this);
  later(minilab, "MiniLab", "Comes with the MiniLab task");
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

void TForm1::FileWritten(const std::string& path) {
  if (browser_) browser_->FileWritten(path);
}

void TForm1::Trace(const QString& text) {
  if (debug_) QMessageBox::information(this, "Vantlo", text);
}

void TForm1::ShowError(const QString& text) { QMessageBox::critical(this, "Vantlo", text); }

void TForm1::ShowCameraError(const std::exception& e) {
  ShowError(QString::fromStdString(link_ ? CameraFailureText(*link_, e.what()) : e.what()));
}

// ---- pages ----

void TForm1::ShowPage(int number) {
  QWidget* page = nullptr;
  switch (number) {
    case 1:
      page = TabSheet1;
      break;
    case 2:
      page = TabSheet2;
      break;
    case 3:
      page = TabSheet3;
      break;
    case 4:
      page = TabSheet4;
      break;
    case 5:
      page = TabSheet5;
      break;
    case 6:
      page = TabSheet6;
      break;
    case 7:
      page = preferences;
      break;
    case 8:
      page = TabSheet8;
      break;
    case 9:
      page = TabSheet9;
      break;
    case 10:
      page = TabSheet10;
      break;
    case 11:
      page = tabcorrection;
      break;
    case 13:
      page = TabSheet13;
      break;
    default:
      return;  // other numbers leave the page as it is
  }
  pagecontrol1->setCurrentWidget(page);
  UpdateRightPanelWidth();
}

int TForm1::PageNumber() const {
  QWidget* w = pagecontrol1->currentWidget();
  const std::pair<QWidget*, int> pages[] = {
      {TabSheet1, 1}, {TabSheet2, 2},   {TabSheet3, 3},      {TabSheet4, 4},
      {TabSheet5, 5}, {TabSheet6, 6},   {preferences, 7},    {TabSheet8, 8},
      {TabSheet9, 9}, {TabSheet10, 10}, {tabcorrection, 11}, {TabSheet13, 13}};
  for (const auto& [page, n] : pages)
    if (page == w) return n;
  return 1;
}

void TForm1::UpdateRightPanelWidth() {
  const int wide = std::max(2 * Label49->sizeHint().width(), 156);
  int width = wide;
  if (pagecontrol1->currentWidget() == TabSheet1) {
    // Narrow unless the camera grid needs its scroll bar.
    const bool scrolls =
        DrawGrid11->verticalScrollBar() && DrawGrid11->verticalScrollBar()->isVisible();
    width = scrolls ? wide : std::max(narrowWidth_, TabSheet1->minimumSizeHint().width());
  }
  width = std::max(width, pagecontrol1->currentWidget()->minimumSizeHint().width() + 8);
  pagecontrol1->setFixedWidth(width);
  // The splitter keeps its old sizes when a child's width is fixed anew;
  // give the rest to the left-hand pages so no gap is left.
  const int total = splitter_->width() - splitter_->handleWidth();
  if (total > width) splitter_->setSizes({total - width, width});
}

void TForm1::AutoCapture3Click() { ShowPage(8); }

void TForm1::SetCurrentPicture(const QString& path, qint64 bytes) {
  const auto d = DescribePicture(path.toStdString(), bytes);
  Label9->setText(QString::fromStdString(d.showing));
  Label19->setText(QString::fromStdString(d.size));
}

}  // namespace vantlo
