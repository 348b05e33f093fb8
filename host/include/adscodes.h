// Result codes and value type codes of the host's ADS interface.
#pragma once

// Status codes returned by host calls.
#define RTNORM 5100            // request succeeded
#define RTERROR (-5001)        // some other error
#define RTCAN (-5002)          // user cancelled (Escape)
#define RTREJ (-5003)          // request rejected
#define RTFAIL (-5004)         // link with LISP failed
#define RTKWORD (-5005)        // keyword returned from a prompt
#define RTINPUTTRUNCATED (-5008)

// Result buffer value types.
#define RTNONE 5000    // no result / end of list
#define RTREAL 5001
#define RTPOINT 5002   // 2D point
#define RTSHORT 5003
#define RTANG 5004
#define RTSTR 5005
#define RTENAME 5006
#define RTPICKS 5007
#define RTORINT 5008
#define RT3DPOINT 5009
#define RTLONG 5010
#define RTVOID 5014
#define RTLB 5016      // list begin
#define RTLE 5017      // list end
#define RTDOTE 5018    // dotted pair
#define RTNIL 5019
#define RTDXF0 5020    // group code 0 in a selection filter
#define RTT 5021
#define RTRESBUF 5023
#define RTMODELESS 5027

// Return values of a LISP function handler.
#define RSRSLT 1   // result delivered
#define RSERR 3    // error, no result

// acedInitGet control bits.
#define RSG_NONULL 0x0001
#define RSG_NOZERO 0x0002
#define RSG_NONEG 0x0004
#define RSG_NOLIM 0x0008
#define RSG_GETZ 0x0010
#define RSG_DASH 0x0020
#define RSG_2D 0x0040
#define RSG_OTHER 0x0080

// acedCommand argument end.
#define RTNONE_END 0
