#include "store/storedtext.h"

#include <QTest>

class TestStoredText : public QObject
{
    Q_OBJECT
private slots:
    void switches_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("off") << "0" << true << 0;
        QTest::newRow("on") << "1" << true << 1;
        QTest::newRow("grey state") << "2" << true << 2;
        QTest::newRow("negative") << "-1" << true << -1;
        QTest::newRow("largest 16-bit") << "32767" << true << 32767;
        QTest::newRow("smallest 16-bit") << "-32768" << true << -32768;
        QTest::newRow("past 16 bits") << "32768" << false << 0;
        QTest::newRow("empty (missing key)") << "" << false << 0;
        QTest::newRow("word") << "yes" << false << 0;
        QTest::newRow("fraction") << "1.5" << false << 0;
        QTest::newRow("hex") << "0x1" << false << 0;
        QTest::newRow("trailing junk") << "1;" << false << 0;
    }
    void switches()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const auto converted = storedtext::toSwitch(text);
        QCOMPARE(converted.has_value(), valid);
        if (valid)
            QCOMPARE(int(*converted), value);
    }

    void colours_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("black") << "0" << QColor(0, 0, 0);
        QTest::newRow("green") << "65280" << QColor(0, 255, 0);
        QTest::newRow("red is the low byte") << "255" << QColor(255, 0, 0);
        QTest::newRow("light blue") << "16744576" << QColor(128, 128, 255);
        QTest::newRow("white") << "16777215" << QColor(255, 255, 255);
        QTest::newRow("past 24 bits") << "16777216" << QColor();
        QTest::newRow("negative") << "-1" << QColor();
        QTest::newRow("empty") << "" << QColor();
        QTest::newRow("name") << "red" << QColor();
        QTest::newRow("huge") << "99999999999999999999" << QColor();
    }
    void colours()
    {
        QFETCH(QString, text);
        QFETCH(QColor, colour);
        const auto converted = storedtext::toColour(text);
        QCOMPARE(converted.has_value(), colour.isValid());
        if (converted) {
            QCOMPARE(*converted, colour);
            QCOMPARE(storedtext::fromColour(*converted), text);
        }
    }

    void positions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<float>("twips");
        QTest::newRow("whole") << "1500" << true << 1500.f;
        QTest::newRow("left of the primary screen") << "-1500" << true << -1500.f;
        QTest::newRow("fraction") << "1234.5" << true << 1234.5f;
        QTest::newRow("far right, in plain digits") << "300000" << true << 300000.f;
        QTest::newRow("empty") << "" << false << 0.f;
        QTest::newRow("word") << "top" << false << 0.f;
        QTest::newRow("not a number") << "nan" << false << 0.f;
        QTest::newRow("infinite") << "inf" << false << 0.f;
        QTest::newRow("beyond any screen") << "1e30" << false << 0.f;
    }
    void positions()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(float, twips);
        const auto converted = storedtext::toPosition(text);
        QCOMPARE(converted.has_value(), valid);
        if (valid) {
            QCOMPARE(*converted, twips);
            QCOMPARE(storedtext::fromPosition(*converted), text);
        }
    }
};

QTEST_GUILESS_MAIN(TestStoredText)
#include "tst_storedtext.moc"
