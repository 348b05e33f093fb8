// The tzcad program: options, start-up, the session loop and shutdown.
#pragma once

namespace tz::cad {

int runHost(int argc, char** argv);

}  // namespace tz::cad
