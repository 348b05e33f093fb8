// roadlaunch: tells the road product where it is installed and starts the
// program that opens drawings with it loaded. Takes no arguments.
#include <exception>

#include "MessageBox.h"
#include "ShellExecute.h"
#include "run/Launcher.h"

int main() {
    int exitCode = 1;
    try {
        exitCode = tz::launch::runLauncher(tz::launch::kRoadProduct);
    } catch (const std::exception& error) {
        tz::platform::MessageBoxA(nullptr, error.what(), nullptr, tz::platform::MB_OK);
    }
    tz::platform::waitForStartedPrograms();
    return exitCode;
}
