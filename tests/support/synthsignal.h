#pragma once

#include <random>
#include <vector>

// Synthetic sound for the time-signal detector's tests, its benchmark and the end-to-end
// run: the four-tone signal of Japanese radio, and what a radio and a room do to it.
namespace synth {

struct Signal {
    int rate = 48000;
    double seconds = 8;     // the whole buffer
    double markAt = 5;      // where the 880 Hz tone starts
    double pipSpacing = 1;  // 1 s in the real signal
    int maskedPip = -1;     // 0, 1 or 2: that pip is left out
    bool pips = true;
    bool mainTone = true;
    double amplitude = 0.3;
};

// Pips of 440 Hz (100 ms) at 3, 2 and 1 spacings before the mark, then 880 Hz held for
// 1 s and fading to nothing over 2 s.
std::vector<float> timeSignal(const Signal &signal);

// A small radio's speaker: fourth-order band-pass, 300–3400 Hz.
void bandPass(std::vector<float> &samples, int rate);
// Noise through the same band, `snrDb` below a sine of `amplitude`.
void addNoise(std::vector<float> &samples, int rate, double amplitude, double snrDb, std::mt19937 &random);
// Mains hum: 50 Hz and its odd harmonics.
void addHum(std::vector<float> &samples, int rate, double amplitude);
// A voice: band-limited noise in syllables of 100–300 ms, between `from` and `to` seconds.
void addSpeech(std::vector<float> &samples, int rate, double from, double to, double amplitude,
               std::mt19937 &random);
// Music-like tones for `seconds`: chords, a bare 880 Hz tone, and 440 Hz pips at 0.8 s
// spacing before an 880 Hz tone; none of it a time signal.
std::vector<float> music(int rate, double seconds, std::mt19937 &random);

} // namespace synth
