// Command bodies of the terrain modeller. Each returns the host status of
// the run: RTNORM, RTERROR after a reported error, RTCAN when cancelled.
#pragma once

#include "adsdef.h"

int contoursCommand();
int profileCutterCommand();
int openProjectWithDialog();
int openProjectFromPath(const struct resbuf* args);
int setProjectSetting(const struct resbuf* args);
int listProjectSettings();  // hands its list (or nil) to LISP itself
int meshCommand();
int showTinCommand();
int triangulateCommand();
int volumesCommand();

// Saves the open project's settings file; called when the plug-in unloads.
int saveOpenProjectSettings();
