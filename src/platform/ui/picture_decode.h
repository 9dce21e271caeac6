// Decoding of GIF (every frame composed onto the logical screen, with its
// delay and the loop count) and JPEG pictures into 32-bit pixels. Free of the
// toolkit so it can be fuzzed on its own. Pictures come from outside (the
// chart images of the ranking service), so every size and index is checked
// and oversized pictures are refused.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace orlu {

struct PictureFrame {
  std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, row by row
  int delayMs = 0;
};

struct DecodedPicture {
  int width = 0;
  int height = 0;
  std::vector<PictureFrame> frames;
  // 0: forever; n: n repetitions after the first play; -1: none given.
  int loopCount = -1;
};

// Limits: each side at most kMaxPictureSide pixels, and all frames together
// (each frame counts as the whole picture) at most kMaxPicturePixels pixels,
// 64 MB as 32-bit pixels. A picture over the budget is refused, checked from
// its header and each frame's before its pixels are read.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr long long kMaxPicturePixels = 4096LL * 4096;
// True for a picture of these sides within those limits (sides of 0 and
// below are the caller's to refuse).
inline bool WithinPictureBudget(long long width, long long height) {
  return width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}
// A frame delay below 20 ms (0 included) is shown for this long.
inline constexpr int kDefaultFrameDelayMs = 100;

// False when the data is not a readable picture of that kind.
bool DecodeGif(std::string_view bytes, DecodedPicture& out);
bool DecodeJpeg(std::string_view bytes, DecodedPicture& out);

bool LooksLikeGif(std::string_view bytes);
bool LooksLikeJpeg(std::string_view bytes);

}  // namespace orlu
