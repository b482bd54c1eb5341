#pragma once
#include "prefs/VelaPreferences.h"

#include <string>
#include <vector>

// The process-wide preference values: created and loaded before the first window, saved at normal exit.
TPreferenceValues& Preferences();

// arguments are the command-line arguments without the program name; only the first may ask for a reset.
void StartPreferences(const std::vector<std::string>& arguments);
void StopPreferences();
