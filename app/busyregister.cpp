#include "busyregister.h"

namespace vantlo {

namespace {

// Slot addressed by a request code (even) or a release code (odd, the slot
// of the code before it); slotcount for codes that name no slot.
tbusyregister::tslot SlotOfCode(int code) {
  switch (code & ~1) {
    case 0:
      return tbusyregister::slotT;
    case 2:
      return tbusyregister::slotP;
    case 4:
      return tbusyregister::slotW;
    case 6:
      return tbusyregister::slotA;
    case 10:
      return tbusyregister::slotM;
    case 12:
      return tbusyregister::slotD;
    case 14:
      return tbusyregister::slotS;
    default:
      return tbusyregister::slotcount;
  }
}

}  // namespace

bool tbusyregister::AnyHeld() const {
  for (auto b : slots_)
    if (b) return true;
  return false;
}

bool tbusyregister::TaskSlotsFree(bool includeMiniLab) const {
  if (IsHeld(slotT) || IsHeld(slotP) || IsHeld(slotW) || IsHeld(slotA)) return false;
  return !(includeMiniLab && IsHeld(slotM));
}

bool tbusyregister::BusyControl(int code) {
  if (code == kQuery) {
    const bool free = TaskSlotsFree(true);
    UpdateView(true);
    return free;
  }
  // Codes outside 0..15, and 8/9 which name no slot, change nothing.
  const tslot slot = (code >= 0 && code < 16) ? SlotOfCode(code) : slotcount;
  if (slot == slotcount) return false;

  bool result = false;
  if (code & 1) {
    slots_[slot] = 0;
  } else {
    bool granted = true;
    if (code <= kAutoCapture)
      granted = TaskSlotsFree(false);
    else if (code == kMiniLab)
      granted = TaskSlotsFree(true);
    if (granted) {
      slots_[slot] = 1;
      stop_.Clear();
      result = true;
    } else if (view_) {
      view_->BusyStatusText(" Program is busy");
    }
  }
  UpdateView(false);
  return result;
}

void tbusyregister::UpdateView(bool query) {
  if (!view_) return;
  const bool any = AnyHeld();
  if (any) {
    view_->BusyIndicators(true);
  } else if (!query) {
    view_->BusyIndicators(false);
    view_->BusyStatusText(" Ready");
    view_->BusyProgressReset();
  }
}

}  // namespace vantlo
