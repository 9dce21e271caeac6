// Chart pictures fetched from the network on a helper thread.
#include "platform/ui/chart_view.h"

#include <thread>
#include <utility>

#include "platform/net/page_client.h"
#include "platform/thread/dispatcher.h"
#include "platform/ui/ui_internal.h"

namespace orlu {

namespace {

// A chart picture is a few tens of KB; a longer reply is no chart.
constexpr size_t kMaxChartBody = 1u << 20;

}  // namespace

// Window-thread state; a fetch thread only carries its generation number and
// hands its result over through the dispatcher.
struct ChartViewState {
  ChartView* view = nullptr;  // null once the view is gone
  unsigned generation = 0;
  std::string address;
  bool busy = false;
  std::shared_ptr<PageClient> client;
  std::thread fetch;

  void StopFetch() {
    if (client) client->Abort();
    if (fetch.joinable()) fetch.join();
    client.reset();
  }
};

ChartView::ChartView(Container& parent)
    : Image(parent), state_(std::make_shared<ChartViewState>()) {
  state_->view = this;
  InitNetwork();
}

ChartView::~ChartView() {
  state_->view = nullptr;
  state_->StopFetch();
}

void ChartView::Navigate(const std::string& address) {
  state_->StopFetch();
  const unsigned generation = ++state_->generation;
  state_->address = address;
  state_->busy = true;
  auto client = std::make_shared<PageClient>();
  client->UseBrowserHeaders();
  client->HandleRedirects = true;
  client->MaxBody = kMaxChartBody;
  state_->client = client;
  std::weak_ptr<ChartViewState> weak = state_;
  state_->fetch = std::thread([weak, client, generation, address] {
    // Fetched and decoded here; only the pixels go to the window thread.
    auto picture = std::make_shared<DecodedPicture>();
    bool decoded = false;
    try {
      decoded = DecodePicture(client->Get(address), *picture);
    } catch (...) {
      // A failed fetch shows no picture.
    }
    PostToWindowThread([weak, generation, decoded, picture] {
      auto state = weak.lock();
      if (!state || state->view == nullptr || state->generation != generation) return;
      state->busy = false;
      // The fetch is over: its client (and what it holds) goes now.
      state->StopFetch();
      ChartView* view = state->view;
      if (decoded) {
        view->LoadDecoded(std::move(*picture));
      } else {
        view->Clear();
      }
      if (view->OnDocumentComplete) {
        auto handler = view->OnDocumentComplete;
        Fire([&] { handler(decoded); });
      }
    });
  });
}

std::string ChartView::Address() const { return state_->address; }
bool ChartView::Busy() const { return state_->busy; }

}  // namespace orlu
