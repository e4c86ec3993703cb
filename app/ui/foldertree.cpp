#include "foldertree.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStyle>
#include <set>

#include "library/userfolders.h"

namespace vantlo {

namespace {

constexpr int kPathRole = Qt::UserRole + 1;
constexpr int kFilledRole = Qt::UserRole + 2;

// The folders shown: not hidden ones, as in file managers; sorted by name without regard to case.
constexpr QDir::Filters kFolders = QDir::Dirs | QDir::NoDotAndDotDot;

QStringList SubFolders(const QString& path) {
  QDir dir(path);
  return dir.entryList(kFolders, QDir::Name | QDir::IgnoreCase);
}

QString Child(const QString& folder, const QString& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

QString Canonical(const QString& path) {
  const QString c = QFileInfo(path).canonicalFilePath();
  return c.isEmpty() ? QString() : c;
}

// True when `path` is `place` or lies under it.
bool Holds(const QString& place, const QString& path) {
  if (place == "/") return path.startsWith('/');
  return path == place || path.startsWith(place + "/");
}

}  // namespace

tfoldertreemodel::tfoldertreemodel(QObject* parent) : QStandardItemModel(parent) {
  SetPlaces(Places());
}

std::vector<tfoldertreemodel::tplace> tfoldertreemodel::Places() {
  std::vector<tplace> places;
  std::set<QString> seen;
  auto add = [&](const QString& name, const QString& path) {
    const QString c = Canonical(path);
    if (c.isEmpty() || !QFileInfo(c).isDir() || !seen.insert(c).second) return;
    places.push_back({name, c});
  };
  add("Home", QString::fromStdString(UserHomeFolder()));
  const QString pictures = QString::fromStdString(UserPicturesFolder());
  add(QFileInfo(pictures).fileName(), pictures);
  // Media as file managers show them: what the desktop mounts under /media and /run/media, and
  // a disk or card mounted by hand under /mnt (a block device, not a system's own tmpfs or
  // network share there).
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
    const QString root = v.rootPath();
    if (!v.isValid() || !v.isReady()) continue;
    const bool desktop = root.startsWith("/media/") || root.startsWith("/run/media/");
    const bool byHand = root.startsWith("/mnt/") && v.device().startsWith("/dev/");
    if (!desktop && !byHand) continue;
    const QString name = v.displayName().isEmpty() ? QFileInfo(root).fileName() : v.displayName();
    add(name, root);
  }
  add("/", "/");
  return places;
}

void tfoldertreemodel::SetPlaces(const std::vector<tplace>& places) {
  clear();
  for (const tplace& p : places) {
    QStandardItem* item = MakeFolderItem(p.name, p.path);
    QStyle* style = QApplication::style();
    if (style) {
      if (p.path == "/")
        item->setIcon(style->standardIcon(QStyle::SP_DriveHDIcon));
      else if (p.name == "Home")
        item->setIcon(style->standardIcon(QStyle::SP_DirHomeIcon));
    }
    item->setToolTip(p.path);
    appendRow(item);
  }
}

QStandardItem* tfoldertreemodel::MakeFolderItem(const QString& name, const QString& path) const {
  auto* item = new QStandardItem(name);
  item->setEditable(false);
  item->setData(path, kPathRole);
  item->setData(false, kFilledRole);
  if (QStyle* style = QApplication::style()) item->setIcon(style->standardIcon(QStyle::SP_DirIcon));
  return item;
}

QString tfoldertreemodel::filePath(const QModelIndex& index) const {
  return index.isValid() ? index.data(kPathRole).toString() : QString();
}

bool tfoldertreemodel::hasChildren(const QModelIndex& parent) const {
  if (!parent.isValid()) return rowCount() > 0;
  const QStandardItem* item = itemFromIndex(parent);
  if (!item) return false;
  if (item->data(kFilledRole).toBool()) return item->rowCount() > 0;
  // Not read yet: look for a first sub-folder only.
  QDirIterator it(item->data(kPathRole).toString(), kFolders);
  return it.hasNext();
}

bool tfoldertreemodel::canFetchMore(const QModelIndex& parent) const {
  const QStandardItem* item = parent.isValid() ? itemFromIndex(parent) : nullptr;
  return item && !item->data(kFilledRole).toBool();
}

void tfoldertreemodel::fetchMore(const QModelIndex& parent) {
  if (QStandardItem* item = parent.isValid() ? itemFromIndex(parent) : nullptr) Fill(item);
}

void tfoldertreemodel::Fill(QStandardItem* item) {
  if (item->data(kFilledRole).toBool()) return;
  item->setData(true, kFilledRole);
  const QString path = item->data(kPathRole).toString();
  QList<QStandardItem*> rows;
  for (const QString& name : SubFolders(path)) rows << MakeFolderItem(name, Child(path, name));
  for (QStandardItem* r : rows) item->appendRow(r);
}

QModelIndex tfoldertreemodel::IndexOf(const QString& path) {
  const QString target = Canonical(path);
  if (target.isEmpty() || !QFileInfo(target).isDir()) return {};
  QStandardItem* place = nullptr;
  qsizetype best = -1;
  for (int r = 0; r < rowCount(); ++r) {
    QStandardItem* p = item(r);
    const QString root = p->data(kPathRole).toString();
    if (Holds(root, target) && root.size() > best) {
      best = root.size();
      place = p;
    }
  }
  if (!place) return {};
  QStandardItem* at = place;
  const QString root = place->data(kPathRole).toString();
  const QString rest = target.mid(root == "/" ? 1 : root.size() + 1);
  for (const QString& name : rest.split('/', Qt::SkipEmptyParts)) {
    Fill(at);
    QStandardItem* next = nullptr;
    for (int r = 0; r < at->rowCount() && !next; ++r)
      if (at->child(r)->text() == name) next = at->child(r);
    if (!next) {
      // A hidden folder is shown once it is asked for (the browse folder may be one).
      next = MakeFolderItem(name, Child(at->data(kPathRole).toString(), name));
      at->appendRow(next);
    }
    at = next;
  }
  return indexFromItem(at);
}

void tfoldertreemodel::Reread() {
  for (int r = 0; r < rowCount(); ++r) RereadItem(item(r));
}

void tfoldertreemodel::RereadItem(QStandardItem* item) {
  if (!item->data(kFilledRole).toBool()) return;
  const QString path = item->data(kPathRole).toString();
  const QStringList names = SubFolders(path);
  for (int r = item->rowCount() - 1; r >= 0; --r)
    if (!QFileInfo(item->child(r)->data(kPathRole).toString()).isDir()) item->removeRow(r);
  std::set<QString> shown;
  for (int r = 0; r < item->rowCount(); ++r) shown.insert(item->child(r)->text());
  for (const QString& name : names) {
    if (shown.count(name)) continue;
    // In name order among the folders already there.
    int at = 0;
    while (at < item->rowCount() &&
           QString::compare(item->child(at)->text(), name, Qt::CaseInsensitive) < 0)
      ++at;
    item->insertRow(at, MakeFolderItem(name, Child(path, name)));
  }
  for (int r = 0; r < item->rowCount(); ++r) RereadItem(item->child(r));
}

}  // namespace vantlo
