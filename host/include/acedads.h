// Editor-side functions of the host's ADS interface: LISP registration and
// arguments, results, system and LISP variables, prompts, selection, commands.
#pragma once

#include <cstddef>
#include <cstdint>

#include "adscodes.h"
#include "adsdef.h"

// LISP functions defined by a plug-in in the current document.
int acedDefun(const ACHAR* name, int funcNumber);
int acedUndef(const ACHAR* name, int funcNumber);
int acedRegFunc(int (*handler)(), int funcNumber);
int acedGetFunCode();
struct resbuf* acedGetArgs();

// Values handed back to the LISP caller.
int acedRetVoid();
int acedRetNil();
int acedRetT();
int acedRetList(const struct resbuf* list);
int acedRetInt(int value);
int acedRetReal(ads_real value);
int acedRetStr(const ACHAR* value);
int acedRetPoint(const ads_point value);
int acedRetName(const ads_name value, int type);
int acedRetVal(const struct resbuf* value);

// System variables and LISP symbols. The caller frees what acedGetSym returns.
int acedGetVar(const ACHAR* name, struct resbuf* result);
int acedSetVar(const ACHAR* name, const struct resbuf* value);
int acedGetSym(const ACHAR* name, struct resbuf** value);
int acedPutSym(const ACHAR* name, struct resbuf* value);
int acedGetEnv(const ACHAR* name, ACHAR* value, size_t size);

// File dialog. flags: 1 new file, 4 any extension, 16 default is a folder.
// On RTNORM result holds an RTSTR the caller releases (its rstring).
int acedGetFileD(const ACHAR* title, const ACHAR* defaultPath, const ACHAR* ext, int flags,
                 struct resbuf* result);
int acedFindFile(const ACHAR* name, ACHAR* result, size_t size);

// Prompts. Each returns RTNORM on input, RTNONE on an empty reply where the
// prompt allows it, RTCAN on Escape, RTKWORD for a keyword.
int acedInitGet(int controlBits, const ACHAR* keywords);
int acedGetReal(const ACHAR* prompt, ads_real* result);
int acedGetInt(const ACHAR* prompt, int* result);
int acedGetDist(const ads_point base, const ACHAR* prompt, ads_real* result);
int acedGetString(int allowSpaces, const ACHAR* prompt, ACHAR* result, size_t size);
int acedGetPoint(const ads_point base, const ACHAR* prompt, ads_point result);
int acedGetKword(const ACHAR* prompt, ACHAR* result, size_t size);
int acedGetInput(ACHAR* result, size_t size);
int acedEntSel(const ACHAR* prompt, ads_name entity, ads_point pickPoint);
int acedPrompt(const ACHAR* text);

// 1 when the user pressed Escape since the last test, else 0.
int acedUsrBrk();

// Selection sets. mode may be null (interactive), "X" (whole drawing),
// "W"/"C" with two points, "L" (last entity).
int acedSSGet(const ACHAR* mode, const void* point1, const void* point2,
              const struct resbuf* filter, ads_name selection);
int acedSSFree(const ads_name selection);
int acedSSLength(const ads_name selection, int32_t* length);
int acedSSName(const ads_name selection, int32_t index, ads_name entity);
int acedSSAdd(const ads_name entity, const ads_name selection, ads_name result);

// Host commands: a list of (type, value) pairs ended by RTNONE (0),
// for example acedCommand(RTSTR, _T("zoom"), RTSTR, _T("e"), RTNONE).
int acedCommand(int rtype, ...);
int acedCmd(const struct resbuf* args);

int acedAlert(const ACHAR* text);
