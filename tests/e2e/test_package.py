#!/usr/bin/env python3
"""The Debian package and `cmake --install`: what they install, that lintian and the
desktop-entry validator accept it, and that the installed program shows the clock.
Run under xvfb-run with the build folder as argument."""

import glob
import gzip
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import test_clock as e2e  # noqa: E402

BUILD = os.path.abspath(sys.argv[1])
EXPECTED_FILES = [
    'bin/ravelquint',
    'share/applications/ravelquint.desktop',
    'share/metainfo/org.ravelquint.ravelquint.metainfo.xml',
    'share/icons/hicolor/32x32/apps/ravelquint.png',
    'share/icons/hicolor/48x48/apps/ravelquint.png',
    'share/icons/hicolor/128x128/apps/ravelquint.png',
    'share/icons/hicolor/scalable/apps/ravelquint.svg',
    'share/man/man1/ravelquint.1.gz',
    'share/doc/ravelquint/copyright',
    'share/doc/ravelquint/changelog.gz',
    'share/doc/ravelquint/examples/50-ravelquint-set-time.rules',
]


def files_under(root):
    return sorted(os.path.relpath(os.path.join(d, f), root) for d, _, fs in os.walk(root) for f in fs)


def project_version():
    with open(os.path.join(BUILD, 'CMakeCache.txt')) as cache:
        return re.search(r'^CMAKE_PROJECT_VERSION:STATIC=(.*)$', cache.read(), re.M).group(1)


def versions_shown(usr):
    """The version as the dialog, the manual page, the metainfo and the changelog give it."""
    def found(pattern, text):
        match = re.search(pattern, text)
        return match.group(1) if match else None
    with open(usr + '/bin/ravelquint', 'rb') as binary:
        dialog = found(r'Version ([0-9.]+)', binary.read().decode('utf-16-le', 'ignore'))
    with gzip.open(usr + '/share/man/man1/ravelquint.1.gz', 'rt') as manual:
        man = found(r'"Ravelquint ([0-9.]+)"', manual.readline())
    with open(usr + '/share/metainfo/org.ravelquint.ravelquint.metainfo.xml') as metainfo:
        release = found(r'<release version="([^"]+)"', metainfo.read())
    with gzip.open(usr + '/share/doc/ravelquint/changelog.gz', 'rt') as changelog:
        history = found(r'^ravelquint \(([^)]+)\)', changelog.readline())
    return {'dialog': dialog, 'manual': man, 'metainfo': release, 'changelog': history}


def main():
    with tempfile.TemporaryDirectory() as work:
        subprocess.run(['cpack', '--config', os.path.join(BUILD, 'CPackConfig.cmake'), '-B', work + '/pkg'],
                       check=True, capture_output=True)
        deb = glob.glob(work + '/pkg/ravelquint_*.deb')[0]
        version = project_version()
        e2e.check(os.path.basename(deb) == f'ravelquint_{version}_amd64.deb', f'package file name ({os.path.basename(deb)})')

        field = lambda name: e2e.run('dpkg-deb', '-f', deb, name).strip()
        depends = field('Depends')
        e2e.check(all(p in depends for p in ('fonts-ipafont-gothic', 'qt6-translations-l10n', 'libqt6widgets6',
                                             'libqt6dbus6')),
                  f"depends on the font, Qt's translations and the Qt libraries ({depends})")
        e2e.check(field('Recommends') == 'systemd, polkitd, qt6-wayland',
                  f"recommends timedated, polkit and Qt's Wayland plugin ({field('Recommends')})")

        lintian = subprocess.run(['lintian', '--fail-on', 'error,warning', deb], capture_output=True, text=True)
        findings = [l for l in lintian.stdout.splitlines() if l[:2] in ('E:', 'W:')]
        e2e.check(lintian.returncode == 0 and not findings, f'lintian finds no errors or warnings {findings}')

        root = work + '/root'
        subprocess.run(['dpkg', '-x', deb, root], check=True)
        packaged = files_under(root + '/usr')
        e2e.check(all(f in packaged for f in EXPECTED_FILES), f'package holds binary, entry, icons, manual ({packaged})')
        desktop = subprocess.run(['desktop-file-validate', root + '/usr/share/applications/ravelquint.desktop'],
                                 capture_output=True, text=True)
        e2e.check(desktop.returncode == 0 and not desktop.stdout.strip(), f'desktop entry validates {desktop.stdout}')
        metainfo = subprocess.run(['appstreamcli', 'validate', '--no-net', '--explain',
                                   root + '/usr/share/metainfo/org.ravelquint.ravelquint.metainfo.xml'],
                                  capture_output=True, text=True)
        faults = [l for l in metainfo.stdout.splitlines() if l[:2] in ('E:', 'W:')]
        e2e.check(metainfo.returncode == 0 and not faults, f'AppStream metainfo validates with no errors or warnings {faults}')

        # Installed and removed again with dpkg itself, in a private root of its own.
        dpkg_root = work + '/dpkg-root'
        for folder in ('info', 'updates', 'triggers'):
            os.makedirs(f'{dpkg_root}/var/lib/dpkg/{folder}')
        open(f'{dpkg_root}/var/lib/dpkg/status', 'w').close()
        dpkg = ['dpkg', f'--root={dpkg_root}', '--log=/dev/null']
        subprocess.run([*dpkg, '--force-depends', '-i', deb], check=True, capture_output=True)
        installed = files_under(dpkg_root + '/usr') if os.path.isdir(dpkg_root + '/usr') else []
        subprocess.run([*dpkg, '-r', 'ravelquint'], check=True, capture_output=True)
        left = files_under(dpkg_root + '/usr') if os.path.isdir(dpkg_root + '/usr') else []
        e2e.check(installed == packaged and left == [], f'dpkg installs {len(installed)} files and removes them all '
                                                        f'({len(left)} left)')

        shown = versions_shown(root + '/usr')
        e2e.check(set(shown.values()) == {version}, f'every place that gives the version gives {version} ({shown})')

        prefix = work + '/prefix'
        subprocess.run(['cmake', '--install', BUILD, '--prefix', prefix], check=True, capture_output=True)
        e2e.check(files_under(prefix) == packaged, 'cmake --install installs what the package does')

        home = work + '/home'
        os.makedirs(home)
        clock = e2e.Clock(home, e2e.SUNDAY_NIGHT, binary=root + '/usr/bin/ravelquint')
        _, _, width, height = clock.geometry()
        e2e.check((width, height) == (225, 76), 'the installed program shows the clock')
        e2e.check(e2e.GREEN in clock.colours_in(*e2e.HOUR_DIGITS), 'the installed program draws the time')
        e2e.check(clock.close_by_window_manager() == 0, 'the installed program closes cleanly')

    print(f'package: {len(e2e.passes)} passed, {len(e2e.failures)} failed')
    return 1 if e2e.failures else 0


if __name__ == '__main__':
    sys.exit(main())
