// tzcad: the headless CAD host.
#include <pthread.h>

#include <cstddef>

#include "core/Session.h"
#include "lisp/Interpreter.h"

namespace {

// LISP evaluates by recursion, a call a handful of C++ frames deep; the
// session runs on a thread whose stack takes a deep recursion (the memory
// is only taken as it is used), as real LISP programs may recurse
// thousands of calls deep. 7500 levels take about 20 MB of stack, and
// under AddressSanitizer about 50 MB, which stays below the 64 MB beyond
// which it no longer follows a stack that an error unwinds.
constexpr size_t kSessionStack = size_t{256} << 20;
constexpr int kSessionDepthLimit = 7500;

struct Run {
    int argc;
    char** argv;
    int status = 0;
};

void* runSession(void* data) {
    auto* run = static_cast<Run*>(data);
    tz::cad::lisp::interpreter().setDepthLimit(kSessionDepthLimit);
    run->status = tz::cad::runHost(run->argc, run->argv);
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    Run run{argc, argv};
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) == 0) {
        pthread_t session;
        const bool started = pthread_attr_setstacksize(&attributes, kSessionStack) == 0 &&
                             pthread_create(&session, &attributes, runSession, &run) == 0;
        pthread_attr_destroy(&attributes);
        if (started) {
            pthread_join(session, nullptr);
            return run.status;
        }
    }
    // No thread to be had: the session runs here, within the usual stack
    // and the interpreter's usual depth.
    return tz::cad::runHost(argc, argv);
}
