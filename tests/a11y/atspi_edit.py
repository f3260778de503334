"""An edit made the way a screen-reader user makes it: File > Open, the path
typed into the file dialog, the arrow keys to an empty channel, Enter, a
typed frequency, Enter, File > Save under a new name; then the saved bytes
are compared with the bytes that edit must give."""

import os
import subprocess
import time

import pyatspi

from atspi_tree import (
    Failure,
    has_state,
    interactive_controls,
    name_of,
    node_at,
    press,
    role_of,
    safe,
    showing_windows,
    wait_for,
    walk,
)


EMPTY_CHANNEL = "FFFFFFFFFFFFFFFFFFFFFFFFF8F0FCFF"


def patch(data, offset, hex_text):
    """`data` with the bytes at image offset `offset` (after the five-byte
    tag) replaced by `hex_text`."""
    at = 5 + offset
    piece = bytes.fromhex(hex_text)
    return data[:at] + piece + data[at + len(piece):]


# The test opens the suite's rich test file (tests/support/test_images.h,
# written into files/channels.DAT by the test_data_file program): channel 1 462.5625
# with D023N / 88.5, channel 2 446.00625 / 451.00625 in the scan list, channel
# 3 empty, channel 16 400.00000 with D023I.
#
# 446.0063 typed into the empty channel 3 is stored on the 6.25 kHz raster as
# 446.00625 and gives a new channel: the same frequency both ways (BCD
# 44600625, low byte first), no tones, busy lock on (F8), low power and wide
# band (D0), and channel 3 joins the scan list (bit 2 of 0x16E). Ctrl+Home
# and Delete then empty channel 1 (not channel 3, where the cursor was), which
# was not in the scan list.
TYPED = "446.0063"
STORED = "446.00625"


def expected_after_edit(rich):
    saved = patch(rich, 0x00, EMPTY_CHANNEL)
    saved = patch(saved, 0x20, "25066044" "25066044" "FFFF" "FFFF" "F8D0FCFF")
    return patch(saved, 0x16E, "0600")


KEYSYMS = {
    "Return": 0xFF0D,
    "Escape": 0xFF1B,
    "Home": 0xFF50,
    "Left": 0xFF51,
    "Up": 0xFF52,
    "Right": 0xFF53,
    "Down": 0xFF54,
    "Page_Up": 0xFF55,
    "Tab": 0xFF09,
}


def key(name):
    pyatspi.Registry.generateKeyboardEvent(KEYSYMS[name], None, pyatspi.KEY_SYM)
    time.sleep(0.05)


def type_text(text):
    for ch in text:
        pyatspi.Registry.generateKeyboardEvent(ord(ch), None, pyatspi.KEY_SYM)
        time.sleep(0.03)


def xdotool_key(chord):
    """A key with modifiers (ctrl+Home), through the X server as typed."""
    try:
        subprocess.run(["xdotool", "key", chord], timeout=5, check=True)
    except (OSError, subprocess.SubprocessError) as error:
        raise Failure("xdotool could not press %s: %s" % (chord, error))
    time.sleep(0.1)


def announcement(window):
    """The text the window spoke last as a notification, empty before any."""
    for _, node in walk(window):
        if role_of(node) == pyatspi.ROLE_NOTIFICATION:
            return name_of(node)
    return ""


def heard(window, what, expected):
    """Waits for a notification holding `expected`."""
    try:
        return wait_for("the notification of %s" % what,
                        lambda: expected in announcement(window) and announcement(window),
                        timeout=5)
    except Failure:
        raise Failure("after %s the last notification was %r, without %r" %
                      (what, announcement(window), expected))


def give_keyboard_to(pid, title):
    """Under Xvfb no window manager hands the keyboard back to the main
    window when a dialog closes; this does what the window manager would."""
    try:
        ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid), "--name", "."],
                             capture_output=True, text=True, timeout=5).stdout.split()
        for window in ids[:50]:
            name = subprocess.run(["xdotool", "getwindowname", window], capture_output=True,
                                  text=True, timeout=5).stdout.strip()
            if name == title:
                subprocess.run(["xdotool", "windowfocus", "--sync", window], timeout=5, check=True)
                return
    except (OSError, subprocess.SubprocessError) as error:
        raise Failure("xdotool could not give the main window the keyboard: %s" % error)
    raise Failure("no X window titled %r to give the keyboard to" % title)


def focus_grid(pid, main, table_node):
    """Gives the main window the keyboard and tabs to the grid."""
    give_keyboard_to(pid, name_of(main))
    wait_for("the main window to become active",
             lambda: has_state(main, pyatspi.STATE_ACTIVE), timeout=3)
    for _ in range(12):
        if has_state(table_node, pyatspi.STATE_FOCUSED):
            return
        key("Tab")
        time.sleep(0.1)
    raise Failure("Tab never brought the keyboard focus to the channel grid")


def grid_of(main):
    for _, node in interactive_controls(main):
        if role_of(node) in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE):
            return node
    raise Failure("the main window shows no table (the channel grid)")


def cell_text(table, row, column):
    cell = safe(lambda: table.getAccessibleAt(row, column))
    return name_of(cell).strip() if cell is not None else ""


def channel_row(table, channel):
    """The table row of a channel, found by the number in its first column."""
    for row in range(min(table.nRows, 40)):
        if cell_text(table, row, 0) == "%02d" % channel:
            return row
    raise Failure("no row of the grid shows channel number %02d" % channel)


def current_cell(table):
    for row in range(min(table.nRows, 40)):
        for column in range(min(table.nColumns, 20)):
            cell = safe(lambda: table.getAccessibleAt(row, column))
            if cell is not None and has_state(cell, pyatspi.STATE_FOCUSED):
                return row, column
    for row in range(min(table.nRows, 40)):
        for column in range(min(table.nColumns, 20)):
            cell = safe(lambda: table.getAccessibleAt(row, column))
            if cell is not None and has_state(cell, pyatspi.STATE_SELECTED):
                return row, column
    return None


def move_to(table, row, column):
    """Walks the current cell to (row, column) with the arrow keys."""
    for _ in range(40):
        here = current_cell(table)
        if here is None:
            raise Failure("the grid shows no current cell (no cell focused or selected)")
        if here == (row, column):
            return
        if here[0] != row:
            key("Down" if here[0] < row else "Up")
        else:
            key("Right" if here[1] < column else "Left")
        time.sleep(0.05)
    raise Failure("the arrow keys did not reach row %d, column %d (at %s)" %
                  (row, column, current_cell(table)))


# The time-out list of the main window, by its name in each language.
TIME_OUT_NAMES = ("发射超时", "發射超時", "Time-out")


def change_list(pid, main):
    """Down on a closed drop-down list: its text is the new entry, and the new
    entry is spoken."""
    lists = [n for _, n in interactive_controls(main)
             if role_of(n) == pyatspi.ROLE_COMBO_BOX and name_of(n).strip() in TIME_OUT_NAMES]
    if not lists:
        raise Failure("no time-out list in the main window")
    node = lists[0]
    give_keyboard_to(pid, name_of(main))
    safe(lambda: node.queryComponent().grabFocus())
    wait_for("the time-out list to take the focus",
             lambda: has_state(node, pyatspi.STATE_FOCUSED), timeout=3)
    before = node.queryText().getText(0, -1)
    key("Down")
    after = wait_for("the time-out list to change",
                     lambda: node.queryText().getText(0, -1) != before
                     and node.queryText().getText(0, -1), timeout=5)
    print("list: %r became %r, heard %r" % (before, after, heard(main, "Down in the list", after)))


def file_dialog(app, main, before):
    """The dialog the file command opened: a window that was not showing
    before (the settings windows the name walk left open are dialogs too)."""
    def probe():
        for window in showing_windows(app):
            if window != main and window not in before and role_of(window) in (pyatspi.ROLE_DIALOG,
                                                      pyatspi.ROLE_FILE_CHOOSER,
                                                      pyatspi.ROLE_FRAME,
                                                      pyatspi.ROLE_WINDOW):
                if any(has_state(n, pyatspi.STATE_EDITABLE) for _, n in walk(window)):
                    return window
        return None

    return wait_for("the file dialog", probe, timeout=10)


def alert_text(app):
    for window in showing_windows(app):
        if role_of(window) == pyatspi.ROLE_ALERT:
            return " ".join(name_of(n) for _, n in walk(window) if name_of(n))
    return None


def choose_file(app, main, bar, item_path, path, what):
    """Runs a file command from its menu item and answers its dialog with
    the path typed into the file name field and Enter."""
    before = showing_windows(app)
    press(node_at(bar, item_path), modal=True)
    dialog = file_dialog(app, main, before)
    fields = [n for _, n in walk(dialog) if role_of(n) == pyatspi.ROLE_TEXT
              and has_state(n, pyatspi.STATE_EDITABLE) and has_state(n, pyatspi.STATE_SHOWING)]
    focused = [n for n in fields if has_state(n, pyatspi.STATE_FOCUSED)]
    if not fields:
        raise Failure("the %s dialog has no file name field" % what)
    field = (focused or fields)[0]
    field.queryEditableText().setTextContents(path)
    wait_for("the path in the %s dialog's file name field" % what,
             lambda: field.queryText().getText(0, -1) == path, timeout=3)
    safe(lambda: field.queryComponent().grabFocus())
    key("Return")
    try:
        wait_for("the %s dialog to close after Enter" % what,
                 lambda: not has_state(dialog, pyatspi.STATE_SHOWING), timeout=5)
    except Failure:
        alert = alert_text(app)
        raise Failure("Enter in the %s dialog did not close it%s" %
                      (what, "; a message shows: %r" % alert if alert else ""))


def edit_and_save(app, main, bar, open_path, save_path, work, pid):
    source = os.path.join(work, "files", "channels.DAT")
    target = os.path.join(work, "files", "edited.DAT")
    with open(source, "rb") as f:
        rich = f.read()

    choose_file(app, main, bar, open_path, source, "open")
    table_node = grid_of(main)
    table = table_node.queryTable()
    wait_for("channel 1 of the opened file in the grid",
             lambda: cell_text(table, channel_row(table, 1), 1) == "462.56250", timeout=5)
    row = channel_row(table, 3)

    focus_grid(pid, main, table_node)
    move_to(table, row, 1)
    key("Return")
    # The editor lies inside the grid, where the tree shows cells only; the
    # cell's text shows whether the keys reached it.
    time.sleep(0.3)
    type_text(TYPED)
    key("Return")
    try:
        wait_for("%s in channel 3's RX frequency cell" % STORED,
                 lambda: cell_text(table, row, 1) == STORED, timeout=5)
    except Failure:
        raise Failure("Enter on channel 3's RX frequency, %s and Enter left the cell %r" %
                      (TYPED, cell_text(table, row, 1)))
    print("edit: heard %r" % heard(main, "the edit of channel 3", STORED))

    # The cell Ctrl+Home moves to is the one Delete empties.
    xdotool_key("ctrl+Home")
    xdotool_key("Delete")
    first = channel_row(table, 1)
    wait_for("channel 1 to be deleted", lambda: cell_text(table, first, 1) in ("", "空", "empty"),
             timeout=5)
    print("edit: heard %r" % heard(main, "Ctrl+Home and Delete", "01"))

    choose_file(app, main, bar, save_path, target, "save")
    wait_for("the saved file %s" % target, lambda: os.path.exists(target), timeout=5)
    time.sleep(0.3)  # the dialog closes before the file is written
    with open(target, "rb") as f:
        saved = f.read()
    problem = difference(saved, expected_after_edit(rich))
    if problem:
        raise Failure(problem)


def difference(saved, expected):
    """Empty when the bytes agree, else the offsets where they differ."""
    if saved == expected:
        return ""
    lines = ["the saved file differs from the expected %d bytes (%d bytes saved)" %
             (len(expected), len(saved))]
    for offset in range(max(len(saved), len(expected))):
        want = expected[offset:offset + 1].hex().upper() or "--"
        got = saved[offset:offset + 1].hex().upper() or "--"
        if want != got:
            lines.append("  file offset %d (image 0x%03X): expected %s, saved %s" %
                         (offset, offset - 5, want, got))
        if len(lines) > 40:
            lines.append("  ...")
            break
    return "\n".join(lines)
