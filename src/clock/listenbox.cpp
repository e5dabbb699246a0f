#include "clock/listenbox.h"

#include "core/pipdetector.h"
#include "platform/audiocapture.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace {
constexpr float kQuiet = 0.003f; // about -50 dB of full scale: no radio reaches the microphone
constexpr int kFloorDb = -60;

int levelPercent(float rms)
{
    const double db = rms > 0 ? 20 * std::log10(rms) : kFloorDb;
    return int(std::lround(std::clamp(100.0 * (db - kFloorDb) / -kFloorDb, 0.0, 100.0)));
}
} // namespace

ListenBox::ListenBox(AudioCapture &capture, TimeSignal *timeSignal, QWidget *window, std::chrono::milliseconds limit)
    : QDialog(window), m_capture(capture), m_timeSignal(timeSignal), m_deadline(limit)
{
    setObjectName(QStringLiteral("ListenBox"));
    setWindowTitle(QStringLiteral("時報を聞いて合わせる"));
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    m_status = new QLabel(QStringLiteral("時報を聞いています。ラジオをマイクの近くに置いてください。"), this);
    m_status->setObjectName(QStringLiteral("ListenStatus"));
    m_status->setWordWrap(true);
    m_level = new QProgressBar(this);
    m_level->setObjectName(QStringLiteral("InputLevel"));
    m_level->setTextVisible(false);
    m_level->setAccessibleName(QStringLiteral("入力レベル"));
    m_secondsLeft = new QLabel(this);
    m_secondsLeft->setObjectName(QStringLiteral("SecondsLeft"));
    m_cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    m_cancel->setObjectName(QStringLiteral("Cancel"));
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    for (QWidget *widget : {static_cast<QWidget *>(m_status), static_cast<QWidget *>(m_level),
                            static_cast<QWidget *>(m_secondsLeft), static_cast<QWidget *>(m_cancel)})
        layout->addWidget(widget);

    connect(m_timeSignal, &TimeSignal::adjusted, this, [this] { correctedBy(m_status->text(), true); });
    connect(m_timeSignal, &TimeSignal::refused, this, [this] { correctedBy(m_status->text(), false); });
    m_countdown.setInterval(1000);
    connect(&m_countdown, &QTimer::timeout, this, &ListenBox::showSecondsLeft);
    m_countdown.start();
    showSecondsLeft();
    m_capture.start([this](int rate) { started(rate); },
                    [this](const float *samples, qsizetype count, double ms) { heard(samples, count, ms); },
                    [this](const QString &why) { failed(why); });
    open();
}

ListenBox::~ListenBox()
{
    if (m_listening)
        m_capture.stop();
}

void ListenBox::started(int sampleRate)
{
    if (m_listening)
        m_detector = std::make_unique<PipDetector>(sampleRate);
}

void ListenBox::heard(const float *samples, qsizetype count, double firstSampleMs)
{
    if (!m_listening || !m_detector)
        return;
    const std::optional<double> mark = m_detector->feed(samples, count, firstSampleMs);
    m_loudest = std::max(m_loudest, m_detector->level());
    m_level->setValue(levelPercent(m_detector->level()));
    if (!mark)
        return;
    const double offset = offsetFromMinute(*mark);
    stopListening(offsetText(offset) + QStringLiteral("\n時刻を合わせています…"));
    m_correcting = true;
    m_timeSignal->correctBy(std::chrono::milliseconds(std::llround(offset)));
}

void ListenBox::failed(const QString &why)
{
    if (m_listening)
        stopListening(QStringLiteral("音声を録音できません: %1").arg(why));
}

void ListenBox::showSecondsLeft()
{
    if (!m_listening)
        return;
    const qint64 left = (m_deadline.remainingTime() + 999) / 1000;
    if (left > 0)
        return m_secondsLeft->setText(QStringLiteral("残り %1 秒").arg(left));
    QString text = QStringLiteral("%1 秒のあいだに時報を聞き取れませんでした。時刻は変わっていません。")
                       .arg(std::chrono::duration_cast<std::chrono::seconds>(kListenLimit).count());
    if (m_loudest < kQuiet)
        text += QStringLiteral("\n\n入力の音がほとんどありませんでした。マイクがミュートになっていないか、"
                               "ラジオから遠すぎないか確かめてください。");
    stopListening(text);
}

void ListenBox::stopListening(const QString &status)
{
    m_listening = false;
    m_capture.stop();
    m_countdown.stop();
    m_secondsLeft->clear();
    m_level->setValue(0);
    m_status->setText(status);
    m_cancel->setText(QStringLiteral("閉じる"));
}

// The refusal itself is told by the time signal's prompts, over the clock.
void ListenBox::correctedBy(const QString &offset, bool set)
{
    if (!m_correcting)
        return;
    m_correcting = false;
    m_status->setText(offset.section(QLatin1Char('\n'), 0, 0) + QLatin1Char('\n')
                      + (set ? QStringLiteral("時刻を合わせました。") : QStringLiteral("時刻を合わせられませんでした。")));
}

// Esc and キャンセル stop listening at once.
void ListenBox::done(int result)
{
    if (m_listening)
        stopListening({});
    QDialog::done(result);
}

QString offsetText(double offsetMs)
{
    const QString seconds = QString::number(std::abs(offsetMs) / 1000, 'f', 2);
    if (seconds == QLatin1String("0.00"))
        return QStringLiteral("時計は合っていました。");
    return QStringLiteral("時計は %1 秒%2いました。").arg(seconds, offsetMs > 0 ? QStringLiteral("進んで") : QStringLiteral("遅れて"));
}
