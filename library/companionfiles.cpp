#include "library/companionfiles.h"

#include "library/pictureproperties.h"

namespace vantlo {

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
    if (b.empty())
      ops_.Delete(a);  // the renamed picture can no longer carry it
    else
      ops_.Rename(a, b, true);
  } else if (!b.empty() && tfileops::Exists(b)) {
    ops_.Delete(b);  // an orphan there would otherwise attach to the picture
  }
  return r;
}

tfileresult tcompanionfiles::Copy(const std::string& from, const std::string& to, bool overwrite) {
  tfileresult r = ops_.Copy(from, to, overwrite);
  if (!r.Ok()) return r;
  const std::string a = CompanionOf(from), b = CompanionOf(to);
  if (b.empty()) return r;
  if (!a.empty() && tfileops::Exists(a))
    ops_.Copy(a, b, true);
  else if (tfileops::Exists(b))
    ops_.Delete(b);
  return r;
}

tfileresult tcompanionfiles::Move(const std::string& from, const std::string& to, bool overwrite) {
  tfileresult r = ops_.Move(from, to, overwrite);
  if (!r.Ok()) return r;
  const std::string a = CompanionOf(from), b = CompanionOf(to);
  if (a.empty() || a == b) return r;
  if (tfileops::Exists(a)) {
    if (b.empty())
      ops_.Delete(a);  // the moved picture can no longer carry it
    else
      ops_.Move(a, b, true);
  } else if (!b.empty() && tfileops::Exists(b)) {
    ops_.Delete(b);
  }
  return r;
}

tfileresult tcompanionfiles::Delete(const std::string& path) {
  tfileresult r = ops_.Delete(path);
  if (!r.Ok()) return r;
  const std::string c = CompanionOf(path);
  if (!c.empty()) ops_.Delete(c);
  return r;
}

}  // namespace vantlo
