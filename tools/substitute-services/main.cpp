// Starts a substitute HTTP server and a substitute WHOIS server on loopback,
// installs every registered responder, writes the services file that points
// the program at them and runs until it gets SIGINT or SIGTERM.
//
//   substitute-services --services-file PATH [--fixtures DIR] [--log]
//
// --log prints every request line (with its Host) and WHOIS question to stderr.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "responder.h"

namespace orlu::substitute {

std::vector<std::pair<std::string, Installer>>& Responders() {
  static std::vector<std::pair<std::string, Installer>> list;
  return list;
}

}  // namespace orlu::substitute

namespace {

int Usage() {
  std::fprintf(stderr, "usage: substitute-services --services-file PATH [--fixtures DIR] [--log]\n");
  return 2;
}

// Written under a temporary name and renamed, so a reader never sees half a file.
bool WriteServicesFile(const std::string& path, const std::string& text) {
  std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) return false;
  }
  return std::rename(tmp.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string servicesFile;
  std::string fixtures = ORLU_FIXTURE_DIR;
  bool log = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--services-file" && i + 1 < argc) {
      servicesFile = argv[++i];
    } else if (arg == "--fixtures" && i + 1 < argc) {
      fixtures = argv[++i];
    } else if (arg == "--log") {
      log = true;
    } else {
      return Usage();
    }
  }
  if (servicesFile.empty()) return Usage();

  // The servers' threads inherit this mask; the main thread takes the signals.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  orlu::test::SubstituteHttpServer http;
  orlu::test::SubstituteWhoisServer whois;
  orlu::substitute::Servers servers{http, whois, fixtures, {}};
  if (log) {
    http.Observe([](const orlu::test::HttpRequest& r) {
      std::fprintf(stderr, "http  %s  %s\n", r.Header("Host").c_str(), r.requestLine.c_str());
    });
    whois.Observe([](const orlu::test::WhoisRequest& r) {
      std::fprintf(stderr, "whois %s\n", r.query.c_str());
    });
  }
  for (auto& [name, install] : orlu::substitute::Responders()) {
    install(servers);
    std::fprintf(stderr, "substitute-services: %s\n", name.c_str());
  }

  std::string text = "*http=" + http.HostPort() + "\n*whois=" + whois.HostPort() + "\n" + servers.serviceLines;
  if (!WriteServicesFile(servicesFile, text)) {
    std::fprintf(stderr, "substitute-services: cannot write %s: %s\n", servicesFile.c_str(), std::strerror(errno));
    return 1;
  }
  std::fprintf(stderr, "substitute-services: http on %s, whois on %s\n", http.HostPort().c_str(),
               whois.HostPort().c_str());

  int sig = 0;
  sigwait(&stopSignals, &sig);
  return 0;
}
