// Outside hosts. Code names hosts as the system knows them ("whois.cnnic.cn",
// the host part of a page address); the configuration maps a name to the
// host[:port] actually contacted. Built-in default: every name maps to itself.
// The file named by ORLU_SERVICES holds lines "name=host[:port]"; the names
// "*http" and "*whois" catch every page host and every WHOIS host not named
// on a line of their own.
#pragma once

#include <string>

namespace orlu {

enum class ServiceKind { Http, Whois };

// host[:port] to contact for `name`.
std::string ResolveService(ServiceKind kind, const std::string& name);

// Tests and the offline run: replace the configuration (thread-safe).
void SetServiceOverride(const std::string& name, const std::string& hostPort);
void ClearServiceOverrides();
// Reads ORLU_SERVICES again.
void ReloadServices();

}  // namespace orlu
