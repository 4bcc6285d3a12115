// The tone on the machine's sound device, through ALSA.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "core/beeper.h"

class AlsaBeeper : public Beeper {
 public:
  // `device` is an ALSA playback device name: "default" for the machine's
  // sound output; a test may name ALSA's file device
  // ("file:FILE=/tmp/tone.raw,FORMAT=raw"), which writes the samples
  // (signed 16-bit little-endian, mono, kSampleRate) to a file instead.
  explicit AlsaBeeper(std::string device = "default");
  // Lets the tones already asked for play out (at most two short ones wait).
  ~AlsaBeeper() override;
  AlsaBeeper(const AlsaBeeper&) = delete;
  AlsaBeeper& operator=(const AlsaBeeper&) = delete;

  // Queues the tone for a background thread and returns at once. While one
  // tone plays, at most one more waits; further requests are dropped, so a
  // burst of scans never builds up a queue of sound. When the device cannot
  // be opened (no sound card, device busy) the tone is dropped silently.
  void Tone(int hertz, int milliseconds) override;

  // Waits until every queued tone has been played or dropped (tests).
  void WaitUntilQuiet();

  static constexpr unsigned kSampleRate = 48000;

 private:
  void Run();
  void Play(int hertz, int milliseconds);

  std::string device_;
  std::mutex mutex_;
  std::condition_variable wake_, quiet_;
  std::deque<std::pair<int, int>> queue_;
  bool playing_ = false;
  bool stop_ = false;
  std::thread worker_;  // started with the first tone
};
