// The words a result cell shows for a query that failed (GBK), one place for
// every tool. A row showing one of them is asked again by the next round or
// by the page's re-query.
#pragma once

#include <string>

namespace orlu {

// "失败": the service could not be reached, or answered with a page that
// says nothing (a block page, a page cut short, a refusal).
const std::string& WordFailed();
// "p失败": the web archive's listing lacks one of its pieces.
const std::string& WordPieceFailed();
// "o失败": the page answered is not about the domain asked.
const std::string& WordOtherPageFailed();
// "fail": the word checks' answer of a failed fetch.
const std::string& WordFail();

}  // namespace orlu
