#include "core/pipdetector.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr int kFramesPerSecond = 100;           // 10 ms frames
constexpr int kMainFramesNeeded = 80;           // 800 ms of the main tone before it counts
constexpr int kPipSpacingFrames = 100;          // 1 s
constexpr int kPipsNeeded = 2;                  // of three: one may be masked
constexpr float kToneShare = 0.3f;              // a tone holds this share of the power
constexpr float kSilence = 1e-7f;               // power below this is no sound at all
constexpr double kHighPassHz = 200;             // takes off hum and rumble
constexpr int kKeptSeconds = 5;
constexpr double kMinuteMs = 60'000;

// The power of one frequency in a frame, as the power of a sine of that amplitude.
float tonePower(const float *x, int n, double frequency, int rate)
{
    const double c = 2 * std::cos(2 * std::numbers::pi * frequency / rate);
    double s1 = 0, s2 = 0;
    for (int i = 0; i < n; ++i) {
        const double s = x[i] + c * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    return float(2 * (s1 * s1 + s2 * s2 - c * s1 * s2) / (double(n) * n));
}
} // namespace

PipDetector::PipDetector(int sampleRate)
    : m_rate(hearsAt(sampleRate) ? sampleRate : kMinRate), m_frameLength(m_rate / kFramesPerSecond),
      m_marked(!hearsAt(sampleRate))
{
    // A second-order Butterworth high-pass (bilinear transform).
    const double k = std::tan(std::numbers::pi * kHighPassHz / m_rate);
    const double norm = 1 / (1 + std::numbers::sqrt2 * k + k * k);
    m_b0 = norm;
    m_b1 = -2 * norm;
    m_b2 = norm;
    m_a1 = 2 * (k * k - 1) * norm;
    m_a2 = (1 - std::numbers::sqrt2 * k + k * k) * norm;
}

float PipDetector::highPass(float x)
{
    const double y = m_b0 * x + m_b1 * m_hp[0] + m_b2 * m_hp[1] - m_a1 * m_hp[2] - m_a2 * m_hp[3];
    m_hp[1] = m_hp[0];
    m_hp[0] = x;
    m_hp[3] = m_hp[2];
    m_hp[2] = y;
    return float(y);
}

std::optional<double> PipDetector::feed(const float *samples, qsizetype count, double firstSampleMs)
{
    if (count <= 0)
        return std::nullopt;
    m_blocks.push_back({m_received, firstSampleMs});
    double sum = 0;
    std::optional<double> mark;
    for (qsizetype i = 0; i < count; ++i) {
        // One bad sample would leave the filter's state NaN for good.
        const float x = std::isfinite(samples[i]) ? samples[i] : 0.0f;
        sum += double(x) * x;
        m_samples.push_back(highPass(x));
        if (++m_received % m_frameLength == 0) {
            endFrame();
            if (!mark && !m_marked)
                mark = confirmMark();
        }
    }
    m_level = float(std::sqrt(sum / double(count)));
    forgetOld();
    return mark;
}

void PipDetector::endFrame()
{
    const float *x = m_samples.data() + (m_received - m_frameLength - m_firstKept);
    double power = 0;
    for (int i = 0; i < m_frameLength; ++i)
        power += double(x[i]) * x[i];
    power /= m_frameLength;
    Frame frame{0, 0, float(power)};
    if (power > kSilence) {
        frame.tone440 = float(tonePower(x, m_frameLength, 440, m_rate) / power);
        frame.tone880 = float(tonePower(x, m_frameLength, 880, m_rate) / power);
    }
    m_frames.push_back(frame);
}

bool PipDetector::present(qint64 frame, bool main) const
{
    if (frame < m_firstFrame || frame >= m_firstFrame + qint64(m_frames.size()))
        return false;
    const Frame &f = m_frames[std::size_t(frame - m_firstFrame)];
    return (main ? f.tone880 : f.tone440) > kToneShare && f.power > kSilence;
}

int PipDetector::countPresent(qint64 from, qint64 to, bool main) const
{
    int n = 0;
    for (qint64 f = from; f < to; ++f)
        n += present(f, main);
    return n;
}

// Steady from here on, and not before.
bool PipDetector::mainToneStartsAt(qint64 frame) const
{
    return present(frame, true) && !present(frame - 1, true)
           && countPresent(frame, frame + kMainFramesNeeded, true) >= kMainFramesNeeded * 9 / 10
           && countPresent(frame - 80, frame - 1, true) <= 2;
}

// A 100 ms pip from this frame on, then 440 Hz silence until the next.
bool PipDetector::pipAt(qint64 frame) const
{
    return countPresent(frame + 1, frame + 9, false) >= 6 && countPresent(frame + 15, frame + 85, false) <= 3;
}

std::optional<double> PipDetector::confirmMark()
{
    const qint64 start = m_firstFrame + qint64(m_frames.size()) - kMainFramesNeeded;
    if (start - 3 * kPipSpacingFrames < m_firstFrame || !mainToneStartsAt(start))
        return std::nullopt;
    int pips = 0;
    for (int k = 1; k <= 3; ++k)
        pips += pipAt(start - k * kPipSpacingFrames);
    // With one pip masked, pips a second early would pass for the signal but for this.
    if (pips < kPipsNeeded || pipAt(start - 4 * kPipSpacingFrames))
        return std::nullopt;
    const std::optional<double> onset = onsetSample(start);
    if (!onset)
        return std::nullopt;
    m_marked = true;
    return timeOfSample(*onset);
}

// Where the 880 Hz tone starts, to a fraction of a sample. Its envelope, a moving average
// of the tone's quadrature components over four periods, rises in a straight line from the
// start over one averaging length. The steepest step of the envelope finds the ramp, so a
// dip of noise inside the tone cannot pass for it; the ramp is halfway up half a length
// after the start.
std::optional<double> PipDetector::onsetSample(qint64 frame) const
{
    const int length = int(std::lround(4.0 * m_rate / 880)), window = 2 * length;
    const qint64 from = (frame - 4) * m_frameLength - length, to = (frame + 20) * m_frameLength;
    if (from < m_firstKept || to > m_received)
        return std::nullopt;
    const double w = 2 * std::numbers::pi * 880 / m_rate;
    const std::size_t size = std::size_t(to - from);
    std::vector<double> is(size), qs(size), envelope(size), sums(size + 1, 0.0);
    double i = 0, q = 0;
    for (std::size_t at = 0; at < size; ++at) {
        const qint64 n = from + qint64(at);
        const double x = m_samples[std::size_t(n - m_firstKept)];
        is[at] = x * std::cos(w * double(n));
        qs[at] = x * std::sin(w * double(n));
        i += is[at] - (at >= std::size_t(length) ? is[at - std::size_t(length)] : 0);
        q += qs[at] - (at >= std::size_t(length) ? qs[at - std::size_t(length)] : 0);
        envelope[at] = std::hypot(i, q);
        sums[at + 1] = sums[at] + envelope[at];
    }
    const auto mean = [&](std::size_t a, std::size_t b) { return (sums[b] - sums[a]) / double(b - a); };
    std::size_t step = 0;
    double steepest = 0;
    for (std::size_t at = std::size_t(length + window); at < std::size_t(5 * m_frameLength + length); ++at) {
        const double rise = mean(at + std::size_t(length), at + std::size_t(length + window)) - mean(at - window, at);
        if (rise > steepest) {
            steepest = rise;
            step = at;
        }
    }
    std::vector<double> steady(envelope.begin() + std::ptrdiff_t(9 * m_frameLength + length), envelope.end());
    std::nth_element(steady.begin(), steady.begin() + std::ptrdiff_t(steady.size() / 2), steady.end());
    const double half = steady[steady.size() / 2] / 2;
    for (std::size_t at = step; step > 0 && at < step + std::size_t(length); ++at) {
        if (envelope[at] >= half && envelope[at - 1] < half) {
            const double fraction = (half - envelope[at - 1]) / (envelope[at] - envelope[at - 1]);
            // envelope[at] averages the samples up to it, so the start is half a length before.
            return double(from) + double(at - 1) + fraction - length / 2.0 + 1;
        }
    }
    return step > 0 ? std::optional<double>(double(from + qint64(step))) : std::nullopt;
}

double PipDetector::timeOfSample(double sample) const
{
    auto block = std::find_if(m_blocks.rbegin(), m_blocks.rend(),
                              [&](const Block &b) { return double(b.firstSample) <= sample; });
    const Block &b = block != m_blocks.rend() ? *block : m_blocks.front();
    return b.firstSampleMs + (sample - double(b.firstSample)) * 1000.0 / m_rate;
}

void PipDetector::forgetOld()
{
    const qint64 keep = qint64(kKeptSeconds) * m_rate;
    if (m_received - m_firstKept > 2 * keep) {
        const qint64 drop = m_received - keep - m_firstKept;
        m_samples.erase(m_samples.begin(), m_samples.begin() + std::ptrdiff_t(drop));
        m_firstKept += drop;
    }
    while (qint64(m_frames.size()) > kKeptSeconds * kFramesPerSecond) {
        m_frames.pop_front();
        ++m_firstFrame;
    }
    while (m_blocks.size() > 1 && m_blocks[1].firstSample <= m_firstKept)
        m_blocks.pop_front();
}

double offsetFromMinute(double markMs)
{
    const double minute = std::round(markMs / kMinuteMs) * kMinuteMs;
    return markMs - minute;
}
