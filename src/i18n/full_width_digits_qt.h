// Numbers typed through a Chinese input method: its full-width digits
// "０".."９" and its stops "．" and "。" reach a numeric editor as the ASCII
// digits and ".", whether they come as key presses or as an input method's
// committed text. Other characters pass unchanged.
#pragma once

class QString;
class QWidget;

namespace quelro {

// `text` with full-width digits and stops replaced; the length stays the same.
QString NarrowDigits(const QString& text);

// Makes `editor` (a line edit, or an editable list that takes the keys for
// its edit field) take full-width digits as ASCII ones. Install it after any
// key filter of the editor's own, so that the filter sees the ASCII forms.
void TakeFullWidthDigits(QWidget* editor);

} // namespace quelro
