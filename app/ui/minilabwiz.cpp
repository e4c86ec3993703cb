#include "app/ui/minilabwiz.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/busyregister.h"
#include "app/ui/windowhost.h"
#include "library/records.h"

namespace vantlo {

namespace {

QLabel* Title(const QString& text) {
  auto* l = new QLabel(text);
  QFont f = l->font();
  f.setBold(true);
  f.setPointSize(f.pointSize() + 2);
  l->setFont(f);
  l->setWordWrap(true);
  return l;
}

QLabel* Text(const QString& text) {
  auto* l = new QLabel(text);
  l->setWordWrap(true);
  return l;
}

}  // namespace

Tminilabwiz::Tminilabwiz(twindowhost& window, tminilabhost& runner, tminilabwizcommands commands,
                         QWidget* parent)
    : QDialog(parent), window_(window), runner_(runner), commands_(std::move(commands)) {
  setObjectName("minilabwiz");
  setWindowTitle("MiniLab Wizard");
  setModal(false);
  Build();
  GoTo(pgWelcome);
}

void Tminilabwiz::Build() {
  auto* lay = new QVBoxLayout(this);
  Pages = new QStackedWidget;
  lay->addWidget(Pages);
  auto* nav = new QHBoxLayout;
  StartButton = new QPushButton("<< Start");
  StartButton->setObjectName("StartButton");
  BackButton = new QPushButton("< Back");
  BackButton->setObjectName("BackButton");
  nav->addWidget(StartButton);
  nav->addWidget(BackButton);
  nav->addStretch();
  lay->addLayout(nav);
  connect(StartButton, &QPushButton::clicked, this, &Tminilabwiz::StartOver);
  connect(BackButton, &QPushButton::clicked, this, &Tminilabwiz::Back);

  QVBoxLayout* page = nullptr;
  const auto newPage = [&](const char* name) {
    auto* w = new QWidget;
    w->setObjectName(name);
    page = new QVBoxLayout(w);
    Pages->addWidget(w);
  };
  const auto button = [&](const char* name, const QString& text, auto handler) {
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    page->addWidget(b);
    connect(b, &QPushButton::clicked, this, handler);
    return b;
  };

  newPage("WelcomePage");
  page->addWidget(Title("Welcome to the MiniLab"));
  page->addWidget(Text("The MiniLab is here to help you do common tasks."));
  button("CameraTaskButton", "Fetch, save and print pictures from the camera >",
         &Tminilabwiz::StartCameraTask);
  button("HelpButton", "Help me with other tasks >", &Tminilabwiz::OpenHelp);
  page->addStretch();

  newPage("ConnectedPage");
  page->addWidget(Title("Is the Camera connected and switched on?"));
  button("YesButton", "&Yes", &Tminilabwiz::CameraYes);
  button("NoButton", "&No", &Tminilabwiz::CameraNo);
  button("ConnectHelpButton", "&Help me get the camera connected", [this] {
    if (commands_.connectionWizard) commands_.connectionWizard();
  });
  CountLabel = Text("");
  CountLabel->setObjectName("CountLabel");
  page->addWidget(CountLabel);
  page->addStretch();

  newPage("WhichPage");
  page->addWidget(Title("Which pictures would you like to fetch ?"));
  button("AllButton", "All of them", &Tminilabwiz::ChooseAll);
  button("RangeButton", "Let me specify a range of pictures", &Tminilabwiz::ChooseRange);
  auto* range = new QGridLayout;
  FromNumber = new QSpinBox;
  FromNumber->setObjectName("FromNumber");
  ToNumber = new QSpinBox;
  ToNumber->setObjectName("ToNumber");
  range->addWidget(new QLabel("From picture number"), 0, 0);
  range->addWidget(FromNumber, 0, 1);
  range->addWidget(new QLabel("to "), 0, 2);
  range->addWidget(ToNumber, 0, 3);
  page->addLayout(range);
  button("ThumbnailsButton", "Load the thumbnails and let me choose some",
         &Tminilabwiz::ChooseThumbnails);
  ThumbnailsLabel = Text("");
  ThumbnailsLabel->setObjectName("ThumbnailsLabel");
  page->addWidget(ThumbnailsLabel);
  button("ContinueButton", "Continue >", &Tminilabwiz::Continue);
  page->addStretch();

  newPage("SavePage");
  page->addWidget(Title("What do you want to Save ?"));
  page->addWidget(
      Text("Use the Picture Setup Panel on the right to adjust the JPEG Parameters >>>"));
  button("CamFilesButton", "CAM Files", [this] { SaveChoice(true, false); });
  button("JpgFilesButton", "JPG Files", [this] { SaveChoice(false, true); });
  button("BothFilesButton", "CAM and JPG files", [this] { SaveChoice(true, true); });
  page->addStretch();

  newPage("WherePage");
  page->addWidget(Title("Where to Save ?"));
  AutoSaveLabel = Text("");
  AutoSaveLabel->setObjectName("AutoSaveLabel");
  page->addWidget(AutoSaveLabel);
  ChosenFolderLabel = Text("");
  ChosenFolderLabel->setObjectName("ChosenFolderLabel");
  ChosenFolderLabel->setAlignment(Qt::AlignCenter);
  page->addWidget(ChosenFolderLabel);
  button("UseFolderButton", "Use this folder", &Tminilabwiz::UseThisFolder);
  button("AnotherFolderButton", "Let me choose another folder", &Tminilabwiz::ChooseAnotherFolder);
  button("DefaultFolderButton", "Use the default Autosave folder", &Tminilabwiz::UseDefaultFolder);
  button("ChangeDefaultButton", "Let me change the Autosave folder",
         &Tminilabwiz::ChangeDefaultFolder);
  UseNewDefaultButton = button("UseNewDefaultButton", "Use this new Autosave folder",
                               &Tminilabwiz::UseNewDefaultFolder);
  UseNewDefaultButton->hide();
  page->addStretch();

  newPage("PrintPage");
  page->addWidget(Title("Do you want to Print your pictures ?"));
  button("PrinterSetupButton", "Printer Setup", [this] {
    if (commands_.printerSetup) commands_.printerSetup();
  });
  button("PageSetupButton", "Page Setup", [this] {
    if (commands_.pageSetup) commands_.pageSetup();
  });
  button("PrintStatusButton", "Print Status", [this] {
    if (commands_.printStatus) commands_.printStatus();
  });
  button("PrintYesButton", "&Yes", [this] { PrintChoice(true); });
  button("PrintNoButton", "&No", [this] { PrintChoice(false); });
  page->addStretch();

  newPage("SummaryPage");
  page->addWidget(Title("The MiniLab is ready to process your pictures."));
  page->addWidget(Text("You have selected these settings :"));
  auto* summary = new QGridLayout;
  const char* rows[4] = {"Fetch ", "Save", "In Folder", "Print"};
  QLabel** values[4] = {&SummaryFetch, &SummarySave, &SummaryFolder, &SummaryPrint};
  for (int i = 0; i < 4; ++i) {
    summary->addWidget(new QLabel(rows[i]), i, 0);
    *values[i] = new QLabel;
    (*values[i])->setObjectName(QString("Summary%1").arg(i));
    summary->addWidget(*values[i], i, 1);
  }
  summary->setColumnStretch(1, 1);
  page->addLayout(summary);
  FetchThumbnailsBox = new QCheckBox("Fetch Thumbnails from the Camera");
  FetchThumbnailsBox->setObjectName("FetchThumbnailsBox");
  page->addWidget(FetchThumbnailsBox);
  button("SaveSettingsButton", "Save these settings", &Tminilabwiz::SaveTheseSettings);
  button("StartProcessingButton", "Start Processing", &Tminilabwiz::StartProcessing);
  DefaultsLabel = Text("");
  DefaultsLabel->setObjectName("DefaultsLabel");
  page->addWidget(DefaultsLabel);
  page->addStretch();

  newPage("HelpPage");
  page->addWidget(Title("The MiniLab can Help You to do these things:"));
  button("HelpPrintButton", "Print Pictures", [this] { Next(pgHelpPrint); });
  button("HelpSheetsButton", "Make Contact Sheets", [this] { Next(pgHelpSheets); });
  button("HelpOrientationButton", "Define Picture Orientation",
         [this] { Next(pgHelpOrientation); });
  button("HelpCamToJpegButton", "Convert CAM files to JPGs", [this] { Next(pgHelpCamToJpeg); });
  page->addStretch();

  newPage("HelpPrintPage");
  page->addWidget(Title("Print Pictures"));
  page->addWidget(
      Text("Vantlo prints pictures several to a page. Choose the printer and the "
           "number of pictures per page, then print the picture on display, the "
           "pictures selected on the Browse page or pictures from the camera."));
  PrinterLabel = Text("");
  PrinterLabel->setObjectName("PrinterLabel");
  page->addWidget(PrinterLabel);
  button("HelpPrinterSetupButton", "Printer Setup >", [this] {
    if (commands_.printerSetup) commands_.printerSetup();
  });
  button("HelpPageSetupButton", "Page Setup >", [this] {
    if (commands_.pageSetup) commands_.pageSetup();
  });
  button("HelpPrintStatusButton", "Print Status", [this] {
    if (commands_.printStatus) commands_.printStatus();
  });
  page->addStretch();

  newPage("HelpSheetsPage");
  page->addWidget(Title("Make Contact Sheets"));
  page->addWidget(
      Text("A contact sheet shows many pictures small on one page, each with its "
           "caption. Select pictures on the Browse page and add them to a sheet; a "
           "full sheet is saved or you are asked what to do with it."));
  SheetLabel = Text("");
  SheetLabel->setObjectName("SheetLabel");
  page->addWidget(SheetLabel);
  button("ContactSettingsButton", "Change Contact Sheet Settings", [this] {
    if (commands_.contactSettings) commands_.contactSettings();
    Enter(pgHelpSheets);
  });
  AutoSaveSheet = new QRadioButton("Automatically Save Contact Sheet");
  AutoSaveSheet->setObjectName("AutoSaveSheet");
  AskSheet = new QRadioButton("Ask Me Every Time a Sheet is Full");
  AskSheet->setObjectName("AskSheet");
  page->addWidget(AutoSaveSheet);
  page->addWidget(AskSheet);
  connect(AutoSaveSheet, &QRadioButton::toggled, this, [this](bool on) {
    if (!Pages || Pages->currentIndex() != pgHelpSheets) return;
    runner_.CollectSettings();
    runner_.Settings().config.SetSaveContactSheets(on);
    runner_.SettingsChanged();
  });
  page->addStretch();

  newPage("HelpOrientationPage");
  page->addWidget(Title("Define Picture Orientation"));
  page->addWidget(
      Text("A picture taken with the camera turned can be given its orientation: "
           "select its CAM files on the Browse page; every time a file is opened "
           "it is turned the right way up. The file itself is never changed."));
  button("DefineOrientationButton", "Define Orientation for Selected CAM files...", [this] {
    if (commands_.defineOrientation) commands_.defineOrientation();
  });
  page->addStretch();

  newPage("HelpCamToJpegPage");
  page->addWidget(Title("Convert CAM files to JPGs"));
  page->addWidget(
      Text("CAM files hold the camera's own picture data. Select CAM files on the "
           "Browse page and Vantlo saves each as a JPEG file beside it, in the same "
           "folder, with the JPEG settings of the Image page."));
  button("CamToJpegButton", "Save Selected CAM Files as JPEGs", [this] {
    if (commands_.camToJpeg) commands_.camToJpeg();
  });
  page->addStretch();
}

void Tminilabwiz::ShowWizard() {
  show();
  raise();
  activateWindow();
}

void Tminilabwiz::CloseWithWindow() {
  GoTo(pgWelcome);
  hide();
}

void Tminilabwiz::closeEvent(QCloseEvent* event) {
  GoTo(pgWelcome);
  QDialog::closeEvent(event);
}

int Tminilabwiz::Page() const { return Pages->currentIndex(); }

void Tminilabwiz::GoTo(int page) {
  if (page < 0 || page >= pgcount) return;
  Pages->setCurrentIndex(page);
  StartButton->setVisible(page != pgWelcome);
  BackButton->setVisible(page != pgWelcome);
  Enter(page);
}

void Tminilabwiz::Next(int page) {
  previous_[page] = Page();
  GoTo(page);
}

void Tminilabwiz::Back() { GoTo(previous_[Page()]); }
void Tminilabwiz::StartOver() { GoTo(pgWelcome); }

void Tminilabwiz::Message(const std::string& text) {
  if (commands_.message)
    commands_.message(text);
  else
    QMessageBox::information(this, "MiniLab", QString::fromStdString(text));
}

void Tminilabwiz::Enter(int page) {
  switch (page) {
    case pgConnected:
      window_.ShowPage(3);  // the setup panel
      break;
    case pgSave:
      window_.ShowPage(7);  // "Image"
      break;
    case pgWhere:
      window_.ShowPage(5);  // "Saving"
      if (!changingFolder_)
        AutoSaveLabel->setText(
            QString::fromStdString("The AutoSave Folder is : " + runner_.SaveFolder()));
      ShowChosenFolder();
      break;
    case pgSummary:
      SummaryFetch->setText(QString::fromStdString(plan_.FetchText()));
      SummarySave->setText(QString::fromStdString(plan_.SaveText()));
      SummaryFolder->setText(QString::fromStdString(plan_.FolderText()));
      SummaryPrint->setText(QString::fromStdString(plan_.PrintText()));
      FetchThumbnailsBox->setChecked(runner_.Settings().config.MiniLabFetchThumbnails());
      DefaultsLabel->clear();
      break;
    case pgHelpPrint:
      PrinterLabel->setText(
          QString::fromStdString(commands_.printerText ? commands_.printerText() : std::string()));
      break;
    case pgHelpSheets: {
      const tcontactrecord& c = runner_.Settings().contact;
      std::string captions;
      if (c.CaptionTitle()) captions += " title";
      if (c.CaptionFilename()) captions += " file name";
      if (c.CaptionFileSize()) captions += " file size";
      SheetLabel->setText(QString::fromStdString(
          "Contact sheet size : " + std::to_string(c.SheetWidth()) + " x " +
          std::to_string(c.SheetHeight()) + ", " + std::to_string(c.Columns()) + " columns, " +
          std::to_string(c.Rows()) +
          " rows; captions :" + (captions.empty() ? std::string(" none") : captions)));
      const bool autoSave = runner_.Settings().config.SaveContactSheets();
      AutoSaveSheet->setChecked(autoSave);
      AskSheet->setChecked(!autoSave);
      break;
    }
    default:
      break;
  }
}

void Tminilabwiz::ShowChosenFolder() {
  ChosenFolderLabel->setText(QString::fromStdString("   " + plan_.folder + "   "));
}

void Tminilabwiz::StartCameraTask() {
  plan_ = tminilabplan{};
  const std::string folder = runner_.Settings().extra.MiniLabFolder();
  plan_.folder = folder.empty() ? runner_.SaveFolder() : folder;
  CountLabel->clear();
  ThumbnailsLabel->clear();
  Next(pgConnected);
}

void Tminilabwiz::OpenHelp() { Next(pgHelp); }

void Tminilabwiz::CameraNo() { Message(kConnectTheCamera); }

void Tminilabwiz::CameraYes() {
  if (!window_.Busy().BusyControl(tbusyregister::kQuery)) {
    Message(tbusyregister::kBusyBoxText);
    return;
  }
  int count = 0;
  try {
    count = runner_.PictureCount();
  } catch (const std::exception&) {
    Message(kCannotCommunicate);
    return;
  }
  if (count <= 0) {
    Message(kNoPicturesInCamera);
    return;
  }
  plan_.count = count;
  CountLabel->setText(QString::fromStdString(tminilabplan::CountText(count)));
  FromNumber->setRange(1, count);
  ToNumber->setRange(1, count);
  FromNumber->setValue(1);
  ToNumber->setValue(count);
  Next(pgWhich);
}

void Tminilabwiz::ChooseAll() {
  plan_.scope = tminilabscope::all;
  Next(pgSave);
}

void Tminilabwiz::ChooseRange() {
  plan_.scope = tminilabscope::range;
  FromNumber->setFocus();
}

void Tminilabwiz::ChooseThumbnails() {
  plan_.scope = tminilabscope::chosen;
  runner_.CameraSelection().SelectNone();
  ThumbnailsLabel->setText("Loading Thumbnails from Camera - Please wait...");
  ThumbnailsLabel->repaint();
  try {
    runner_.LoadAllThumbnails();
  } catch (const std::exception& e) {
    ThumbnailsLabel->clear();
    Message(e.what());
    return;
  }
  ThumbnailsLabel->setText("Select the pictures you want to fetch and click \"Continue\"");
}

void Tminilabwiz::Continue() {
  if (plan_.scope == tminilabscope::none) return;  // no choice made yet
  plan_.from = FromNumber->value();
  plan_.to = ToNumber->value();
  const std::string refusal = plan_.ContinueCheck(runner_.CameraSelection());
  if (!refusal.empty()) {
    Message(refusal);
    return;
  }
  Next(pgSave);
}

void Tminilabwiz::SaveChoice(bool cam, bool jpeg) {
  plan_.saveCam = cam;
  plan_.saveJpeg = jpeg;
  Next(pgWhere);
}

void Tminilabwiz::UseThisFolder() { Next(pgPrint); }

void Tminilabwiz::ChooseAnotherFolder() {
  if (!commands_.chooseFolder) return;
  const std::string folder = commands_.chooseFolder(plan_.folder);
  if (folder.empty()) return;
  plan_.folder = folder;
  ShowChosenFolder();
}

void Tminilabwiz::UseDefaultFolder() {
  plan_.folder = runner_.SaveFolder();
  ShowChosenFolder();
}

void Tminilabwiz::ChangeDefaultFolder() {
  changingFolder_ = true;
  window_.ShowPage(5);
  UseNewDefaultButton->show();
}

void Tminilabwiz::UseNewDefaultFolder() {
  runner_.CollectSettings();
  plan_.folder = runner_.SaveFolder();
  AutoSaveLabel->setText(
      QString::fromStdString("The Default AutoSave Folder is : " + plan_.folder));
  changingFolder_ = false;
  UseNewDefaultButton->hide();
  ShowChosenFolder();
}

void Tminilabwiz::PrintChoice(bool print) {
  plan_.print = print;
  Next(pgSummary);
}

void Tminilabwiz::SaveTheseSettings() {
  runner_.CollectSettings();
  SaveMiniLabChoices(runner_.Settings(), plan_, FetchThumbnailsBox->isChecked(),
                     runner_.SaveFolder());
  runner_.SettingsChanged();
  DefaultsLabel->setText(kDefaultsSaved);
}

void Tminilabwiz::StartProcessing() {
  {
    tbusyguard slot(window_.Busy(), tbusyregister::kMiniLab);
    if (!slot.Granted()) {
      Message(tbusyregister::kBusyBoxText);
      return;
    }
    hide();
    try {
      StartMiniLab(runner_, plan_, FetchThumbnailsBox->isChecked());
    } catch (const std::exception& e) {
      ShowWizard();
      Message(e.what());
      return;
    }
  }
  runner_.ShowFolder(plan_.folder);
  GoTo(pgWelcome);
  close();
}

}  // namespace vantlo
