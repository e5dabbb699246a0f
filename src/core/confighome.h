#pragma once

#include <QString>

// Where the user's configuration lives: $XDG_CONFIG_HOME when it is an absolute path, or
// .config in the home folder (without HOME, the one the passwd entry names). Empty where
// there is no home other than "/", or where its name is not valid in the locale (said on
// stderr): then nothing is written anywhere.
QString configHome();

// Where the user's state lives ($XDG_STATE_HOME, or .local/state in the home folder), on
// the same rules.
QString stateHome();
