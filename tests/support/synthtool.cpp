// Writes the synthetic time signal to standard output as mono float32 samples, for the
// end-to-end run's audio server: synth_timesignal RATE SECONDS MARK_AT
#include "support/synthsignal.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fputs("usage: synth_timesignal RATE SECONDS MARK_AT\n", stderr);
        return 2;
    }
    const synth::Signal signal{std::atoi(argv[1]), std::atof(argv[2]), std::atof(argv[3])};
    const std::vector<float> samples = synth::timeSignal(signal);
    return std::fwrite(samples.data(), sizeof(float), samples.size(), stdout) == samples.size() ? 0 : 1;
}
