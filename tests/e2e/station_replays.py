"""What station programs send to a rig-control server, taken from their own
source code (file and function named with each replay), as data: the lines,
the answers each program reads back, and the program's own pacing.

A program that talks to the server itself is replayed line by line on raw
connections. A program that links hamlib's network client makes hamlib
calls, not lines: those replays are the program's calls given to hamlib's
own client (rigctl -m 2) at the program's pace, so that the client's cache
(500 ms) and its open sequence put on the wire what they put there for the
program."""

from dataclasses import dataclass
from fractions import Fraction

from receiver_harness import set_frequency


@dataclass(frozen=True)
class AnyLines:
    """An answer of this many lines whose text the replay does not judge."""
    count: int


@dataclass(frozen=True)
class Block:
    """An answer read up to and including its line that starts with "RPRT",
    as extended-protocol clients read one; the first line is given."""
    first: str


# A hamlib call that the client reports as failed; its text is the
# client's and differs between the error codes.
REFUSED = "refused"


@dataclass(frozen=True)
class Step:
    send: str  # a line, or for hamlib's client a command as rigctl takes it
    # The lines the program reads, AnyLines, Block or (REFUSED,); through
    # hamlib's client what it returns, None for anything but a failure.
    answer: object = None
    after: float = 0.0  # seconds the program waits before sending it


@dataclass(frozen=True)
class Replay:
    program: str
    steps: tuple
    tunes: tuple = ()  # the dial frequencies the receiver is tuned to, in order
    server_options: tuple = ()
    through_hamlib: bool = False  # the steps are calls to hamlib's client
    hamlib_options: tuple = ()
    connection_per_step: bool = False
    patience: float = 10.0  # seconds the program waits for an answer
    via_chained_rigctld: bool = False  # through the program's own rigctld -m 2


def oscillator_set(dial_hz, multiplier=2):
    """The request that tunes the receiver to this dial frequency: the
    oscillator word is MHz x 2^21, rounded to the nearest, a tie to even."""
    word = round(Fraction(multiplier * dial_hz * 2**21, 10**6))
    return set_frequency(word.to_bytes(4, "little").hex())


def _extended(header, *fields):
    """An extended answer: the command's long name and its arguments, the
    labelled values, the result."""
    return (header, *fields, "RPRT 0")


def _cqrlog_steps(reads_vfo):
    """CQRLOG, src/uRigControl.pas: OnConnectRigctldConnect and
    OnRigPollTimer send "+\\chk_vfo" and "+\\dump_caps" at its start-up pace
    (100 ms) and read up to the RPRT line; then every RigPoll (500 ms) one
    line, "+f +m", with "+v" when the caps said "Can get VFO: Y"
    (InitReceive); SetFreqKHz and SetModePass queue "+\\set_freq" and
    "+\\set_mode" with the width 0 for "keep it"."""
    def poll(hz, mode):
        answer = (_extended("get_freq:", f"Frequency: {hz}")
                  + _extended("get_mode:", f"Mode: {mode}", "Passband: 3000"))
        if reads_vfo:
            return Step("+f +m +v", answer + _extended("get_vfo:", "VFO: VFOA"), after=0.5)
        return Step("+f +m", answer, after=0.5)
    return (
        Step("+\\chk_vfo", ("ChkVFO: 0",), after=0.1),
        Step("+\\dump_caps", Block("dump_caps:"), after=0.1),
        poll(0, "USB"),
        Step("+\\set_freq 14074000", ("set_freq: 14074000", "RPRT 0"), after=0.5),
        Step("+\\set_mode CW 0", ("set_mode: CW 0", "RPRT 0"), after=0.5),
        poll(14074000, "CW"),
    )


# The calls of WSJT-X, Transceiver/HamlibTransceiver.cpp, with Split "Rig"
# and PTT "CAT", started before any frequency is set: do_start reads the
# VFO, mode and frequency (0: no resolution probe); do_poll, once a second,
# reads VFO, split, frequency, mode and PTT; do_frequency for the band
# change sets the frequency, then mode Data (PKTUSB) unchanged in width, and
# both again; do_tx_frequency turns split on with VFO B for the transmitter
# and sets its frequency and mode; Tune sets PTT on.
_WSJTX_POLL = (Step("v", ("VFOA",), after=1.0), Step("s"), Step("f"), Step("m"), Step("t", ("0",)))
_WSJTX_SPLIT_STEPS = (
    Step("v", ("VFOA",)), Step("m", ("USB", "3000")), Step("f", ("0",)),
    *_WSJTX_POLL,
    Step("F 14074000", after=1.0), Step("m", ("USB", "3000")), Step("M PKTUSB -1"),
    Step("F 14074000"), Step("M PKTUSB -1"),
    Step("S 1 VFOB", after=0.2), Step("K 14075500 PKTUSB -1"), Step("S 1 VFOB"),
    Step("v", ("VFOA",), after=1.0), Step("s", ("1", "VFOB")), Step("f", ("14074000",)),
    Step("m", ("PKTUSB", "3000")), Step("t", ("0",)),
    Step("T 1", (REFUSED,), after=0.5),
    Step("f", ("14074000",), after=1.0), Step("i", ("14075500",)),
)

# fldigi, src/rigcontrol/hamlib.cxx: hamlib_init reads the frequency (0
# counts as "Rig not responding") and the mode, and with "PTT via Hamlib"
# sets PTT off; hamlib_loop reads frequency and mode every 100 ms (hamlib's
# client answers most from its cache); hamlib_setmode reads the mode and
# sets the new one with the width it read. Its hamlib time-out is 200 ms.
_FLDIGI_STEPS = (
    Step("f", ("7074000",)), Step("m", ("USB", "3000")), Step("T 0"),
    *(Step(read, after=0.1) for read in ("f", "m") * 3),
    Step("m", ("USB", "3000")), Step("M LSB 3000"),
    Step("f", ("7074000",), after=0.6), Step("m", ("LSB", "3000")),
)

REPLAYS = (
    # The server serves no "\\dump_caps"; hamlib's rigctld does, with VFO reads.
    Replay("CQRLOG, direct to the server", _cqrlog_steps(reads_vfo=False), tunes=(14074000,)),
    Replay("CQRLOG, through its own rigctld on another port", _cqrlog_steps(reads_vfo=True),
           tunes=(14074000,), via_chained_rigctld=True),
    # Loggers written for rigctld ask for a VFO's state in one call; the
    # command and its extended answer are hamlib's (tests/rigctl_parse.c,
    # get_vfo_info), one line per value, and ";" joins the fields. A QSY
    # to a fractional frequency reads back in whole hertz, as integer
    # parsers need.
    Replay("a logger's extended reads", (
        Step("+\\get_vfo_info VFOA", _extended("get_vfo_info: VFOA", "Freq: 0", "Mode: USB",
                                               "Width: 3000", "Split: 0", "SatMode: 0")),
        Step("+\\set_freq 7074000.5", ("set_freq: 7074000.5", "RPRT 0"), after=1.0),
        Step(";\\get_freq", ("get_freq:;Frequency: 7074000;RPRT 0",), after=1.0),
        Step("+\\get_vfo_info VFOA", _extended("get_vfo_info: VFOA", "Freq: 7074000", "Mode: USB",
                                               "Width: 3000", "Split: 0", "SatMode: 0")),
    ), tunes=(7074000,)),
    Replay("WSJT-X, Split Rig, PTT CAT", _WSJTX_SPLIT_STEPS, tunes=(14074000, 14074000),
           through_hamlib=True),
    Replay("fldigi, PTT via Hamlib", _FLDIGI_STEPS, through_hamlib=True,
           hamlib_options=("-C", "timeout=200"), server_options=("--frequency", "7074000"),
           tunes=(7074000,)),
    # Gpredict, src/gtk-rig-ctrl.c: exec_rx_cycle for a radio of type RX
    # once a cycle (1000 ms by default): set_freq_simplex sends "F %10.0f"
    # (blanks before the number), get_freq_simplex "f" 5 ms later, each
    # answer taken from one recv(); from the second cycle on, an "f" first
    # for the dial feedback.
    Replay("Gpredict, RX only, Doppler", (
        Step("F  145800000", ("RPRT 0",)), Step("f", ("145800000",), after=0.005),
        Step("f", ("145800000",), after=1.0),
        Step("F  145799700", ("RPRT 0",)), Step("f", ("145799700",), after=0.005),
    ), tunes=(145800000, 145799700)),
    # SDR++, core/src/utils/proto/rigctl.cpp: Client::setFreq sends
    # "F %lf" on each retune of misc_modules/rigctl_client and waits 1 s
    # for the RPRT line (recvStatus).
    Replay("SDR++ rigctl client", tuple(
        Step(f"F {hz:f}", ("RPRT 0",), after=0.05) for hz in (14074000, 14074500, 14075000)
    ), tunes=(14074000, 14074500, 14075000), patience=1.0),
    # WaveLogGate, internal/radio/client.go: GetStatus, every second
    # (poller.go), a connection per command, reading one line each within
    # 3 s: "f", "m", "u SATMODE", "s"; SetFreqMode writes "F %d" and
    # "M %s -1" on one connection and closes it without reading.
    Replay("WaveLogGate", (
        Step("f", ("0",)), Step("m", ("USB",)), Step("u SATMODE", AnyLines(1)), Step("s", ("0",)),
        Step("F 7074000\nM LSB -1", (), after=0.5),
        Step("f", ("7074000",), after=1.0), Step("m", ("LSB",)),
        Step("u SATMODE", AnyLines(1)), Step("s", ("0",)),
    ), tunes=(7074000,), connection_per_step=True, patience=3.0),
)
