// The pinyin converter: no read outside the text or the tables; initials match the reading.
#include "fuzz_input.h"
#include "wordcheck/hz_spell.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::Text(data, size);
  const std::string full = orlu::GetHzPyFull(text);
  const std::string heads = orlu::GetPyChars(text);
  // No reading holds a blank: one initial per word, single blanks between.
  std::string expected;
  for (size_t i = 0; i < full.size(); ++i) {
    if (full[i] != ' ' && (i == 0 || full[i - 1] == ' ')) expected += full[i];
  }
  FUZZ_CHECK(expected == heads);
  FUZZ_CHECK(full.empty() || (full.front() != ' ' && full.back() != ' '));
  FUZZ_CHECK(full.find("  ") == std::string::npos);
  orlu::THzSpell spell;
  spell.SetHzText(std::string(text));
  FUZZ_CHECK(spell.HzSpell() == full && spell.PyHead() == heads);
  return 0;
}
