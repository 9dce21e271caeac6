// Arbitrary bytes through the pinyin converter: no read outside the text or
// the tables, and the initials always match the full reading.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "wordcheck/hz_spell.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string full = orlu::GetHzPyFull(text);
  const std::string heads = orlu::GetPyChars(text);

  // Each word of the full reading gives one initial.
  std::string expected;
  bool word_start = true;
  for (char c : full) {
    if (c == ' ') {
      word_start = true;
    } else if (word_start) {
      expected += c;
      word_start = false;
    }
  }
  // No reading contains a blank, so words and initials line up.
  if (expected != heads) std::abort();
  if (!full.empty() && (full.front() == ' ' || full.back() == ' ')) std::abort();
  if (full.find("  ") != std::string::npos) std::abort();

  orlu::THzSpell spell;
  spell.SetHzText(std::string(text));
  if (spell.HzSpell() != full || spell.PyHead() != heads) std::abort();
  return 0;
}
