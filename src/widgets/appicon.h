#pragma once

#include <QIcon>

// The program's own icon, shared by its windows.
QIcon appIcon();
