#include "contour/BackgroundTracer.h"

#include <stdexcept>
#include <utility>

namespace tz::terrain {

BackgroundTracer::BackgroundTracer(std::vector<Triangle> triangles)
    : thread_([this](std::vector<Triangle> tin) { run(std::move(tin)); }, std::move(triangles)) {}

BackgroundTracer::~BackgroundTracer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void BackgroundTracer::start(const ContourLevelSequence& levels, const ContourOptions& options) {
    {
        std::lock_guard lock(mutex_);
        if (levels_) throw std::logic_error("contour levels already given");
        levels_ = levels;
        options_ = options;
    }
    changed_.notify_all();
}

std::vector<ContourChain> BackgroundTracer::next() {
    std::unique_lock lock(mutex_);
    if (!levels_) throw std::logic_error("contour levels not given yet");
    if (finished_) throw std::out_of_range("no contour level left");
    changed_.wait(lock, [&] { return !ready_.empty(); });
    Result result = std::move(ready_.front());
    ready_.pop_front();
    lock.unlock();
    changed_.notify_all();
    if (result.failure) {
        finished_ = true;
        std::rethrow_exception(result.failure);
    }
    if (result.last) {
        finished_ = true;
        throw std::out_of_range("no contour level left");
    }
    return std::move(result.chains);
}

bool BackgroundTracer::deliver(Result result) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stopping_ || ready_.size() < kLevelsAhead; });
    if (stopping_) return false;
    ready_.push_back(std::move(result));
    lock.unlock();
    changed_.notify_all();
    return true;
}

void BackgroundTracer::run(std::vector<Triangle> triangles) {
    try {
        const ContourTracer tracer(std::move(triangles));
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stopping_ || levels_.has_value(); });
            if (stopping_) return;
        }
        traceAll(tracer);
    } catch (...) {
        Result failed;
        failed.failure = std::current_exception();
        deliver(std::move(failed));
    }
}

void BackgroundTracer::traceAll(const ContourTracer& tracer) {
    // Only this thread uses the sequence and the options once given.
    ContourLevelSequence& levels = *levels_;
    std::vector<double> batch;
    while (true) {
        batch.clear();
        while (batch.size() < kLevelsPerRun)
            if (auto e = levels.next()) batch.push_back(*e);
            else break;
        if (batch.empty()) break;
        const TrianglesByLevel run = tracer.sortByLevel(batch);
        for (std::size_t k = 0; k < run.levelCount(); ++k) {
            Result traced;
            traced.chains = tracer.traceLevel(run, k, options_);
            if (!deliver(std::move(traced))) return;
        }
    }
    Result end;
    end.last = true;
    deliver(std::move(end));
}

}  // namespace tz::terrain
