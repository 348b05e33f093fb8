// The run shared by suitelaunch and roadlaunch: find the install folder, tell
// the product's LISP loader where it is, find the program that opens drawings,
// write the start-up script, and start that program with it.
#pragma once

#include "core/Product.h"

namespace tz::launch {

// One run for `product`. Returns the process exit code: 0 when the steps ran
// (whether or not a program was started), 1 after a registry failure, a file
// that could not be written, or a program that could not be started; each
// failure has been shown in a message box.
int runLauncher(const Product& product);

}  // namespace tz::launch
