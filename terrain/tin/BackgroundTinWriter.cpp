#include "tin/BackgroundTinWriter.h"

#include <utility>

#include "tin/TinFile.h"

namespace tz::terrain {

BackgroundTinWriter::BackgroundTinWriter(std::FILE* file) : file_(file), thread_([this] { run(); }) {}

BackgroundTinWriter::~BackgroundTinWriter() { finish(); }

void BackgroundTinWriter::write(std::vector<Triangle> chunk) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return failed_ || pending_.size() < kChunksAhead; });
    if (failed_) return;
    pending_.push_back(std::move(chunk));
    lock.unlock();
    changed_.notify_all();
}

bool BackgroundTinWriter::finish() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
    return ok_;
}

void BackgroundTinWriter::run() {
    try {
        TinWriter writer(file_);
        for (;;) {
            std::vector<Triangle> chunk;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return closing_ || !pending_.empty(); });
                if (pending_.empty()) break;  // closing, and nothing left
                chunk = std::move(pending_.front());
                pending_.pop_front();
            }
            changed_.notify_all();
            for (const Triangle& t : chunk) writer.write(t);
        }
        const bool flushed = writer.flush();
        std::lock_guard lock(mutex_);
        ok_ = flushed;
        inWritingFormat_ = writer.inWritingFormat();
    } catch (...) {  // out of memory for the text
        std::lock_guard lock(mutex_);
        failed_ = true;
        ok_ = false;
        pending_.clear();
    }
    changed_.notify_all();
}

}  // namespace tz::terrain
