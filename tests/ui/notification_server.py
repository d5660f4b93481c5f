#!/usr/bin/python3
# A desktop notification server on a session bus of its own: starts the bus, prints its
# address, then one JSON line per notification it gets, until it is terminated.
import json, signal, subprocess, sys
import dbus, dbus.mainloop.glib, dbus.service
from gi.repository import GLib

IFACE = 'org.freedesktop.Notifications'


class Server(dbus.service.Object):
    @dbus.service.method(IFACE, in_signature='susssasa{sv}i', out_signature='u')
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        print(json.dumps({'app': app, 'summary': summary, 'body': body, 'urgency': int(hints.get('urgency', -1))}),
              flush=True)
        return 1


daemon = subprocess.Popen(['dbus-daemon', '--session', '--nofork', '--print-address'], stdout=subprocess.PIPE)
address = daemon.stdout.readline().decode().strip()
signal.signal(signal.SIGTERM, lambda *_: (daemon.terminate(), sys.exit(0)))
dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.bus.BusConnection(address)
name = dbus.service.BusName(IFACE, bus)
Server(bus, '/org/freedesktop/Notifications')
print(address, flush=True)
GLib.MainLoop().run()
