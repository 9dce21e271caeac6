// The tag stripper as a plain loop removing one tag at a time (quadratic): the
// reference the one-pass routine is tested and timed against.
#pragma once

#include <string>

#include "platform/text/gbk.h"

namespace orlu::test {

inline std::string StripTagsLoop(std::string text) {
  text = Trim(text);
  for (;;) {
    const size_t lt = text.find('<'), gt = text.find('>');
    if (lt == std::string::npos || gt == std::string::npos) return text;
    if (gt < lt) {
      text.erase(0, gt + 1);
    } else {
      text.erase(lt, text.find('>', lt) - lt + 1);
    }
  }
}

}  // namespace orlu::test
