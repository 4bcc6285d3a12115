// The tone through ALSA: its samples, captured by ALSA's file device, and
// silence without complaint where there is no such device.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "core/alsa_beeper.h"
#include "features/onsite_scan.h"
#include "support/temp_dir.h"

namespace {

std::vector<int16_t> Samples(const std::string& bytes) {
  std::vector<int16_t> s(bytes.size() / 2);
  std::memcpy(s.data(), bytes.data(), s.size() * 2);
  return s;
}

TEST(AlsaBeeper, PlaysTheScanToneAsFiftyMillisecondsOfEightHundredHertz) {
  TempDir dir;
  const std::string raw = dir.File("tone.raw");
  {
    AlsaBeeper beeper("file:FILE=" + raw + ",FORMAT=raw");
    beeper.Tone(kScanToneHertz, kScanToneMilliseconds);
    beeper.WaitUntilQuiet();
  }
  std::vector<int16_t> s = Samples(ReadFile(raw));
  ASSERT_EQ(s.size(), AlsaBeeper::kSampleRate * 50 / 1000);
  // 40 periods in 50 ms: 80 sign changes, give or take the ramps' ends.
  int crossings = 0;
  int16_t peak = 0;
  for (size_t i = 1; i < s.size(); ++i) {
    if ((s[i - 1] < 0) != (s[i] < 0)) ++crossings;
    peak = std::max<int16_t>(peak, s[i]);
  }
  EXPECT_NEAR(crossings, 80, 2);
  EXPECT_GT(peak, 5000);
}

TEST(AlsaBeeper, ADeviceThatCannotBeOpenedStaysSilent) {
  AlsaBeeper beeper("no_such_sound_device");
  for (int i = 0; i < 5; ++i) beeper.Tone(800, 50);
  beeper.WaitUntilQuiet();
  SUCCEED();  // no exception, no hang
}

}  // namespace
