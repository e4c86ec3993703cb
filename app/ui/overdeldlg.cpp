#include "overdeldlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantlo {

Toverdeldlg::Toverdeldlg(const QString& question, const QString& fileName, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("overdeldlg");
  setWindowTitle("Confirm");
  setModal(true);
  auto* lay = new QVBoxLayout(this);
  QuestionLabel = new QLabel(question);
  QuestionLabel->setAlignment(Qt::AlignCenter);
  FileLabel = new QLabel(fileName);
  FileLabel->setAlignment(Qt::AlignCenter);
  FileLabel->setTextFormat(Qt::PlainText);
  lay->addWidget(QuestionLabel);
  lay->addWidget(FileLabel);
  auto* buttons = new QHBoxLayout;
  YesButton = new QPushButton("Yes");
  NoButton = new QPushButton("No");
  YesToAllButton = new QPushButton("Yes to All");
  YesButton->setDefault(true);
  buttons->addStretch(1);
  buttons->addWidget(YesButton);
  buttons->addWidget(NoButton);
  buttons->addWidget(YesToAllButton);
  buttons->addStretch(1);
  lay->addLayout(buttons);
  connect(YesButton, &QPushButton::clicked, this, [this] {
    answer_ = tanswer::yes;
    accept();
  });
  connect(NoButton, &QPushButton::clicked, this, [this] {
    answer_ = tanswer::no;
    reject();
  });
  connect(YesToAllButton, &QPushButton::clicked, this, [this] {
    answer_ = tanswer::yesToAll;
    accept();
  });
}

Toverdeldlg::tanswer Toverdeldlg::Ask() {
  answer_ = tanswer::no;  // Escape or the window closing count as "No"
  exec();
  return answer_;
}

toverwriteanswer tdialogoverwrite::AskOverwrite(const std::string& path) {
  Toverdeldlg dlg("Do you want to overwrite ", QString::fromStdString(path), parent_);
  switch (dlg.Ask()) {
    case Toverdeldlg::tanswer::yes:
      return toverwriteanswer::yes;
    case Toverdeldlg::tanswer::yesToAll:
      return toverwriteanswer::yesToAll;
    default:
      return toverwriteanswer::no;
  }
}

}  // namespace vantlo
