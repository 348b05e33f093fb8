// Basic types of the host's ADS interface: reals, points, entity and
// selection-set names, and the result buffer that carries every value
// between the host, LISP and the plug-ins.
#pragma once

#include <cstdint>
#include <cwchar>

// Host strings are wide. On the real host wchar_t is UTF-16; here it is the
// platform's wchar_t and files on disk are written in their own encodings.
typedef wchar_t ACHAR;

#ifndef _T
#define _T(x) L##x
#endif
#ifndef ACRX_T
#define ACRX_T(x) L##x
#endif

typedef double ads_real;
typedef ads_real ads_point[3];
typedef intptr_t ads_name[2];
typedef ads_real ads_matrix[4][4];
typedef ads_real* ads_pointp;
typedef intptr_t* ads_namep;

enum { X = 0, Y = 1, Z = 2 };

struct ads_binary {
    short clen;
    char* buf;
};

union ads_u_val {
    ads_real rreal;
    ads_real rpoint[3];
    short rint;
    ACHAR* rstring;
    intptr_t rlname[2];
    int32_t rlong;
    int64_t mnInt64;
    ads_binary rbinary;
    unsigned char ihandle[8];
};

struct resbuf {
    struct resbuf* rbnext;
    short restype;
    union ads_u_val resval;
};

typedef struct resbuf* pResbuf;

// Copies a point (the host's macro of the same name).
#define ads_point_set(from, to) ((to)[X] = (from)[X], (to)[Y] = (from)[Y], (to)[Z] = (from)[Z])
#define ads_name_set(from, to) ((to)[0] = (from)[0], (to)[1] = (from)[1])
#define ads_name_clear(name) ((name)[0] = (name)[1] = 0)
#define ads_name_nil(name) ((name)[0] == 0 && (name)[1] == 0)
#define ads_name_equal(a, b) ((a)[0] == (b)[0] && (a)[1] == (b)[1])
