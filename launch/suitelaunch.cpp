// suitelaunch: hooks the suite into the installed host and starts the host
// with the suite loaded. Takes no arguments.
#include <exception>

#include "MessageBox.h"
#include "ShellExecute.h"
#include "run/Launcher.h"

int main() {
    int exitCode = 1;
    try {
        exitCode = tz::launch::runLauncher(tz::launch::kSuiteProduct);
    } catch (const std::exception& error) {
        tz::platform::MessageBoxA(nullptr, error.what(), nullptr, tz::platform::MB_OK);
    }
    tz::platform::waitForStartedPrograms();
    return exitCode;
}
