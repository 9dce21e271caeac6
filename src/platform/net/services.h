// Outside hosts. Code names hosts as the system knows them ("whois.cnnic.cn",
// the host part of a page address); the configuration maps a name to the
// host[:port] actually contacted. Built-in default: every name maps to itself.
// The file named by ORLU_SERVICES holds lines "name=host[:port]"; the names
// "*http" and "*whois" catch every page host and every WHOIS host not named
// on a line of their own. Names compare case-insensitively; blank lines and
// lines starting with "#" or ";" are skipped. A value without a port keeps
// the port of the address (80/443 for pages, the client's port for WHOIS).
//
// Overrides set by SetServiceOverride take the place of the file while any
// is set (the same lookup: the name, then the wildcard, then the name itself).
//
// A page host redirected to a loopback address is asked over plain http
// (the substitute servers speak no TLS); the request still names the
// original host in its Host header, so one server can tell the services
// apart.
#pragma once

#include <map>
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

// The lines of a services file as name (lower-case) -> host[:port].
std::map<std::string, std::string> ParseServices(const std::string& text);

// "host", "host:port", "[v6]" or "[v6]:port"; port 0 when none is given.
// False when malformed (empty host, bad port).
bool SplitHostPort(const std::string& hostPort, std::string& host, int& port);

}  // namespace orlu
