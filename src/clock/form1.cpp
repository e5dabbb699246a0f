#include "clock/form1.h"

#include "clock/clocklabel.h"
#include "clock/contextmenu.h"
#include "clock/displaymode.h"
#include "clock/holidays.h"
#include "clock/mousetarget.h"
#include "clock/telecounter.h"
#include "clock/timesignal.h"
#include "clock/timesignalprompts.h"
#include "clock/walltimer.h"
#include "clock/windowplace.h"
#include "settings/form2.h"
#include "store/settingsstore.h"
#include "widgets/appicon.h"
#include "widgets/designfont.h"
#include "widgets/twips.h"

#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QWindow>
#include <array>

namespace {

constexpr TwipRect kClientArea{0, 0, 3375, 1140};
const QColor kDesignTextColour(0, 255, 0);
const QString kNoticeCaption = QStringLiteral("テレホーダイ終了まで");
const QString kWeekdayKanji[] = {QStringLiteral("日"), QStringLiteral("月"), QStringLiteral("火"),
                                 QStringLiteral("水"), QStringLiteral("木"), QStringLiteral("金"),
                                 QStringLiteral("土")};

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

// Sunday = 1 … Saturday = 7.
int weekdayNumber(const QDate &date) { return date.dayOfWeek() % 7 + 1; }

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
    setWindowIcon(appIcon());
    setFixedSize(pixelRect(kClientArea).size());
    setAutoFillBackground(true);
    setBackColour(Qt::black);
    buildLayout();

    Timer1 = new WallTimer(m_platform.clock, kTimerIntervalMs, this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &WallTimer::timeout, this, &Form1::Timer1_Timer);
    connect(Label16, &MouseTarget::doubleClicked, this, &Form1::Label16_DblClick);
    connect(Label17, &MouseTarget::clicked, this, &Form1::Label17_Click);

    m_menu = new ContextMenu(this, Label17, m_store, m_platform.timeSetter);
    connect(m_menu, &ContextMenu::settingsRequested, this, &Form1::Label16_DblClick);
    connect(m_menu, &ContextMenu::timeSignalRequested, this, &Form1::Label17_Click);
    connect(m_menu, &ContextMenu::onTopChanged, this, &Form1::setStaysOnTop);
    m_timeSignal = new TimeSignal(m_platform.clock, m_platform.timeSetter, this);
    connect(m_timeSignal, &TimeSignal::finished, this, &Form1::ShowAdjustment);
    new TimeSignalPrompts(m_timeSignal, this);

    // A session checkpoint, or a logout the user may still cancel, keeps the clock open;
    // the place is saved now in case the session does end.
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, &Form1::SavePlace);
        connect(app, &QCoreApplication::aboutToQuit, this, &Form1::Form_Unload);
    }

    Form_Load();
    Timer1->setEnabled(true);
}

void Form1::buildLayout()
{
    struct TextRow {
        ClockLabel *Form1::*member;
        const char *name;
        TwipRect box;
        int pixelSize;
        Qt::Alignment alignment;
        const char *caption;
    };
    // Lowest in the stacking order first.
    static const TextRow rows[] = {
        {&Form1::Label1, "Label1", {0, 0, 855, 375}, 27, Qt::AlignRight, "2000"},
        {&Form1::Label2, "Label2", {1080, 0, 495, 375}, 27, Qt::AlignHCenter, "08"},
        {&Form1::Label3, "Label3", {1800, 0, 495, 375}, 27, Qt::AlignHCenter, "25"},
        {&Form1::Label4, "Label4", {480, 600, 615, 495}, 35, Qt::AlignLeft, "23"},
        {&Form1::Label5, "Label5", {1200, 600, 615, 495}, 35, Qt::AlignRight, "59"},
        {&Form1::Label6, "Label6", {2040, 600, 615, 495}, 35, Qt::AlignLeft, "59"},
        {&Form1::Label7, "Label7", {2520, 0, 375, 375}, 27, Qt::AlignHCenter, "金"},
        {&Form1::Label8, "Label8", {840, 120, 255, 255}, 15, Qt::AlignHCenter, "年"},
        {&Form1::Label9, "Label9", {1560, 120, 255, 255}, 15, Qt::AlignLeft, "月"},
        {&Form1::Label10, "Label10", {2280, 120, 255, 255}, 15, Qt::AlignLeft, "日"},
        {&Form1::Label11, "Label11", {2880, 120, 495, 255}, 15, Qt::AlignRight, "曜日"},
        {&Form1::Label12, "Label12", {960, 840, 375, 255}, 16, Qt::AlignHCenter, "時"},
        {&Form1::Label13, "Label13", {1800, 840, 255, 255}, 16, Qt::AlignRight, "分"},
        {&Form1::Label14, "Label14", {2520, 840, 375, 255}, 16, Qt::AlignHCenter, "秒"},
        {&Form1::Label15, "Label15", {240, 435, 2895, 255}, 13, Qt::AlignHCenter, "只今テレホーダイ適用時間帯です"},
    };
    for (const TextRow &row : rows) {
        auto *label = new ClockLabel(QString::fromUtf8(row.caption), kDesignTextColour, this);
        label->setObjectName(QLatin1String(row.name));
        label->setGeometry(pixelRect(row.box));
        label->setAlignment(row.alignment | Qt::AlignTop);
        label->setFont(designFont(row.pixelSize));
        this->*row.member = label;
    }
    installMouseTargetAccessibility();
    Label16 = new MouseTarget(MouseTarget::Gesture::DoubleClick, this);
    Label16->setObjectName(QStringLiteral("Label16"));
    Label16->setGeometry(pixelRect({0, 0, 3375, 1095}));
    Label16->setAccessibleName(QStringLiteral("設定を開く"));
    Label17 = new MouseTarget(MouseTarget::Gesture::Click, this);
    Label17->setObjectName(QStringLiteral("Label17"));
    Label17->setGeometry(pixelRect({2560, 840, 255, 255}));
    Label17->setAccessibleName(QStringLiteral("時報調整（表示中の分に時刻を合わせる）"));
}

void Form1::Form_Load()
{
    m_store.Refresh();
    m_reading = m_platform.clock.now();
    const bool firstRun = m_store.GetSwitch(Key::Start) == 0;
    m_store.WriteMissingDefaults(firstRun);
    // Asked for before the first map, so the window manager never shows it any other way.
    if (m_store.GetSwitch(Key::OnTop) == 1)
        setWindowFlag(Qt::WindowStaysOnTopHint);
    if (!firstRun)
        restorePlace(*this, m_store);

    Sp1 = m_store.GetSwitch(Key::Sp1);
    Tel = m_store.GetSwitch(Key::Tel);
    ColorB = m_store.GetColour(Key::ColorB);
    CounterMode = m_store.GetSwitch(Key::Mode);
    setBackColour(ColorB);
    setAdjustmentEnabled(Sp1 == 1);
    ApplyBandTest();
    Dispatch();
}

void Form1::Timer1_Timer()
{
    m_store.Refresh();
    m_reading = m_platform.clock.now();
    CounterMode = m_store.GetSwitch(Key::Mode);
    Tel = m_store.GetSwitch(Key::Tel);
    ApplyBandTest();
    Dispatch();
}

void Form1::ApplyBandTest()
{
    if (Tel == 1 && CounterMode == 1) {
        if (!inTelehodaiBand(m_reading.time().hour()))
            CounterMode = 0;
    } else if (Tel == 0) {
        CounterMode = 0;
    }
}

void Form1::Dispatch()
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
    Sp2 = m_store.GetSwitch(Key::Sp2);
    Sp2i = m_store.GetSwitch(Key::Sp2i);
    Tel = m_store.GetSwitch(Key::Tel);
    TelS1 = m_store.GetSwitch(Key::TelS1);
    TelS2 = m_store.GetSwitch(Key::TelS2);
    Holiday = m_store.GetSwitch(Key::Holiday);
    ColorF = m_store.GetColour(Key::ColorF);
    ColorS = m_store.GetColour(Key::ColorS);
    ColorTel = m_store.GetColour(Key::ColorTel);
    Sample(m_reading);
}

// Every field comes from one reading, so the display never straddles a second boundary.
void Form1::Sample(const QDateTime &reading)
{
    const QDate date = reading.date();
    const QTime time = reading.time();
    NowYear = date.year();
    NowMonth = date.month();
    NowDay = date.day();
    NowWeekday = weekdayNumber(date);
    if (date != m_holidayDate) {
        m_holidayDate = date;
        m_holidayName = japaneseHoliday(date);
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
    return displayModeFor({Sp2, Sp2i, Tel, TelS1, TelS2}, holiday ? kSunday : NowWeekday, NowHour);
}

void Form1::ApplyColors()
{
    const QString tip = Holiday == 1 ? m_holidayName : QString();
    if (toolTip() != tip)
        setToolTip(tip);
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
    changed |= DrawTimeCaptions();
    Label15->setCaption(kNoticeCaption);
    if (NowWeekday >= 1 && NowWeekday <= 7)
        changed |= Label7->setCaption(kWeekdayKanji[NowWeekday - 1]);
    if (changed)
        DescribeForAccessibility();
}

bool Form1::DrawTimeCaptions()
{
    bool changed = Label4->setCaption(twoDigits(NowHour));
    changed |= Label5->setCaption(twoDigits(NowMinute));
    changed |= Label6->setCaption(twoDigits(NowSecond));
    return changed;
}

// A screen reader reads the window's name: say what the face shows, as a sentence.
void Form1::DescribeForAccessibility()
{
    const QString date = QStringLiteral("%1年%2月%3日 %4曜日 ").arg(Label1->text(), Label2->text(), Label3->text(),
                                                                  Label7->text());
    const QString time = m_countdownShown
                             ? QStringLiteral("テレホーダイ終了まで %1時間%2分%3秒")
                             : QStringLiteral("%1時%2分%3秒");
    setAccessibleName(date + time.arg(Label4->text(), Label5->text(), Label6->text()));
}

// The clock's open questions and warnings go with it; an unanswered question is a no.
void Form1::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    for (QDialog *box : findChildren<QDialog *>(Qt::FindDirectChildrenOnly))
        box->close();
    event->accept();
}

void Form1::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    SavePlace();
}

void Form1::SavePlace() { savePlace(*this, m_store); }

void Form1::setAdjustmentEnabled(bool enabled) { Label17->setEnabled(enabled); }

void Form1::setBackColour(const QColor &colour)
{
    QPalette background = palette();
    background.setColor(QPalette::Window, colour);
    setPalette(background);
}

void Form1::Label16_DblClick()
{
    Form2 dialog(m_store, m_platform.colourPicker, this);
    connect(&dialog, &Form2::adjustmentEnabledChanged, this, &Form1::setAdjustmentEnabled);
    connect(&dialog, &Form2::backColourChanged, this, &Form1::setBackColour);
    dialog.exec();
}

void Form1::Label17_Click() { m_timeSignal->start(m_faceShows); }

bool Form1::isAdjusting() const { return m_timeSignal->isPending(); }

// A refusal is told by the prompts; a change shows at once, not at the next tick.
void Form1::ShowAdjustment(const TimeSetter::Result &result)
{
    if (result.outcome != TimeSetter::Outcome::Done)
        return;
    m_faceShows = m_platform.clock.now();
    Sample(m_faceShows);
    m_countdownShown = false;
    if (DrawTimeCaptions())
        DescribeForAccessibility();
}

// Through the window, not by re-creating it: no flicker, and the place stays.
void Form1::setStaysOnTop(bool on)
{
    if (QWindow *window = windowHandle())
        window->setFlag(Qt::WindowStaysOnTopHint, on);
    else
        setWindowFlag(Qt::WindowStaysOnTopHint, on);
}
