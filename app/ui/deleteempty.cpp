#include "deleteempty.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "library/picturecommands.h"

namespace vantlo {

namespace {

QString WithSlash(QString s) {
  if (!s.endsWith('/')) s += '/';
  return s;
}

}  // namespace

Tdeleteempty::Tdeleteempty(const std::string& folder, QWidget* parent) : QDialog(parent) {
  setObjectName("deleteempty");
  setWindowTitle("Delete Empty Folders");
  // An empty output folder stays empty: removing sub-folders of the root of
  // the file system is refused.
  Edit1 = new QLineEdit(folder.empty() ? QString() : WithSlash(QString::fromStdString(folder)));
  auto* choose = new QPushButton(">");
  choose->setFixedWidth(28);
  Result = new QLabel;
  auto* remove = new QPushButton("Remove");
  auto* close = new QPushButton("Close");
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(new QLabel("This will remove all empty folders in the folder shown below"));
  auto* row = new QHBoxLayout;
  row->addWidget(Edit1, 1);
  row->addWidget(choose);
  lay->addLayout(row);
  lay->addWidget(Result);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(remove);
  buttons->addWidget(close);
  lay->addLayout(buttons);
  connect(choose, &QPushButton::clicked, this, [this] {
    const QString d = QFileDialog::getExistingDirectory(this, windowTitle(), Edit1->text());
    if (!d.isEmpty()) Edit1->setText(WithSlash(d));
  });
  connect(remove, &QPushButton::clicked, this, &Tdeleteempty::RemoveClick);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  resize(440, 140);
}

void Tdeleteempty::RemoveClick() {
  const std::string folder = Edit1->text().toStdString();
  try {
    if (folder.empty())
      throw std::runtime_error("Please choose a folder: there is no output folder to start from");
    message_ = QString::fromStdString(DeleteEmptyFolders(folder).Summary());
    Result->setText(message_);
  } catch (const std::exception& e) {
    message_ = QString::fromStdString(e.what());
    Result->setText(message_);
    QMessageBox::warning(this, "Vantlo", message_);
  }
}

}  // namespace vantlo
