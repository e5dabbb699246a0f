#!/usr/bin/env python3
"""How exactly the listening box sets the clock on a busy computer: the end-to-end listening
run (a private sound server, a stand-in time service, the time faked) a few times on a quiet
machine, then as many with every core spinning at the user's priority and the sound server
raised, as desktops run it. Usage: listenload.py BINARY SYNTH [TRIES]; run under xvfb-run."""

import os
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'e2e'))
import test_clock as e2e  # noqa: E402  (reads BINARY and SYNTH from argv)

AHEAD = 0.43


def tries(count, busy):
    errors = []
    spinners = [subprocess.Popen([sys.executable, '-c', 'while True: pass']) for _ in range(2 * os.cpu_count() if busy else 0)]
    e2e.SOUND_NICE = -11 if busy else 0  # the server and the microphone standing in for the card
    try:
        for _ in range(count):
            with tempfile.TemporaryDirectory() as home:
                error = e2e.listening_sets_the_clock_to_the_pip(home, AHEAD)
                errors.append(None if error is None else abs(error) * 1000)
    finally:
        for spinner in spinners:
            spinner.kill()
    return errors


def report(name, errors):
    heard = [e for e in errors if e is not None]
    worst = f'{max(heard):.1f} ms' if heard else '-'
    median = f'{statistics.median(heard):.1f} ms' if heard else '-'
    print(f'| {name:<38} | {len(heard)}/{len(errors)} | {median:>8} | {worst:>8} |', flush=True)


if __name__ == '__main__':
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 6
    quiet, busy = tries(count, False), tries(count, True)
    print(f'\nListening under load: a clock {AHEAD:+} s off, the shift sent against the offset heard')
    print('| condition                              | set  | median   | worst    |')
    print('|----------------------------------------|------|---------:|---------:|')
    report('quiet', quiet)
    report(f'{2 * os.cpu_count()} spinners, sound at nice -11', busy)
