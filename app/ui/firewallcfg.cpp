#include "app/ui/firewallcfg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vantlo {

Tfirewallcfg::Tfirewallcfg(tftpconfigrecord& ftp, QWidget* parent)
    : QDialog(parent), target_(ftp), copy_(ftp) {
  setObjectName("firewallcfg");
  setWindowTitle("Firewall Parameters");
  auto* lay = new QVBoxLayout(this);
  UseFirewall = new QCheckBox("Use firewall");
  UseFirewall->setChecked(copy_.UseFirewall());
  lay->addWidget(UseFirewall);
  auto* form = new QFormLayout;
  HostEdit = new QLineEdit(QString::fromStdString(copy_.FirewallHost()));
  HostEdit->setMaxLength(255);
  UserEdit = new QLineEdit(QString::fromStdString(copy_.FirewallUser()));
  UserEdit->setMaxLength(32);
  PasswordEdit = new QLineEdit(QString::fromStdString(copy_.FirewallPassword()));
  PasswordEdit->setMaxLength(32);
  PasswordEdit->setEchoMode(QLineEdit::Password);
  PortEdit = new QLineEdit(QString::number(copy_.FirewallPort()));
  ModeBox = new QComboBox;
  for (const char* name : tftpconfigrecord::kFirewallModeNames) ModeBox->addItem(name);
  ModeBox->setCurrentIndex(static_cast<int>(copy_.FirewallMode()));
  form->addRow("Host", HostEdit);
  form->addRow("Username", UserEdit);
  form->addRow("Password", PasswordEdit);
  form->addRow("Port", PortEdit);
  form->addRow("Mode", ModeBox);
  lay->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &Tfirewallcfg::OkClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  lay->addWidget(buttons);
}

tftpconfigrecord Tfirewallcfg::Record() const {
  tftpconfigrecord r = copy_;
  r.SetUseFirewall(UseFirewall->isChecked());
  r.SetFirewallHost(HostEdit->text().toStdString());
  r.SetFirewallUser(UserEdit->text().toStdString());
  r.SetFirewallPassword(PasswordEdit->text().toStdString());
  bool number = false;
  const int port = PortEdit->text().trimmed().toInt(&number);
  r.SetFirewallPort(number ? port : 0);  // not a number: 0
  r.SetFirewallMode(static_cast<tfirewallmode>(std::max(0, ModeBox->currentIndex())));
  return r;
}

void Tfirewallcfg::OkClick() {
  target_ = Record();
  accept();
}

}  // namespace vantlo
