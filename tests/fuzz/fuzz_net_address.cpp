// Addresses and services files come from domain lists and the environment: the escaping,
// the host:port split and the services-file reader must take any bytes.
#include "fuzz_input.h"
#include "platform/net/page_client.h"
#include "platform/net/services.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(fuzz::Text(data, size));
  for (unsigned char c : orlu::EscapeUrlBytes(text)) FUZZ_CHECK(c > 0x20 && c < 0x7f);
  std::string host;
  int port = 0;
  if (orlu::SplitHostPort(text, host, port)) FUZZ_CHECK(!host.empty() && port >= 0 && port <= 65535);
  for (auto& [name, value] : orlu::ParseServices(text)) FUZZ_CHECK(!name.empty() && !value.empty());
  return 0;
}
