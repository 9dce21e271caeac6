// Pictures: animated GIFs frame by frame, JPEGs, and data that is neither.
#include <gtest/gtest.h>

#include "platform/ui/form.h"
#include "platform/ui/image.h"
#include "platform/ui/picture_decode.h"
#include "support/window_test.h"
#include "picture_samples.h"

namespace orlu {
namespace {

using std::chrono::milliseconds;
using Pixels = std::vector<std::uint32_t>;

const std::vector<GifColorType> kPalette{{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

std::string ThreeFrames(int loop) {
  return test::MakeGif(8, 4, kPalette,
                       {test::SolidFrame(8, 4, 1, 6), test::SolidFrame(8, 4, 2, 12),
                        test::SolidFrame(8, 4, 3, 18)},
                       loop);
}

TEST(GifDecode, FramesWithTheirOwnDelaysAndTheLoopCount) {
  DecodedPicture picture;
  ASSERT_TRUE(DecodeGif(ThreeFrames(0), picture));
  EXPECT_EQ(std::pair(picture.width, picture.height), std::pair(8, 4));
  ASSERT_EQ(picture.frames.size(), 3u);
  EXPECT_EQ(picture.frames[1].delayMs, 120);
  EXPECT_EQ(picture.frames[0].pixels[0], 0xFFFF0000u);
  EXPECT_EQ(picture.frames[1].pixels[31], 0xFF00FF00u);
  EXPECT_EQ(picture.frames[2].pixels[17], 0xFF0000FFu);
  EXPECT_EQ(picture.loopCount, 0);
  for (const int loop : {3, -1}) {
    ASSERT_TRUE(DecodeGif(ThreeFrames(loop), picture));
    EXPECT_EQ(picture.loopCount, loop);
  }
}

TEST(GifDecode, FramesAreComposedWithTransparencyAndDisposal) {
  // All red; then a 2x2 patch at (1,1), index 0 transparent, disposed to the
  // background afterwards; then one green pixel.
  const test::GifFrameSpec patch{.left = 1, .top = 1, .width = 2, .height = 2,
                                 .disposal = DISPOSE_BACKGROUND, .transparent = 0,
                                 .indices = {3, 0, 0, 3}};
  const test::GifFrameSpec dot{.left = 3, .width = 1, .height = 1, .delayCs = 100, .indices = {2}};
  DecodedPicture picture;
  ASSERT_TRUE(DecodeGif(
      test::MakeGif(4, 3, kPalette, {test::SolidFrame(4, 3, 1, 100), patch, dot}, 0), picture));
  ASSERT_EQ(picture.frames.size(), 3u);
  const std::uint32_t R = 0xFFFF0000u, G = 0xFF00FF00u, B = 0xFF0000FFu;
  EXPECT_EQ(picture.frames[1].pixels, (Pixels{R, R, R, R, R, B, R, R, R, R, B, R}));
  EXPECT_EQ(picture.frames[1].delayMs, kDefaultFrameDelayMs);
  EXPECT_EQ(picture.frames[2].pixels, (Pixels{R, R, R, G, R, 0, 0, R, R, 0, 0, R}));
}

TEST(GifDecode, InterlacedRowsLandInTheirPlaces) {
  std::vector<GifColorType> palette;
  Pixels rows;
  for (int i = 0; i < 8; ++i) {
    palette.push_back({static_cast<GifByteType>(i * 30), 0, 0});
    rows.push_back(0xFF000000u | static_cast<std::uint32_t>(i * 30) << 16);
  }
  const test::GifFrameSpec column{
      .width = 1, .height = 8, .interlaced = true, .indices = {0, 4, 2, 6, 1, 3, 5, 7}};
  DecodedPicture picture;
  ASSERT_TRUE(DecodeGif(test::MakeGif(1, 8, palette, {column}, -1), picture));
  EXPECT_EQ(picture.frames[0].pixels, rows);
}

TEST(PictureDecode, BrokenDataAndPicturesOverThePixelBudgetAreRefused) {
  DecodedPicture picture;
  EXPECT_FALSE(DecodeGif("", picture));
  EXPECT_FALSE(DecodeGif("GIF89a", picture));
  // Every frame counts as the whole screen: one fits a 4096 x 4096 screen,
  // a second does not, nor does a screen one row taller.
  const auto dots = [](int height, size_t count) {
    return test::MakeGif(4096, height, kPalette,
                         std::vector<test::GifFrameSpec>(count, test::SolidFrame(1, 1, 1, 0)), -1);
  };
  EXPECT_TRUE(DecodeGif(dots(4096, 1), picture));
  ASSERT_FALSE(DecodeGif(dots(4096, 2), picture));
  EXPECT_FALSE(DecodeGif(dots(4097, 1), picture));
  EXPECT_FALSE(DecodeGif(test::ManyFrameGif(4096, 150), picture));
  std::string huge = ThreeFrames(0);  // a 65535 x 65535 screen
  huge[6] = huge[7] = huge[8] = huge[9] = '\xFF';
  EXPECT_FALSE(DecodeGif(huge, picture));

  for (const bool progressive : {false, true}) {
    EXPECT_FALSE(DecodeJpeg(test::ClaimingJpeg(4097, 4096, progressive), picture));
    EXPECT_TRUE(DecodeJpeg(test::ClaimingJpeg(4096, 4096, progressive), picture)) << progressive;
  }
  // A progressive picture read over in more scans than any encoder writes.
  const auto scans = [](int count) {
    std::string j = test::MakeJpeg(8, 8, Qt::gray, true);
    j.resize(j.size() - 2);  // its end marker
    const std::string dcScan("\xFF\xDA\x00\x08\x01\x01\x00\x00\x00\x00\x00", 11);
    for (int i = 0; i < count; ++i) j += dcScan;
    return j;
  };
  EXPECT_TRUE(DecodeJpeg(scans(5), picture));
  EXPECT_FALSE(DecodeJpeg(scans(150), picture));
}

// A side over its limit is refused though the area would fit the budget.
TEST(PictureDecode, ASideOverItsLimitIsRefusedWhateverTheArea) {
  DecodedPicture picture;
  const auto gif = [](int width, int height) {
    return test::MakeGif(width, height, kPalette, {test::SolidFrame(1, 1, 1, 0)}, -1);
  };
  EXPECT_TRUE(DecodeGif(gif(kMaxPictureSide, 1), picture));
  EXPECT_FALSE(DecodeGif(gif(kMaxPictureSide + 1, 1), picture));
  EXPECT_FALSE(DecodeGif(gif(1, kMaxPictureSide + 1), picture));
  EXPECT_TRUE(DecodeJpeg(test::ClaimingJpeg(kMaxPictureSide, 1, false), picture));
  EXPECT_FALSE(DecodeJpeg(test::ClaimingJpeg(kMaxPictureSide + 1, 1, false), picture));
  EXPECT_FALSE(DecodeJpeg(test::ClaimingJpeg(1, kMaxPictureSide + 1, false), picture));
}

TEST(JpegDecode, DecodesAndRefusesGarbage) {
  DecodedPicture picture;
  ASSERT_TRUE(DecodeJpeg(test::MakeJpeg(16, 8, QColor(200, 30, 40)), picture));
  EXPECT_EQ(std::pair(picture.width, picture.height), std::pair(16, 8));
  ASSERT_EQ(picture.frames.size(), 1u);
  const std::uint32_t p = picture.frames[0].pixels[5];
  EXPECT_NEAR(static_cast<int>((p >> 16) & 0xFF), 200, 6);
  EXPECT_NEAR(static_cast<int>((p >> 8) & 0xFF), 30, 6);
  EXPECT_NEAR(static_cast<int>(p & 0xFF), 40, 6);
  EXPECT_FALSE(DecodeJpeg("", picture));
  EXPECT_FALSE(DecodeJpeg(std::string("\xFF\xD8\xFF\x00garbage", 11), picture));
  EXPECT_TRUE(picture.frames.empty());
}

TEST(ImageBox, AnimatesEveryFrameLoopsAndTakesOtherPictures) {
  Form form;
  Image image(form);
  image.SetBounds(0, 0, 383, 48);
  ASSERT_TRUE(image.LoadData(ThreeFrames(0)));
  form.Show();
  std::vector<int> seen{0};
  const auto start = std::chrono::steady_clock::now();
  WaitUntil(
      [&] {
        if (image.CurrentFrame() != seen.back()) seen.push_back(image.CurrentFrame());
        return seen.size() >= 5;
      },
      milliseconds(5000));
  // Four frame changes need at least 60 + 120 + 180 + 60 ms.
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(400));
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 0, 1}));
  EXPECT_TRUE(image.Animating());

  ASSERT_TRUE(image.LoadGif(ThreeFrames(-1)));
  EXPECT_TRUE(WaitUntil([&] { return !image.Animating(); }, milliseconds(3000)));
  EXPECT_EQ(image.CurrentFrame(), 2);

  ASSERT_TRUE(image.LoadJpeg(test::MakeJpeg(20, 10, Qt::blue)));
  EXPECT_FALSE(image.Animating());
  EXPECT_FALSE(image.LoadData("neither"));
  EXPECT_EQ(image.PictureWidth(), 20);  // the old picture stays
}

}  // namespace
}  // namespace orlu
