// Everything a plug-in of the suite includes from the host.
#pragma once

#include "accmd.h"
#include "acdbads.h"
#include "acdocman.h"
#include "acedads.h"
#include "acutads.h"
#include "adscodes.h"
#include "adsdef.h"
#include "adsdlg.h"
#include "odrxmodule.h"
#include "rxdefs.h"
#include "rxobject.h"
