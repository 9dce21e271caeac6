#include "platform/ui/canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <optional>

#include "platform/ui/control.h"
#include "platform/ui/ui_internal.h"

namespace orlu {

namespace {

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

}  // namespace

Canvas::Canvas(QPainter& painter) : painter_(painter) { painter_.save(); }

Canvas::~Canvas() { painter_.restore(); }

void Canvas::SetBrushColor(Color color) { brush_ = color; }

void Canvas::FillRect(const Rect& rect) { painter_.fillRect(ToQRect(rect), ToQColor(brush_)); }

void Canvas::SetFontOf(const Control& control) {
  const QWidget* w = control.Impl()->widget;
  painter_.setFont(w->font());
  const Color own = control.FontColor();
  painter_.setPen(own == kDefaultColor ? w->palette().color(QPalette::Text) : ToQColor(own));
}

void Canvas::SetFontColor(Color color) { painter_.setPen(ToQColor(color)); }

void Canvas::TextOut(int x, int y, const std::string& text) {
  const QFontMetrics metrics(painter_.font());
  painter_.drawText(QPoint(x, y + metrics.ascent()), ToQ(text));
}

void Canvas::DrawTextEllipsis(const Rect& rect, const std::string& text) {
  const QFontMetrics metrics(painter_.font());
  const QString elided = metrics.elidedText(ToQ(text), Qt::ElideRight, rect.Width());
  painter_.drawText(ToQRect(rect), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, elided);
}

// ---------------------------------------------------------------------------

struct CanvasImage::Impl {
  QImage image;
  std::optional<QPainter> painter;
  std::optional<Canvas> canvas;
  void End() {
    canvas.reset();
    if (painter) painter->end();
    painter.reset();
  }
};

CanvasImage::CanvasImage(int width, int height, Color fill) : impl_(std::make_unique<Impl>()) {
  impl_->image = QImage(width, height, QImage::Format_RGB32);
  impl_->image.fill(ToQColor(fill));
}

CanvasImage::~CanvasImage() { impl_->End(); }

Canvas& CanvasImage::GetCanvas() {
  if (!impl_->canvas) {
    impl_->painter.emplace(&impl_->image);
    impl_->canvas.emplace(*impl_->painter);
  }
  return *impl_->canvas;
}

Color CanvasImage::Pixel(int x, int y) {
  impl_->End();
  if (!impl_->image.valid(x, y)) return 0;
  return impl_->image.pixel(x, y) & 0xFFFFFFu;
}

}  // namespace orlu
