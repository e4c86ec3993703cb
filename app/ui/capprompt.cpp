#include "capprompt.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantlo {

Tcapprompt::Tcapprompt(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("capprompt");
  setWindowTitle("Picture Caption");
  setModal(true);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(new QLabel("Enter caption for this picture :"));
  Edit = new QLineEdit;
  Edit->setMaxLength(static_cast<int>(kMaxCaptionLength));
  lay->addWidget(Edit);
  auto* buttons = new QHBoxLayout;
  OkButton = new QPushButton("OK");
  NoCaptionButton = new QPushButton("No Caption");
  PictureInfoButton = new QPushButton("Picture Info");
  OkButton->setDefault(true);
  for (auto* b : {OkButton, NoCaptionButton, PictureInfoButton}) buttons->addWidget(b);
  lay->addLayout(buttons);
  connect(OkButton, &QPushButton::clicked, this, [this] {
    answer_ = tcaptionpromptanswer::ok;
    accept();
  });
  connect(NoCaptionButton, &QPushButton::clicked, this, [this] {
    answer_ = tcaptionpromptanswer::noCaption;
    reject();
  });
  connect(PictureInfoButton, &QPushButton::clicked, this, [this] {
    answer_ = tcaptionpromptanswer::pictureInfo;
    accept();
  });
}

tcaptionpromptanswer Tcapprompt::Ask(std::string& text) {
  answer_ = tcaptionpromptanswer::noCaption;  // closed any other way: no caption
  exec();
  if (answer_ == tcaptionpromptanswer::ok) text = Edit->text().toStdString();
  return answer_;
}

}  // namespace vantlo
