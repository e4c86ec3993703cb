#include "sheetsavedialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace vantlo {

tsheetsaver::taskname SheetSaveDialog(QWidget* parent) {
  return [parent](const std::string& proposal) -> std::optional<tsheetsavechoice> {
    const QString filters[] = {"JPEG (*.jpg)", "CAM (*.cam)"};
    QFileDialog dlg(parent, kSaveContactSheetTitle);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setNameFilters({filters[0], filters[1]});
    dlg.selectNameFilter(filters[0]);
    const QFileInfo info(QString::fromStdString(proposal));
    dlg.setDirectory(info.absolutePath());
    dlg.selectFile(info.completeBaseName());
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    return tsheetsavechoice{dlg.selectedFiles().front().toStdString(),
                            dlg.selectedNameFilter() == filters[1]};
  };
}

}  // namespace vantlo
