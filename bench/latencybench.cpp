// How late the seconds label turns after the true second boundary, on the real clock and
// timer, next to the same label driven by a plain (unaligned) 100 ms timer in the same run.
#include "clock/clocklabel.h"
#include "clock/form1.h"
#include "clock/walltimer.h"
#include "platform/systemplatform.h"
#include "store/settingsstore.h"

#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Lateness {
    std::vector<int> ms;
    QString last;
    // Called right after the label may have changed: a turn is late by the milliseconds
    // past the second now on the wall clock.
    void observe(const QString &caption)
    {
        if (!last.isEmpty() && caption != last)
            ms.push_back(QDateTime::currentDateTime().time().msec());
        last = caption;
    }
    int percentile(double p)
    {
        if (ms.empty())
            return -1;
        std::sort(ms.begin(), ms.end());
        return ms[std::min(ms.size() - 1, std::size_t(p * ms.size()))];
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("ravelquint.conf")));
    SystemPlatform platform(dir.path(), QCoreApplication::applicationFilePath());
    Form1 clock(store, platform.platform());
    clock.show();

    Lateness aligned;
    const auto *secondsLabel = clock.findChild<ClockLabel *>(QStringLiteral("Label6"));
    QObject::connect(clock.findChild<WallTimer *>(QStringLiteral("Timer1")), &WallTimer::timeout, &app,
                     [&] { aligned.observe(secondsLabel->text()); });

    QLabel plainLabel;
    plainLabel.show();
    Lateness plain;
    QTimer plainTimer;
    QObject::connect(&plainTimer, &QTimer::timeout, &app, [&] {
        plainLabel.setText(QString::number(QDateTime::currentDateTime().time().second()));
        plain.observe(plainLabel.text());
    });
    plainTimer.start(100);

    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    app.exec();
    std::printf("seconds label lateness over %d s (ms past the true second):\n", seconds);
    std::printf("  %-26s turns %4zu  p50 %4d  p99 %4d  max %4d\n", "ravelquint (aligned)", aligned.ms.size(),
                aligned.percentile(0.5), aligned.percentile(0.99), aligned.percentile(1.0));
    std::printf("  %-26s turns %4zu  p50 %4d  p99 %4d  max %4d\n", "plain 100 ms QTimer", plain.ms.size(),
                plain.percentile(0.5), plain.percentile(0.99), plain.percentile(1.0));
    return 0;
}
