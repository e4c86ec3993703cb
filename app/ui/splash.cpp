#include "splash.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vantlo {

Tsplash1::Tsplash1(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint) {
  setObjectName("splash1");
  auto* lay = new QVBoxLayout(this);
  auto* title = new QLabel("Vantlo");
  QFont f = title->font();
  f.setPointSize(f.pointSize() * 3);
  f.setBold(true);
  title->setFont(f);
  title->setAlignment(Qt::AlignCenter);
  auto* sub = new QLabel("for Casio QV digital cameras\nStarting...");
  sub->setAlignment(Qt::AlignCenter);
  lay->addWidget(title);
  lay->addWidget(sub);
  setStyleSheet("background: #203040; color: white;");
  resize(360, 180);
}

}  // namespace vantlo
