#include "support/recording_shell.h"

#include "core/text.h"

std::vector<std::string> RecordingShell::Texts() const {
  std::vector<std::string> out;
  for (const auto& m : messages) out.push_back(GbkToUtf8(m.text));
  return out;
}

std::string RecordingShell::LastText() const {
  return messages.empty() ? std::string() : GbkToUtf8(messages.back().text);
}

TestContext::TestContext(const std::string& dir)
    : ctx{shell, clock, dir + "/ErrorLog.txt", dir + "/lumdata.mdb"} {}
