#pragma once

#include <climits>

namespace orlu {

// A time-out box's seconds as milliseconds, held inside what an int holds.
inline int SecondsToMs(int seconds) {
  long long ms = static_cast<long long>(seconds) * 1000;
  if (ms > INT_MAX) ms = INT_MAX;
  if (ms < INT_MIN) ms = INT_MIN;
  return static_cast<int>(ms);
}

}  // namespace orlu
