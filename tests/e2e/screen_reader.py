#!/usr/bin/env python3
"""What a screen reader sees of the running app, through the desktop accessibility bus.

  screen_reader.py buttons        the names of the window's push buttons, one a line
  screen_reader.py focused        the name of the push button that reports focus
  screen_reader.py press NAME     runs the press action of the push button named NAME
  screen_reader.py menu           the names of the context menu's items, submenus' included
  screen_reader.py ontop          the always-on-top menu item's state: checked or unchecked
  screen_reader.py press-ontop    runs that item's press action
  screen_reader.py events STATE SECS
                                  the objects that gained or lost STATE (focused, checked) in
                                  SECS seconds, one "name gained|lost" a line
Exits 2 when the app is not on the bus.
"""
import sys
import threading

import pyatspi


def app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        a = desktop.getChildAtIndex(i)
        if a is not None and a.name and "hexatint" in a.name.lower():
            return a
    sys.exit(2)


def find(role):
    found = []

    def walk(node, depth):
        if node is None or depth > 6:
            return
        if node.getRole() == role:
            found.append(node)
        for i in range(node.childCount):
            walk(node.getChildAtIndex(i), depth + 1)

    walk(app(), 0)
    return found


def buttons():
    return find(pyatspi.ROLE_PUSH_BUTTON)


def ontop():
    # The menu's first item keeps the window on top of others.
    return find(pyatspi.ROLE_MENU_ITEM)[0]


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Press"))


def main():
    command = sys.argv[1]
    if command == "buttons":
        for b in buttons():
            print(b.name)
    elif command == "focused":
        for b in buttons():
            if b.getState().contains(pyatspi.STATE_FOCUSED):
                print(b.name)
    elif command == "press":
        for b in buttons():
            if b.name == sys.argv[2]:
                press(b)
                return
        sys.exit(1)
    elif command == "menu":
        for item in find(pyatspi.ROLE_MENU_ITEM):
            print(item.name)
    elif command == "ontop":
        states = ontop().getState()
        print("checked" if states.contains(pyatspi.STATE_CHECKED) else "unchecked")
    elif command == "press-ontop":
        press(ontop())
    elif command == "events":
        def heard(event):
            if event.source is not None:
                print(event.source.name, "gained" if event.detail1 == 1 else "lost", flush=True)

        pyatspi.Registry.registerEventListener(heard, "object:state-changed:" + sys.argv[2])
        threading.Timer(float(sys.argv[3]), pyatspi.Registry.stop).start()
        print("listening", flush=True)
        pyatspi.Registry.start()


if __name__ == "__main__":
    main()
