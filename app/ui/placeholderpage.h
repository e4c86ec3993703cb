// A page of the right-hand page control whose feature has not joined yet: a greyed note.
#pragma once

#include <QWidget>

#include "app/ui/windowpage.h"

namespace vantlo {

class tplaceholderpage : public QWidget, public twindowpage {
  Q_OBJECT
 public:
  // `name` is the page's designer name (TabSheet2, ...); `hasTab` false: opened by the menus.
  tplaceholderpage(int number, const char* name, const QString& caption, const QString& note,
                   bool hasTab = true);

  int PageNumber() const override { return number_; }
  QWidget* Widget() override { return this; }
  QString TabText() const override { return caption_; }
  bool HasTab() const override { return hasTab_; }

 private:
  int number_;
  QString caption_;
  bool hasTab_;
};

}  // namespace vantlo
