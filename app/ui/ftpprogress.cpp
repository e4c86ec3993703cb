#include "app/ui/ftpprogress.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include "internet/ftplog.h"

namespace vantlo {

TFTPprogress::TFTPprogress(tftplog& log, QWidget* parent) : QDialog(parent), log_(log) {
  setObjectName("FTPprogress");
  setWindowTitle("FTP Progress");
  auto* lay = new QVBoxLayout(this);
  ListBox1 = new QListWidget;
  ListBox1->setObjectName("ListBox1");
  ListBox1->setMinimumSize(420, 240);
  lay->addWidget(ListBox1);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  SaveButton = new QPushButton("Save");
  CloseButton = new QPushButton("Close");
  row->addWidget(SaveButton);
  row->addWidget(CloseButton);
  lay->addLayout(row);
  connect(SaveButton, &QPushButton::clicked, this, &TFTPprogress::SaveClick);
  connect(CloseButton, &QPushButton::clicked, this, &QWidget::hide);

  for (const auto& line : log_.Lines()) ListBox1->addItem(QString::fromStdString(line));
  log_.OnAdded = [this](const std::string& line) {
    ListBox1->addItem(QString::fromStdString(line));
    ListBox1->scrollToBottom();
  };
  log_.OnCleared = [this] { ListBox1->clear(); };
}

TFTPprogress::~TFTPprogress() {
  log_.OnAdded = nullptr;
  log_.OnCleared = nullptr;
}

void TFTPprogress::SaveClick() {
  const QString path =
      QFileDialog::getSaveFileName(this, "Save", QString(), "Text Files (*.txt);;All Files (*)");
  if (!path.isEmpty()) SaveTo(path);
}

bool TFTPprogress::SaveTo(const QString& path) {
  const int err = log_.Save(path.toStdString());
  if (err == 0) return true;
  QMessageBox::warning(this, "Vantlo",
                       "Cannot write " + path + ": " + QString::fromLocal8Bit(std::strerror(err)));
  return false;
}

}  // namespace vantlo
