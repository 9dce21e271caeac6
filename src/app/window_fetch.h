// A page fetched by a window in the window thread, with one of the window's
// own page clients.
#pragma once

#include <optional>
#include <string>

#include "platform/net/page_client.h"
#include "platform/ui/form.h"

namespace orlu {

// The request runs on a helper thread while every window keeps painting and
// taking input. A second fetch by the same window during the wait is ignored
// (std::nullopt, nothing sent). When the program ends during the wait the
// request is given up at once. Failures raise NetError.
std::optional<std::string> FetchKeepingWindowsAlive(Form& window, PageClient& client,
                                                    const std::string& url);

}  // namespace orlu
