// Where the main window's controls stand: the design's positions in twips,
// widened where a header or a label of either language needs more room.
#include "app/form1.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QToolBar>

#include <algorithm>

#include "app/form1_parts.h"
#include "channels/channel_grid_qt.h"

namespace quelro {
using namespace form1;

void Form1::PlaceControls() {
    // Widest text a label shows in either language.
    auto widest = [this](std::initializer_list<Caption> captions) {
        const QFontMetrics metrics = fontMetrics();
        int width = 0;
        for (const Caption& c : captions)
            width = std::max({width, metrics.horizontalAdvance(Text(c.zh)),
                              metrics.horizontalAdvance(Text(c.en))});
        return width;
    };
    const int margin = Px(120);
    const int toolbarHeight = Toolbar1->sizeHint().height();
    const int top = std::max(Px(480), toolbarHeight + 2);
    const QSize gridSize = Grid1->FullSize();
    Grid1->setGeometry(margin, top, gridSize.width(), gridSize.height());

    // The panels stand at their design place unless the grid (widened for
    // its headers) reaches it; they widen for the longest label.
    const int left = std::max(Px(9045), Grid1->geometry().right() + margin);
    const int labelWidth =
        widest({caption::kBand, caption::kVoicePrompt, caption::kTimeout, caption::kTimeoutWarn,
                caption::kSquelch, caption::kBatterySave, caption::kBeep});
    const int comboWidth = std::max(Combo1->sizeHint().width(), Combo3->minimumSizeHint().width());
    const int inner = 10;
    const int panelWidth = std::max(Px(3060), inner + labelWidth + 6 + comboWidth + inner);
    const int rowHeight = Combo1->sizeHint().height();
    const int titleSpace = fontMetrics().height() + 6;

    // Below a tool bar taller than the design's, everything moves down with it.
    const int shift = top - Px(480);
    Frame1->setGeometry(left, top, panelWidth, Px(1080));
    const int frame1Row = titleSpace + (Px(1080) - titleSpace - rowHeight) / 2;
    Label3->setGeometry(inner, frame1Row, labelWidth, rowHeight);
    Combo1->setGeometry(inner + labelWidth + 6, frame1Row, panelWidth - 2 * inner - labelWidth - 6,
                        rowHeight);

    Frame2->setGeometry(left, Px(1680) + shift, panelWidth, Px(3960));
    const std::array<QLabel*, 6> labels{Label4, Label5, Label1, Label6, Label7, Label8};
    const int pitch = (Px(3960) - titleSpace - inner) / kMainSelectorCount;
    for (int i = 0; i < kMainSelectorCount; ++i) {
        const int y = titleSpace + i * pitch + (pitch - rowHeight) / 2;
        labels[i]->setGeometry(inner, y, labelWidth, rowHeight);
        selectors_[i]->setGeometry(inner + labelWidth + 6, y,
                                   panelWidth - 2 * inner - labelWidth - 6, rowHeight);
    }

    const int width = left + panelWidth + margin;
    Toolbar1->setGeometry(0, 0, width, toolbarHeight);
    const int lineHeight = fontMetrics().height() + 4;
    const int statusTop = std::max(Grid1->geometry().bottom(), Frame2->geometry().bottom()) + 4;
    Label->setGeometry(margin, statusTop, gridSize.width(), lineHeight);
    ProgressBar1->setGeometry(left, statusTop + 2, panelWidth, lineHeight - 4);
    Label2->setGeometry(margin, statusTop + lineHeight, width - 2 * margin, lineHeight);
    const int height = std::max(Px(6225) + shift, Label2->geometry().bottom() + 4);
    client_->setFixedSize(width, height);
}

} // namespace quelro
