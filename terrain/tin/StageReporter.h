// How the pure stages of the terrain modeller talk back to the command that
// runs them: progress lines and alerts go through a reporter (the command
// forwards them to the host's command line and alert box with the same
// text), the user's Escape is asked through a callback, and results are the
// host's status codes.
#pragma once

#include <functional>
#include <string_view>

namespace tz::terrain {

// Host status codes the stages return.
inline constexpr int kStatusSuccess = 5100;   // RTNORM
inline constexpr int kStatusError = -5001;    // RTERROR: an alert has been shown
inline constexpr int kStatusCancel = -5002;   // RTCAN: the user broke off
inline constexpr int kStageDone = 0;          // a stage that reports plain completion
inline constexpr int kFaultNotApplicable = 5000;  // fault insertion: nothing to do

// Receives what a stage shows to the user, text exactly as it must appear.
struct StageReporter {
    virtual ~StageReporter() = default;
    virtual void print(std::string_view text) = 0;  // command line (acutPrintf)
    virtual void alert(std::string_view text) = 0;  // blocking alert (acedAlert)
};

// Answers true when the user has asked to break off (acedUsrBrk returned 1).
using UserBreakTest = std::function<bool()>;

// A reporter that drops everything, for callers that need no messages.
struct SilentReporter final : StageReporter {
    void print(std::string_view) override {}
    void alert(std::string_view) override {}
};

}  // namespace tz::terrain
