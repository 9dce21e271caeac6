// Checksum of the toolbar page-rank request: the value of the query key "ch"
// for a domain, built on the lookup2 hash (Bob Jenkins, 1996) applied twice.
// All arithmetic is unsigned 32-bit with wrap-around; right shifts fill with
// zeros.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orlu {

class PrCalc {
 public:
  // Logical right shift of a by n (1 to 31; 32 or more gives 0).
  std::uint32_t ZeroFill(std::uint32_t a, int n) const;

  // The lookup2 mix of a, b and c, in place.
  void Lookup2Mix(std::uint32_t& a, std::uint32_t& b, std::uint32_t& c) const;

  // lookup2 over the first `length` values of k (each value added at its
  // byte's place with all of its bits), started from `initial`. A length
  // beyond k is cut to k's size.
  std::uint32_t Lookup2Hash(std::span<const std::uint32_t> k, std::size_t length,
                            std::uint32_t initial) const;

  // Hash of the first `length` bytes of text (at most its size), each byte
  // widened as a signed 8-bit number, so 0x80-0xFF become 0xFFFFFF80-0xFFFFFFFF.
  std::uint32_t HashChars(std::string_view text, std::size_t length) const;

  // HashChars over the whole text.
  std::uint32_t HashString(std::string_view text) const;

  // Hash of the first `length` values of k.
  std::uint32_t HashInts(std::span<const std::uint32_t> k, std::size_t length) const;

  // Splits each of the first n values into its four bytes, lowest first.
  std::vector<std::uint32_t> C32To8Bit(std::span<const std::uint32_t> values,
                                       std::size_t n) const;

  // The checksum text for url, as passed (no case change, no trimming):
  // "6" followed by the unsigned decimal hash.
  std::string CheckSum(std::string_view url) const;

  static constexpr std::uint32_t kSeed = 0xE6359A60u;
  static constexpr std::uint32_t kGoldenRatio = 0x9E3779B9u;
};

}  // namespace orlu
