// Menus as a screen reader meets them. An item with a check mark (a port,
// Lock, a language) is a check box in its menu, so that a reader says "not
// checked" as well as "checked": Qt 6.4's AT-SPI bridge has neither a
// check-menu-item role nor a checkable state, and a plain menu item is heard
// as checked or as nothing. Every other item is the menu item it always was.
#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace quelro {

// An accessibility factory: the interface of a QMenu, whose children are the
// items above; nullptr for any other object.
QAccessibleInterface* MenuAccessible(const QString& className, QObject* object);

} // namespace quelro
