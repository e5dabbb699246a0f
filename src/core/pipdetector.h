#pragma once

#include <QtGlobal>
#include <deque>
#include <optional>
#include <vector>

// Finds the mark of a Japanese radio time signal in captured sound: three 100 ms pips of
// 440 Hz at 1 s spacing, then a 880 Hz tone whose start is the mark. The main tone must be
// preceded by at least two of the three pips, each with silence of 440 Hz after it, so a
// bare 880 Hz tone, pips at another spacing, speech and music never count; nor does a
// tone after a pip where the signal has none (a second before the first).
//
// Samples arrive in blocks, each with the system clock's reading of its first sample;
// the mark is told on that timeline, so the offset it gives is the system clock's.
class PipDetector
{
public:
    // The tones and the 10 ms frames need at least 8 kHz; beyond 384 kHz no sound card goes.
    static constexpr int kMinRate = 8000, kMaxRate = 384'000;
    static bool hearsAt(int sampleRate) { return sampleRate >= kMinRate && sampleRate <= kMaxRate; }

    // At a rate it cannot hear at, it hears nothing.
    explicit PipDetector(int sampleRate);

    // `firstSampleMs`: the time of samples[0] on any millisecond timeline. Returns the mark,
    // on the same timeline, once the main tone has lasted long enough to be sure of it.
    // A sample that is not a number (NaN, infinite) counts as silence.
    std::optional<double> feed(const float *samples, qsizetype count, double firstSampleMs);
    // The last block's loudness (RMS, full scale = 1), for a level meter.
    float level() const { return m_level; }

private:
    struct Frame {
        float tone440 = 0, tone880 = 0; // each tone's share of the frame's power
        float power = 0;
    };
    struct Block {
        qint64 firstSample;
        double firstSampleMs;
    };

    float highPass(float x);
    void endFrame();
    std::optional<double> confirmMark();
    bool present(qint64 frame, bool main) const;
    int countPresent(qint64 from, qint64 to, bool main) const;
    bool mainToneStartsAt(qint64 frame) const;
    bool pipAt(qint64 frame) const;
    std::optional<double> onsetSample(qint64 frame) const;
    double timeOfSample(double sample) const;
    void forgetOld();

    int m_rate;
    int m_frameLength;
    double m_hp[4] = {};               // the high-pass filter's state
    double m_b0, m_b1, m_b2, m_a1, m_a2; // and its coefficients
    std::vector<float> m_samples;      // filtered, from m_firstKept on
    qint64 m_firstKept = 0;
    qint64 m_received = 0;
    std::deque<Frame> m_frames;        // from m_firstFrame on
    qint64 m_firstFrame = 0;
    std::deque<Block> m_blocks;
    float m_level = 0;
    bool m_marked = false;
};

// How far the system clock was ahead of the signal: the reading at the mark against the
// nearest whole minute, in milliseconds (-30 000 up to 30 000), on absolute time.
double offsetFromMinute(double markMs);
