#!/usr/bin/python3
# A desktop notification server for the tests: owns org.freedesktop.Notifications on the bus
# of DBUS_SESSION_BUS_ADDRESS and prints every notification it gets as one JSON line, until
# it is terminated.
import json

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

IFACE = 'org.freedesktop.Notifications'


class Server(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, '/org/freedesktop/Notifications')
        self.last_id = 0

    @dbus.service.method(IFACE, in_signature='susssasa{sv}i', out_signature='u')
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        self.last_id += 1
        print(json.dumps({'app': str(app), 'icon': str(icon), 'summary': str(summary),
                          'body': str(body), 'urgency': int(hints.get('urgency', -1))}), flush=True)
        return dbus.UInt32(self.last_id)

    @dbus.service.method(IFACE, out_signature='as')
    def GetCapabilities(self):
        return ['body']

    @dbus.service.method(IFACE, out_signature='ssss')
    def GetServerInformation(self):
        return ('tarnwick-test', 'tarnwick', '1', '1.2')


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
name = dbus.service.BusName(IFACE, bus)
server = Server(bus)
print('ready', flush=True)
GLib.MainLoop().run()
