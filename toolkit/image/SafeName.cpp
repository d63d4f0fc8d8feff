#include "SafeName.h"

namespace image {

std::string SafeName(const std::string& name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string safe;
  for (char c : name) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (plain) {
      safe.push_back(c);
    } else {
      const auto byte = static_cast<unsigned char>(c);
      safe.push_back('_');
      safe.push_back(kHex[byte >> 4]);
      safe.push_back(kHex[byte & 15]);
    }
  }
  return safe;
}

}  // namespace image
