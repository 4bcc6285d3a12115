// How a page's job ended, for the front ends: the window shows nothing more,
// lumarin-cli turns it into its exit code.
#pragma once

enum class JobOutcome {
  Refused,  // an input check refused the job; its message has been shown
  Done,     // the job ran to its end (also when the user cancelled a scan)
};
