// Formats and writes TIN records on a second thread, so that the
// triangulation goes on inserting points while the settled part of its
// result is turned into text and written.
//
//   BackgroundTinWriter background(file);
//   background.write(std::move(chunk));   // whenever more of the result is known
//   ...
//   if (!background.finish()) ...error...  // all written and flushed
//
// Chunks are written in the order given. The file stays the caller's: it is
// neither closed nor touched after finish().
#pragma once

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "tin/Triangle.h"

namespace tz::terrain {

class BackgroundTinWriter {
public:
    // Chunks waiting for the thread at most; write() waits beyond, so that a
    // slow disk cannot make the result pile up in memory.
    static constexpr std::size_t kChunksAhead = 4;

    explicit BackgroundTinWriter(std::FILE* file);
    ~BackgroundTinWriter();  // finishes
    BackgroundTinWriter(const BackgroundTinWriter&) = delete;
    BackgroundTinWriter& operator=(const BackgroundTinWriter&) = delete;

    void write(std::vector<Triangle> chunk);

    // Waits until every chunk is written and the text flushed to the file;
    // false when the file reported an error or memory ran out. Further
    // calls answer the same.
    bool finish();

    // After finish(): every number had at most nine digits before the
    // point, so the file is in the writing format throughout.
    bool inWritingFormat() const { return inWritingFormat_; }

private:
    void run();

    std::FILE* file_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<Triangle>> pending_;
    bool closing_ = false;
    bool failed_ = false;  // the thread gave up; chunks are dropped
    bool ok_ = true;
    bool inWritingFormat_ = true;
    std::thread thread_;  // last: starts when everything above exists
};

}  // namespace tz::terrain
