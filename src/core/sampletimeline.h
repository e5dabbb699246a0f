#pragma once

#include <QtGlobal>
#include <deque>
#include <vector>

// Times captured sound by its place in the stream. A read tells when its first sample was
// recorded only as well as the reader was on time and the server knew the latency; the
// sample count does not lie. A read late by any cause makes a block look newer, never
// older, so each block bounds the moment the stream began from above: the least of the
// recent bounds is the line, and each block is timed by its place on it.
//
// Sound a source kept while nobody read it comes in a burst, faster than it was recorded,
// and later than the line says: a block later than its own duration, and than a busy reader
// can be, was recorded before anyone listened, and is dropped, not timed.
class SampleTimeline
{
public:
    static constexpr double kHoldMs = 500;  // sound after a block that must come before it is judged
    static constexpr double kLateMs = 250;  // how late a busy reader (under a sanitizer, say) may be and still be believed
    static constexpr double kSpanMs = 5000; // bounds older than this give way: the sound card's clock drifts

    struct Block {
        std::vector<float> samples;
        double firstSampleMs = 0;
    };

    explicit SampleTimeline(int sampleRate);

    // `readAtMs`: the steady clock's reading as the block is read; `agoMs`: how long before
    // that its first sample was recorded, as the server tells it (its latency, and all that
    // was buffered before the block).
    void add(std::vector<float> samples, double readAtMs, double agoMs);
    // Samples the stream lost: they take their place on the line all the same.
    void skip(qint64 count) { m_position += count; }
    // The blocks judged, oldest first; each waits for kHoldMs of sound after it.
    std::vector<Block> take();

private:
    struct Pending {
        std::vector<float> samples;
        qint64 position;
        double began; // when the stream began, as this block's read tells it
    };
    struct Bound {
        qint64 position;
        double began;
    };
    double msOf(qint64 samples) const { return double(samples) * m_msPerSample; }

    double m_msPerSample;
    qint64 m_position = 0;
    std::deque<Pending> m_pending;
    std::deque<Bound> m_bounds; // rising: the least is first
};
