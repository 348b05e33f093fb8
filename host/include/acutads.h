// Utility functions of the host's ADS interface: printing, result buffer
// lists and plane geometry.
#pragma once

#include "adscodes.h"
#include "adsdef.h"

// Prints to the command line. The format follows the host's wide printf:
// %s and %c take wide strings and characters.
int acutPrintf(const ACHAR* format, ...);

// Builds a list from (type, value) pairs ended by 0. Returns null on failure.
struct resbuf* acutBuildList(int rtype, ...);
struct resbuf* acutNewRb(int type);
int acutRelRb(struct resbuf* list);

ads_real acutAngle(const ads_point from, const ads_point to);      // radians, plan
ads_real acutDistance(const ads_point from, const ads_point to);   // 3D distance
void acutPolar(const ads_point from, ads_real angle, ads_real distance, ads_point result);

int acutCvUnit(ads_real value, const ACHAR* oldUnit, const ACHAR* newUnit, ads_real* result);

// Frees a string the host handed out (acedGetFileD, acedGetVar results) and clears the pointer.
int acutDelString(ACHAR*& string);
