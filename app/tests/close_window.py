#!/usr/bin/python3
"""close_window.py WINDOW_ID: asks an X window to close, as a window manager's close button
does (the WM_DELETE_WINDOW message)."""
import sys

from Xlib import X, display, protocol


def main():
    screen = display.Display()
    window = screen.create_resource_object("window", int(sys.argv[1], 0))
    protocols = screen.intern_atom("WM_PROTOCOLS")
    delete = screen.intern_atom("WM_DELETE_WINDOW")
    event = protocol.event.ClientMessage(window=window, client_type=protocols,
                                         data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(event, event_mask=X.NoEventMask)
    screen.flush()


main()
