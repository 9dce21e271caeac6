// Registry replies: preparation, the classifiers and cutters, and the referral cuts.
#include "fuzz_input.h"
#include "whois/whois_info.h"
#include "whois/whois_registry.h"
#include "whois/whois_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string raw(fuzz::Text(data, size));
  std::string server;
  // Both the prepared text and the raw bytes (any GBK, broken pairs too).
  for (const std::string& text : {orlu::PrepareWhoisReply(raw), raw}) {
    for (int g = 0; g < orlu::kWhoisGroupCount; ++g) {
      FUZZ_CHECK(!orlu::ClassifyWhoisReply(g, text).empty());
      orlu::WhoisFields fields;
      orlu::CutWhoisFields(g, text, fields);
    }
    orlu::CutIanaReferral(text, server);
    orlu::WhoisInfoQuery::CutWhoisServer(text);
    orlu::WhoisGroupOfDomain(text);
  }
  orlu::WhoisInfoMemoText("a.com", raw);
  return 0;
}
