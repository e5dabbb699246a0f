#include "clock/recordwindow.h"

#include "clock/driftplot.h"
#include "platform/clocksource.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

namespace {
QLabel *addLine(QVBoxLayout *layout, const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    label->setFocusPolicy(Qt::TabFocus);
    layout->addWidget(label);
    return label;
}

QString signedSeconds(double ms) { return QString::asprintf("%+.3f", ms / 1000); }
constexpr int kRowsAtLeast = 5;
} // namespace

RecordWindow::RecordWindow(ClockKeeper &keeper, const ClockSource &clock, TimeSetter &setter, QWidget *clockWindow)
    : QWidget(clockWindow, Qt::Window), m_keeper(keeper), m_clock(clock), m_setter(setter)
{
    setObjectName(QStringLiteral("RecordWindow"));
    setWindowTitle(tr("時計の記録"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    m_plot = new DriftPlot(this);
    layout->addWidget(m_plot, 1);
    m_drift = addLine(layout, "Drift", this);
    m_expected = addLine(layout, "Expected", this);
    m_last = addLine(layout, "LastMeasurement", this);
    m_table = new QTableWidget(0, 5, this);
    m_table->setObjectName(QStringLiteral("Events"));
    m_table->setAccessibleName(tr("最近の記録"));
    m_table->setHorizontalHeaderLabels({tr("日時"), tr("測り方"), tr("ずれ（秒）"), tr("修正（秒）"), tr("結果")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setTabKeyNavigation(false); // one stop for Tab, the arrows within
    m_table->setWordWrap(false);
    m_table->setMinimumHeight(m_table->horizontalHeader()->sizeHint().height()
                              + kRowsAtLeast * m_table->verticalHeader()->defaultSectionSize() + 2 * m_table->frameWidth());
    layout->addWidget(m_table, 1);
    m_apply = new QPushButton(tr("見積もりで合わせる"), this);
    m_apply->setObjectName(QStringLiteral("ApplyEstimate"));
    m_apply->setAccessibleName(m_apply->text());
    connect(m_apply, &QPushButton::clicked, &m_keeper, [this] {
        m_apply->setEnabled(false);
        m_keeper.applyEstimate();
    });
    layout->addWidget(m_apply, 0, Qt::AlignRight);
    m_status = addLine(layout, "Status", this);
    m_coast = new QCheckBox(tr("見積もりで自動的に合わせる"), this);
    m_coast->setObjectName(QStringLiteral("Coast"));
    m_coast->setToolTip(tr("時報が聞こえないあいだも、見積もりのずれが 0.05 秒に達するたびに合わせます。"
                           "毎正時に時報を聞くときだけ使えます。"));
    connect(m_coast, &QCheckBox::clicked, this, &RecordWindow::coastSwitched);
    layout->addWidget(m_coast);
    m_coastState = addLine(layout, "CoastState", this);
    m_coastState->setWordWrap(true);
    connect(&m_keeper, &ClockKeeper::coastChanged, this,
            [this](ClockKeeper::Coast coast) { m_coastState->setText(coastText(coast)); });
    m_coastState->setText(coastText(m_keeper.coast()));
    m_coastState->setFocusPolicy(Qt::NoFocus);
    m_status->setFocusPolicy(Qt::NoFocus);
    // Field, table, button, switch: the order a person reads them in.
    setTabOrder(m_last, m_table);
    setTabOrder(m_table, m_apply);
    setTabOrder(m_apply, m_coast);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    connect(&m_keeper, &ClockKeeper::published, this, &RecordWindow::refresh);
    connect(&m_keeper, &ClockKeeper::adjusted, this, [this](ClockKeeper::Gesture by) {
        if (by == ClockKeeper::Gesture::Estimate)
            m_status->setText(tr("見積もりで %1 秒合わせました。").arg(signedSeconds(double(m_keeper.lastShift().count()))));
    });
    connect(&m_keeper, &ClockKeeper::refused, this, [this](const ClockKeeper::Refusal &refusal) {
        if (refusal.by != ClockKeeper::Gesture::Estimate)
            return;
        m_status->setText(tr("時刻を合わせられませんでした。時刻は変わっていません。"));
        enableApply();
    });
    refresh();
}

void RecordWindow::refresh()
{
    const knowledge::Knowledge &known = m_keeper.known();
    const qint64 nowMs = m_clock.now().toMSecsSinceEpoch();
    m_plot->show(known, nowMs);
    m_drift->setText(driftText(known.estimate));
    showExpected(nowMs);
    m_last->setText(known.lastMeasurement ? measurementText(*known.lastMeasurement) : tr("測定はまだありません"));
    fillTable(known.recent);
    m_apply->setEnabled(false);
    m_setter.readNetworkSync([self = QPointer<RecordWindow>(this)](const TimeSetter::SyncState &sync) {
        if (!self)
            return;
        self->m_syncOn = sync.on;
        self->enableApply();
    });
}

void RecordWindow::showCoastSwitch(bool checked, bool usable)
{
    m_coast->setChecked(checked);
    m_coast->setEnabled(usable);
}

QString RecordWindow::coastText(ClockKeeper::Coast coast)
{
    switch (coast) {
    case ClockKeeper::Coast::Off: break;
    case ClockKeeper::Coast::Waiting:
        return tr("自動では合わせていません: 1 日以上にわたる測定と、±0.02 秒以内の見積もりが要ります"
                  "（ネットワーク時刻同期がオフで、時報調整機能がオンのときだけ合わせます）。");
    case ClockKeeper::Coast::Coasting: return tr("時報のあいだも見積もりで合わせています。");
    case ClockKeeper::Coast::Stopped:
        return tr("見積もりが 1 回に 1 秒を超えるずれを求めたので、自動で合わせるのをやめました。"
                  "見積もりが外れています。次に時報が聞こえたら再開します。");
    }
    return {};
}

QString RecordWindow::lastSetText(const knowledge::Knowledge &known, qint64 nowMs)
{
    QStringList lines;
    if (known.lastSet) {
        using timerecord::Source;
        const Source by = known.lastSet->source;
        const QString how = by == Source::Hourly || by == Source::Listening ? tr("時報で")
                            : by == Source::Estimate                       ? tr("見積もりで")
                                                                           : tr("手で");
        lines << tr("最後に合わせたのは %1（%2）")
                     .arg(known.lastSet->utc.toLocalTime().toString(QStringLiteral("MM-dd HH:mm")), how);
    }
    if (const auto error = known.errorAt(nowMs))
        lines << expectedText(*error);
    return lines.join(QLatin1Char('\n'));
}

void RecordWindow::showExpected(qint64 nowMs)
{
    const knowledge::Knowledge &known = m_keeper.known();
    const std::optional<knowledge::ClockError> error = known.errorAt(nowMs);
    QString text = error ? expectedText(*error) : tr("いまの見積もり: まだありません");
    if (known.lastMeasurement)
        text += tr("、最後の測定は %1").arg(ageText(known.lastMeasurement->utc.msecsTo(m_clock.now())));
    if (m_keeper.estimateRefusal(nowMs) == ClockKeeper::Why::EstimateTooLarge)
        text += QLatin1Char('\n') + tr("60 秒を超える見積もりは記録が壊れているしるしなので、これでは合わせません。");
    m_expected->setText(text);
}

// Greyed with network sync on, with the adjustment off, and where the estimate cannot serve.
void RecordWindow::enableApply()
{
    const qint64 nowMs = m_clock.now().toMSecsSinceEpoch();
    m_apply->setEnabled(!m_syncOn && !m_keeper.isPending() && !m_keeper.estimateRefusal(nowMs));
}

void RecordWindow::fillTable(const std::vector<timerecord::Event> &events)
{
    const auto shown = events.size();
    m_table->setRowCount(int(shown));
    for (std::size_t row = 0; row < shown; ++row) {
        const timerecord::Event &event = events[events.size() - 1 - row];
        const QStringList cells{event.utc.toLocalTime().toString(QStringLiteral("MM-dd HH:mm:ss")),
                                sourceText(event.source), signedSeconds(double(event.offsetMs)),
                                signedSeconds(double(event.shiftMs)), outcomeWord(event.outcome)};
        // Short words in the cells; the whole sentence for the pointer and the screen reader.
        const QString sentence = outcomeText(event.outcome);
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            item->setToolTip(sentence);
            item->setData(Qt::AccessibleTextRole, column == cells.size() - 1 ? sentence : cells[column]);
            m_table->setItem(int(row), column, item);
        }
    }
}

QString RecordWindow::expectedText(const knowledge::ClockError &error)
{
    return tr("いまの見積もり: %1 秒（±%2 秒）").arg(signedSeconds(error.ms)).arg(error.sigmaMs / 1000, 0, 'f', 3);
}

QString RecordWindow::ageText(qint64 ms)
{
    constexpr qint64 kMinuteMs = 60'000, kHourMs = 60 * kMinuteMs, kDayMs = 24 * kHourMs;
    if (ms < kHourMs)
        return tr("%n 分前", nullptr, int(std::max<qint64>(ms, 0) / kMinuteMs));
    if (ms < 2 * kDayMs)
        return tr("%n 時間前", nullptr, int(ms / kHourMs));
    return tr("%n 日前", nullptr, int(ms / kDayMs));
}

QString RecordWindow::driftText(const std::optional<drift::Estimate> &estimate)
{
    if (!estimate)
        return tr("進み遅れの見積もりには、6時間以上離れた2回以上の測定が要ります。");
    const QString seconds = QString::number(std::abs(estimate->secondsPerDay), 'f', 2);
    const QString sigma = QString::number(estimate->secondsPerDaySigma, 'g', 1); // "0.002", not "0.00"
    return estimate->secondsPerDay >= 0 ? tr("1日に %1 秒進みます（±%2 秒）").arg(seconds, sigma)
                                        : tr("1日に %1 秒遅れます（±%2 秒）").arg(seconds, sigma);
}

QString RecordWindow::measurementText(const timerecord::Event &event)
{
    return tr("最後の測定: %1 %2、ずれ %3 秒（%4）")
        .arg(event.utc.toLocalTime().toString(QStringLiteral("MM-dd HH:mm")), sourceText(event.source),
             signedSeconds(double(event.offsetMs)), outcomeText(event.outcome));
}

QString RecordWindow::outcomeText(timerecord::Outcome outcome)
{
    switch (outcome) {
    case timerecord::Outcome::Set: return tr("合わせました");
    case timerecord::Outcome::Refused: return tr("合わせられませんでした");
    case timerecord::Outcome::NeedsAuthorisation: return tr("認証が要るため合わせていません");
    case timerecord::Outcome::SyncOn: return tr("ネットワーク時刻同期が有効なので測っただけです");
    case timerecord::Outcome::BelowThreshold: return tr("0.2 秒未満なので合わせていません");
    case timerecord::Outcome::Implausible: return tr("記録の予測から遠すぎるので合わせていません");
    case timerecord::Outcome::AdjustmentOff: return tr("時報調整機能がオフなので測っただけです");
    }
    return {};
}

QString RecordWindow::outcomeWord(timerecord::Outcome outcome)
{
    switch (outcome) {
    case timerecord::Outcome::Set: return tr("合わせた");
    case timerecord::Outcome::Refused: return tr("拒否");
    case timerecord::Outcome::NeedsAuthorisation: return tr("認証待ち");
    case timerecord::Outcome::SyncOn: return tr("同期中");
    case timerecord::Outcome::BelowThreshold: return tr("0.2 秒未満");
    case timerecord::Outcome::Implausible: return tr("疑わしい");
    case timerecord::Outcome::AdjustmentOff: return tr("調整オフ");
    }
    return {};
}

QString RecordWindow::sourceText(timerecord::Source source)
{
    switch (source) {
    case timerecord::Source::Hourly: return tr("毎正時");
    case timerecord::Source::Listening: return tr("時報を聞いて");
    case timerecord::Source::Click: return tr("「秒」");
    case timerecord::Source::Estimate: return tr("見積もり");
    case timerecord::Source::Hand: return tr("手で（測定でない）");
    }
    return {};
}
