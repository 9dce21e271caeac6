// The main window's animated banner, carried inside the program: a GIF89a
// picture of 383 x 50 pixels, three frames of one second each, looping.
#pragma once

#include <cstddef>

namespace orlu {

extern const unsigned char kBannerGif[];
extern const std::size_t kBannerGifSize;

}  // namespace orlu
