#include "platform/net/services.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "platform/text/gbk.h"
#include "platform/text/string_list.h"

namespace orlu {

namespace {

struct Config {
  std::mutex mutex;
  bool loaded = false;
  std::map<std::string, std::string> file;       // from ORLU_SERVICES
  std::map<std::string, std::string> overrides;  // tests and the offline run
};

Config& TheConfig() {
  static Config config;
  return config;
}

void LoadFileLocked(Config& c) {
  c.file.clear();
  c.loaded = true;
  const char* path = std::getenv("ORLU_SERVICES");
  if (!path || !*path) return;
  std::ifstream in(path, std::ios::binary);
  if (!in) return;
  std::stringstream ss;
  ss << in.rdbuf();
  c.file = ParseServices(ss.str());
}

const std::string* Lookup(const std::map<std::string, std::string>& m, ServiceKind kind,
                          const std::string& name) {
  auto it = m.find(name);
  if (it != m.end()) return &it->second;
  it = m.find(kind == ServiceKind::Http ? "*http" : "*whois");
  if (it != m.end()) return &it->second;
  return nullptr;
}

}  // namespace

std::map<std::string, std::string> ParseServices(const std::string& text) {
  std::map<std::string, std::string> result;
  for (const std::string& raw : SplitLines(text)) {
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string name = LowerCase(Trim(std::string_view(line).substr(0, eq)));
    std::string value = Trim(std::string_view(line).substr(eq + 1));
    if (name.empty() || value.empty()) continue;
    result[name] = value;
  }
  return result;
}

bool SplitHostPort(const std::string& hostPort, std::string& host, int& port) {
  host.clear();
  port = 0;
  std::string portText;
  if (!hostPort.empty() && hostPort[0] == '[') {
    size_t close = hostPort.find(']');
    if (close == std::string::npos) return false;
    host = hostPort.substr(1, close - 1);
    if (close + 1 < hostPort.size()) {
      if (hostPort[close + 1] != ':') return false;
      portText = hostPort.substr(close + 2);
      if (portText.empty()) return false;
    }
  } else {
    size_t colon = hostPort.rfind(':');
    if (colon != std::string::npos && hostPort.find(':') == colon) {
      host = hostPort.substr(0, colon);
      portText = hostPort.substr(colon + 1);
      if (portText.empty()) return false;
    } else {
      host = hostPort;  // no port, or a bare IPv6 address
    }
  }
  if (host.empty()) return false;
  if (!portText.empty()) {
    if (portText.size() > 5) return false;
    int p = 0;
    for (char c : portText) {
      if (c < '0' || c > '9') return false;
      p = p * 10 + (c - '0');
    }
    if (p < 1 || p > 65535) return false;
    port = p;
  }
  return true;
}

std::string ResolveService(ServiceKind kind, const std::string& name) {
  Config& c = TheConfig();
  std::string key = LowerCase(name);
  std::lock_guard<std::mutex> lock(c.mutex);
  if (!c.overrides.empty()) {
    const std::string* v = Lookup(c.overrides, kind, key);
    return v ? *v : name;
  }
  if (!c.loaded) LoadFileLocked(c);
  const std::string* v = Lookup(c.file, kind, key);
  return v ? *v : name;
}

void SetServiceOverride(const std::string& name, const std::string& hostPort) {
  Config& c = TheConfig();
  std::lock_guard<std::mutex> lock(c.mutex);
  c.overrides[LowerCase(name)] = hostPort;
}

void ClearServiceOverrides() {
  Config& c = TheConfig();
  std::lock_guard<std::mutex> lock(c.mutex);
  c.overrides.clear();
}

void ReloadServices() {
  Config& c = TheConfig();
  std::lock_guard<std::mutex> lock(c.mutex);
  LoadFileLocked(c);
}

}  // namespace orlu
