#include "core/sampletimeline.h"

#include <algorithm>

SampleTimeline::SampleTimeline(int sampleRate) : m_msPerSample(1000.0 / sampleRate) {}

void SampleTimeline::add(std::vector<float> samples, double readAtMs, double agoMs)
{
    const double began = readAtMs - agoMs - msOf(m_position);
    while (!m_bounds.empty() && m_bounds.back().began >= began)
        m_bounds.pop_back();
    m_bounds.push_back({m_position, began});
    const auto count = qint64(samples.size());
    m_pending.push_back({std::move(samples), m_position, began});
    m_position += count;
    while (m_bounds.size() > 1 && msOf(m_position - m_bounds.front().position) > kSpanMs)
        m_bounds.pop_front();
}

std::vector<SampleTimeline::Block> SampleTimeline::take()
{
    std::vector<Block> judged;
    while (!m_pending.empty()) {
        Pending &block = m_pending.front();
        const auto count = qint64(block.samples.size());
        if (msOf(m_position - block.position - count) < kHoldMs)
            break;
        const double line = m_bounds.front().began;
        if (block.began - line <= std::max(msOf(count), kLateMs))
            judged.push_back({std::move(block.samples), line + msOf(block.position)});
        m_pending.pop_front();
    }
    return judged;
}
