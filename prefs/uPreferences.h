#pragma once
#include "prefs/VelaPreferences.h"

#include <string>
#include <vector>

// The process-wide preference values: created and loaded before the first window, saved at normal exit.
TPreferenceValues& Preferences();

// arguments are the command-line arguments without the program name; only the first may ask for a reset.
void StartPreferences(const std::vector<std::string>& arguments);
void StopPreferences();

// Installs values read elsewhere as the process-wide ones (the command-line tool reads the
// program's file, not one of its own); they are never saved by StopPreferences' caller then.
void InstallPreferences(std::unique_ptr<TPreferenceValues> values);
