// Small value types shared by the window controls.
#pragma once

#include <cstdint>

namespace orlu {

// A colour as 0xRRGGBB. kDefaultColor leaves the control's own colour.
using Color = std::uint32_t;
inline constexpr Color kDefaultColor = 0xFF000000u;

namespace colors {
inline constexpr Color Black = 0x000000;
inline constexpr Color White = 0xFFFFFF;
inline constexpr Color Blue = 0x0000FF;
inline constexpr Color Red = 0xFF0000;
inline constexpr Color Green = 0x008000;
inline constexpr Color Gray = 0x808080;
// The desktop's window background (edit boxes, lists).
inline constexpr Color Window = 0xFFFFFF;
// The face colour of buttons and dialogs.
inline constexpr Color ButtonFace = 0xF0F0F0;
// Pale blue of an inactive title bar's gradient, used for band panels and
// drawn headers.
inline constexpr Color GradientInactiveCaption = 0xD7E4F2;
}  // namespace colors

// Docking inside the parent: Top/Bottom take the full width at the parent's
// top/bottom edge, Left/Right the remaining height at a side, Client the rest.
// Docked controls are placed in the order they were docked.
enum class Align { None, Top, Bottom, Left, Right, Client };

// Which edges of the parent a control keeps its distance to when the parent
// is resized (non-docked controls only). The default is Left | Top.
enum Anchor : unsigned {
  kAnchorLeft = 1,
  kAnchorTop = 2,
  kAnchorRight = 4,
  kAnchorBottom = 8,
};

enum class Cursor { Default, Hand, Wait, IBeam, Cross };

enum class ScrollBars { None, Horizontal, Vertical, Both };

// A rectangle in pixels; right and bottom lie just outside it.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

}  // namespace orlu
