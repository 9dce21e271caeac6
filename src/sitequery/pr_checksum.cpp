#include "sitequery/pr_checksum.h"

#include <algorithm>
#include <array>

namespace orlu {

std::uint32_t PrCalc::ZeroFill(std::uint32_t a, int n) const {
  if (n <= 0) return a;
  if (n >= 32) return 0;
  return a >> n;
}

void PrCalc::Lookup2Mix(std::uint32_t& a, std::uint32_t& b, std::uint32_t& c) const {
  a = (a - b - c) ^ ZeroFill(c, 13);
  b = (b - c - a) ^ (a << 8);
  c = (c - a - b) ^ ZeroFill(b, 13);
  a = (a - b - c) ^ ZeroFill(c, 12);
  b = (b - c - a) ^ (a << 16);
  c = (c - a - b) ^ ZeroFill(b, 5);
  a = (a - b - c) ^ ZeroFill(c, 3);
  b = (b - c - a) ^ (a << 10);
  c = (c - a - b) ^ ZeroFill(b, 15);
}

std::uint32_t PrCalc::Lookup2Hash(std::span<const std::uint32_t> k, std::size_t length,
                                  std::uint32_t initial) const {
  length = std::min(length, k.size());
  std::uint32_t a = kGoldenRatio;
  std::uint32_t b = kGoldenRatio;
  std::uint32_t c = initial;
  std::size_t p = 0;
  std::size_t r = length;
  auto word = [&k](std::size_t at) {
    return k[at] + (k[at + 1] << 8) + (k[at + 2] << 16) + (k[at + 3] << 24);
  };
  while (r >= 12) {
    a += word(p);
    b += word(p + 4);
    c += word(p + 8);
    Lookup2Mix(a, b, c);
    p += 12;
    r -= 12;
  }
  c += static_cast<std::uint32_t>(length);
  // The remaining values; the lowest byte of c is left for the length.
  switch (r) {
    case 11: c += k[p + 10] << 24; [[fallthrough]];
    case 10: c += k[p + 9] << 16; [[fallthrough]];
    case 9: c += k[p + 8] << 8; [[fallthrough]];
    case 8: b += k[p + 7] << 24; [[fallthrough]];
    case 7: b += k[p + 6] << 16; [[fallthrough]];
    case 6: b += k[p + 5] << 8; [[fallthrough]];
    case 5: b += k[p + 4]; [[fallthrough]];
    case 4: a += k[p + 3] << 24; [[fallthrough]];
    case 3: a += k[p + 2] << 16; [[fallthrough]];
    case 2: a += k[p + 1] << 8; [[fallthrough]];
    case 1: a += k[p]; [[fallthrough]];
    default: break;
  }
  Lookup2Mix(a, b, c);
  return c;
}

std::uint32_t PrCalc::HashChars(std::string_view text, std::size_t length) const {
  length = std::min(length, text.size());
  std::vector<std::uint32_t> k(length);
  for (std::size_t i = 0; i < length; ++i) {
    k[i] = static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(text[i])));
  }
  return Lookup2Hash(k, length, kSeed);
}

std::uint32_t PrCalc::HashString(std::string_view text) const {
  return HashChars(text, text.size());
}

std::uint32_t PrCalc::HashInts(std::span<const std::uint32_t> k, std::size_t length) const {
  return Lookup2Hash(k, length, kSeed);
}

std::vector<std::uint32_t> PrCalc::C32To8Bit(std::span<const std::uint32_t> values,
                                             std::size_t n) const {
  n = std::min(n, values.size());
  std::vector<std::uint32_t> bytes(4 * n);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < 4; ++j) {
      bytes[4 * i + j] = (values[i] >> (8 * j)) & 255u;
    }
  }
  return bytes;
}

std::string PrCalc::CheckSum(std::string_view url) const {
  std::string text = "info:";
  text += url;
  const std::uint32_t h = HashString(text);
  std::array<std::uint32_t, 20> v{};
  v[0] = ((h / 7) << 2) | ((h % 13) & 7);
  for (std::size_t i = 1; i < v.size(); ++i) v[i] = v[i - 1] - 9;
  const std::vector<std::uint32_t> bytes = C32To8Bit(v, v.size());
  const std::uint32_t g = HashInts(bytes, bytes.size());
  std::string sum = "6";
  sum += std::to_string(g);
  return sum;
}

}  // namespace orlu
