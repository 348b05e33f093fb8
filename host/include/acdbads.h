// Database-side functions of the host's ADS interface: entities, tables,
// number text and the line intersection.
#pragma once

#include "adscodes.h"
#include "adsdef.h"

// Entity access. acdbEntGet's list is released by the caller with acutRelRb.
struct resbuf* acdbEntGet(const ads_name entity);
int acdbEntNext(const ads_name entity, ads_name result);  // null or nil entity: first in drawing
int acdbEntLast(ads_name result);
int acdbEntMake(const struct resbuf* list);
int acdbEntMakeX(const struct resbuf* list, ads_name result);
int acdbEntDel(const ads_name entity);
int acdbEntMod(const struct resbuf* list);
int acdbHandEnt(const ACHAR* handle, ads_name entity);
struct resbuf* acdbTblSearch(const ACHAR* table, const ACHAR* name, int setNext);
struct resbuf* acdbTblNext(const ACHAR* table, int rewind);

// Real to text and text to real in linear units. unit: -1 current (LUNITS),
// 1 scientific, 2 decimal, 3 engineering, 4 architectural, 5 fractional;
// precision -1 is the current LUPREC. str must hold at least 64 characters.
int acdbRToS(ads_real value, int unit, int precision, ACHAR* str);
int acdbRToS(ads_real value, int unit, int precision, ACHAR* str, size_t size);
int acdbDisToF(const ACHAR* str, int unit, ads_real* value);
int acdbAngToS(ads_real angle, int unit, int precision, ACHAR* str, size_t size);
int acdbAngToF(const ACHAR* str, int unit, ads_real* value);

// Intersection of the lines from1-to1 and from2-to2 in 3D. With testOn set,
// the point must lie on both segments (end points included). RTNORM when
// they meet, RTNONE when they do not (parallel, skew or off the segments).
int acdbInters(const ads_point from1, const ads_point to1, const ads_point from2,
               const ads_point to2, int testOn, ads_point result);

// Prints a failure message on the command line.
int acdbFail(const ACHAR* text);
