#include "core/holidays.h"

#include <cmath>

namespace {

constexpr int kFirstEquinoxYear = 1990, kLastEquinoxYear = 2099;

// The equinox days by the usual approximation, which holds for the years the clock covers
// and is no more than a guess outside them: there it names no day (0).
int equinoxDay(int year, double base)
{
    if (year < kFirstEquinoxYear || year > kLastEquinoxYear)
        return 0;
    const int since = year - 1980;
    return int(std::floor(base + 0.242194 * since - since / 4));
}

int nthMonday(int year, int month, int n)
{
    const int firstMonday = 1 + (Qt::Monday - QDate(year, month, 1).dayOfWeek() + 7) % 7;
    return firstMonday + 7 * (n - 1);
}

QString januaryHoliday(int year, int day)
{
    if (day == 1)
        return QStringLiteral(QT_TRANSLATE_NOOP("holidays", "元日"));
    if (day == (year <= 1999 ? 15 : nthMonday(year, 1, 2)))
        return QStringLiteral(QT_TRANSLATE_NOOP("holidays", "成人の日"));
    return {};
}

QString februaryHoliday(int year, int day)
{
    if (day == 11)
        return QStringLiteral(QT_TRANSLATE_NOOP("holidays", "建国記念の日"));
    if (year >= 2020 && day == 23)
        return QStringLiteral(QT_TRANSLATE_NOOP("holidays", "天皇誕生日"));
    return {};
}

QString aprilOrMayHoliday(int year, int month, int day)
{
    if (month == 4) {
        if (day != 29)
            return {};
        return year <= 1988 ? QStringLiteral(QT_TRANSLATE_NOOP("holidays", "天皇誕生日"))
                            : year <= 2006 ? QStringLiteral(QT_TRANSLATE_NOOP("holidays", "みどりの日")) : QStringLiteral(QT_TRANSLATE_NOOP("holidays", "昭和の日"));
    }
    switch (day) {
    case 1: return year == 2019 ? QStringLiteral(QT_TRANSLATE_NOOP("holidays", "天皇の即位の日")) : QString();
    case 3: return QStringLiteral(QT_TRANSLATE_NOOP("holidays", "憲法記念日"));
    case 4: return year >= 2007 ? QStringLiteral(QT_TRANSLATE_NOOP("holidays", "みどりの日")) : QString();
    case 5: return QStringLiteral(QT_TRANSLATE_NOOP("holidays", "こどもの日"));
    default: return {};
    }
}

// 海の日, スポーツの日 and 山の日 moved for the 2020 games, and again in 2021.
QString summerHoliday(int year, int month, int day)
{
    if (month == 7) {
        const int sea = year == 2020 ? 23 : year == 2021 ? 22 : year >= 2003 ? nthMonday(year, 7, 3) : 20;
        if (year >= 1996 && day == sea)
            return QStringLiteral(QT_TRANSLATE_NOOP("holidays", "海の日"));
        if ((year == 2020 && day == 24) || (year == 2021 && day == 23))
            return QStringLiteral(QT_TRANSLATE_NOOP("holidays", "スポーツの日"));
        return {};
    }
    const int mountain = year == 2020 ? 10 : year == 2021 ? 8 : 11;
    return year >= 2016 && day == mountain ? QStringLiteral(QT_TRANSLATE_NOOP("holidays", "山の日")) : QString();
}

QString autumnHoliday(int year, int month, int day)
{
    if (month == 9) {
        if (day == (year <= 2002 ? 15 : nthMonday(year, 9, 3)))
            return QStringLiteral(QT_TRANSLATE_NOOP("holidays", "敬老の日"));
        return day == equinoxDay(year, 23.2488) ? QStringLiteral(QT_TRANSLATE_NOOP("holidays", "秋分の日")) : QString();
    }
    if (year == 2019 && day == 22)
        return QStringLiteral(QT_TRANSLATE_NOOP("holidays", "即位礼正殿の儀"));
    if (year <= 1999)
        return day == 10 ? QStringLiteral(QT_TRANSLATE_NOOP("holidays", "体育の日")) : QString();
    if (year == 2020 || year == 2021 || day != nthMonday(year, 10, 2))
        return {};
    return year <= 2019 ? QStringLiteral(QT_TRANSLATE_NOOP("holidays", "体育の日")) : QStringLiteral(QT_TRANSLATE_NOOP("holidays", "スポーツの日"));
}

QString lateHoliday(int year, int month, int day)
{
    if (month == 12)
        return year >= 1989 && year <= 2018 && day == 23 ? QStringLiteral(QT_TRANSLATE_NOOP("holidays", "天皇誕生日")) : QString();
    if (day == 3)
        return QStringLiteral(QT_TRANSLATE_NOOP("holidays", "文化の日"));
    if (day == 23)
        return QStringLiteral(QT_TRANSLATE_NOOP("holidays", "勤労感謝の日"));
    return year == 1990 && day == 12 ? QStringLiteral(QT_TRANSLATE_NOOP("holidays", "即位礼正殿の儀")) : QString();
}

// A holiday by its own rule: not a substitute, nor a day between two holidays.
QString properHoliday(const QDate &date)
{
    const int year = date.year(), month = date.month(), day = date.day();
    switch (month) {
    case 1: return januaryHoliday(year, day);
    case 2: return februaryHoliday(year, day);
    case 3: return day == equinoxDay(year, 20.8431) ? QStringLiteral(QT_TRANSLATE_NOOP("holidays", "春分の日")) : QString();
    case 4:
    case 5: return aprilOrMayHoliday(year, month, day);
    case 6: return year == 1993 && day == 9 ? QStringLiteral(QT_TRANSLATE_NOOP("holidays", "結婚の儀")) : QString();
    case 7:
    case 8: return summerHoliday(year, month, day);
    case 9:
    case 10: return autumnHoliday(year, month, day);
    default: return lateHoliday(year, month, day);
    }
}

bool isProperHoliday(const QDate &date) { return !properHoliday(date).isEmpty(); }

// From 1973 a holiday on a Sunday moves to the next day; from 2007 to the next day that
// is no holiday itself.
bool isSubstitute(const QDate &date)
{
    QDate before = date.addDays(-1);
    if (date.year() < 2007)
        return isProperHoliday(before) && before.dayOfWeek() == Qt::Sunday;
    for (; isProperHoliday(before); before = before.addDays(-1)) {
        if (before.dayOfWeek() == Qt::Sunday)
            return true;
    }
    return false;
}

// From 1986 a day between two holidays is one too; until 2007 not when it is a Sunday.
bool isBetweenHolidays(const QDate &date)
{
    if (date.year() < 2007 && date.dayOfWeek() == Qt::Sunday)
        return false;
    return isProperHoliday(date.addDays(-1)) && isProperHoliday(date.addDays(1));
}

} // namespace

QString japaneseHoliday(const QDate &date)
{
    if (!date.isValid())
        return {};
    if (QString name = properHoliday(date); !name.isEmpty())
        return name;
    if (isSubstitute(date))
        return QStringLiteral(QT_TRANSLATE_NOOP("holidays", "振替休日"));
    if (isBetweenHolidays(date))
        return QStringLiteral(QT_TRANSLATE_NOOP("holidays", "国民の休日"));
    return {};
}
