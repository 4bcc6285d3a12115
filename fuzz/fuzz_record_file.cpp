// libFuzzer target: any bytes as a record file. The reader, the field table,
// GetValue and the error path must take them without a crash, a hang or a
// sanitizer report.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/commonUnit.h"
#include "support/silent_shell.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/lumarin-fuzz-" + std::to_string(getpid()) + ".iso";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  SilentShell shell;
  FixedClock clock{LocalDateTime{2026, 1, 1, 0, 0, 0}};
  Context ctx{shell, clock, "/dev/null", ""};
  ScanMarcFile(ctx, path, [](int64_t, const std::string& record, bool&) {
    TMarcRecord rec(record);
    for (const char* spec : {"001", "010a", "200a", "606"}) rec.GetValue(spec);
    for (const auto& row : rec.Table().rows) FromDisplayForm(row.Data);
  });
  // The same bytes as one record text.
  try {
    TMarcRecord direct(std::string(reinterpret_cast<const char*>(data), size));
    direct.GetValue("010a");
    direct.Table();
  } catch (const EConvertError&) {
  }
  return 0;
}
