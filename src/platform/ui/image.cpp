// The picture box and its animation.
#include "platform/ui/image.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstring>

#include "platform/ui/picture_decode.h"
#include "platform/ui/ui_internal.h"

namespace orlu {

namespace {

class PictureWidget : public QWidget {
 public:
  std::vector<QImage> frames;
  int current = 0;
  bool stretch = false;
  bool center = false;

 protected:
  void paintEvent(QPaintEvent*) override {
    if (frames.empty()) return;
    QPainter p(this);
    const QImage& img = frames[static_cast<size_t>(current)];
    if (stretch) {
      p.drawImage(rect(), img);
    } else if (center) {
      p.drawImage(QPoint((width() - img.width()) / 2, (height() - img.height()) / 2), img);
    } else {
      p.drawImage(QPoint(0, 0), img);
    }
  }
};

struct ImageImpl : ControlImpl {
  PictureWidget* picture = nullptr;
  QTimer* timer = nullptr;
  std::vector<int> delays;
  int loopCount = -1;
  int playsDone = 0;
  bool animate = true;
  int width = 0;
  int height = 0;

  void Take(DecodedPicture&& decoded) {
    timer->stop();
    picture->frames.clear();
    delays.clear();
    for (auto& f : decoded.frames) {
      QImage img(decoded.width, decoded.height, QImage::Format_ARGB32);
      for (int y = 0; y < decoded.height; ++y) {
        std::memcpy(img.scanLine(y), f.pixels.data() + static_cast<size_t>(y) * decoded.width,
                    static_cast<size_t>(decoded.width) * 4);
      }
      std::vector<std::uint32_t>().swap(f.pixels);  // one copy of each frame at a time
      picture->frames.push_back(std::move(img));
      delays.push_back(f.delayMs);
    }
    decoded.frames.clear();
    width = decoded.width;
    height = decoded.height;
    loopCount = decoded.loopCount;
    picture->current = 0;
    playsDone = 0;
    picture->update();
    Schedule();
  }

  void Schedule() {
    if (animate && picture->frames.size() > 1) {
      timer->start(delays[static_cast<size_t>(picture->current)]);
    } else {
      timer->stop();
    }
  }

  void Advance() {
    const int count = static_cast<int>(picture->frames.size());
    if (count < 2) return;
    int next = picture->current + 1;
    if (next >= count) {
      ++playsDone;
      // Forever (0), or the given repetitions after the first play.
      const int plays = loopCount == 0 ? -1 : (loopCount < 0 ? 1 : loopCount + 1);
      if (plays > 0 && playsDone >= plays) {
        timer->stop();
        return;
      }
      next = 0;
    }
    picture->current = next;
    picture->update();
    Schedule();
  }
};

ImageImpl* Ii(const Image* image) { return static_cast<ImageImpl*>(image->Impl()); }

std::unique_ptr<ControlImpl> NewImage() {
  auto impl = std::make_unique<ImageImpl>();
  impl->picture = new PictureWidget;
  impl->widget = impl->picture;
  impl->timer = new QTimer(impl->picture);
  impl->timer->setSingleShot(true);
  impl->timer->setTimerType(Qt::PreciseTimer);
  impl->clickFromMouse = true;
  return impl;
}

// A still picture the toolkit reads, its size checked from its header first.
bool DecodeStill(const std::string& bytes, DecodedPicture& decoded) {
  QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QSize size = reader.size();
  if (!size.isValid() || !WithinPictureBudget(size.width(), size.height())) return false;
  QImage img;
  if (!reader.read(&img) || img.width() > kMaxPictureSide || img.height() > kMaxPictureSide) {
    return false;
  }
  img = img.convertToFormat(QImage::Format_ARGB32);
  decoded.width = img.width();
  decoded.height = img.height();
  decoded.frames.resize(1);
  auto& px = decoded.frames[0].pixels;
  px.resize(static_cast<size_t>(img.width()) * img.height());
  for (int y = 0; y < img.height(); ++y) {
    std::memcpy(px.data() + static_cast<size_t>(y) * img.width(), img.constScanLine(y),
                static_cast<size_t>(img.width()) * 4);
  }
  return true;
}

}  // namespace

bool DecodePicture(const std::string& bytes, DecodedPicture& out) {
  if (LooksLikeGif(bytes)) return DecodeGif(bytes, out);
  if (LooksLikeJpeg(bytes)) return DecodeJpeg(bytes, out);
  out = DecodedPicture{};
  return DecodeStill(bytes, out);
}

Image::Image(Container& parent) : Control(&parent, NewImage()) {
  SetBounds(0, 0, 105, 105);
  ImageImpl* impl = Ii(this);
  QObject::connect(impl->timer, &QTimer::timeout, impl->picture, [impl] { impl->Advance(); });
}

Image::~Image() {
  ImageImpl* impl = Ii(this);
  if (impl->widget) {
    impl->timer->stop();
    QObject::disconnect(impl->timer, nullptr, impl->picture, nullptr);
  }
}

bool Image::LoadGif(const std::string& bytes) {
  DecodedPicture decoded;
  if (!DecodeGif(bytes, decoded)) return false;
  Ii(this)->Take(std::move(decoded));
  return true;
}

bool Image::LoadJpeg(const std::string& bytes) {
  DecodedPicture decoded;
  if (!DecodeJpeg(bytes, decoded)) return false;
  Ii(this)->Take(std::move(decoded));
  return true;
}

bool Image::LoadData(const std::string& bytes) {
  DecodedPicture decoded;
  if (!DecodePicture(bytes, decoded)) return false;
  Ii(this)->Take(std::move(decoded));
  return true;
}

void Image::LoadDecoded(DecodedPicture&& picture) { Ii(this)->Take(std::move(picture)); }

void Image::Clear() {
  ImageImpl* impl = Ii(this);
  impl->timer->stop();
  impl->picture->frames.clear();
  impl->delays.clear();
  impl->picture->current = 0;
  impl->width = impl->height = 0;
  impl->loopCount = -1;
  impl->picture->update();
}

int Image::PictureWidth() const { return Ii(this)->width; }
int Image::PictureHeight() const { return Ii(this)->height; }
int Image::FrameCount() const { return static_cast<int>(Ii(this)->picture->frames.size()); }

int Image::CurrentFrame() const { return Ii(this)->picture->current; }
bool Image::Animating() const { return Ii(this)->timer->isActive(); }

}  // namespace orlu
