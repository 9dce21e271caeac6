// The sponsor-link strip under the main window's tool bar and the banner
// click: four link captions rotating through the sponsor list.
#include <optional>

#include "app/main_form.h"
#include "app/sponsor_links.h"
#include "app/window_fetch.h"

namespace orlu {

namespace {

// A sponsor list is a few records of a caption and an address; a longer
// answer is not a list and is refused like a failed fetch (the built-in
// entries stay).
constexpr size_t kSponsorListCap = 64u << 10;

}  // namespace

void TFormMain::BuildSponsorBar() {
  idhtpGetUrl.ReadTimeout = 5000;
  idhtpGetUrl.ConnectTimeout = 5000;
  idhtpGetUrl.KeepCookies = true;
  idhtpGetUrl.MaxBody = kSponsorListCap;
  tmrUrlBegin.OnTimer = [this] { tmrUrlBeginTimer(); };
  tmrChangeUrl.OnTimer = [this] { tmrChangeUrlTimer(); };
  for (int k = 0; k < 4; ++k) {
    Label& link = SponsorLabel(k);
    link.OnMouseEnter = [this, k] { lblUrlMouseMove(k); };
    link.OnMouseLeave = [this, k] { lblUrlMouseLeave(k); };
    link.OnClick = [this, k] { lblUrlClick(k); };
  }
  ImageAd.OnClick = [this] { ImageAdClick(); };
}

Label& TFormMain::SponsorLabel(int k) {
  Label* links[] = {&lblUrl1, &lblUrl2, &lblUrl3, &lblUrl4};
  return *links[k];
}

void TFormMain::LoadSponsorLinks() {
  AddBuiltInSponsorLinks(*SponsorUrls, *SponsorTitles);
  std::optional<std::string> body;
  try {
    body = FetchKeepingWindowsAlive(*this, idhtpGetUrl, kSponsorListUrl);
  } catch (const NetError&) {
    // The built-in entries stay; nothing is shown.
  }
  if (body) MergeSponsorLinks(ParseSponsorList(*body), *SponsorUrls, *SponsorTitles);
}

void TFormMain::ShowSponsorCaptions() {
  for (int k = 0; k < 4; ++k) {
    const int slot = SponsorSlot(SponsorIndex, k, SponsorTitles->Count());
    if (slot >= 0) SponsorLabel(k).SetCaption(SponsorTitles->Get(slot));
  }
}

void TFormMain::tmrUrlBeginTimer() {
  // Stopped before the fetch, so a tick served during its wait cannot fetch
  // the list a second time.
  tmrUrlBegin.Stop();
  LoadSponsorLinks();
  ShowSponsorCaptions();
  tmrChangeUrl.Start();
}

void TFormMain::tmrChangeUrlTimer() {
  if (SponsorTitles->Count() == 0) return;  // not filled yet
  ++SponsorIndex;
  ShowSponsorCaptions();
}

void TFormMain::lblUrlMouseMove(int k) {
  SponsorLabel(k).SetFontColor(colors::Red);
  tmrChangeUrl.Stop();
}

void TFormMain::lblUrlMouseLeave(int k) {
  SponsorLabel(k).SetFontColor(colors::Blue);
  tmrChangeUrl.Start();
}

void TFormMain::lblUrlClick(int k) {
  // Before the first fill there is no entry to open.
  const int slot = SponsorSlot(SponsorIndex, k, SponsorUrls->Count());
  if (slot >= 0) ShellOpen(SponsorUrls->Get(slot));
}

void TFormMain::ImageAdClick() { ShellOpen(kHomePageUrl); }

}  // namespace orlu
