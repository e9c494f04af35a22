"""Drives the real program from outside, for its tests, benchmarks and scripts: in a private X
server under a window manager (xsession), through its windows' controls and looks (program),
and as a page in headless Chromium (browser), Firefox or WebKit (drivers)."""


class Failure(Exception):
    """The program, or a tool that drives it, did not do what was expected."""
