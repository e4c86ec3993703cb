#include "app/ui/windowpage.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vantlo {

QMenu* twindowmenus::Menu(const QString& title) const {
  for (QAction* a : bar->actions())
    if (a->menu() && a->text() == title) return a->menu();
  return bar->addMenu(title);
}

}  // namespace vantlo
