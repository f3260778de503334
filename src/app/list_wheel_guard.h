// The mouse wheel over a drop-down list changes the list only while the list
// has the keyboard focus; a wheel that merely passes over a list goes on to
// what lies beneath it, and never gives the list the focus. One filter on the
// application covers the lists of every window, including those made later.
#pragma once

namespace quelro {

// Installs the filter on the application (once; later calls do nothing).
void GuardListsFromStrayWheel();

} // namespace quelro
