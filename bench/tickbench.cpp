// What one tick of the clock costs in-process, next to a floor clock that only sets seven
// captions from the clock, measured in the same run. Offscreen platform; painting included.
#include "clock/form1.h"
#include "store/settingsstore.h"
#include "support/fakes.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double medianMicroseconds(int rounds, const std::function<void(int)> &tick)
{
    std::vector<qint64> samples;
    samples.reserve(rounds);
    QElapsedTimer timer;
    for (int i = 0; i < rounds; ++i) {
        timer.start();
        tick(i);
        QCoreApplication::processEvents(); // the repaint the tick caused
        samples.push_back(timer.nsecsElapsed());
    }
    std::nth_element(samples.begin(), samples.begin() + rounds / 2, samples.end());
    return samples[rounds / 2] / 1000.0;
}

// The least a Qt clock of this size does per tick: read the time, set seven captions.
struct FloorClock {
    QWidget window;
    QLabel *labels[7];
    FloorClock()
    {
        window.resize(225, 76);
        for (int i = 0; i < 7; ++i) {
            labels[i] = new QLabel(&window);
            labels[i]->setGeometry(i * 30, 0, 30, 25);
        }
        window.show();
    }
    void tick(const QDateTime &now)
    {
        const auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
        const QString text[7] = {QString::number(now.date().year()), two(now.date().month()), two(now.date().day()),
                                 QString::number(now.date().dayOfWeek()), two(now.time().hour()),
                                 two(now.time().minute()), two(now.time().second())};
        for (int i = 0; i < 7; ++i)
            labels[i]->setText(text[i]);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 20000;
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("ravelquint.conf")));
    FakePlatform fake;
    const QDateTime start(QDate(2026, 12, 7), QTime(12, 0, 0));
    fake.clock.set(start);
    Form1 clock(store, fake.platform());
    clock.show();
    FloorClock floor;

    const auto same = [&](int) { clock.Timer1_Timer(); };
    const auto nextSecond = [&](int i) {
        fake.clock.set(start.addSecs(i + 1));
        clock.Timer1_Timer();
    };
    const auto floorSame = [&](int) { floor.tick(start); };
    const auto floorNext = [&](int i) { floor.tick(start.addSecs(i + 1)); };

    medianMicroseconds(rounds / 10, same); // warm up caches and fonts
    const double ours = medianMicroseconds(rounds, same);
    const double oursChanging = medianMicroseconds(rounds, nextSecond);
    const double floorUnchanged = medianMicroseconds(rounds, floorSame);
    const double floorChanging = medianMicroseconds(rounds, floorNext);

    std::printf("tick cost, median of %d ticks (us):\n", rounds);
    std::printf("  %-28s %8s %8s %7s\n", "", "ravelquint", "qt-floor", "ratio");
    std::printf("  %-28s %10.2f %8.2f %7.2f\n", "nothing changed", ours, floorUnchanged, ours / floorUnchanged);
    std::printf("  %-28s %10.2f %8.2f %7.2f\n", "a second turning", oursChanging, floorChanging,
                oursChanging / floorChanging);
    return 0;
}
