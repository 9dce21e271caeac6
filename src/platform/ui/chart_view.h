// In place of an embedded browser pointed at a chart picture: a picture box
// that shows the picture found at a web address. The picture is fetched and
// decoded on a helper thread (with the browser header set, following
// redirects), so the window keeps working meanwhile; GIF, JPEG and PNG
// pictures are shown. A reply over 1 MiB, or a picture over the pixel budget
// (picture_decode.h), shows nothing.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/image.h"

namespace orlu {

struct ChartViewState;

class ChartView : public Image {
 public:
  explicit ChartView(Container& parent);
  // Abandons a fetch in progress (its transfer is aborted) and waits for it.
  ~ChartView() override;

  // Starts showing the picture at `address` (http or https). A fetch still
  // running for an earlier address is abandoned: its picture never shows.
  void Navigate(const std::string& address);
  std::string Address() const;
  bool Busy() const;  // a fetch is running

  // After each navigation that was not abandoned: true when its picture is
  // shown; false when the fetch failed or the reply was no picture (the box
  // is then empty).
  std::function<void(bool shown)> OnDocumentComplete;

 private:
  std::shared_ptr<ChartViewState> state_;
};

}  // namespace orlu
