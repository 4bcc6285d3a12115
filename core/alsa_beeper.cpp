#include "core/alsa_beeper.h"

#include <alsa/asoundlib.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace {

// ALSA prints its configuration complaints (no card, unknown device) to
// stderr; on a machine without sound that would be noise on every scan.
void QuietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

void SilenceAlsaOnce() {
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(QuietAlsaErrors); });
}

// A sine tone at a third of full scale, with 2 ms ramps at both ends so the
// speaker does not click.
std::vector<int16_t> SineTone(int hertz, int milliseconds) {
  const size_t frames = static_cast<size_t>(AlsaBeeper::kSampleRate) * milliseconds / 1000;
  const size_t ramp = std::min<size_t>(AlsaBeeper::kSampleRate / 500, frames / 2);
  std::vector<int16_t> samples(frames);
  for (size_t i = 0; i < frames; ++i) {
    double gain = 1.0;
    if (i < ramp) gain = double(i) / ramp;
    if (frames - 1 - i < ramp) gain = double(frames - 1 - i) / ramp;
    double phase = 2 * std::numbers::pi * hertz * double(i) / AlsaBeeper::kSampleRate;
    samples[i] = static_cast<int16_t>(std::lround(10000.0 * gain * std::sin(phase)));
  }
  return samples;
}

}  // namespace

AlsaBeeper::AlsaBeeper(std::string device) : device_(std::move(device)) {}

AlsaBeeper::~AlsaBeeper() {
  {
    // The tones asked for are heard (a short command-line run ends right
    // after its last scan); at most two of 50 ms can wait.
    std::unique_lock lock(mutex_);
    quiet_.wait(lock, [this] { return queue_.empty() && !playing_; });
    stop_ = true;
  }
  wake_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void AlsaBeeper::Tone(int hertz, int milliseconds) {
  if (hertz <= 0 || milliseconds <= 0) return;
  {
    std::lock_guard lock(mutex_);
    if (stop_ || queue_.size() >= 1 + (playing_ ? 0 : 1)) return;
    queue_.emplace_back(hertz, milliseconds);
    if (!worker_.joinable()) worker_ = std::thread([this] { Run(); });
  }
  wake_.notify_one();
}

void AlsaBeeper::WaitUntilQuiet() {
  std::unique_lock lock(mutex_);
  quiet_.wait(lock, [this] { return queue_.empty() && !playing_; });
}

void AlsaBeeper::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
    if (stop_) break;
    auto [hertz, milliseconds] = queue_.front();
    queue_.pop_front();
    playing_ = true;
    lock.unlock();
    Play(hertz, milliseconds);
    lock.lock();
    playing_ = false;
    if (queue_.empty()) quiet_.notify_all();
  }
  playing_ = false;
  quiet_.notify_all();
}

void AlsaBeeper::Play(int hertz, int milliseconds) {
  SilenceAlsaOnce();
  snd_pcm_t* pcm = nullptr;
  // Opened without blocking: a device held by another program must not
  // stall the beeper; writing then blocks as playback normally does.
  if (snd_pcm_open(&pcm, device_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return;
  std::vector<int16_t> samples = SineTone(hertz, milliseconds);
  if (snd_pcm_nonblock(pcm, 0) == 0 &&
      snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1, kSampleRate, 1,
                         100000) == 0) {
    size_t done = 0;
    while (done < samples.size()) {
      snd_pcm_sframes_t n = snd_pcm_writei(pcm, samples.data() + done, samples.size() - done);
      if (n < 0) n = snd_pcm_recover(pcm, static_cast<int>(n), 1);
      if (n < 0) break;
      done += static_cast<size_t>(n);
    }
    if (done == samples.size()) snd_pcm_drain(pcm);
  }
  snd_pcm_close(pcm);
}
