// Reads UTF-8 lines and writes each one as ICU's Han-Latin transliterator
// spells it (syllables with tone marks, separated by blanks). Used by
// compare_tables.py as a second opinion on the reading tables.
//   g++ -O2 han_latin.cpp -o han_latin $(pkg-config --cflags --libs icu-i18n icu-uc)
#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <iostream>
#include <memory>
#include <string>

int main() {
  UErrorCode err = U_ZERO_ERROR;
  std::unique_ptr<icu::Transliterator> han(
      icu::Transliterator::createInstance("Han-Latin", UTRANS_FORWARD, err));
  if (U_FAILURE(err)) {
    std::cerr << "han_latin: " << u_errorName(err) << '\n';
    return 1;
  }
  std::string line;
  while (std::getline(std::cin, line)) {
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(line);
    han->transliterate(text);
    std::string out;
    text.toUTF8String(out);
    std::cout << out << '\n';
  }
}
