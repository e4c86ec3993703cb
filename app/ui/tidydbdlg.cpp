#include "tidydbdlg.h"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantlo {

Ttidydb::Ttidydb(const std::string& root, QWidget* parent) : QDialog(parent) {
  setObjectName("tidydb");
  setWindowTitle("Compress Properties Database");
  Folder = new QLineEdit(QString::fromStdString(root));
  auto* choose = new QPushButton(">");
  choose->setFixedWidth(28);
  Status = new QLabel;
  Counter = new QLabel;
  CompressButton = new QPushButton("Compress");
  StopButton = new QPushButton("Stop");
  StopButton->setEnabled(false);
  CloseButton = new QPushButton("Close");
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(
      new QLabel("This procedure removes Picture Properties Files that are no longer in use"));
  auto* row = new QHBoxLayout;
  row->addWidget(Folder, 1);
  row->addWidget(choose);
  lay->addLayout(row);
  lay->addWidget(Status);
  lay->addWidget(Counter);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (auto* b : {CompressButton, StopButton, CloseButton}) buttons->addWidget(b);
  lay->addLayout(buttons);
  connect(choose, &QPushButton::clicked, this, [this] {
    const QString d = QFileDialog::getExistingDirectory(this, windowTitle(), Folder->text());
    if (!d.isEmpty()) Folder->setText(d);
  });
  connect(CompressButton, &QPushButton::clicked, this, &Ttidydb::CompressClick);
  connect(StopButton, &QPushButton::clicked, this, [this] { stop_ = true; });
  connect(CloseButton, &QPushButton::clicked, this, [this] {
    if (running_)
      stop_ = true;
    else
      accept();
  });
  resize(480, 180);
}

void Ttidydb::CompressClick() {
  if (running_) return;
  running_ = true;
  stop_ = false;
  CompressButton->setEnabled(false);
  StopButton->setEnabled(true);
  Counter->clear();
  result_ = ttidydb().Compress(Folder->text().toStdString(), [this](const std::string& text) {
    if (text.rfind("Number of files removed", 0) == 0)
      Counter->setText(QString::fromStdString(text));
    else
      Status->setText(QString::fromStdString(text));
    QApplication::processEvents();
    return !stop_;
  });
  running_ = false;
  CompressButton->setEnabled(true);
  StopButton->setEnabled(false);
  Status->setText(QString::fromStdString(result_.Summary()));
  if (!result_.failures.empty()) {
    QString details = QString::fromStdString(result_.Summary());
    for (std::size_t i = 0; i < result_.failures.size() && i < 10; ++i)
      details += "\n" + QString::fromStdString(result_.failures[i]);
    QMessageBox::warning(this, "Vantlo", details);
  }
}

}  // namespace vantlo
