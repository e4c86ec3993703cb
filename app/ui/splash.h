#pragma once

#include <QWidget>

namespace vantlo {

// Splash window shown on top while the program starts.
class Tsplash1 : public QWidget {
  Q_OBJECT
 public:
  explicit Tsplash1(QWidget* parent = nullptr);
};

}  // namespace vantlo
