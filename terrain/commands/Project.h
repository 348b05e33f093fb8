// The open project of the terrain modeller, shared by its commands, and the
// guard every command runs first.
#pragma once

#include <string>

#include "project/ProjectSettings.h"

// The process-wide project settings; they live until the plug-in unloads.
tz::terrain::ProjectSettings& projectSettings();

// True when a project is open; otherwise shows `alertText` and returns false.
bool requireOpenProject(const wchar_t* alertText);

// The two alert texts of the project guard.
inline constexpr const wchar_t* kOpenProjectFirst = L"You must open a project first.";
inline constexpr const wchar_t* kOpenProjectFirstBang = L"You must open a project first!";

// A setting's value as UTF-8, for file names.
std::string settingPath(const wchar_t* key);
