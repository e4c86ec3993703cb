// "Help > Manual": the manual is the README shipped with the program. It opens in the desktop's
// viewer where there is one, and otherwise in a window of the program's own, so that the manual
// is there on a machine without a desktop (no xdg-open, or nothing that opens the file).
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QTextBrowser;
class QUrl;

namespace vantlo {

// The README.md that belongs to the program in `programFolder`: installed under
// PREFIX/share/doc/vantlo, beside the program, or in the source tree above its build folder.
// Empty when there is none.
QString FindManual(const QString& programFolder);

// The manual in a window of the program's own (not modal; one per parent).
class Tmanual : public QDialog {
  Q_OBJECT
 public:
  explicit Tmanual(QWidget* parent = nullptr);
  // Shows the file (Markdown); false with the reason in the window when it cannot be read.
  bool Load(const QString& path);
  QTextBrowser* Text = nullptr;
};

// Asks `openExternally` to show the manual at `path` first; when it cannot, shows it in the
// parent's Tmanual window and returns that window (nullptr when the desktop showed it).
using topenexternally = std::function<bool(const QUrl& url)>;
Tmanual* ShowManual(QWidget* parent, const QString& path, const topenexternally& openExternally);

// The desktop's way: xdg-open, when it is installed, through QDesktopServices.
bool OpenWithDesktop(const QUrl& url);

}  // namespace vantlo
