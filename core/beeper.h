// The sound the purchase page makes to tell a clerk whether a scanned title
// is already held, behind an interface so that the engine never waits on a
// sound device and tests can listen in.
#pragma once

class Beeper {
 public:
  virtual ~Beeper() = default;
  // Plays a sine tone of `hertz` for `milliseconds`. Returns at once; the
  // tone plays in the background. Never throws and never reports a failure:
  // a machine without sound simply stays silent.
  virtual void Tone(int hertz, int milliseconds) = 0;
};

// A beeper that never makes a sound.
class SilentBeeper : public Beeper {
 public:
  void Tone(int, int) override {}
};
