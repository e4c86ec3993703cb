#include "library/companionfiles.h"

#include "library/hiddenlist.h"
#include "library/pictureproperties.h"

namespace vantlo {

namespace {

// The companion's name in the .hidden lists follows the file: listed where it now is, taken out
// where it no longer is.
void Arrived(const std::string& companion, const tfileresult& r) {
  if (r.Ok()) AddToHiddenList(companion);
}
void Left(const std::string& companion, const tfileresult& r) {
  if (r.Ok()) DropFromHiddenList(companion);
}

}  // namespace

std::string tcompanionfiles::CompanionOf(const std::string& picture) {
  return HasCompanionKind(picture) ? CompanionPath(picture) : std::string();
}

tfileresult tcompanionfiles::Rename(const std::string& from, const std::string& to,
                                    bool overwrite) {
  tfileresult r = ops_.Rename(from, to, overwrite);
  if (!r.Ok()) return r;
  const std::string a = CompanionOf(from), b = CompanionOf(to);
  if (a == b) return r;
  if (!a.empty() && tfileops::Exists(a)) {
    if (b.empty()) {
      Left(a, ops_.Delete(a));  // the renamed picture can no longer carry it
    } else {
      const tfileresult moved = ops_.Rename(a, b, true);
      Arrived(b, moved);
      Left(a, moved);
    }
  } else if (!b.empty() && tfileops::Exists(b)) {
    Left(b, ops_.Delete(b));  // an orphan there would otherwise attach to the picture
  }
  return r;
}

tfileresult tcompanionfiles::Copy(const std::string& from, const std::string& to, bool overwrite) {
  tfileresult r = ops_.Copy(from, to, overwrite);
  if (!r.Ok()) return r;
  const std::string a = CompanionOf(from), b = CompanionOf(to);
  if (b.empty()) return r;
  if (!a.empty() && tfileops::Exists(a))
    Arrived(b, ops_.Copy(a, b, true));
  else if (tfileops::Exists(b))
    Left(b, ops_.Delete(b));
  return r;
}

tfileresult tcompanionfiles::Move(const std::string& from, const std::string& to, bool overwrite) {
  tfileresult r = ops_.Move(from, to, overwrite);
  if (!r.Ok()) return r;
  const std::string a = CompanionOf(from), b = CompanionOf(to);
  if (a.empty() || a == b) return r;
  if (tfileops::Exists(a)) {
    if (b.empty()) {
      Left(a, ops_.Delete(a));  // the moved picture can no longer carry it
    } else {
      const tfileresult moved = ops_.Move(a, b, true);
      Arrived(b, moved);
      Left(a, moved);
    }
  } else if (!b.empty() && tfileops::Exists(b)) {
    Left(b, ops_.Delete(b));
  }
  return r;
}

tfileresult tcompanionfiles::Delete(const std::string& path) {
  tfileresult r = ops_.Delete(path);
  if (!r.Ok()) return r;
  const std::string c = CompanionOf(path);
  if (!c.empty() && tfileops::Exists(c)) Left(c, ops_.Delete(c));
  return r;
}

}  // namespace vantlo
