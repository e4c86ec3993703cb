#include "manual.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace vantlo {

QString FindManual(const QString& programFolder) {
  const QDir dir(programFolder);
  // Installed (PREFIX/bin/vantlo), beside the program, and the source tree of a build folder
  // (build/app/vantlo, build/tests/app/...).
  for (const QString& rel :
       {QStringLiteral("../share/doc/vantlo/README.md"), QStringLiteral("README.md"),
        QStringLiteral("../README.md"), QStringLiteral("../../README.md"),
        QStringLiteral("../../../README.md")}) {
    const QFileInfo f(dir.filePath(rel));
    if (f.isFile() && f.isReadable()) return f.canonicalFilePath();
  }
  return {};
}

Tmanual::Tmanual(QWidget* parent) : QDialog(parent) {
  setObjectName("manual");
  setWindowTitle("Vantlo Manual");
  setModal(false);
  Text = new QTextBrowser;
  Text->setObjectName("ManualText");
  Text->setOpenExternalLinks(false);
  Text->setOpenLinks(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(Text, 1);
  lay->addWidget(buttons);
  resize(760, 640);
}

bool Tmanual::Load(const QString& path) {
  QFile f(path);
  if (path.isEmpty() || !f.open(QIODevice::ReadOnly)) {
    Text->setPlainText("The manual (README.md) was not found beside the program" +
                       (path.isEmpty() ? QString(".") : QString(": ") + f.errorString()));
    return false;
  }
  // Pictures and links in the manual are relative to its folder.
  Text->setSearchPaths({QFileInfo(path).absolutePath()});
  Text->setMarkdown(QString::fromUtf8(f.readAll()));
  setWindowFilePath(path);
  return true;
}

Tmanual* ShowManual(QWidget* parent, const QString& path, const topenexternally& openExternally) {
  if (!path.isEmpty() && openExternally && openExternally(QUrl::fromLocalFile(path)))
    return nullptr;
  Tmanual* window =
      parent ? parent->findChild<Tmanual*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
  if (!window) window = new Tmanual(parent);
  window->Load(path);
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

bool OpenWithDesktop(const QUrl& url) {
  if (QStandardPaths::findExecutable("xdg-open").isEmpty()) return false;
  return QDesktopServices::openUrl(url);
}

}  // namespace vantlo
