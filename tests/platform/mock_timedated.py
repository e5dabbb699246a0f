'''A timedated stand-in for tests: it refuses to set the time while automatic time
synchronisation is on, as the real service does, and can be told to refuse with a given
D-Bus error ("Refuse", "Message") or to answer late ("Delay", seconds).'''

import dbus

BUS_NAME = 'org.freedesktop.timedate1'
MAIN_OBJ = '/org/freedesktop/timedate1'
MAIN_IFACE = 'org.freedesktop.timedate1'
SYSTEM_BUS = True


def set_time_code(parameters):
    lines = []
    delay = float(parameters.get('Delay', 0))
    if delay:
        lines.append(f'import time; time.sleep({delay})')
    lines.append(f'if self.Get("{MAIN_IFACE}", "NTP"): raise dbus.exceptions.DBusException('
                 '"Automatic time synchronization is enabled", '
                 f'name="{MAIN_IFACE}.AutomaticTimeSyncEnabled")')
    refuse = parameters.get('Refuse')
    if refuse:
        message = parameters.get('Message', 'refused')
        lines.append(f'raise dbus.exceptions.DBusException({message!r}, name={refuse!r})')
    return '\n'.join(lines)


def load(mock, parameters):
    mock.AddMethods(MAIN_IFACE, [
        ('SetTime', 'xbb', '', set_time_code(parameters)),
        ('SetNTP', 'bb', '', f'self.Set("{MAIN_IFACE}", "NTP", args[0])'),
    ])
    mock.AddProperties(MAIN_IFACE, dbus.Dictionary({
        'Timezone': parameters.get('Timezone', 'Asia/Tokyo'),
        'LocalRTC': False,
        'NTP': parameters.get('NTP', False),
        'NTPSynchronized': parameters.get('NTP', False),
        'CanNTP': True,
    }, signature='sv'))
