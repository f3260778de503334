// Where the main window's controls stand: the design's positions in twips,
// widened where a header or a label of either language needs more room, in
// an area that scrolls on a screen too small for them.
#include "app/form1.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

#include "app/form1_parts.h"
#include "channels/channel_grid_qt.h"

namespace quelro {
using namespace form1;
namespace {
// The window's controls stand where the design puts them; on a screen too
// small for that (a large scale factor) they scroll. The area asks for the
// whole design.
class ClientArea : public QScrollArea {
  public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override {
        return widget() != nullptr ? widget()->size() : QScrollArea::sizeHint();
    }
};

} // namespace

QScrollArea* Form1::NewClientArea(QWidget* client) {
    auto* area = new ClientArea(this);
    area->setObjectName("clientArea");
    area->setFrameShape(QFrame::NoFrame);
    // The keys stay with the controls (the grid's arrows above all).
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidget(client);
    return area;
}

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
    // A large font makes the panels taller than the design's, never smaller.
    const int frame1Height = std::max(Px(1080), titleSpace + rowHeight + inner);
    Frame1->setGeometry(left, top, panelWidth, frame1Height);
    const int frame1Row = titleSpace + (frame1Height - titleSpace - rowHeight) / 2;
    Label3->setGeometry(inner, frame1Row, labelWidth, rowHeight);
    Combo1->setGeometry(inner + labelWidth + 6, frame1Row, panelWidth - 2 * inner - labelWidth - 6,
                        rowHeight);

    const int frame2Height =
        std::max(Px(3960), titleSpace + kMainSelectorCount * (rowHeight + 4) + inner);
    const int frame2Top = std::max(Px(1680) + shift, Frame1->geometry().bottom() + inner);
    Frame2->setGeometry(left, frame2Top, panelWidth, frame2Height);
    const std::array<QLabel*, 6> labels{Label4, Label5, Label1, Label6, Label7, Label8};
    const int pitch = (frame2Height - titleSpace - inner) / kMainSelectorCount;
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
    Label->parentWidget()->setGeometry(0, statusTop, width, lineHeight);
    Label->setGeometry(margin, 0, gridSize.width(), lineHeight);
    ProgressBar1->setGeometry(left, 2, panelWidth, lineHeight - 4);
    Label2->setGeometry(margin, statusTop + lineHeight, width - 2 * margin, lineHeight);
    const int height = std::max(Px(6225) + shift, Label2->geometry().bottom() + 4);
    client_->setFixedSize(width, height);
}

void Form1::FitToScreen() {
    // Room for the window manager's frame around the window.
    constexpr int kFrameWidth = 16;
    constexpr int kFrameHeight = 48;
    const QRect room = screen()->availableGeometry();
    const QSize most = room.size() - QSize(kFrameWidth, kFrameHeight);
    // The menu bar and the client area; the window's own size hint does not
    // count them yet before it is shown.
    const QSize fitted =
        (client_->size() + QSize(0, menuBar()->sizeHint().height())).boundedTo(most);
    resize(fitted);
    // Placed before it shows, so that a box of the start-up stands over it.
    move(room.center() - QPoint(fitted.width() / 2, fitted.height() / 2));
    // Once shown, the status bar has its height: the window grows by what the
    // client area still lacks, as far as the screen allows.
    QTimer::singleShot(0, this, [this, most] {
        const QSize lacking = (client_->size() - centralWidget()->size()).expandedTo(QSize(0, 0));
        resize((size() + lacking).boundedTo(most));
    });
}

} // namespace quelro
