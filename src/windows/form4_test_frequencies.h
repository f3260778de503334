// Form4, the test-frequency window: the 16 receive/transmit pairs of
// TestFrequencyTable in a 17 x 3 grid, each edit lowered to the 5 kHz or
// 6.25 kHz raster.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "windows/aux_window.h"

class QPushButton;
class QTableWidget;

namespace quelro {

// The receive text after an edit (the transmit cell of the row takes the same
// text): empty stays empty; otherwise the value is lowered to whichever of the
// 6.25 kHz and 5 kHz rasters leaves the smaller remainder (a tie goes to
// 6.25 kHz), with five decimals. nullopt refuses the entry: not a number, or
// outside 100.00000..999.99999 MHz, which the stored digits cannot hold.
std::optional<std::string> TestReceiveAfterEdit(std::string_view typed);
// The transmit text after an edit: empty takes the row's receive text;
// otherwise the value is lowered to the receive frequency's raster (6.25 kHz
// when the receive frequency lies on it, else 5 kHz), with five decimals.
// Refused as the receive text is.
std::optional<std::string> TestTransmitAfterEdit(std::string_view typed, std::string_view receive);

class Form4 : public AuxWindow {
    Q_OBJECT

  public:
    static constexpr int kRxColumn = 1;
    static constexpr int kTxColumn = 2;

    Form4(ProgramState& state, QWidget* owner);

    void ApplyLanguage(int languageMode) override;

    // Writes the stored pair of grid row 1..16 into the grid, as decoding does.
    void ShowRow(int row);

    // Whether a cell of grid row 1..16 may be edited: only the frequency
    // columns, and transmit only once the row has a receive frequency.
    bool CanEdit(int row, int column) const;
    // A finished edit of a frequency cell; applies the raster rules. A text
    // left as it was, or a refused one, changes nothing.
    void CellEdited(int row, int column, const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Form_Load();
    void Command1_Click();
    QString CellText(int row, int column) const;
    void SetCellText(int row, int column, const QString& text);
    void DescribeCells();
    // An editor is open in the grid.
    bool Editing() const;

    QTableWidget* mfgrid1;
    QPushButton* Command1;
    QPushButton* Command2;
};

} // namespace quelro
