// Addresses and services files come from domain lists and the environment:
// the escaping, the host:port split and the services-file reader must take
// any bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/net/page_client.h"
#include "platform/net/services.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);

  std::string escaped = orlu::EscapeUrlBytes(text);
  for (unsigned char c : escaped) {
    if (c <= 0x20 || c >= 0x7f) __builtin_trap();
  }

  std::string host;
  int port = 0;
  if (orlu::SplitHostPort(text, host, port)) {
    if (host.empty() || port < 0 || port > 65535) __builtin_trap();
  }

  for (auto& [name, value] : orlu::ParseServices(text)) {
    if (name.empty() || value.empty()) __builtin_trap();
  }
  return 0;
}
