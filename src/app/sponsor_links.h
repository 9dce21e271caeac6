// The sponsor-link list of the link strip under the main window's tool bar:
// its built-in entries, the records of the list the tools server publishes,
// and which entry each of the four captions shows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/text/string_list.h"

namespace orlu {

// The product's home page (the built-in links and the banner) and the
// address of the sponsor list on the tools server.
inline constexpr const char* kHomePageUrl = "http://www.orlu.example/";
inline constexpr const char* kSponsorListUrl = "http://tools.orlu.example/SpUrl.aspx";

struct SponsorLink {
  std::string url;    // GBK
  std::string title;  // GBK
};

// The records of a sponsor list reply: "caption|address<br>" repeated, in
// UTF-8. A body that is not well-formed UTF-8 gives none. Each record is cut
// at its first "<br>" and "|" before it is converted, so no byte of a
// converted character can split it; caption and address are trimmed.
// A record without "|" or with an empty caption is skipped; text after the
// last "<br>" is ignored.
std::vector<SponsorLink> ParseSponsorList(std::string_view utf8Body);

// Appends the four built-in entries.
void AddBuiltInSponsorLinks(StringList& urls, StringList& titles);

// The fetched records take the place of entries 0-3 in order; the rest are
// appended.
void MergeSponsorLinks(const std::vector<SponsorLink>& links, StringList& urls,
                       StringList& titles);

// The entry that caption k (0..3) shows at rotation `index`:
// (4 x index + k) mod count; -1 when the list is empty.
int SponsorSlot(int index, int k, int count);

}  // namespace orlu
