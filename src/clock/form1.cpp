#include "clock/form1.h"

#include "clock/clocklabel.h"
#include "clock/displaymode.h"
#include "clock/mousetarget.h"
#include "clock/telecounter.h"
#include "clock/walltimer.h"
#include "settings/form2.h"
#include "store/settingsstore.h"
#include "store/storedtext.h"
#include "widgets/appicon.h"
#include "widgets/designfont.h"
#include "widgets/twips.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <algorithm>
#include <array>

Q_LOGGING_CATEGORY(lcClock, "ravelquint.clock")

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

// An unreadable colour leaves the label as it is.
void setTextColour(ClockLabel *label, const std::optional<QColor> &colour)
{
    if (colour)
        label->setTextColour(*colour);
}

bool overlapsAnyScreen(const QRect &frame)
{
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&](const QScreen *screen) { return screen->availableGeometry().intersects(frame); });
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
    connect(Timer1, &WallTimer::timeout, this, &Form1::Timer1_Timer);
    connect(Label16, &MouseTarget::doubleClicked, this, &Form1::Label16_DblClick);
    connect(Label17, &MouseTarget::clicked, this, &Form1::Label17_Click);

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
    buildContextMenu();
}

// The gestures, for the keyboard (the Menu key, Shift+F10) and the right mouse button.
void Form1::buildContextMenu()
{
    ContextMenu = new QMenu(this);
    ContextMenu->setObjectName(QStringLiteral("ContextMenu"));
    QAction *settings = ContextMenu->addAction(QStringLiteral("設定..."), this, &Form1::Label16_DblClick);
    settings->setObjectName(QStringLiteral("OpenSettings"));
    AdjustAction = ContextMenu->addAction(QStringLiteral("時報調整"), this, &Form1::Label17_Click);
    AdjustAction->setObjectName(QStringLiteral("AdjustToTimeSignal"));
    ContextMenu->addSeparator();
    QAction *close = ContextMenu->addAction(QStringLiteral("閉じる"), this, &QWidget::close);
    close->setObjectName(QStringLiteral("Close"));
    setFocusPolicy(Qt::StrongFocus);
}

void Form1::contextMenuEvent(QContextMenuEvent *event)
{
    showContextMenu(event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                                 : mapToGlobal(rect().center()));
}

void Form1::keyPressEvent(QKeyEvent *event)
{
    const bool menuKey = event->key() == Qt::Key_Menu && event->modifiers() == Qt::NoModifier;
    if (menuKey || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier))
        showContextMenu(mapToGlobal(rect().center()));
    else
        QWidget::keyPressEvent(event);
}

void Form1::showContextMenu(const QPoint &at)
{
    AdjustAction->setEnabled(Label17->isEnabled());
    ContextMenu->popup(at);
}

void Form1::Form_Load()
{
    m_store.Refresh();
    m_reading = m_platform.clock.now();
    const bool firstRun = m_store.GetSwitch(Key::Start) == 0;
    WriteMissingDefaults(firstRun);
    if (!firstRun)
        RestorePosition();

    Sp1 = m_store.GetSwitch(Key::Sp1);
    Tel = m_store.GetSwitch(Key::Tel);
    ColorB = m_store.GetColour(Key::ColorB);
    CounterMode = m_store.GetSwitch(Key::Mode);
    if (ColorB)
        setBackColour(*ColorB);
    setAdjustmentEnabled(Sp1 == 1);
    ApplyBandTest();
    Dispatch();
}

// Every start fills in what is missing, so a store deleted under a running clock is whole
// again. A first run also mends what it cannot read, and keeps whatever the user chose
// before a first run that never closed; later runs leave a hand edit for the user to mend.
void Form1::WriteMissingDefaults(bool firstRun)
{
    for (const KeyInfo &info : kKeys) {
        if (!info.firstRunDefault)
            continue;
        const bool missing = !m_store.Holds(info.key);
        if (missing && !firstRun)
            qCWarning(lcClock).noquote() << QStringLiteral("[%1] %2 is missing; writing \"%3\"")
                                                .arg(QLatin1String(info.section), QLatin1String(info.name),
                                                     QLatin1String(info.firstRunDefault));
        if (missing || (firstRun && !m_store.HoldsValidValue(info.key)))
            m_store.SaveSetting(info.key, QString::fromLatin1(info.firstRunDefault));
    }
}

void Form1::RestorePosition()
{
    const auto top = m_store.GetPosition(Key::Top);
    const auto left = m_store.GetPosition(Key::Left);
    if (!top || !left)
        return;
    const QPoint position(pixelsFromTwips(*left), pixelsFromTwips(*top));
    // After a monitor is unplugged the stored place may be nowhere to be seen.
    if (overlapsAnyScreen(QRect(position, frameGeometry().size())))
        move(position);
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
    return displayModeFor({Sp2, Sp2i, Tel, TelS1, TelS2}, NowWeekday, NowHour);
}

void Form1::ApplyColors()
{
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

void Form1::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void Form1::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    SavePlace();
}

// The marker last: a store with the marker always has the place too.
void Form1::SavePlace()
{
    m_store.SaveSetting(Key::Top, storedtext::fromPosition(float(twipsFromPixels(pos().y()))));
    m_store.SaveSetting(Key::Left, storedtext::fromPosition(float(twipsFromPixels(pos().x()))));
    m_store.SaveSetting(Key::Start, QString::fromLatin1(kStartedMarker));
}

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

// The minute the face shows, on the date it shows it; where the face shows no time of
// day, the minute of the reading itself.
QDateTime Form1::AdjustmentTarget(const QDateTime &reading) const
{
    const QDateTime shown = m_faceShows.isValid() ? m_faceShows : reading;
    return QDateTime(shown.date(), QTime(shown.time().hour(), shown.time().minute()));
}

// The face goes on ticking while the desktop asks for authorisation, which can take minutes.
void Form1::Label17_Click()
{
    if (m_adjusting)
        return;
    m_adjusting = true;
    const QDateTime reading = m_platform.clock.now();
    const QDateTime target = AdjustmentTarget(reading);
    const std::chrono::milliseconds shift(reading.msecsTo(target));
    QPointer<Form1> self(this);
    m_platform.timeSetter.shiftClock(shift, [self, target](const auto &result) {
        if (self)
            self->FinishAdjustment(result, target.time());
    });
}

void Form1::FinishAdjustment(const TimeSetter::Result &result, const QTime &target)
{
    m_adjusting = false;
    if (result.outcome == TimeSetter::Outcome::Done) {
        m_faceShows = m_platform.clock.now();
        Sample(m_faceShows);
        m_countdownShown = false;
        if (DrawTimeCaptions())
            DescribeForAccessibility();
    } else {
        auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("時報調整"),
                                    adjustmentFailureText(result, target), QMessageBox::Ok, this);
        box->setObjectName(QStringLiteral("AdjustmentFailure"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    }
}

QString adjustmentFailureText(const TimeSetter::Result &result, const QTime &target)
{
    const QString heading = QStringLiteral("システムの時刻を %1 に合わせられませんでした。\n\n")
                                .arg(target.toString(QStringLiteral("HH:mm:ss")));
    switch (result.outcome) {
    case TimeSetter::Outcome::AutomaticSync:
        return heading + QStringLiteral("このシステムはネットワーク時刻同期で時刻を自動的に合わせています。"
                                        "時報で合わせるには、先に自動時刻同期をオフにしてください。");
    case TimeSetter::Outcome::NotAuthorised:
        return heading + QStringLiteral("時刻を変更する権限が認められませんでした（認証が拒否されたか、取り消されました）。");
    case TimeSetter::Outcome::NoService:
        return heading + QStringLiteral("時刻を設定するサービス（systemd-timedated）がシステムバス上に見つかりません。");
    case TimeSetter::Outcome::NoAnswer:
        return heading + QStringLiteral("時刻を設定するサービスから時間内に応答がありませんでした。");
    case TimeSetter::Outcome::Failed:
    case TimeSetter::Outcome::Done:
        break;
    }
    return heading + QStringLiteral("システムからのメッセージ: %1").arg(result.systemMessage);
}
