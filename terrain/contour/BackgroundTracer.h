// Contour tracing on a second thread, so that the command thread can draw one
// level while the next ones are traced. The tracer is built on that thread
// too, as soon as the TIN is read, while the user is still in the dialog.
//
//   BackgroundTracer background(std::move(triangles));
//   ...dialog...
//   ContourLevelSequence levels(start, end, interval);
//   background.start(levels, options);
//   while (auto e = levels.next()) {            // the same levels, in step
//       ...break test...
//       for (const ContourChain& c : background.next()) ...draw...
//   }
//
// Nothing here touches the host; the thread only reads the TIN and computes.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "contour/ContourLevels.h"
#include "contour/ContourTracer.h"

namespace tz::terrain {

class BackgroundTracer {
public:
    // Levels traced ahead of the caller at most.
    static constexpr std::size_t kLevelsAhead = 2;
    // Levels sorted out together in one pass over the TIN.
    static constexpr std::size_t kLevelsPerRun = 512;

    // Starts building the tracer of `triangles` (ContourTracer) at once.
    explicit BackgroundTracer(std::vector<Triangle> triangles);

    // Stops tracing (the level in hand is finished first) and waits for the thread.
    ~BackgroundTracer();

    BackgroundTracer(const BackgroundTracer&) = delete;
    BackgroundTracer& operator=(const BackgroundTracer&) = delete;

    // Traces every level of `levels` (a copy, from its current position) with
    // `options`, in order. Call once.
    void start(const ContourLevelSequence& levels, const ContourOptions& options);

    // The chains of the next level, as ContourTracer::traceLevel gives them,
    // waiting for them when needed. Whatever tracing threw (running out of
    // memory) is thrown here instead. After the last level: std::out_of_range;
    // before start(): std::logic_error.
    std::vector<ContourChain> next();

private:
    // One traced level, or the end of the levels, or a failure.
    struct Result {
        std::vector<ContourChain> chains;
        bool last = false;
        std::exception_ptr failure;
    };

    void run(std::vector<Triangle> triangles);
    void traceAll(const ContourTracer& tracer);
    // Hands a result over, waiting while the caller is kLevelsAhead behind;
    // false when stopped.
    bool deliver(Result result);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<ContourLevelSequence> levels_;  // set by start()
    ContourOptions options_;
    std::deque<Result> ready_;
    bool stopping_ = false;
    bool finished_ = false;  // the last result was taken
    std::thread thread_;     // last: starts when everything above exists
};

}  // namespace tz::terrain
