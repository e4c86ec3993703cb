#include "app/core/saveasname.h"

#include "library/textnocase.h"

namespace vantlo {

std::string SaveAsProposal(std::string_view name) {
  std::string base = BaseName(name);
  if (base.size() >= 4) {
    const std::string tail = UpperTail4(base);
    if (tail == ".CAM" || tail == ".JPG" || tail == ".AVI") base.resize(base.size() - 4);
  }
  return base;
}

std::string EnsureEnding(std::string_view name, std::string_view ending) {
  if (name.size() >= 4 && name.size() >= ending.size() &&
      EqualsNoCase(name.substr(name.size() - ending.size()), ending)) {
    return std::string(name);
  }
  return std::string(name) + std::string(ending);
}

}  // namespace vantlo
