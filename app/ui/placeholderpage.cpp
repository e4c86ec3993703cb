#include "app/ui/placeholderpage.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vantlo {

tplaceholderpage::tplaceholderpage(int number, const char* name, const QString& caption,
                                   const QString& note, bool hasTab)
    : number_(number), caption_(caption), hasTab_(hasTab) {
  setObjectName(name);
  auto* lay = new QVBoxLayout(this);
  auto* label = new QLabel(note);
  label->setWordWrap(true);
  label->setEnabled(false);
  lay->addWidget(label);
  lay->addStretch();
}

}  // namespace vantlo
