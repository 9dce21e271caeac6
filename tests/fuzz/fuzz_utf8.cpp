// The code-page conversions, the GBK helpers, line splitting and the INI reader/writer.
#include <unistd.h>

#include "fuzz_input.h"
#include "platform/text/codepage.h"
#include "platform/text/gbk.h"
#include "platform/text/ini_file.h"
#include "platform/text/string_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::Text(data, size);

  // UTF-8 to GBK never grows the text; what converts comes back unchanged
  // through UTF-8, since every character it holds is a GBK one or "?".
  const std::string gbk = orlu::Utf8ToAnsi(text);
  FUZZ_CHECK(gbk.size() <= text.size());
  FUZZ_CHECK(orlu::Utf8ToAnsi(orlu::AnsiToUtf8(gbk)) == gbk);

  // GBK to UTF-8 always gives well-formed text.
  const std::string utf8 = orlu::AnsiToUtf8(text);
  FUZZ_CHECK(text.empty() == orlu::Utf8ToAnsi(utf8).empty());

  // A marker is found at a character boundary, never inside a double-byte character.
  for (const char* marker : {"|", "@", ".", "\xD6\xD0"}) {
    const int byteWise = orlu::Pos(marker, text);
    const int charWise = orlu::PosChar(marker, text);
    FUZZ_CHECK(charWise == 0 || (charWise >= byteWise && byteWise > 0));
    FUZZ_CHECK(charWise == 0 || orlu::Copy(text, charWise, 1) == std::string_view(marker).substr(0, 1));
  }
  const auto lines = orlu::SplitLines(text);
  FUZZ_CHECK(orlu::SplitLines(orlu::JoinLines(lines)) == lines);

  // INI: a value written is read back, from any file contents (one scratch file, removed at exit).
  static const struct Scratch {
    std::string name = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                       "/fuzz_utf8-" + std::to_string(getpid()) + ".ini";
    ~Scratch() { unlink(name.c_str()); }
  } scratch;
  orlu::WriteFileAtomically(scratch.name, text);
  orlu::IniFile file(scratch.name);
  file.ReadString("Filter Key", "KeyWord", "");
  file.SectionExists("S");
  file.WriteString("Filter Key", "KeyWord", "a;\xD6\xD0;");
  FUZZ_CHECK(file.ReadString("filter key", "keyword", "") == "a;\xD6\xD0;");
  FUZZ_CHECK(file.SectionExists("FILTER KEY"));
  return 0;
}
