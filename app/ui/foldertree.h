// The Browse page's folder tree, rooted as file managers root theirs: the home folder, the
// Pictures folder, mounted media (USB sticks, memory cards) and "/", each opening onto its
// sub-folders as it is expanded. Folders are read when first shown, not the whole disk at once.
#pragma once

#include <QStandardItemModel>
#include <QString>
#include <vector>

namespace vantlo {

class tfoldertreemodel : public QStandardItemModel {
  Q_OBJECT
 public:
  struct tplace {
    QString name;  // shown
    QString path;  // absolute, canonical, without a trailing "/" (except "/")
  };

  explicit tfoldertreemodel(QObject* parent = nullptr);

  // The places of this machine: home, Pictures (when it exists), mounted media, "/".
  static std::vector<tplace> Places();
  // Replaces the top-level rows (the model starts with Places()).
  void SetPlaces(const std::vector<tplace>& places);

  // The folder of an index; empty for none.
  QString filePath(const QModelIndex& index) const;
  // The index of a folder under the place that holds it most closely (Pictures before home,
  // a medium before "/"), reading the folders on the way; invalid when the folder does not exist.
  QModelIndex IndexOf(const QString& path);
  // Reads again every folder already shown, so that folders made or removed since appear or go.
  void Reread();

  bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 private:
  QStandardItem* MakeFolderItem(const QString& name, const QString& path) const;
  void Fill(QStandardItem* item);
  void RereadItem(QStandardItem* item);
};

}  // namespace vantlo
