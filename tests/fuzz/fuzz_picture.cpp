// GIF and JPEG decoding of pictures from outside.
#include "fuzz_input.h"
#include "platform/ui/picture_decode.h"

// Run with a memory limit near the pixel budget (fuzz_picture.options), so an
// allocation over it is found; freed pictures are not held back for long, so
// the resident size is what the decoder holds.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(fuzz::Text(data, size));
  orlu::DecodedPicture picture;
  if (orlu::DecodeGif(bytes, picture)) {
    for (const auto& f : picture.frames)
      FUZZ_CHECK(f.pixels.size() == static_cast<size_t>(picture.width) * picture.height);
  }
  if (orlu::DecodeJpeg(bytes, picture)) FUZZ_CHECK(picture.frames.size() == 1);
  // Both signatures, whatever follows.
  orlu::DecodeGif("GIF89a" + bytes, picture);
  orlu::DecodeJpeg(std::string("\xFF\xD8\xFF", 3) + bytes, picture);
  return 0;
}
