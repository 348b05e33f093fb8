// tzcad: the headless CAD host.
#include <pthread.h>

#include <cstdio>

#include "core/Session.h"
#include "lisp/Interpreter.h"

namespace {

// LISP evaluates by recursion, a call a handful of C++ frames deep; the
// session runs on a thread whose stack takes a deep recursion (the memory
// is only taken as it is used), as real LISP programs may recurse
// thousands of calls deep.
constexpr size_t kSessionStack = size_t{1} << 30;
constexpr int kSessionDepthLimit = 30000;

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
    pthread_t session;
    if (pthread_attr_init(&attributes) == 0 && pthread_attr_setstacksize(&attributes, kSessionStack) == 0 &&
        pthread_create(&session, &attributes, runSession, &run) == 0) {
        pthread_attr_destroy(&attributes);
        pthread_join(session, nullptr);
        return run.status;
    }
    // No thread to be had: the session runs here, within the usual stack.
    return tz::cad::runHost(argc, argv);
}
