'''A timedated stand-in for tests: it refuses to set the time while automatic time
synchronisation is on, as the real service does, and can be told to refuse with a given
D-Bus error ("Refuse", "Message"), to answer late as an open authorisation prompt makes
it ("Delay", seconds), and to apply the change to a clock faked by libfaketime
("TimestampFile": the offset file that FAKETIME_TIMESTAMP_FILE names). "NTP" and "CanNTP"
set the sync properties; "RefuseNTP" names the D-Bus error with which SetNTP refuses.'''

import dbus

BUS_NAME = 'org.freedesktop.timedate1'
MAIN_OBJ = '/org/freedesktop/timedate1'
MAIN_IFACE = 'org.freedesktop.timedate1'
SYSTEM_BUS = True


def set_time_code(parameters):
    lines = ['import os, time']
    delay = float(parameters.get('Delay', 0))
    if delay:
        lines.append(f'time.sleep({delay})')
    lines.append(f'if self.Get("{MAIN_IFACE}", "NTP"): raise dbus.exceptions.DBusException('
                 '"Automatic time synchronization is enabled", '
                 f'name="{MAIN_IFACE}.AutomaticTimeSyncEnabled")')
    refuse = parameters.get('Refuse')
    if refuse:
        message = parameters.get('Message', 'refused')
        lines.append(f'raise dbus.exceptions.DBusException({message!r}, name={refuse!r})')
    stamp = parameters.get('TimestampFile')
    if stamp:
        # As timedated does once authorised: a relative change counts from now.
        lines += [f'offset = float(open({stamp!r}).read())',
                  'offset = offset + args[0] / 1e6 if args[1] else args[0] / 1e6 - time.time()',
                  f'open({stamp!r} + ".new", "w").write("%+.6f" % offset)',
                  f'os.replace({stamp!r} + ".new", {stamp!r})']
    return '\n'.join(lines)


def set_ntp_code(parameters):
    refuse = parameters.get('RefuseNTP')
    if refuse:
        return f'raise dbus.exceptions.DBusException("refused", name={refuse!r})'
    return f'self.Set("{MAIN_IFACE}", "NTP", args[0])'


def load(mock, parameters):
    mock.AddMethods(MAIN_IFACE, [
        ('SetTime', 'xbb', '', set_time_code(parameters)),
        ('SetNTP', 'bb', '', set_ntp_code(parameters)),
    ])
    mock.AddProperties(MAIN_IFACE, dbus.Dictionary({
        'Timezone': parameters.get('Timezone', 'Asia/Tokyo'),
        'LocalRTC': False,
        'NTP': parameters.get('NTP', False),
        'NTPSynchronized': parameters.get('NTP', False),
        'CanNTP': parameters.get('CanNTP', True),
    }, signature='sv'))
