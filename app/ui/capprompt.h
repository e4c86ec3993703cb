// Tcapprompt ("Picture Caption"): the caption of one picture when the setting is "Prompt each
// time": "OK" takes the typed text (fields allowed), "Picture Info" the standard picture
// information, "No Caption" writes nothing. No title-bar buttons.
#pragma once

#include <QDialog>

#include "app/core/captions.h"

class QLineEdit;
class QPushButton;

namespace vantlo {

class Tcapprompt : public QDialog {
  Q_OBJECT
 public:
  explicit Tcapprompt(QWidget* parent = nullptr);
  tcaptionpromptanswer Ask(std::string& text);

  QLineEdit* Edit = nullptr;
  QPushButton* OkButton = nullptr;
  QPushButton* NoCaptionButton = nullptr;
  QPushButton* PictureInfoButton = nullptr;

 private:
  tcaptionpromptanswer answer_ = tcaptionpromptanswer::noCaption;
};

// The caption prompt of the fetch workflow, asked with Tcapprompt.
class tdialogcaptionprompt : public tcaptionprompt {
 public:
  explicit tdialogcaptionprompt(QWidget* parent) : parent_(parent) {}
  tcaptionpromptanswer AskCaption(std::string& text) override {
    Tcapprompt dlg(parent_);
    return dlg.Ask(text);
  }

 private:
  QWidget* parent_;
};

}  // namespace vantlo
