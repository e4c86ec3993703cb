#include "welcome.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace vantlo {

Twelcome::Twelcome(QWidget* parent) : QDialog(parent) {
  setObjectName("welcome");
  setWindowTitle("Welcome to Vantlo");
  auto* lay = new QVBoxLayout(this);
  auto* text = new QLabel(
      "<h3>Welcome to Vantlo</h3>"
      "<p>Connect your Casio QV camera to a serial port, switch it on, then open the "
      "<b>Setup</b> page and press <b>Test Communications</b>. If the camera does not answer, "
      "the <b>Connection Wizard</b> tries every port for you.</p>"
      "<p>The <b>Port Devices...</b> button chooses which device each COM port name opens.</p>");
  text->setWordWrap(true);
  lay->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  lay->addWidget(buttons);
  resize(420, 220);
}

}  // namespace vantlo
