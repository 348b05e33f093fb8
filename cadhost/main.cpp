// tzcad: the headless CAD host.
#include "core/Session.h"

int main(int argc, char** argv) { return tz::cad::runHost(argc, argv); }
