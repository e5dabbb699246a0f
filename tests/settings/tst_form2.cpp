#include "platform/translations.h"
#include "settings/form2.h"
#include "settings/swatch.h"
#include "support/child.h"
#include "support/clockfixture.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QMessageBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

namespace {
const QColor kRed(255, 0, 0), kGreen(0, 255, 0), kBlack(0, 0, 0), kLightBlue(128, 128, 255);

// Stored sp1 sp2 sp2i tel tel_s1 tel_s2 mode.
void seedSwitches(TempStore &temp, const QString &values)
{
    const QStringList v = values.split(QLatin1Char(' '));
    const Key keys[] = {Key::Sp1, Key::Sp2, Key::Sp2i, Key::Tel, Key::TelS1, Key::TelS2, Key::Mode};
    temp.seedDefaults();
    std::vector<std::pair<Key, QString>> entries;
    for (int i = 0; i < 7; ++i)
        entries.emplace_back(keys[i], v[i]);
    temp.seed(entries);
}

QString storedSwitches(const TempStore &temp)
{
    QStringList v;
    for (const Key key : {Key::Sp1, Key::Sp2, Key::Sp2i, Key::Tel, Key::TelS1, Key::TelS2, Key::Mode})
        v << temp.read(key);
    return v.join(QLatin1Char(' '));
}

QString flags(const Form2 &d, std::initializer_list<const char *> names)
{
    QString s;
    for (const char *name : names)
        s += child<QWidget>(&d, name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

// Check boxes (0 clear, 1 ticked, 2 grey), the selected option of each pair, and the
// enabled flags of the Sunday group and of the Telehodai group.
QString controlState(const Form2 &d)
{
    QString checks;
    for (const char *name : {"Check1", "Check2", "Check3", "Check4", "Check5"}) {
        const Qt::CheckState state = child<QCheckBox>(&d, name)->checkState();
        checks += QString::number(state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0);
    }
    const QString options = QString(child<QRadioButton>(&d, "Option1")->isChecked() ? QLatin1Char('1') : QLatin1Char('2'))
                            + (child<QRadioButton>(&d, "Option3")->isChecked() ? QLatin1Char('3') : QLatin1Char('4'));
    return checks + QLatin1Char(' ') + options + QLatin1Char(' ')
           + flags(d, {"Frame3", "Option1", "Option2", "Label3", "Command4"}) + QLatin1Char(' ')
           + flags(d, {"Frame4", "Check4", "Check5", "Option3", "Option4", "Label4", "Command5"});
}

// The dialog on its own, shown as the clock shows it; spies stand in for the clock.
struct DialogFixture : ClockFixture {
    std::unique_ptr<Form2> dialog;
    std::unique_ptr<QSignalSpy> adjustment, background;
    Form2 &openDialog()
    {
        dialog = std::make_unique<Form2>(temp.store(), fake.colourPicker);
        adjustment = std::make_unique<QSignalSpy>(dialog.get(), &Form2::adjustmentEnabledChanged);
        background = std::make_unique<QSignalSpy>(dialog.get(), &Form2::backColourChanged);
        dialog->show();
        return *dialog;
    }
    QColor lastBackground() const { return background->isEmpty() ? QColor() : background->last().at(0).value<QColor>(); }
};
} // namespace

class TestForm2 : public QObject
{
    Q_OBJECT
private slots:
    void startUpShowsTheStore_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("storedAfter");
        QTest::newRow("first-run defaults") << "1 0 0 0 1 0 0" << "10010 13 00000 0000000" << "1 0 0 0 1 0 0";
        QTest::newRow("Sunday scope kept while Sunday colouring is off") << "1 0 1 0 1 0 0" << "10010 23 00000 0000000"
                                                                        << "1 0 1 0 1 0 0";
        QTest::newRow("notice off: all text, notice-only disabled") << "0 1 0 1 0 1 0" << "01100 14 11111 1110111"
                                                                   << "0 1 0 1 0 1 0";
        QTest::newRow("everything on, notice only") << "1 1 1 1 1 0 1" << "11111 23 11111 1111111" << "1 1 1 1 1 0 1";
        QTest::newRow("counter chosen, Telehodai off") << "1 0 0 0 1 0 1" << "10011 13 00000 0000000"
                                                      << "1 0 0 0 1 0 1";
        QTest::newRow("notice off with notice-only scope is repaired") << "1 0 0 1 0 0 0" << "10100 14 00000 1110111"
                                                                      << "1 0 0 1 0 1 0";
    }
    void startUpShowsTheStore()
    {
        QFETCH(QString, stored);
        QFETCH(QString, state);
        QFETCH(QString, storedAfter);
        DialogFixture f;
        seedSwitches(f.temp, stored);
        Form2 &dialog = f.openDialog();
        QCOMPARE(controlState(dialog), state);
        QCOMPARE(storedSwitches(f.temp), storedAfter);
        QCOMPARE(child<QTabWidget>(&dialog, "SSTab1")->currentIndex(), 1);

        // Opening again shows the same and changes nothing more.
        f.openDialog();
        QCOMPARE(controlState(*f.dialog), state);
        QCOMPARE(storedSwitches(f.temp), storedAfter);
    }

    void startUpPaintsTheStoredColours()
    {
        DialogFixture f;
        f.temp.seedDefaults();
        f.temp.seed({{Key::ColorB, QStringLiteral("255")}, {Key::ColorTel, QStringLiteral("purple")}});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("color_tel: 「purple」")));
        Form2 &dialog = f.openDialog();
        QCOMPARE(child<Swatch>(&dialog, "Shape1")->fill(), kRed);
        QCOMPARE(child<Swatch>(&dialog, "Shape2")->fill(), kGreen);
        QCOMPARE(child<Swatch>(&dialog, "Shape3")->fill(), kRed);
        QCOMPARE(child<Swatch>(&dialog, "Shape4")->fill(), kLightBlue); // unreadable: the design fill stays
        const auto *swatch = child<Swatch>(&dialog, "Shape1"); // filled, not showing the dialog's grey
        const QImage painted = swatch->parentWidget()->grab(swatch->geometry()).toImage();
        QCOMPARE(painted.pixelColor(painted.rect().center()), kRed);
    }

    void timeSignalSwitchActsOnTheClockAtOnce()
    {
        DialogFixture f;
        f.temp.seedDefaults();
        Form2 &dialog = f.openDialog();
        QString storedWhenAnnounced;
        connect(&dialog, &Form2::adjustmentEnabledChanged, &dialog, [&] { storedWhenAnnounced = f.temp.read(Key::Sp1); });
        child<QCheckBox>(&dialog, "Check1")->click();
        QCOMPARE(storedWhenAnnounced, QStringLiteral("1")); // the spot follows first, then the store
        QCOMPARE(f.adjustment->size(), 1);
        QCOMPARE(f.adjustment->last().at(0).toBool(), false);
        QCOMPARE(f.temp.read(Key::Sp1), QStringLiteral("0"));
        child<QCheckBox>(&dialog, "Check1")->click();
        QCOMPARE(f.adjustment->last().at(0).toBool(), true);
        QCOMPARE(f.temp.read(Key::Sp1), QStringLiteral("1"));
    }

    void sundaySwitchKeepsTheScopeWhileOff()
    {
        DialogFixture f;
        seedSwitches(f.temp, QStringLiteral("1 0 1 0 1 0 0"));
        Form2 &dialog = f.openDialog();
        child<QCheckBox>(&dialog, "Check2")->click();
        QCOMPARE(controlState(dialog).section(QLatin1Char(' '), 2, 2), QStringLiteral("11111"));
        QVERIFY(child<QRadioButton>(&dialog, "Option2")->isChecked());
        child<QCheckBox>(&dialog, "Check2")->click();
        QCOMPARE(controlState(dialog).section(QLatin1Char(' '), 2, 2), QStringLiteral("00000"));
        QCOMPARE(storedSwitches(f.temp), QStringLiteral("1 0 1 0 1 0 0"));
        child<QCheckBox>(&dialog, "Check2")->click();
        child<QCheckBox>(&dialog, "Check2")->setCheckState(Qt::PartiallyChecked); // as a hand-edited "2" shows
        QCOMPARE(controlState(dialog).section(QLatin1Char(' '), 2, 2), QStringLiteral("00000"));
    }

    void telehodaiSwitchEnablesNoticeOnlyWhenNoticeIsOn()
    {
        DialogFixture f;
        seedSwitches(f.temp, QStringLiteral("1 0 0 0 0 1 0"));
        Form2 &dialog = f.openDialog();
        child<QCheckBox>(&dialog, "Check3")->click();
        QCOMPARE(controlState(dialog), QStringLiteral("10100 14 00000 1110111"));
        QCOMPARE(f.temp.read(Key::Tel), QStringLiteral("1"));
        child<QCheckBox>(&dialog, "Check3")->click();
        QCOMPARE(controlState(dialog), QStringLiteral("10000 14 00000 0000000"));
    }

    void turningTelehodaiOffKeepsTheCounterChoice()
    {
        DialogFixture f;
        seedSwitches(f.temp, QStringLiteral("1 0 0 1 1 0 1"));
        f.openAt(QDateTime(QDate(2026, 12, 7), QTime(3, 0)));
        QCOMPARE(f.shown(), QStringLiteral("2026 12 07 月 05 00 00"));
        Form2 &dialog = f.openDialog();
        child<QCheckBox>(&dialog, "Check3")->click();
        QCOMPARE(child<QCheckBox>(&dialog, "Check5")->checkState(), Qt::Checked);
        QCOMPARE(storedSwitches(f.temp), QStringLiteral("1 0 0 0 1 0 1"));
        f.tickAt(QDateTime(QDate(2026, 12, 7), QTime(3, 0, 1)));
        QCOMPARE(f.shown(), QStringLiteral("2026 12 07 月 03 00 01"));
    }

    void clearingTheNoticeForcesAllText_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("notice text only was selected") << "1 0 0 1 1 0 0";
        QTest::newRow("all text was selected") << "1 0 0 1 1 1 0";
    }
    void clearingTheNoticeForcesAllText()
    {
        QFETCH(QString, stored);
        DialogFixture f;
        seedSwitches(f.temp, stored);
        Form2 &dialog = f.openDialog();
        child<QCheckBox>(&dialog, "Check4")->click();
        QVERIFY(!child<QRadioButton>(&dialog, "Option3")->isEnabled());
        QVERIFY(child<QRadioButton>(&dialog, "Option4")->isChecked());
        QCOMPARE(f.temp.read(Key::TelS1), QStringLiteral("0"));
        QCOMPARE(f.temp.read(Key::TelS2), QStringLiteral("1"));

        child<QCheckBox>(&dialog, "Check4")->click();
        QVERIFY(child<QRadioButton>(&dialog, "Option3")->isEnabled());
        QVERIFY(child<QRadioButton>(&dialog, "Option4")->isChecked());
        QCOMPARE(f.temp.read(Key::TelS1), QStringLiteral("1"));
        QCOMPARE(f.temp.read(Key::TelS2), QStringLiteral("1"));
    }

    void optionGroupsAreIndependent()
    {
        DialogFixture f;
        seedSwitches(f.temp, QStringLiteral("1 1 0 1 1 0 0"));
        Form2 &dialog = f.openDialog();
        child<QRadioButton>(&dialog, "Option2")->click();
        QVERIFY(child<QRadioButton>(&dialog, "Option3")->isChecked());
        QCOMPARE(f.temp.read(Key::Sp2i), QStringLiteral("1"));
        QCOMPARE(f.temp.read(Key::TelS2), QStringLiteral("0"));
        child<QRadioButton>(&dialog, "Option4")->click();
        QVERIFY(child<QRadioButton>(&dialog, "Option2")->isChecked());
        QCOMPARE(f.temp.read(Key::TelS2), QStringLiteral("1"));
        child<QRadioButton>(&dialog, "Option3")->click();
        QCOMPARE(f.temp.read(Key::TelS2), QStringLiteral("0"));
        QCOMPARE(f.temp.read(Key::Sp2i), QStringLiteral("1"));
        child<QRadioButton>(&dialog, "Option4")->click();
        child<QRadioButton>(&dialog, "Option1")->click();
        QCOMPARE(f.temp.read(Key::Sp2i), QStringLiteral("0"));
        QVERIFY(child<QRadioButton>(&dialog, "Option4")->isChecked());
    }

    // Clicked as a person clicks: the clock follows on its next tick.
    void clickedSwitchReachesTheClock()
    {
        DialogFixture f;
        f.temp.seedDefaults();
        f.temp.seed({{Key::Sp2i, QStringLiteral("1")}});
        const QDate sunday(2026, 12, 6);
        f.openAt(QDateTime(sunday, QTime(12, 0)));
        Form2 &dialog = f.openDialog();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        child<QTabWidget>(&dialog, "SSTab1")->setCurrentIndex(0);
        QTest::mouseClick(child<QCheckBox>(&dialog, "Check2"), Qt::LeftButton, {}, QPoint(8, child<QCheckBox>(&dialog, "Check2")->height() / 2));
        QCOMPARE(f.temp.read(Key::Sp2), QStringLiteral("1"));
        f.tickAt(QDateTime(sunday, QTime(12, 0, 1)));
        QCOMPARE(textColour(child<QLabel>(f.form.get(), "Label1")), kRed);
    }

    void chosenColourIsShownSavedAndUsed()
    {
        DialogFixture f;
        f.temp.seedDefaults();
        f.openAt(QDateTime(QDate(2026, 12, 7), QTime(12, 0)));
        Form2 &dialog = f.openDialog();
        f.fake.colourPicker.replies = {kRed};
        child<QPushButton>(&dialog, "Command3")->click();
        QCOMPARE(child<Swatch>(&dialog, "Shape2")->fill(), kRed);
        QCOMPARE(f.temp.read(Key::ColorF), QStringLiteral("255"));
        QVERIFY(f.background->isEmpty());
        f.tickAt(QDateTime(QDate(2026, 12, 7), QTime(12, 0, 1)));
        QCOMPARE(textColour(child<QLabel>(f.form.get(), "Label1")), kRed);
    }

    void backgroundColourReachesTheClockAtOnce()
    {
        DialogFixture f;
        f.temp.seedDefaults();
        Form2 &dialog = f.openDialog();
        f.fake.colourPicker.replies = {QColor(0, 0, 128)};
        child<QPushButton>(&dialog, "Command2")->click();
        QCOMPARE(f.background->size(), 1);
        QCOMPARE(f.lastBackground(), QColor(0, 0, 128));
        QCOMPARE(f.temp.read(Key::ColorB), QStringLiteral("8388608"));
    }

    // A cancel must not turn the colour black, nor anything else.
    void cancelChangesNothing_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("background") << 2;
        QTest::newRow("text") << 3;
    }
    void cancelChangesNothing()
    {
        QFETCH(int, button);
        DialogFixture f;
        f.temp.seedDefaults();
        f.temp.seed({{Key::ColorB, QStringLiteral("8421504")}, {Key::ColorF, QStringLiteral("65535")}});
        Form2 &dialog = f.openDialog();
        const QByteArray before = f.temp.rawText();
        (button == 2 ? child<QPushButton>(&dialog, "Command2") : child<QPushButton>(&dialog, "Command3"))->click();
        QCOMPARE(f.fake.colourPicker.initialColours.size(), 1);
        QCOMPARE(f.temp.rawText(), before);
        QCOMPARE(child<Swatch>(&dialog, "Shape1")->fill(), QColor(128, 128, 128));
        QCOMPARE(child<Swatch>(&dialog, "Shape2")->fill(), QColor(255, 255, 0));
        QVERIFY(f.background->isEmpty());
    }

    // The real colour dialog, in Japanese, and a cancel that leaves every colour as it was.
    void realColourDialogSpeaksJapaneseAndCancelKeepsTheColours()
    {
        QLocale::setDefault(QLocale(QLocale::Japanese));
        installTranslations(*QCoreApplication::instance());
        TempStore temp;
        temp.seedDefaults();
        temp.seed({{Key::ColorF, QStringLiteral("65535")}});
        DialogColourPicker picker;
        Form2 dialog(temp.store(), picker);
        dialog.show();
        const QByteArray before = temp.rawText();
        QString title;
        QTimer::singleShot(0, &dialog, [&] {
            if (auto *colours = qobject_cast<QColorDialog *>(QApplication::activeModalWidget())) {
                title = colours->windowTitle();
                colours->reject();
            }
        });
        child<QPushButton>(&dialog, "Command3")->click();
        QVERIFY(!title.isEmpty());
        QCOMPARE(title, QCoreApplication::translate("QColorDialog", "Select Color"));
        QVERIFY2(title != QLatin1String("Select Color"), "Qt's Japanese texts are not loaded");
        QCOMPARE(temp.rawText(), before);
        QCOMPARE(child<Swatch>(&dialog, "Shape2")->fill(), QColor(255, 255, 0));
    }

    void colourDialogStartsFromTheLastChoice()
    {
        DialogFixture f;
        seedSwitches(f.temp, QStringLiteral("1 1 0 1 1 0 0"));
        Form2 &dialog = f.openDialog();
        f.fake.colourPicker.replies = {kGreen, std::nullopt};
        child<QPushButton>(&dialog, "Command3")->click();
        child<QPushButton>(&dialog, "Command5")->click();
        QCOMPARE(f.fake.colourPicker.initialColours, (QList<QColor>{kBlack, kGreen}));
        QCOMPARE(child<Swatch>(&dialog, "Shape4")->fill(), kLightBlue);
        QCOMPARE(f.temp.read(Key::ColorTel), QStringLiteral("16744576"));

        child<QPushButton>(&dialog, "Command1")->click();
        f.openDialog();
        child<QPushButton>(f.dialog.get(), "Command2")->click();
        QCOMPARE(f.fake.colourPicker.initialColours.last(), kBlack);
    }

    void disabledColourButtonsTakeNoClick()
    {
        DialogFixture f;
        f.temp.seedDefaults();
        Form2 &dialog = f.openDialog();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        child<QTabWidget>(&dialog, "SSTab1")->setCurrentIndex(0);
        QTest::mouseClick(child<QPushButton>(&dialog, "Command4"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(&dialog, "Command5"), Qt::LeftButton);
        QVERIFY(f.fake.colourPicker.initialColours.isEmpty());
    }

    void resetRestoresTheFourColoursOnly()
    {
        DialogFixture f;
        seedSwitches(f.temp, QStringLiteral("0 1 1 1 0 1 1"));
        f.temp.seed({{Key::ColorB, QStringLiteral("123")}, {Key::ColorF, QStringLiteral("456")},
                     {Key::ColorS, QStringLiteral("789")}, {Key::ColorTel, QStringLiteral("1011")}});
        Form2 &dialog = f.openDialog();
        child<QPushButton>(&dialog, "Command6")->click();
        QCOMPARE(child<Swatch>(&dialog, "Shape1")->fill(), kBlack);
        QCOMPARE(child<Swatch>(&dialog, "Shape2")->fill(), kGreen);
        QCOMPARE(child<Swatch>(&dialog, "Shape3")->fill(), kRed);
        QCOMPARE(child<Swatch>(&dialog, "Shape4")->fill(), kLightBlue);
        QCOMPARE(f.temp.read(Key::ColorB), QStringLiteral("0"));
        QCOMPARE(f.temp.read(Key::ColorF), QStringLiteral("65280"));
        QCOMPARE(f.temp.read(Key::ColorS), QStringLiteral("255"));
        QCOMPARE(f.temp.read(Key::ColorTel), QStringLiteral("16744576"));
        QCOMPARE(f.background->size(), 1);
        QCOMPARE(f.lastBackground(), kBlack);
        QCOMPARE(storedSwitches(f.temp), QStringLiteral("0 1 1 1 0 1 1"));
    }

    // Told once, in Japanese, over the dialog; each click still takes effect in memory.
    void refusedSaveIsToldOnce()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("ravelquint")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        SettingsStore store(dir.filePath(QStringLiteral("ravelquint/ravelquint.conf")));
        FakeColourPicker picker;
        Form2 dialog(store, picker);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("設定を保存できません")));
        dialog.show(); // start-up rewrites what it read: nothing the user changed, so no message yet
        QVERIFY(dialog.findChildren<QMessageBox *>(QStringLiteral("SaveRefused")).isEmpty());
        child<QCheckBox>(&dialog, "Check3")->click();
        child<QCheckBox>(&dialog, "Check2")->click();
        const auto boxes = dialog.findChildren<QMessageBox *>(QStringLiteral("SaveRefused"));
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes.first()->text().contains(store.filePath()), qPrintable(boxes.first()->text()));
        QVERIFY(boxes.first()->text().contains(QStringLiteral("プログラムを終了するまで有効")));
        QCOMPARE(store.switchValue(Key::Tel), qint16(1));
        QCOMPARE(store.switchValue(Key::Sp2), qint16(1));
    }

    void onlyOkAndTheCloseButtonCloseIt_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("Enter") << int(Qt::Key_Return);
    }
    void onlyOkAndTheCloseButtonCloseIt()
    {
        QFETCH(int, key);
        DialogFixture f;
        f.temp.seedDefaults();
        Form2 &dialog = f.openDialog();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        child<QTabWidget>(&dialog, "SSTab1")->setCurrentIndex(0);
        child<QCheckBox>(&dialog, "Check2")->setFocus();
        QTest::keyClick(&dialog, Qt::Key(key));
        QVERIFY(dialog.isVisible());
        child<QPushButton>(&dialog, "Command1")->setFocus();
        QTest::keyClick(child<QPushButton>(&dialog, "Command1"), Qt::Key(key));
        QVERIFY(dialog.isVisible());
        QTest::mouseClick(child<QPushButton>(&dialog, "Command1"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }

    void tabKeyVisitsTheControlsInOrder()
    {
        DialogFixture f;
        seedSwitches(f.temp, QStringLiteral("1 1 0 1 1 0 1"));
        Form2 &dialog = f.openDialog();
        QList<QWidget *> expected;
        for (const char *name : {"SSTab1", "Command1", "Command2", "Command3", "Command4", "Command5", "Check1", "Check2",
                                 "Option1", "Option2", "Check3", "Check4", "Option3", "Option4", "Command6", "Check5"})
            expected << child<QWidget>(&dialog, name);
        QList<QWidget *> visited;
        QWidget *w = child<QTabWidget>(&dialog, "SSTab1");
        do {
            if (expected.contains(w) && !visited.contains(w))
                visited << w;
            w = w->nextInFocusChain();
        } while (w != child<QTabWidget>(&dialog, "SSTab1"));
        QCOMPARE(visited, expected);
    }

    void windowDesign()
    {
        // A style whose pages are lighter than the button face, as the default one on a desktop.
        const QPalette before = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
        QApplication::setPalette(QPalette(before.color(QPalette::Button), Qt::white));
        DialogFixture f;
        Form2 &dialog = f.openDialog();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("information"));
        QCOMPARE(dialog.size(), QSize(363, 368));
        QCOMPARE(child<QTabWidget>(&dialog, "SSTab1")->tabText(0), QStringLiteral("設定"));
        QCOMPARE(child<QTabWidget>(&dialog, "SSTab1")->tabText(1), QStringLiteral("バージョン情報"));
        QVERIFY(!child<QLabel>(&dialog, "Label8")->text().isEmpty());
        const QLabel *motto = child<QLabel>(&dialog, "Label9");
        QVERIFY(motto->autoFillBackground() && motto->backgroundRole() == QPalette::Button);
        QVERIFY(!child<QLabel>(&dialog, "Label7")->autoFillBackground());
        QCOMPARE(child<Swatch>(&dialog, "Shape3")->accessibleName(), QStringLiteral("日曜特別色"));
        const QAccessibleInterface *check = QAccessible::queryAccessibleInterface(child<QCheckBox>(&dialog, "Check5"));
        QCOMPARE(check->text(QAccessible::Name), QStringLiteral("テレホカウンター"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // No band behind the motto: the page is the button face it is drawn in.
        const QImage page = motto->parentWidget()->grab().toImage();
        QCOMPARE(page.pixelColor(motto->geometry().bottomRight() + QPoint(2, 2)), page.pixelColor(motto->geometry().topLeft() + QPoint(1, 1)));
        // Page controls are measured from the tab control's corner, tab strip included.
        QCOMPARE(child<QLabel>(&dialog, "Label5")->mapTo(child<QTabWidget>(&dialog, "SSTab1"), QPoint()), QPoint(40, 56));
        child<QTabWidget>(&dialog, "SSTab1")->setCurrentIndex(0);
        QCOMPARE(child<QGroupBox>(&dialog, "Frame2")->mapTo(child<QTabWidget>(&dialog, "SSTab1"), QPoint()), QPoint(168, 32));
        QCOMPARE(child<QCheckBox>(&dialog, "Check2")->geometry(), QRect(16, 40, 89, 25));
    }
};

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
