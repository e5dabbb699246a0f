#include "clock/form1.h"

#include "clock/clocklabel.h"
#include "clock/contextmenu.h"
#include "clock/listenbox.h"
#include "clock/mousetarget.h"
#include "clock/recordwindow.h"
#include "clock/timesignalprompts.h"
#include "clock/walltimer.h"
#include "clock/windowplace.h"
#include "core/displaymode.h"
#include "core/holidays.h"
#include "core/nightband.h"
#include "keeping/clockkeeper.h"
#include "keeping/hourlylistening.h"
#include "keeping/listener.h"
#include "settings/form2.h"
#include "store/settingsstore.h"
#include "widgets/appicon.h"
#include "widgets/twips.h"
#include "widgets/warning.h"

#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>
#include <array>
#include <utility>

namespace {

constexpr TwipRect kClientArea{0, 0, 3375, 1140};
const QString kNoticeCaption = QStringLiteral("テレホーダイ終了まで");
const QString kWeekdayKanji[] = {QStringLiteral("日"), QStringLiteral("月"), QStringLiteral("火"),
                                 QStringLiteral("水"), QStringLiteral("木"), QStringLiteral("金"),
                                 QStringLiteral("土")};
// For a screen reader, in the user's language: the face itself is Japanese in every one.
const char *const kWeekdayNames[] = {QT_TRANSLATE_NOOP("Form1", "日曜日"), QT_TRANSLATE_NOOP("Form1", "月曜日"),
                                     QT_TRANSLATE_NOOP("Form1", "火曜日"), QT_TRANSLATE_NOOP("Form1", "水曜日"),
                                     QT_TRANSLATE_NOOP("Form1", "木曜日"), QT_TRANSLATE_NOOP("Form1", "金曜日"),
                                     QT_TRANSLATE_NOOP("Form1", "土曜日")};

// Formatted once: the captions are redrawn ten times a second.
QString twoDigits(int n)
{
    static const auto table = [] {
        std::array<QString, 100> texts;
        for (int i = 0; i < 100; ++i)
            texts[i] = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
        return texts;
    }();
    return n >= 0 && n < 100 ? table[n] : QString::number(n);
}

// Paint::Keep leaves the label as it is.
void setTextColour(ClockLabel *label, const std::optional<QColor> &colour)
{
    if (colour)
        label->setTextColour(*colour);
}

} // namespace

Form1::Form1(SettingsStore &store, Platform platform, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      m_store(store), m_platform(platform)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Ravelquint"));
    // Reading the icon loads the image plugins: the first paint need not wait for them.
    QTimer::singleShot(0, this, [this] { setWindowIcon(appIcon()); });
    setFixedSize(pixelRect(kClientArea).size());
    setAutoFillBackground(true);
    setBackColour(Qt::black);
    buildLayout();

    Timer1 = new WallTimer(m_platform.clock, kTimerIntervalMs, this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &WallTimer::timeout, this, &Form1::Timer1_Timer);
    connect(Label16, &MouseTarget::doubleClicked, this, &Form1::Label16_DblClick);
    connect(Label17, &MouseTarget::clicked, this, &Form1::Label17_Click);

    m_menu = new ContextMenu(this, Label17, m_store, m_platform);
    connect(m_menu, &ContextMenu::settingsRequested, this, &Form1::Label16_DblClick);
    connect(m_menu, &ContextMenu::timeSignalRequested, this, &Form1::Label17_Click);
    connect(m_menu, &ContextMenu::listenRequested, this, &Form1::listenToTimeSignal);
    connect(m_menu, &ContextMenu::onTopChanged, this, &Form1::setStaysOnTop);
    m_place = new WindowPlace(*this, m_store, m_platform.placesWindows);
    m_keeper = new ClockKeeper(m_platform.clock, m_platform.timeSetter, this);
    connect(m_keeper, &ClockKeeper::adjusted, this, &Form1::showAdjustment);
    new TimeSignalPrompts(m_keeper, this);
    const auto makeEar = [this](std::chrono::milliseconds limit) -> Ear * {
        return new Listener(m_platform.audioCapture, m_platform.clock, limit);
    };
    m_hourly = new HourlyListening(makeEar, m_platform.clock, m_platform.alarm, *m_keeper, this);
    const auto retip = [this] {
        m_tipStale = true;
        updateTip();
    };
    connect(m_hourly, &HourlyListening::listeningChanged, this, retip);
    connect(m_keeper, &ClockKeeper::published, this, retip);
    connect(m_menu, &ContextMenu::hourlyChanged, this, &Form1::switchHourly);
    connect(m_menu, &ContextMenu::recordRequested, this, &Form1::openRecord);

    // A session checkpoint, or a logout the user may still cancel, keeps the clock open;
    // the place is saved now in case the session does end.
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, &Form1::savePlace);
        connect(app, &QCoreApplication::aboutToQuit, this, &Form1::Form_Unload);
    }

    Form_Load();
    Timer1->setEnabled(true);
}

void Form1::showEvent(QShowEvent *event)
{
    if (!std::exchange(m_shownOnce, true))
        QTimer::singleShot(0, this, &Form1::startAfterFirstShow);
    QWidget::showEvent(event);
}

// What the first paint need not wait for.
void Form1::startAfterFirstShow()
{
    for (ClockLabel *label : findChildren<ClockLabel *>())
        label->applyDesignFont();
    m_keeper->load();
    switchHourly(m_store.switchValue(Key::Hourly) == 1);
}

void Form1::keepRecord(TimeRecord *record) { m_keeper->keepRecord(record); }

void Form1::switchHourly(bool on)
{
    m_hourly->setEnabled(on);
    m_keeper->setRecordsClicks(on);
    applyCoast();
    m_tipStale = true;
    updateTip();
}

void Form1::switchCoast(bool on)
{
    ContextMenu::saveSwitch(m_store, Key::Coast, on, m_recordWindow);
    applyCoast();
}

// Coasting goes with the hourly listening: it lives on what the radio taught it.
void Form1::applyCoast()
{
    const bool hourly = m_hourly->isEnabled();
    const bool coast = m_store.switchValue(Key::Coast) == 1;
    m_keeper->setCoasting(hourly && coast);
    if (m_recordWindow)
        m_recordWindow->showCoastSwitch(coast, hourly);
}

void Form1::openRecord()
{
    if (!m_recordWindow) {
        m_recordWindow = new RecordWindow(*m_keeper, m_platform.clock, m_platform.timeSetter, this);
        connect(m_recordWindow, &RecordWindow::coastSwitched, this, &Form1::switchCoast);
        applyCoast();
    }
    m_recordWindow->show();
    m_recordWindow->raise();
    m_recordWindow->activateWindow();
}

// Built again only when what it says changed: the colours are applied ten times a second.
void Form1::updateTip()
{
    const QString holiday = Holiday == 1 ? m_holidayName : QString();
    // The error expected now moves on: said afresh each minute while the clock listens.
    if (m_hourly->isEnabled())
        m_tipStale |= std::exchange(m_tipMinute, m_reading.time().minute()) != m_reading.time().minute();
    if (!m_tipStale && holiday == m_tipHoliday)
        return;
    m_tipStale = false;
    m_tipHoliday = holiday;
    setToolTip(faceTip());
}

QString Form1::faceTip() const
{
    QStringList lines;
    if (Holiday == 1 && !m_holidayName.isEmpty())
        lines << m_holidayName;
    if (m_hourly->isListening())
        lines << tr("毎正時の時報を聞いています");
    // The record is the hourly listening's: with it off, the face says nothing of it.
    const knowledge::Knowledge &known = m_keeper->known();
    if (m_hourly->isEnabled() && known.lastMeasurement)
        lines << RecordWindow::measurementText(*known.lastMeasurement) << RecordWindow::driftText(known.estimate)
              << RecordWindow::lastSetText(known, m_reading.toMSecsSinceEpoch());
    return lines.join(QLatin1Char('\n'));
}

void Form1::Form_Load()
{
    m_store.refresh();
    m_reading = m_platform.clock.now();
    const bool firstRun = m_store.switchValue(Key::Start) == 0;
    m_store.writeMissingDefaults(firstRun);
    // Asked for before the first map, so the window manager never shows it any other way.
    if (m_store.switchValue(Key::OnTop) == 1)
        setWindowFlag(Qt::WindowStaysOnTopHint);
    if (!firstRun)
        m_place->restore();

    Sp1 = m_store.switchValue(Key::Sp1);
    Tel = m_store.switchValue(Key::Tel);
    ColorB = m_store.colour(Key::ColorB);
    CounterMode = m_store.switchValue(Key::Mode);
    setBackColour(ColorB);
    setAdjustmentEnabled(Sp1 == 1);
    applyBandTest();
    dispatch();
}

void Form1::Timer1_Timer()
{
    m_store.refresh();
    // The face shows whole seconds, and every zone is whole seconds from UTC: within one
    // second only a change of the settings changes what it shows.
    const qint64 second = m_platform.clock.msecsSinceEpoch() / 1000;
    if (second == m_tickedSecond && m_store.generation() == m_tickedGeneration)
        return;
    m_tickedSecond = second;
    m_tickedGeneration = m_store.generation();
    m_reading = m_platform.clock.now();
    CounterMode = m_store.switchValue(Key::Mode);
    Tel = m_store.switchValue(Key::Tel);
    applyBandTest();
    dispatch();
}

void Form1::applyBandTest() { CounterMode = faceModeFor(Tel, CounterMode, m_reading.time().hour()); }

void Form1::dispatch()
{
    if (CounterMode == 0)
        ShowClock();
    else if (CounterMode == 1)
        ShowTeleCounter();
    else
        m_faceShows = {}; // left as it was: no longer the time of day
}

void Form1::LoadState()
{
    Sp2 = m_store.switchValue(Key::Sp2);
    Sp2i = m_store.switchValue(Key::Sp2i);
    Tel = m_store.switchValue(Key::Tel);
    TelS1 = m_store.switchValue(Key::TelS1);
    TelS2 = m_store.switchValue(Key::TelS2);
    Holiday = m_store.switchValue(Key::Holiday);
    ColorF = m_store.colour(Key::ColorF);
    ColorS = m_store.colour(Key::ColorS);
    ColorTel = m_store.colour(Key::ColorTel);
    sample(m_reading);
}

// Every field comes from one reading, so the display never straddles a second boundary.
void Form1::sample(const QDateTime &reading)
{
    const QDate date = reading.date();
    const QTime time = reading.time();
    NowYear = date.year();
    NowMonth = date.month();
    NowDay = date.day();
    NowWeekday = clockWeekday(date);
    // Worked out only when shown: with holidays off, the first paint need not wait for it.
    if (Holiday == 1 && date != m_holidayDate) {
        m_holidayDate = date;
        const QString name = japaneseHoliday(date);
        m_holidayName = name.isEmpty() ? name : QCoreApplication::translate("holidays", qPrintable(name));
    }
    NowHour = time.hour();
    NowMinute = time.minute();
    NowSecond = time.second();
}

void Form1::ShowClock()
{
    m_countdownShown = false;
    m_faceShows = m_reading;
    LoadState();
    ApplyColors();
    DrawCaptions();
}

void Form1::ShowTeleCounter()
{
    m_countdownShown = true;
    m_faceShows = {};
    LoadState();
    ApplyColors();
    const TimeLeft left = timeLeftUntilBandEnds(m_reading.time());
    NowHour = left.hours;
    NowMinute = left.minutes;
    NowSecond = left.seconds;
    DrawCaptions();
}

qint16 Form1::GetDisplayMode() const
{
    const bool holiday = Holiday == 1 && !m_holidayName.isEmpty();
    return displayModeFor({Sp2, Sp2i, Tel, TelS1, TelS2}, holiday ? kClockSunday : NowWeekday, NowHour);
}

void Form1::ApplyColors()
{
    updateTip();
    const ModeColouring colouring = colouringForMode(GetDisplayMode());
    const auto colourFor = [this](Paint paint) -> std::optional<QColor> {
        switch (paint) {
        case Paint::Normal: return ColorF;
        case Paint::Sunday: return ColorS;
        case Paint::Telehodai: return ColorTel;
        case Paint::Keep: break;
        }
        return std::nullopt;
    };
    if (colouring.notice == NoticeState::Hidden)
        Label15->setVisible(false);
    for (ClockLabel *label : {Label1, Label2, Label3, Label4, Label5, Label6})
        setTextColour(label, colourFor(colouring.values));
    setTextColour(Label7, colourFor(colouring.weekday));
    for (ClockLabel *label : {Label8, Label9, Label10, Label11, Label12, Label13, Label14})
        setTextColour(label, colourFor(colouring.units));
    if (colouring.notice == NoticeState::Shown) {
        setTextColour(Label15, ColorTel);
        Label15->setVisible(true);
    }
}

void Form1::DrawCaptions()
{
    bool changed = Label1->setCaption(QString::number(NowYear));
    changed |= Label2->setCaption(twoDigits(NowMonth));
    changed |= Label3->setCaption(twoDigits(NowDay));
    changed |= drawTimeCaptions();
    Label15->setCaption(kNoticeCaption);
    if (NowWeekday >= 1 && NowWeekday <= 7)
        changed |= Label7->setCaption(kWeekdayKanji[NowWeekday - 1]);
    if (changed)
        describeForAccessibility();
}

bool Form1::drawTimeCaptions()
{
    bool changed = Label4->setCaption(twoDigits(NowHour));
    changed |= Label5->setCaption(twoDigits(NowMinute));
    changed |= Label6->setCaption(twoDigits(NowSecond));
    return changed;
}

// A screen reader reads the window's name: say what the face shows, as a sentence.
void Form1::describeForAccessibility()
{
    // The date's words change once a day; only the time's are put together every second.
    const QString dateShown = Label1->text() + Label2->text() + Label3->text() + QString::number(NowWeekday);
    if (dateShown != m_accessibleDateShown) {
        m_accessibleDateShown = dateShown;
        const QString weekday = NowWeekday >= 1 && NowWeekday <= 7 ? tr(kWeekdayNames[NowWeekday - 1]) : QString();
        m_accessibleDate = tr("%1年%2月%3日 %4 ").arg(Label1->text(), Label2->text(), Label3->text(), weekday);
        m_accessibleTime = tr("%1時%2分%3秒");
        m_accessibleCountdown = tr("テレホーダイ終了まで %1時間%2分%3秒");
    }
    const QString &time = m_countdownShown ? m_accessibleCountdown : m_accessibleTime;
    setAccessibleName(m_accessibleDate + time.arg(Label4->text(), Label5->text(), Label6->text()));
}

// The clock's open questions and warnings go with it; an unanswered question is a no.
// The boxes go first: listening stops and an open question is answered no, so nothing is
// set after the clock has gone.
void Form1::closeEvent(QCloseEvent *event)
{
    for (QDialog *box : findChildren<QDialog *>(Qt::FindDirectChildrenOnly))
        box->close();
    if (m_recordWindow)
        m_recordWindow->close();
    m_hourly->setEnabled(false);
    Form_Unload();
    event->accept();
}

void Form1::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    savePlace();
}

void Form1::savePlace() { m_place->save(); }

void Form1::setAdjustmentEnabled(bool enabled)
{
    Label17->setEnabled(enabled);
    m_keeper->setAdjustmentEnabled(enabled);
    if (m_recordWindow)
        m_recordWindow->refresh();
}

void Form1::setBackColour(const QColor &colour)
{
    QPalette background = palette();
    background.setColor(QPalette::Window, colour);
    setPalette(background);
}

void Form1::Label16_DblClick()
{
    if (hasOpenBox(this))
        return;
    Form2 dialog(m_store, m_platform.colourPicker, this);
    connect(&dialog, &Form2::adjustmentEnabledChanged, this, &Form1::setAdjustmentEnabled);
    connect(&dialog, &Form2::backColourChanged, this, &Form1::setBackColour);
    dialog.exec();
}

void Form1::Label17_Click()
{
    if (!hasOpenBox(this))
        m_keeper->click(m_faceShows);
}

void Form1::listenToTimeSignal()
{
    if (m_keeper->isPending() || findChild<ListenBox *>())
        return;
    m_hourly->standDown(Listener::kDefaultLimit);
    auto *listener = new Listener(m_platform.audioCapture, m_platform.clock);
    new ListenBox(listener, m_keeper, this);
    // After the box, so the box hears the mark before what the keeper makes of it.
    connect(listener, &Listener::heard, m_keeper,
            [this](const Listener::Mark &mark) { m_keeper->correctTo(mark.minute, mark.steady); });
}

bool Form1::isAdjusting() const { return m_keeper->isPending(); }

// A change shows at once, not at the next tick.
void Form1::showAdjustment()
{
    m_faceShows = m_platform.clock.now();
    sample(m_faceShows);
    m_countdownShown = false;
    if (drawTimeCaptions())
        describeForAccessibility();
}

// Through the window, not by re-creating it: no flicker, and the place stays.
void Form1::setStaysOnTop(bool on)
{
    if (QWindow *window = windowHandle())
        window->setFlag(Qt::WindowStaysOnTopHint, on);
    else
        setWindowFlag(Qt::WindowStaysOnTopHint, on);
}
