#!/usr/bin/env python3
"""Small X11 requests the end-to-end tests need and xdotool lacks.

    x11tool.py close WINDOW       ask WINDOW to close, as a title bar's close
                                  button does (WM_DELETE_WINDOW)
    x11tool.py screenshot FILE    save the whole screen as a PNG file
    x11tool.py clipboard [primary]
                                  print the clipboard's text (UTF-8), or the
                                  primary selection's; exit 1 when no program
                                  offers any within 5 s

Uses libX11 through ctypes; DISPLAY names the server.
"""
import ctypes
import ctypes.util
import struct
import sys
import zlib

x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XGetImage.restype = ctypes.c_void_p
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                          ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]

x11.XCreateSimpleWindow.restype = ctypes.c_ulong
x11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                    ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
x11.XConvertSelection.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong,
                                  ctypes.c_ulong]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XGetWindowProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
                                   ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                   ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
                                   ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
x11.XFree.argtypes = [ctypes.c_void_p]

ClientMessage = 33
SelectionNotify = 31
ZPixmap = 2


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5), ("pad", ctypes.c_long * 24)]


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


def open_display():
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("x11tool: cannot open the display")
    return display


def close(window):
    display = open_display()
    event = XClientMessageEvent()
    event.type = ClientMessage
    event.window = window
    event.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.format = 32
    event.l[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    event.l[1] = 0  # CurrentTime
    if not x11.XSendEvent(display, window, 0, 0, ctypes.byref(event)):
        sys.exit("x11tool: the close request could not be sent")
    x11.XSync(display, 0)


def screenshot(path):
    display = open_display()
    width, height = x11.XDisplayWidth(display, 0), x11.XDisplayHeight(display, 0)
    pointer = x11.XGetImage(display, x11.XDefaultRootWindow(display), 0, 0, width, height, 0xFFFFFFFF, ZPixmap)
    if not pointer:
        sys.exit("x11tool: cannot read the screen")
    image = XImage.from_address(pointer)
    if image.bits_per_pixel != 32:
        sys.exit("x11tool: %d bits per pixel not supported" % image.bits_per_pixel)
    data = ctypes.string_at(image.data, image.bytes_per_line * image.height)
    rows = bytearray()
    for y in range(image.height):
        line = data[y * image.bytes_per_line: y * image.bytes_per_line + 4 * image.width]
        rgb = bytearray(3 * image.width)
        rgb[0::3], rgb[1::3], rgb[2::3] = line[2::4], line[1::4], line[0::4]
        rows += b"\0" + rgb

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", image.width, image.height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(bytes(rows), 6)))
        out.write(chunk(b"IEND", b""))


class XSelectionEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("requestor", ctypes.c_ulong), ("selection", ctypes.c_ulong),
                ("target", ctypes.c_ulong), ("property", ctypes.c_ulong), ("time", ctypes.c_ulong)]


def clipboard(name=b"CLIPBOARD"):
    import time
    display = open_display()
    root = x11.XDefaultRootWindow(display)
    window = x11.XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0)
    selection = x11.XInternAtom(display, name, 0)
    utf8 = x11.XInternAtom(display, b"UTF8_STRING", 0)
    prop = x11.XInternAtom(display, b"X11TOOL_CLIP", 0)
    x11.XConvertSelection(display, selection, utf8, prop, window, 0)
    x11.XFlush(display)
    event = (ctypes.c_long * 24)()
    deadline = time.time() + 5
    while time.time() < deadline:
        if not x11.XPending(display):
            time.sleep(0.05)
            continue
        x11.XNextEvent(display, ctypes.byref(event))
        notify = XSelectionEvent.from_buffer(event)
        if notify.type != SelectionNotify:
            continue
        if notify.property == 0:
            sys.exit(1)
        kind, fmt, count, left = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong()
        data = ctypes.c_void_p()
        x11.XGetWindowProperty(display, window, prop, 0, 1 << 24, 1, 0, ctypes.byref(kind), ctypes.byref(fmt),
                               ctypes.byref(count), ctypes.byref(left), ctypes.byref(data))
        text = ctypes.string_at(data, count.value) if data else b""
        if data:
            x11.XFree(data)
        sys.stdout.buffer.write(text)
        return
    sys.exit(1)


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "close":
        close(int(sys.argv[2], 0))
    elif len(sys.argv) == 3 and sys.argv[1] == "screenshot":
        screenshot(sys.argv[2])
    elif len(sys.argv) == 2 and sys.argv[1] == "clipboard":
        clipboard()
    elif len(sys.argv) == 3 and sys.argv[1] == "clipboard" and sys.argv[2] == "primary":
        clipboard(b"PRIMARY")
    else:
        sys.exit(__doc__)
