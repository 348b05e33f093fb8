// The one wall at a plug-in's boundary: nothing thrown inside a command body
// reaches the host.
#pragma once

#include "adsdef.h"

// Runs a command body and returns its status; an exception it lets escape is
// reported on the command line and becomes RTERROR.
int guardedCall(int (*body)());
