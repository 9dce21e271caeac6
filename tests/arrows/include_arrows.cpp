// Reads every C++ source of the tree (src/, tests/, tools/, bench/) and fails on
// an #include that runs against the arrows of the layers:
//
//   app -> tool folders (whois, domaintools, wordcheck, sitequery) -> pages -> platform
//
// The compiler does not hold them: src/ is the include root of every library,
// so "app/main_form.h" compiles inside src/whois. Each folder below lists the
// folders its files may include besides its own; a quoted include is found the
// way the compiler finds it (beside the including file, then under src/, tests/
// and tools/) and judged by the folder of the file it names.
//
// Usage: include_arrows <source tree>
#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Rule {
  std::set<std::string> uses;  // folders (or single files) beyond the folder itself
  bool qt = false;             // may include Qt headers
};

const std::string kText = "src/platform/text";
const std::string kThread = "src/platform/thread";
const std::string kNet = "src/platform/net";
const std::string kUi = "src/platform/ui";
const std::string kPages = "src/pages";
const std::string kApp = "src/app";
const std::vector<std::string> kToolFolders = {"src/whois", "src/domaintools", "src/wordcheck",
                                               "src/sitequery"};
const std::string kServers = "tools/substitute-services/servers";
const std::string kServices = "tools/substitute-services";

std::map<std::string, Rule> Rules() {
  std::map<std::string, Rule> r;
  // The platform layer, as its link lines have it: text links nothing of ours;
  // thread only the system's threads; net links thread and text; ui links net,
  // thread and text, and is the only code of the program that includes Qt.
  r[kText] = {};
  r[kThread] = {};
  r[kNet] = {{kThread, kText}};
  r[kUi] = {{kNet, kThread, kText}, true};
  // pages: its logic links text, its windows the whole platform.
  r[kPages] = {{kUi, kNet, kThread, kText}};
  // A tool folder uses pages and the platform, never another tool folder.
  for (const auto& tool : kToolFolders) r[tool] = {{kPages, kUi, kNet, kThread, kText}};
  // app sits on top: every tool folder, pages, the platform.
  r[kApp] = r[kPages];
  r[kApp].uses.insert(kPages);
  r[kApp].uses.insert(kToolFolders.begin(), kToolFolders.end());

  // tests/<folder> tests src/<folder>: it may include that folder and what the
  // folder may use, the shared test helpers and the substitute services. The
  // tests of a folder with windows may look at the real widgets (Qt), and the
  // window tests of pages and the tool folders run the whole program (the page
  // host is the main window), made by tests/app/program_windows.h.
  std::vector<std::string> tested = {kText, kThread, kNet, kUi, kPages, kApp};
  tested.insert(tested.end(), kToolFolders.begin(), kToolFolders.end());
  for (const auto& folder : tested) {
    Rule t = r[folder];
    t.uses.insert(folder);
    t.uses.insert({"tests/support", kServices, kServers});
    t.qt = t.uses.count(kUi) > 0;  // the folder itself is among its uses
    if (folder == kPages || std::count(kToolFolders.begin(), kToolFolders.end(), folder) > 0) {
      t.uses.insert("tests/app/program_windows.h");
    }
    r["tests" + folder.substr(3)] = t;
  }
  // The helpers every test shares sit on the platform and the substitute
  // servers; the window-test hooks may reach the widgets.
  r["tests/support"] = {{kUi, kNet, kThread, kText, kServers}, true};
  // Fuzz targets feed the parsers of any folder, built without Qt.
  r["tests/fuzz"] = {};
  for (const auto& folder : tested) r["tests/fuzz"].uses.insert(folder);
  r["tests/arrows"] = {};

  // The substitute servers link text; the offline services program links them
  // and text. The generators under tools/ are built by hand and include
  // nothing of ours.
  r[kServers] = {{kText}};
  r[kServices] = {{kServers, kText}};
  r["tools/banner"] = {};
  r["tools/pinyin-tables"] = {};
  r["tools/placeholder-picture"] = {};

  // Benchmarks measure any folder, with the tests' helpers, the substitute
  // services and, for the window benchmarks, the real widgets; nothing
  // includes them.
  Rule bench{{kServices, kServers}, true};
  for (const auto& [folder, rule] : r) {
    if (folder.rfind("src/", 0) == 0 || folder.rfind("tests/", 0) == 0) bench.uses.insert(folder);
  }
  r["bench"] = bench;
  return r;
}

// The folder of the table a file belongs to: the longest one that holds it.
std::optional<std::string> FolderOf(const std::string& file, const std::map<std::string, Rule>& rules) {
  std::optional<std::string> best;
  for (const auto& [folder, rule] : rules) {
    if (file.rfind(folder + "/", 0) == 0 && (!best || folder.size() > best->size())) best = folder;
  }
  return best;
}

// Qt's class headers (<QWidget>), module headers and folders (<QtWidgets>,
// <QtWidgets/QWidget>) and its lower-case file headers (<qwidget.h>).
bool IsQtHeader(const std::string& name) {
  static const std::regex qt(R"((Q[A-Za-z]\w*(/.*)?)|(q\w+\.h))");
  return std::regex_match(name, qt);
}

bool IsSource(const fs::path& p) {
  static const std::set<std::string> exts = {".h", ".hpp", ".hh", ".c", ".cc", ".cpp", ".cxx"};
  return exts.count(p.extension().string()) > 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: include_arrows <source tree>\n";
    return 2;
  }
  const fs::path root = fs::canonical(argv[1]);
  const auto rules = Rules();
  const std::vector<std::string> includeRoots = {"src", "tests", "tools"};
  const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");

  std::vector<std::string> files;
  for (const char* top : {"src", "tests", "tools", "bench"}) {
    if (!fs::is_directory(root / top)) continue;
    for (const auto& e : fs::recursive_directory_iterator(root / top)) {
      if (e.is_regular_file() && IsSource(e.path())) {
        files.push_back(e.path().lexically_relative(root).generic_string());
      }
    }
  }
  std::sort(files.begin(), files.end());

  int faults = 0;
  std::size_t includes = 0;
  auto fault = [&](const std::string& where, const std::string& what) {
    std::cout << where << ": " << what << "\n";
    ++faults;
  };

  for (const auto& file : files) {
    const auto folder = FolderOf(file, rules);
    if (!folder) {
      fault(file, "lies in no folder this check knows; give its folder a line in include_arrows.cpp");
      continue;
    }
    const Rule& rule = rules.at(*folder);
    std::ifstream in(root / file);
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
      std::smatch m;
      if (!std::regex_search(line, m, include)) continue;
      ++includes;
      const bool quoted = m[1] == "\"";
      const std::string name = m[2];
      const std::string where = file + ":" + std::to_string(lineNo);

      std::optional<std::string> target;  // the included file, relative to the tree
      std::vector<fs::path> candidates;
      if (quoted) candidates.push_back(fs::path(file).parent_path() / name);
      for (const auto& r : includeRoots) candidates.push_back(fs::path(r) / name);
      for (const auto& c : candidates) {
        if (fs::is_regular_file(root / c)) {
          target = c.lexically_normal().generic_string();
          break;
        }
      }

      if (!target) {
        if (quoted) {
          fault(where, "#include \"" + name + "\" names no file of the tree");
        } else if (IsQtHeader(name) && !rule.qt) {
          fault(where, "#include <" + name + ">: " + *folder +
                           " may not include Qt; only src/platform/ui does (and the tests and"
                           " benchmarks of windows, to look at the widgets)");
        }
        continue;
      }
      const auto targetFolder = FolderOf(*target, rules);
      if (!targetFolder) {
        fault(where, "#include of " + *target + ", which lies in no folder this check knows");
        continue;
      }
      if (*targetFolder == *folder || rule.uses.count(*targetFolder) || rule.uses.count(*target)) {
        continue;
      }
      std::string allowed;
      for (const auto& u : rule.uses) allowed += " " + u;
      fault(where, "#include of " + *target + " runs from " + *folder + " to " + *targetFolder +
                       "; " + *folder + " may include only its own folder and" +
                       (allowed.empty() ? std::string(" nothing else") : allowed));
    }
  }

  if (files.empty() || includes == 0) {
    std::cout << "no sources found under " << root << "\n";
    return 1;
  }
  if (faults > 0) {
    std::cout << faults << " include(s) against the arrows\n";
    return 1;
  }
  std::cout << includes << " includes in " << files.size() << " files run with the arrows\n";
  return 0;
}
