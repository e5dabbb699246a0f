#include "store/settingsstore.h"
#include "support/tempstore.h"

#include <QFile>
#include <QSaveFile>
#include <QTest>

class TestSettingsStore : public QObject
{
    Q_OBJECT
private slots:
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

    void livesUnderTheUsersConfigFolder()
    {
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        QCOMPARE(SettingsStore::defaultFilePath(), home.filePath(QStringLiteral("ravelquint/ravelquint.conf")));
    }

    void writesPlainTextThatIsOnDiskAtOnce()
    {
        TempStore temp;
        temp.store().SaveSetting(Key::ColorTel, QStringLiteral("16744576"));
        temp.store().SaveSetting(Key::Left, QStringLiteral("-1500"));
        const QByteArray text = temp.rawText();
        QVERIFY2(text.contains("[color]\ncolor_tel=16744576\n"), text.constData());
        QVERIFY2(text.contains("[info]\nleft=-1500\n"), text.constData());
        QVERIFY(!text.contains("@Variant"));
    }

    void unwritableFileIsReportedOnceAndValuesStillServe()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("not-a-folder")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        SettingsStore store(dir.filePath(QStringLiteral("not-a-folder/ravelquint.conf")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot write the settings file")));
        store.SaveSetting(Key::Tel, QStringLiteral("1"));
        store.SaveSetting(Key::Mode, QStringLiteral("1"));
        QCOMPARE(store.GetSwitch(Key::Tel), qint16(1));
    }

    // A file cut off mid-write by another program reads as far as it goes and is then
    // written whole again.
    void tornFileIsReadAsFarAsItGoes()
    {
        TempStore temp;
        temp.writeRaw("[setup]\ntel=1\nmode=1\n[col");
        QCOMPARE(temp.store().GetSwitch(Key::Tel), qint16(1));
        QCOMPARE(temp.store().GetSwitch(Key::Mode), qint16(1));
        temp.store().SaveSetting(Key::Sp2, QStringLiteral("1"));
        QCOMPARE(temp.read(Key::Tel), QStringLiteral("1"));
        QCOMPARE(temp.read(Key::Sp2), QStringLiteral("1"));
    }

    void missingEntryReadsAsTheGivenDefault()
    {
        TempStore temp;
        QCOMPARE(temp.store().GetSetting(Key::Start, QStringLiteral("0")), QStringLiteral("0"));
        QCOMPARE(temp.store().GetSetting(Key::Top), QString());
    }

    void seesAnotherProcessWriteAfterRefresh()
    {
        TempStore temp;
        temp.seed({{Key::Tel, QStringLiteral("0")}});
        QCOMPARE(temp.store().GetSwitch(Key::Tel), qint16(0));

        QSaveFile edit(temp.path());
        QVERIFY(edit.open(QIODevice::WriteOnly));
        edit.write("[setup]\ntel=1\nmode=1\n");
        QVERIFY(edit.commit());
        temp.store().Refresh();
        QCOMPARE(temp.store().GetSwitch(Key::Tel), qint16(1));
        QCOMPARE(temp.store().GetSwitch(Key::Mode), qint16(1));
    }

    void writeKeepsWhatAnotherProcessWroteMeanwhile()
    {
        TempStore temp;
        temp.seed({{Key::Sp2, QStringLiteral("0")}});
        QSaveFile edit(temp.path());
        QVERIFY(edit.open(QIODevice::WriteOnly));
        edit.write("[setup]\nsp2=1\ntel=1\n");
        QVERIFY(edit.commit());
        temp.store().SaveSetting(Key::Mode, QStringLiteral("1"));
        QCOMPARE(temp.read(Key::Tel), QStringLiteral("1"));
        QCOMPARE(temp.read(Key::Sp2), QStringLiteral("1"));
        QCOMPARE(temp.read(Key::Mode), QStringLiteral("1"));
    }

    void badSwitchReadsAsItsDefaultAndIsReportedOnce_data()
    {
        QTest::addColumn<Key>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("word in sp1") << Key::Sp1 << "on" << 1;
        QTest::newRow("too large for tel") << Key::Tel << "70000" << 0;
        QTest::newRow("empty tel_s1") << Key::TelS1 << "" << 1;
        QTest::newRow("garbled marker") << Key::Start << "1x" << 0;
    }
    void badSwitchReadsAsItsDefaultAndIsReportedOnce()
    {
        QFETCH(Key, key);
        QFETCH(QString, text);
        QFETCH(int, value);
        TempStore temp;
        temp.seed({{key, text}});
        const QString name = QLatin1String(keyInfo(key).name);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("\\[%1\\] %2 holds \"%3\"")
                                                                  .arg(QLatin1String(keyInfo(key).section), name,
                                                                       QRegularExpression::escape(text))));
        QCOMPARE(int(temp.store().GetSwitch(key)), value);
        QCOMPARE(int(temp.store().GetSwitch(key)), value); // reported once: a second line would fail
    }

    void missingMarkerIsAFirstRunNotAFault() { TempStore temp; QCOMPARE(temp.store().GetSwitch(Key::Start), qint16(0)); }

    void badColourReadsAsNothing()
    {
        TempStore temp;
        temp.seed({{Key::ColorF, QStringLiteral("-5")}});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("color_f holds \"-5\".*left unchanged")));
        QVERIFY(!temp.store().GetColour(Key::ColorF).has_value());
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
