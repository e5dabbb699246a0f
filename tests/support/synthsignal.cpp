#include "support/synthsignal.h"

#include <cmath>
#include <numbers>

namespace synth {

namespace {
constexpr double kPi = std::numbers::pi;

void addTone(std::vector<float> &samples, int rate, double frequency, double from, double steady, double fade,
             double amplitude)
{
    const auto first = std::size_t(std::max(0.0, std::ceil(from * rate)));
    for (std::size_t n = first; n < samples.size(); ++n) {
        const double t = double(n) / rate - from;
        if (t >= steady + fade)
            break;
        const double gain = t < steady ? 1 : 1 - (t - steady) / fade;
        samples[n] += float(amplitude * gain * std::sin(2 * kPi * frequency * t));
    }
}

// A second-order Butterworth section, low-pass or high-pass.
struct Biquad {
    double b0, b1, b2, a1, a2, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    Biquad(int rate, double cutoff, bool high)
    {
        const double k = std::tan(kPi * cutoff / rate), q = std::numbers::sqrt2;
        const double norm = 1 / (1 + q * k + k * k);
        b0 = high ? norm : k * k * norm;
        b1 = high ? -2 * norm : 2 * b0;
        b2 = b0;
        a1 = 2 * (k * k - 1) * norm;
        a2 = (1 - q * k + k * k) * norm;
    }
    float operator()(float x)
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return float(y);
    }
};

std::vector<float> bandNoise(std::size_t count, int rate, double rms, std::mt19937 &random)
{
    std::normal_distribution<float> gauss(0, 1);
    std::vector<float> noise(count);
    for (float &x : noise)
        x = gauss(random);
    bandPass(noise, rate);
    double power = 0;
    for (const float x : noise)
        power += double(x) * x;
    const double scale = rms / std::sqrt(power / double(std::max<std::size_t>(count, 1)));
    for (float &x : noise)
        x = float(x * scale);
    return noise;
}
} // namespace

std::vector<float> timeSignal(const Signal &s)
{
    std::vector<float> samples(std::size_t(s.seconds * s.rate), 0.0f);
    for (int k = 0; k < 3 && s.pips; ++k) {
        if (k != s.maskedPip)
            addTone(samples, s.rate, 440, s.markAt - (3 - k) * s.pipSpacing, 0.1, 0, s.amplitude);
    }
    if (s.mainTone)
        addTone(samples, s.rate, 880, s.markAt, 1, 2, s.amplitude);
    return samples;
}

void bandPass(std::vector<float> &samples, int rate)
{
    Biquad high1(rate, 300, true), high2(rate, 300, true), low1(rate, 3400, false), low2(rate, 3400, false);
    for (float &x : samples)
        x = low2(low1(high2(high1(x))));
}

void addNoise(std::vector<float> &samples, int rate, double amplitude, double snrDb, std::mt19937 &random)
{
    const double rms = amplitude / std::numbers::sqrt2 / std::pow(10, snrDb / 20);
    const std::vector<float> noise = bandNoise(samples.size(), rate, rms, random);
    for (std::size_t n = 0; n < samples.size(); ++n)
        samples[n] += noise[n];
}

void addHum(std::vector<float> &samples, int rate, double amplitude)
{
    for (std::size_t n = 0; n < samples.size(); ++n) {
        const double t = double(n) / rate;
        samples[n] += float(amplitude * (std::sin(2 * kPi * 50 * t) + 0.3 * std::sin(2 * kPi * 150 * t)
                                         + 0.1 * std::sin(2 * kPi * 250 * t)));
    }
}

void addSpeech(std::vector<float> &samples, int rate, double from, double to, double amplitude,
               std::mt19937 &random)
{
    const auto first = std::size_t(from * rate), last = std::min(samples.size(), std::size_t(to * rate));
    if (first >= last)
        return;
    const std::vector<float> noise = bandNoise(last - first, rate, amplitude / std::numbers::sqrt2, random);
    std::uniform_real_distribution<double> syllable(0.1, 0.3), pause(0.0, 0.15);
    double start = 0, length = syllable(random);
    for (std::size_t n = 0; n < noise.size(); ++n) {
        double t = double(n) / rate - start;
        if (t > length) {
            start += length + pause(random);
            length = syllable(random);
            t = double(n) / rate - start;
        }
        const double envelope = t < 0 ? 0 : std::sin(kPi * t / length);
        samples[first + n] += float(noise[n] * envelope * 1.4);
    }
}

std::vector<float> music(int rate, double seconds, std::mt19937 &random)
{
    std::vector<float> samples(std::size_t(seconds * rate), 0.0f);
    std::uniform_real_distribution<double> duration(0.15, 1.6), kind(0, 1);
    std::uniform_int_distribution<int> semitone(-12, 24); // around A4
    const auto note = [](int semitones) { return 440 * std::pow(2.0, semitones / 12.0); };
    for (double t = 0; t < seconds;) {
        const double what = kind(random);
        if (what < 0.6) { // a chord, often with A4 or A5 in it
            const int root = kind(random) < 0.3 ? 0 : semitone(random);
            const double d = duration(random);
            for (const int step : {0, 4, 7, 12})
                addTone(samples, rate, note(root + step), t, d * 0.8, d * 0.2, 0.08);
            t += d;
        } else if (what < 0.8) { // a bare 880 Hz tone, sometimes with a single pip before it
            if (kind(random) < 0.5)
                addTone(samples, rate, 440, t, 0.1, 0, 0.2);
            addTone(samples, rate, 880, t + 1, 1, 1, 0.2);
            t += 3.2;
        } else { // pips at 0.8 s spacing, then the tone
            for (int k = 0; k < 3; ++k)
                addTone(samples, rate, 440, t + 0.8 * k, 0.1, 0, 0.2);
            addTone(samples, rate, 880, t + 2.4, 1, 1, 0.2);
            t += 4.6;
        }
    }
    return samples;
}

} // namespace synth
