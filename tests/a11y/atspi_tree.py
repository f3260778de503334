"""Reading the program's accessibility tree over AT-SPI: bounded waits and walks,
finding windows and menu items, and the list of interactive controls that a
screen reader names to its user."""

import time

import pyatspi

# Every wait and every walk ends: a program that stops answering fails the
# test rather than hanging it.
WALK_LIMIT = 6000
DEPTH_LIMIT = 40
# How long one call waits for the program's answer.
CALL_TIMEOUT_MS = 3000

# The roles a user operates; each of them must carry a name.
INTERACTIVE = {
    pyatspi.ROLE_PUSH_BUTTON: "push button",
    pyatspi.ROLE_TOGGLE_BUTTON: "toggle button",
    pyatspi.ROLE_CHECK_BOX: "check box",
    pyatspi.ROLE_RADIO_BUTTON: "radio button",
    pyatspi.ROLE_COMBO_BOX: "combo box",
    pyatspi.ROLE_TEXT: "text",
    pyatspi.ROLE_ENTRY: "entry",
    pyatspi.ROLE_PASSWORD_TEXT: "password text",
    pyatspi.ROLE_SPIN_BUTTON: "spin button",
    pyatspi.ROLE_SLIDER: "slider",
    pyatspi.ROLE_TABLE: "table",
    pyatspi.ROLE_TREE_TABLE: "tree table",
    pyatspi.ROLE_LIST: "list",
    pyatspi.ROLE_PAGE_TAB: "page tab",
    pyatspi.ROLE_MENU: "menu",
    pyatspi.ROLE_MENU_ITEM: "menu item",
    pyatspi.ROLE_CHECK_MENU_ITEM: "check menu item",
    pyatspi.ROLE_RADIO_MENU_ITEM: "radio menu item",
}

# Below these the children are the control's own parts (list entries, cells,
# the items of a menu seen from its window), checked elsewhere or not at all.
OPAQUE = {
    pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_TABLE,
    pyatspi.ROLE_TREE_TABLE,
    pyatspi.ROLE_LIST,
    pyatspi.ROLE_MENU_BAR,
}

MENU_ROLES = {
    pyatspi.ROLE_MENU,
    pyatspi.ROLE_MENU_ITEM,
    pyatspi.ROLE_CHECK_MENU_ITEM,
    pyatspi.ROLE_RADIO_MENU_ITEM,
    # An item with a check mark, where the toolkit has no check menu item.
    pyatspi.ROLE_CHECK_BOX,
}


class Failure(Exception):
    """A check that failed, with the message the log shows."""


def wait_for(what, probe, timeout=10.0, step=0.1):
    """Calls probe until it returns something true, for at most timeout
    seconds; a probe that raises counts as not yet."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            value = probe()
        except Exception:  # the tree changes under us while windows open
            value = None
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Failure("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(step)


def safe(call, default=None):
    try:
        return call()
    except Exception:
        return default


def children(node):
    count = safe(lambda: node.childCount, 0) or 0
    for i in range(min(count, WALK_LIMIT)):
        child = safe(lambda: node.getChildAtIndex(i))
        if child is not None:
            yield i, child


def walk(node, descend=lambda n: True):
    """Yields (path, node) depth first; path is the list of child indices."""
    budget = [WALK_LIMIT]

    def visit(n, path):
        if budget[0] <= 0 or len(path) > DEPTH_LIMIT:
            return
        budget[0] -= 1
        yield path, n
        if not descend(n):
            return
        for i, child in children(n):
            yield from visit(child, path + [i])

    yield from visit(node, [])


def has_state(node, state):
    return safe(lambda: node.getState().contains(state), False)


def name_of(node):
    return safe(lambda: node.name, "") or ""


def role_of(node):
    return safe(lambda: node.getRole(), None)


def find_application(pid, timeout=20.0):
    def probe():
        desktop = pyatspi.Registry.getDesktop(0)
        for _, app in children(desktop):
            if safe(lambda: app.get_process_id()) == pid:
                return app
        return None

    return wait_for("the program on the accessibility bus", probe, timeout)


def showing_windows(app):
    """The program's top-level windows now on screen."""
    return [w for _, w in children(app) if has_state(w, pyatspi.STATE_SHOWING)]


def main_window(app, timeout=20.0):
    def probe():
        for window in showing_windows(app):
            if any(role_of(n) == pyatspi.ROLE_MENU_BAR for _, n in children(window)):
                return window
            for _, n in walk(window, lambda n: role_of(n) not in OPAQUE):
                if role_of(n) == pyatspi.ROLE_MENU_BAR:
                    return window
        return None

    return wait_for("the main window with its menu bar", probe, timeout)


def menu_bar(window):
    for _, n in walk(window, lambda n: role_of(n) not in OPAQUE):
        if role_of(n) == pyatspi.ROLE_MENU_BAR:
            return n
    raise Failure("the main window has no menu bar")


def menu_entries(bar):
    """Every entry below the menu bar as (index path, node), submenus
    included, separators left out."""
    out = []
    descend = MENU_ROLES | {pyatspi.ROLE_POPUP_MENU}
    for path, n in walk(bar, lambda n: n is bar or role_of(n) in descend):
        if n is not bar and role_of(n) in MENU_ROLES:
            out.append((path, n))
    return out


def node_at(root, path):
    node = root
    for i in path:
        node = node.getChildAtIndex(i)
        if node is None:
            raise Failure("no element at %s" % path)
    return node


def interactive_controls(window, showing_only=True):
    """The operable controls of a window, without the menu bar (whose
    entries are checked once for the main window)."""
    out = []
    for path, n in walk(window, lambda n: role_of(n) not in OPAQUE):
        role = role_of(n)
        if role not in INTERACTIVE:
            continue
        if showing_only and not has_state(n, pyatspi.STATE_SHOWING):
            continue
        if role == pyatspi.ROLE_TEXT and not has_state(n, pyatspi.STATE_EDITABLE):
            continue
        out.append((path, n))
    return out


def describe(path, node):
    """One line that lets a reader find the control: role, path, and what it
    shows when it has no name."""
    role = INTERACTIVE.get(role_of(node), safe(lambda: node.getRoleName(), "?"))
    hints = []
    desc = safe(lambda: node.description, "")
    if desc:
        hints.append("description %r" % desc)
    text = safe(lambda: node.queryText().getText(0, 80), "")
    if text:
        hints.append("text %r" % text)
    parent = safe(lambda: node.parent)
    parent_name = name_of(parent) if parent is not None else ""
    if parent_name:
        hints.append("inside %r" % parent_name)
    ext = safe(lambda: node.queryComponent().getExtents(pyatspi.WINDOW_COORDS))
    if ext is not None:
        hints.append("at %d,%d %dx%d" % (ext.x, ext.y, ext.width, ext.height))
    return "%-15s %-14s %s" % (role, "/".join(map(str, path)), ", ".join(hints))


def press(node, modal=False):
    """Runs a control's first action. A command that opens a modal dialog
    answers only once that dialog closes, so for those a missing answer is
    expected and waited for only briefly."""
    if modal:
        pyatspi.setTimeout(400, 15000)
    try:
        node.queryAction().doAction(0)
    except Exception:
        if not modal:
            raise
    finally:
        if modal:
            pyatspi.setTimeout(CALL_TIMEOUT_MS, 15000)
