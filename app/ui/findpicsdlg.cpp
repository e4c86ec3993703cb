#include "findpicsdlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>

namespace vantlo {

Tfindpics::Tfindpics(const std::string& startFolder, QWidget* parent)
    : QDialog(parent), startFolder_(startFolder) {
  setObjectName("findpics");
  setWindowTitle("Find Pictures");
  Edit1 = new QLineEdit;
  ComboBox1 = new QComboBox;
  ComboBox1->addItems({"Keywords", "Title", "Description", "Filename", "Any Property"});
  Folder = new QLineEdit(QString::fromStdString(startFolder));
  auto* choose = new QPushButton(">");
  choose->setFixedWidth(28);
  Subfolders = new QCheckBox("Include subfolders");
  JpgFiles = new QCheckBox("JPG files");
  CamFiles = new QCheckBox("CAM files");
  for (auto* c : {Subfolders, JpgFiles, CamFiles}) c->setChecked(true);
  FindButton = new QPushButton("Find");
  SecondButton = new QPushButton("Close");
  Status = new QLabel;
  ListBox1 = new QListWidget;
  auto* g = new QGridLayout(this);
  g->addWidget(new QLabel("Look for:"), 0, 0);
  g->addWidget(Edit1, 0, 1, 1, 2);
  g->addWidget(new QLabel("In:"), 1, 0);
  g->addWidget(ComboBox1, 1, 1, 1, 2);
  g->addWidget(new QLabel("Folder:"), 2, 0);
  g->addWidget(Folder, 2, 1);
  g->addWidget(choose, 2, 2);
  auto* checks = new QHBoxLayout;
  for (auto* c : {Subfolders, JpgFiles, CamFiles}) checks->addWidget(c);
  g->addLayout(checks, 3, 0, 1, 3);
  g->addWidget(Status, 4, 0, 1, 3);
  g->addWidget(ListBox1, 5, 0, 1, 3);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(FindButton);
  buttons->addWidget(SecondButton);
  g->addLayout(buttons, 6, 0, 1, 3);
  FindButton->setDefault(true);
  connect(FindButton, &QPushButton::clicked, this, &Tfindpics::FindClick);
  connect(SecondButton, &QPushButton::clicked, this, &Tfindpics::SecondClick);
  connect(choose, &QPushButton::clicked, this, [this] {
    const QString d = QFileDialog::getExistingDirectory(this, "Find Pictures", Folder->text());
    if (!d.isEmpty()) Folder->setText(d);
  });
  message = [this](const QString& text) { QMessageBox::warning(this, "Vantlo", text); };
  resize(480, 420);
}

void Tfindpics::FindClick() {
  if (searching_) return;
  results_.clear();
  ListBox1->clear();
  if (Edit1->text().isEmpty()) {
    accept();
    return;
  }
  // Asked first in every mode, file names included.
  if (!JpgFiles->isChecked() && !CamFiles->isChecked()) {
    message("You have not selected any files to Look For");
    return;
  }
  tfindoptions options;
  // A folder typed as a relative path is taken from the folder the dialog started in, never
  // from the program's working directory.
  std::filesystem::path root(Folder->text().toStdString());
  if (root.is_relative()) root = std::filesystem::path(startFolder_) / root;
  options.root = root.lexically_normal().string();
  options.text = Edit1->text().toStdString();
  options.mode = static_cast<tfindmode>(std::max(0, ComboBox1->currentIndex()));
  options.subfolders = Subfolders->isChecked();
  options.jpg = JpgFiles->isChecked();
  options.cam = CamFiles->isChecked();
  stop_ = false;
  searching_ = true;
  SecondButton->setText("Stop");
  tfindresult result;
  try {
    result = tfindpics().Find(options, [this](const std::string& text) {
      Status->setText(QString::fromStdString(text));
      QApplication::processEvents();
      return !stop_;
    });
  } catch (const std::exception& e) {
    searching_ = false;
    SecondButton->setText("Close");
    Status->clear();
    message(QString::fromStdString(e.what()));
    if (rejectAfterSearch_) {
      rejectAfterSearch_ = false;
      QDialog::reject();
    }
    return;
  }
  searching_ = false;
  SecondButton->setText("Close");
  results_ = result.pictures;
  QString summary = QString::fromStdString(result.Summary());
  if (result.stopped) summary += " (stopped)";
  Status->setText(summary);
  for (const auto& p : results_) ListBox1->addItem(QString::fromStdString(p));
  if (!result.stopped && !results_.empty()) {
    FindButton->setDefault(false);
    SecondButton->setDefault(true);
    SecondButton->setFocus();
  }
  if (rejectAfterSearch_) {
    // Escape or the close box during the search: it has stopped, now the dialog closes.
    rejectAfterSearch_ = false;
    QDialog::reject();
  }
}

void Tfindpics::reject() {
  if (searching_) {
    stop_ = true;
    rejectAfterSearch_ = true;
    return;
  }
  QDialog::reject();
}

void Tfindpics::SecondClick() {
  if (searching_) {
    stop_ = true;
    return;
  }
  accept();
}

}  // namespace vantlo
