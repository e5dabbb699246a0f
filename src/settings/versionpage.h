#pragma once

#include "settings/tabpage.h"

// The settings dialog's second page: the program's name, version and terms of use.
//
//   Label5  the name      Label7  the version      Label9  the one-line description
//   Frame5  the terms of use, in Label8
class VersionPage : public TabPage
{
public:
    explicit VersionPage(QTabWidget *tabs);
};
