"""Waiting on a condition instead of sleeping for a guessed while."""

import time

POLL_SECONDS = 0.02
# Room for a program or server to come up on a machine busy with builds; a
# healthy start takes well under a second.
STARTUP_SECONDS = 30


class WaitTimeout(AssertionError):
    pass


def wait_until(condition, timeout, what, observe=None):
    """Polls condition() until it returns something true and returns that.
    Fails after timeout seconds, naming what it waited for and what
    observe(), if given, last saw."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() >= deadline:
            seen = f"; last seen: {observe()!r}" if observe else ""
            raise WaitTimeout(f"gave up after {timeout} s waiting for {what}{seen}")
        time.sleep(POLL_SECONDS)
