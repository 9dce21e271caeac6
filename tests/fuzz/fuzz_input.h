// What the fuzz targets share: the input as text, split at its first line (a name or key,
// then a page), and the check that stops the run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#define FUZZ_CHECK(ok) \
  do {                 \
    if (!(ok)) std::abort(); \
  } while (0)

namespace fuzz {

inline std::string_view Text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

struct HeadAndPage {
  std::string_view head, page;  // no line break: no head, all page
};

inline HeadAndPage SplitFirstLine(std::string_view input) {
  const std::size_t cut = input.find('\n');
  if (cut == std::string_view::npos) return {{}, input};
  return {input.substr(0, cut), input.substr(cut + 1)};
}

}  // namespace fuzz
