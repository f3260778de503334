// TranslateForm: converts the visible texts of one window to Traditional
// Chinese after the Simplified captions have been applied.
#pragma once

class QWidget;

namespace quelro {

// Walks the window's widgets by type - labels, radio buttons, menu actions,
// group boxes, the tool bar's tooltip, combo box items, grid header rows,
// push buttons, check boxes - and converts one text of each with
// ToTraditional. Text boxes, sliders, the title and grid cells are left alone.
// The accessible name and description of every widget, and the accessible
// descriptions of a table's cells, are converted too.
void TranslateForm(QWidget* window);

} // namespace quelro
