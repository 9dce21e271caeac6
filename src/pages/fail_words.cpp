#include "pages/fail_words.h"

#include "platform/text/gbk.h"

namespace orlu {

const std::string& WordFailed() {
  static const std::string word = Gbk("失败");
  return word;
}

const std::string& WordPieceFailed() {
  static const std::string word = Gbk("p失败");
  return word;
}

const std::string& WordOtherPageFailed() {
  static const std::string word = Gbk("o失败");
  return word;
}

const std::string& WordFail() {
  static const std::string word = "fail";
  return word;
}

}  // namespace orlu
