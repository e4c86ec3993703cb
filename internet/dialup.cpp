#include "internet/dialup.h"

#include <algorithm>

namespace vantlo {

TDialUp::TDialUp(std::unique_ptr<tdialupbackend> backend) : backend_(std::move(backend)) {}

int TDialUp::GetEntries() {
  Entries.clear();
  std::vector<tdialentry> found;
  std::string error;
  const int rc = backend_->Entries(found, error);
  if (rc != 0) {
    if (OnError) OnError(rc, error);
    entries_.clear();
    return rc;
  }
  // A stable order keeps a stored index on the same entry while the set of
  // entries stays the same.
  std::stable_sort(found.begin(), found.end(),
                   [](const tdialentry& a, const tdialentry& b) { return a.name < b.name; });
  entries_ = std::move(found);
  for (const auto& e : entries_) {
    Entries.push_back(e.name);
    if (OnEntryGet) OnEntryGet(e.name);
  }
  return 0;
}

int TDialUp::GetConnections() {
  std::vector<tdialconnection> active;
  std::string error;
  const int rc = backend_->ActiveConnections(active, error);
  if (rc != 0) {
    if (OnError) OnError(rc, error);
    return rc;
  }
  for (const auto& c : active)
    if (OnActiveConnection) OnActiveConnection(c);
  return 0;
}

int TDialUp::Dial() {
  HangUp();
  if (entries_.empty()) GetEntries();
  const auto entry = std::find_if(entries_.begin(), entries_.end(),
                                  [&](const tdialentry& e) { return e.name == Entry; });
  if (entry == entries_.end()) {
    constexpr int kNoEntry = 623;  // the entry is not in the phonebook
    if (OnError) OnError(kNoEntry, "GetEntryDialParams failed");
    return kNoEntry;
  }
  if (OnDialing) OnDialing();
  std::string error;
  const int rc = backend_->Activate(*entry, DialUserName, DialPassword, error);
  if (rc != 0) {
    // NetworkManager takes a failed activation down itself.
    if (OnNotConnected) OnNotConnected(rc, error.substr(0, 100));
    return rc;
  }
  dialled_ = entry->id;
  if (OnConnect) OnConnect();
  return 0;
}

int TDialUp::HangUp() {
  if (dialled_.empty()) return 0;
  std::vector<tdialconnection> active;
  std::string error;
  if (backend_->ActiveConnections(active, error) == 0 &&
      std::none_of(active.begin(), active.end(),
                   [&](const tdialconnection& c) { return c.id == dialled_; })) {
    dialled_.clear();  // already gone: nothing left to hang up
    return 0;
  }
  const int rc = backend_->Deactivate(dialled_, error);
  if (rc == 0)
    dialled_.clear();
  else if (OnError)
    OnError(rc, error);
  return rc;
}

}  // namespace vantlo
