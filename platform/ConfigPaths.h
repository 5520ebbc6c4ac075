#pragma once

#include <string>

// Where the per-user settings live. The product folder
// "$XDG_CONFIG_HOME/Korvent/Velkaris" (XDG_CONFIG_HOME defaulting to
// ~/.config) holds one file per settings version; "1.0.conf" is the one in use.

// The user's configuration folder, or an empty string when neither
// XDG_CONFIG_HOME (absolute) nor a home folder is known.
std::string ConfigHome();

// "<config home>/Korvent/Velkaris", or empty when there is no config home.
std::string ProductSettingsFolder();

// "<config home>/Korvent/Velkaris/1.0.conf", or empty when there is no config home.
std::string SettingsFilePath();
