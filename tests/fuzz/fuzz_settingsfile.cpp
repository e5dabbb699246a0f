// A whole settings file, as a hand edit, a crash or another program may leave it, fed to
// the clock's start-up and a refresh and to the settings dialog's start-up.
#include "clock/clocklabel.h"
#include "clock/form1.h"
#include "settings/form2.h"
#include "store/settingsstore.h"
#include "support/child.h"
#include "support/fakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {
QTemporaryDir *g_dir = nullptr;

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

// The time comes from the input too, so the band and Sunday paths are all reached.
QDateTime timeFor(const std::uint8_t *data, std::size_t size)
{
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    const QDateTime sunday(QDate(2026, 12, 6), QTime(0, 0));
    return sunday.addSecs(qint64(hash % (7 * 24 * 3600)));
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    new QApplication(*argc, *argv);
    g_dir = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = g_dir->filePath(QStringLiteral("ravelquint.conf"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    SettingsStore store(path);
    const bool firstRun = store.switchValue(Key::Start) == 0;
    bool noticeClicked = false;
    FakePlatform fake;
    fake.clock.set(timeFor(data, size));
    {
        Form1 clock(store, fake.platform());
        clock.Timer1_Timer();
        // The date captions show either the design text (an undecided mode) or the date.
        const QString year = child<QLabel>(&clock, "Label1")->text();
        if (year != QLatin1String("2000") && year != QLatin1String("2026"))
            std::abort();
        Form2 dialog(store, fake.colourPicker, &clock);
        QObject::connect(&dialog, &Form2::adjustmentEnabledChanged, &clock, &Form1::setAdjustmentEnabled);
        dialog.show();
        noticeClicked = child<QCheckBox>(&dialog, "Check4")->isEnabled(); // a disabled switch takes no click
        child<QCheckBox>(&dialog, "Check4")->click();
        child<QCheckBox>(&dialog, "Check3")->click();
        clock.Timer1_Timer();
    }
    // A first run leaves every switch and colour readable, whatever it found; a later run
    // leaves the user's file alone but for what the dialog's clicks wrote.
    store.waitForSaves();
    SettingsStore after(path);
    for (const KeyInfo &info : kKeys) {
        const bool clicked = info.key == Key::Tel || (info.key == Key::TelS1 && noticeClicked);
        if ((clicked || (firstRun && info.firstRunDefault)) && !after.holdsValidValue(info.key))
            std::abort();
    }
    QFile::remove(path);
    return 0;
}
