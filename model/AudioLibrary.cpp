#include "model/AudioLibrary.h"

namespace pwx {

std::string ShortNameOf(std::string_view fullPath) {
  std::string_view name = fullPath;
  auto separator = name.find_last_of("/\\");
  if (separator != std::string_view::npos) {
    name.remove_prefix(separator + 1);
  } else if (name.size() >= 2 && name[1] == ':') {
    name.remove_prefix(2);
  }
  auto dot = name.rfind('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

}  // namespace pwx
