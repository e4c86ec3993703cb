#include "internet/ftplog.h"

#include "library/unixfile.h"

namespace vantlo {

void tftplog::Add(const std::string& line) {
  if (line.empty() || (!lines_.empty() && lines_.back() == line)) return;
  lines_.push_back(line);
  if (OnAdded) OnAdded(line);
}

void tftplog::Clear() {
  lines_.clear();
  if (OnCleared) OnCleared();
}

int tftplog::Save(const std::string& path) const {
  std::string text;
  for (const auto& l : lines_) text += l + "\n";
  return WriteFileAtomically(
      path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), 0644);
}

}  // namespace vantlo
