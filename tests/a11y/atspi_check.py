#!/usr/bin/python3
"""The window program as a screen reader sees it, driven over AT-SPI.

In each language (switched through the Languages menu) it walks the main
window, its menus and every settings window opened from the menus, and checks
that every control a user operates has a name in that language; it checks
that every drop-down list shows its entry as its text; that each menu item
with a check mark is checkable and checked as the program stands (and Lock's
mark follows the command); that the channel grid
is a 16 x 9 table with its column headers; it opens a data file, types a
frequency into an empty channel, deletes the channel Ctrl+Home reaches and
saves, all through actions and key events, hears each result spoken and
compares the saved bytes with the bytes these edits must give; and it hears
a drop-down list's new entry after Down.

Started by atspi_session.sh with the program's process id; exits 0 when every
check passed, 1 otherwise, and prints per window how many controls lack a
name."""

import argparse
import sys
import traceback

import pyatspi

from atspi_tree import (
    CALL_TIMEOUT_MS,
    Failure,
    children,
    describe,
    find_application,
    has_state,
    interactive_controls,
    main_window,
    menu_bar,
    menu_entries,
    name_of,
    node_at,
    press,
    role_of,
    safe,
    wait_for,
)
import atspi_edit

# The languages in the order the test visits them, with the item of the
# Languages menu that shows each (by its Simplified Chinese caption): the
# program starts in the first (no settings file yet); the others are reached
# through their items.
LANGUAGES = [
    ("zh", "简体中文"),
    ("en", "英文"),
    ("zh-Hant", "繁体中文"),
]

# The items with a check mark: each is exposed as checkable, so that a reader
# says "not checked" as well as "checked", and carries the mark as the program
# stands - no port open, not locked, the language item of the language shown.
LOCK_ITEM = "锁定(L)"
CHECK_ITEMS = [LOCK_ITEM] + ["COM%d(%d)" % (n, n) for n in range(1, 9)] + [
    caption for _, caption in LANGUAGES]

# The settings windows and the menu items that open them, by their Simplified
# Chinese captions (an item is found by its caption once, at the start, and by
# its place in the menu afterwards).
WINDOWS = [
    ("Form5 optional functions", "可选功能"),
    ("Form6 key settings", "键设定"),
    ("Form7 embedded information", "嵌入信息"),
    ("Form2 service adjust", "调试(D)"),
    ("Form4 test frequencies", "测试频率"),
    ("frmAbout", "关于"),
    ("clone window", "批量写频..."),
]

MENU_CAPTIONS = [caption for _, caption in WINDOWS] + CHECK_ITEMS + ["打开(O)", "保存(S)"]

# The grid's column headers, as the channel table names its columns.
GRID_HEADERS = {
    "zh": ["信道", "接收频率", "接收亚音频", "发射频率", "发射亚音频", "功率", "禁发", "宽\\窄带", "扫描添加"],
    "en": ["Channel", "RX frequency", "RX QT/DQT", "TX frequency", "TX QT/DQT", "Power", "Forbid",
           "Band", "Scan"],
}
GRID_ROWS = 16
GRID_COLUMNS = 9


def has_han(text):
    return any("\u3400" <= ch <= "\u9fff" or "\uf900" <= ch <= "\ufaff" for ch in text)


def plain(name):
    return name.replace("&", "").strip()


def named_by_entry(node):
    """True when a drop-down list carries the text of one of its own entries
    as its name, instead of the label that says what it sets."""
    name = name_of(node).strip()
    for _, child in children(node):
        if role_of(child) in (pyatspi.ROLE_LIST, pyatspi.ROLE_MENU):
            if any(name_of(item).strip() == name for _, item in children(child)):
                return True
    return False


class Report:
    """Per language and window: the controls checked and those that fail."""

    def __init__(self):
        self.counts = {}  # (window, language) -> (controls, unnamed)
        self.windows = []
        self.failures = []

    def check_names(self, language, window, controls):
        unnamed, wrong_language, by_value, no_value = [], [], [], []
        for path, node in controls:
            name = name_of(node).strip()
            # A list with an edit field shows its entry there.
            if role_of(node) == pyatspi.ROLE_COMBO_BOX and not has_state(
                    node, pyatspi.STATE_EDITABLE) and not safe(
                        lambda: node.queryText().getText(0, -1)):
                no_value.append(describe(path, node))
            if not name:
                unnamed.append(describe(path, node))
                continue
            if language == "en" and has_han(name):
                wrong_language.append("%s  name %r" % (describe(path, node), name))
            if role_of(node) == pyatspi.ROLE_COMBO_BOX and named_by_entry(node):
                by_value.append("%s  named by its value %r" % (describe(path, node), name))
        if window not in self.windows:
            self.windows.append(window)
        self.counts[(window, language)] = (len(controls), len(unnamed), len(by_value))
        print("[%s] %s: %d controls, %d without a name" % (language, window, len(controls),
                                                             len(unnamed)))
        for title, items in (("without a name", unnamed),
                             ("not in English", wrong_language),
                             ("a drop-down list named by its value, not its label", by_value),
                             ("a drop-down list whose entry is not its text", no_value)):
            if items:
                self.failures.append("[%s] %s: %d %s" % (language, window, len(items), title))
                for line in items:
                    print("    %s: %s" % (title, line))

    def check_window(self, language, title, window):
        """A window is announced by its role and title: a dialog or a frame,
        titled in the language shown."""
        name = name_of(window).strip()
        role = safe(lambda: window.getRoleName(), "?")
        if role_of(window) not in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_FRAME):
            self.fail("[%s] %s has the role %r, not dialog or frame" % (language, title, role))
        if not name:
            self.fail("[%s] %s has no title" % (language, title))
        elif language == "en" and has_han(name):
            self.fail("[%s] %s is titled %r, not in English" % (language, title, name))

    def fail(self, message):
        print("FAIL: " + message)
        self.failures.append(message)

    def summary(self):
        languages = [code for code, _ in LANGUAGES]
        print("\nControls without a name + drop-down lists named by their value, of the"
              " controls checked, per window:")
        print("  %-32s" % "window" + "".join("%-12s" % code for code in languages))
        for window in self.windows:
            cells = []
            for code in languages:
                count = self.counts.get((window, code))
                text = "%d+%d/%d" % (count[1], count[2], count[0]) if count else "-"
                cells.append("%-12s" % text)
            print("  %-32s" % window + "".join(cells))


def locate_menu_items(bar):
    """Index paths of the menu items the test uses, found by caption."""
    found = {}
    for path, node in menu_entries(bar):
        name = plain(name_of(node))
        if name in MENU_CAPTIONS and name not in found:
            found[name] = path
    missing = [c for c in MENU_CAPTIONS if c not in found]
    if missing:
        raise Failure("menu items not found by their captions: %s" % ", ".join(missing))
    return found


def checked(node):
    """The item's check mark as the program holds it now, not as the
    accessibility bus last heard of it."""
    safe(lambda: node.clearCache())
    return has_state(node, pyatspi.STATE_CHECKED)


def check_marks(report, language, bar, items):
    shown = dict(LANGUAGES)[language]
    for caption in CHECK_ITEMS:
        node = node_at(bar, items[caption])
        role = safe(lambda: node.getRoleName(), "?")
        if role_of(node) not in (pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_CHECK_MENU_ITEM) and \
                not has_state(node, pyatspi.STATE_CHECKABLE):
            report.fail("[%s] menu item %r is a %s, not checkable" % (language, caption, role))
        if checked(node) != (caption == shown):
            report.fail("[%s] menu item %r is %s" % (
                language, caption, "checked" if checked(node) else "not checked"))
    print("[%s] %d items with a check mark, %r checked" % (language, len(CHECK_ITEMS), shown))


def toggle_lock(bar, items):
    """Lock chosen twice: its mark comes and goes."""
    node = node_at(bar, items[LOCK_ITEM])
    for mark in (True, False):
        press(node)
        wait_for("Lock to be %s" % ("checked" if mark else "not checked"),
                 lambda: checked(node) == mark, timeout=5)


def switch_language(bar, path, language):
    before = [name_of(n) for _, n in children(bar)]
    press(node_at(bar, path))
    wait_for("the menu bar to show %s captions" % language,
             lambda: [name_of(n) for _, n in children(bar)] != before, timeout=5)


def open_window(app, main, bar, path, title, known):
    """Opens a settings window from its menu item and returns it; the same
    window is found again by its place among the program's windows."""
    press(node_at(bar, path))
    if title in known:
        index = known[title]
        return wait_for("%s to show" % title,
                        lambda: has_state(app.getChildAtIndex(index), pyatspi.STATE_SHOWING)
                        and app.getChildAtIndex(index), timeout=5)

    def new_window():
        taken = set(known.values())
        for i, w in children(app):
            if w != main and i not in taken and has_state(w, pyatspi.STATE_SHOWING):
                return i, w
        return None

    index, window = wait_for("%s to open" % title, new_window, timeout=5)
    known[title] = index
    return window


# The button that leaves a window without changing anything, best first.
LEAVING_BUTTONS = ["取消", "Cancel", "关闭", "關閉", "Close", "确定", "確定", "OK"]


def close_window(pid, title, window):
    """Leaves a window by its own button, as a listener would, or by Escape
    where it has none, so that the next language opens it anew."""
    buttons = {name_of(n).strip(): n for _, n in interactive_controls(window)
               if role_of(n) == pyatspi.ROLE_PUSH_BUTTON}
    for caption in LEAVING_BUTTONS:
        if caption in buttons:
            press(buttons[caption])
            wait_for("%s to close after %s" % (title, caption),
                     lambda: not has_state(window, pyatspi.STATE_SHOWING), timeout=5)
            return
    atspi_edit.give_keyboard_to(pid, name_of(window))
    atspi_edit.key("Escape")
    wait_for("%s to close after Escape" % title,
             lambda: not has_state(window, pyatspi.STATE_SHOWING), timeout=5)


def check_grid(report, language, main):
    tables = [n for _, n in interactive_controls(main)
              if role_of(n) in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE)]
    if not tables:
        report.fail("[%s] the main window shows no table (the channel grid)" % language)
        return
    table = safe(lambda: tables[0].queryTable())
    if table is None:
        report.fail("[%s] the channel grid has no table interface" % language)
        return
    rows, columns = safe(lambda: table.nRows, -1), safe(lambda: table.nColumns, -1)
    if (rows, columns) != (GRID_ROWS, GRID_COLUMNS):
        report.fail("[%s] the channel grid exposes %d rows x %d columns, not %d x %d" %
                    (language, rows, columns, GRID_ROWS, GRID_COLUMNS))
    headers = []
    for c in range(max(columns, 0)):
        header = safe(lambda: table.getColumnHeader(c))
        text = name_of(header) if header is not None else ""
        headers.append(text or safe(lambda: table.getColumnDescription(c), "") or "")
    print("[%s] channel grid: %d x %d, column headers %s" % (language, rows, columns, headers))
    expected = GRID_HEADERS.get(language)
    if expected is not None and headers[:GRID_COLUMNS] != expected:
        report.fail("[%s] the grid's column headers are %s, not %s" % (language, headers,
                                                                      expected))
    elif expected is None and (len(headers) < GRID_COLUMNS or not all(headers)):
        report.fail("[%s] the grid lacks column headers: %s" % (language, headers))


def run(args):
    report = Report()
    app = find_application(args.pid)
    main = main_window(app)
    bar = menu_bar(main)
    items = locate_menu_items(bar)
    known = {}
    for index, (language, caption) in enumerate(LANGUAGES):
        if index > 0:
            switch_language(bar, items[caption], language)
        report.check_names(language, "main window menus", menu_entries(bar))
        check_marks(report, language, bar, items)
        report.check_window(language, "main window", main)
        report.check_names(language, "main window", interactive_controls(main))
        check_grid(report, language, main)
        for title, window_caption in WINDOWS:
            try:
                window = open_window(app, main, bar, items[window_caption], title, known)
            except Failure as failure:
                report.fail("[%s] %s: %s" % (language, title, failure))
                continue
            report.check_window(language, title, window)
            report.check_names(language, title, interactive_controls(window))
            try:
                close_window(args.pid, title, window)
            except Failure as failure:
                report.fail("[%s] %s" % (language, failure))
    try:
        toggle_lock(bar, items)
    except Failure as failure:
        report.fail("lock: %s" % failure)
    try:
        atspi_edit.edit_and_save(app, main, bar, items["打开(O)"], items["保存(S)"],
                                 args.work, args.pid)
        print("edit: the saved file holds the expected 853 bytes")
    except Failure as failure:
        report.fail("edit: %s" % failure)
    try:
        atspi_edit.change_list(args.pid, main)
    except Failure as failure:
        report.fail("list: %s" % failure)
    report.summary()
    if report.failures:
        print("\n%d checks failed:" % len(report.failures))
        for line in report.failures:
            print("  " + line)
        return 1
    print("\nAll AT-SPI checks passed.")
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--pid", type=int, required=True, help="process id of the program")
    parser.add_argument("--work", required=True, help="a private folder for the data files")
    args = parser.parse_args()
    # libatspi's own wait for an answer; a modal command's answer comes late.
    pyatspi.setTimeout(CALL_TIMEOUT_MS, 15000)
    try:
        return run(args)
    except Failure as failure:
        print("FAIL: %s" % failure)
        return 1
    except Exception:  # an AT-SPI call that failed outright
        traceback.print_exc()
        print("FAIL: an AT-SPI call failed (above)")
        return 1


if __name__ == "__main__":
    sys.exit(main())
