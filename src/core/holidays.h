#pragma once

#include <QDate>
#include <QString>

// Japan's national holidays, computed from the rules of the law rather than from a table
// that goes stale: 祝日, 振替休日 and 国民の休日, right from 1990 to 2099 (outside those
// years no equinox day is named). No widgets: the display mode asks it.

// The holiday's name on `date`, or an empty text on an ordinary day. The name is in
// Japanese; QCoreApplication::translate("holidays", name) gives it in the user's language.
QString japaneseHoliday(const QDate &date);
