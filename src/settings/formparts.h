#pragma once

#include "store/settingskeys.h"
#include "store/storedtext.h"
#include "widgets/twips.h"

#include <QColor>
#include <QPushButton>

// What the dialog's constructor and its layout table share.

inline constexpr int kSettingsTab = 0;

// What a reset restores, and the swatches' design fills: the first-run colours.
inline QColor defaultColour(Key key) { return *storedtext::toColour(QString::fromLatin1(keyInfo(key).firstRunDefault)); }

template <typename W>
W *named(W *widget, const char *name, TwipRect box)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(pixelRect(box));
    return widget;
}

inline QPushButton *button(const QString &caption, QWidget *parent)
{
    auto *pushButton = new QPushButton(caption, parent);
    pushButton->setAutoDefault(false); // Enter must not press a button
    return pushButton;
}
