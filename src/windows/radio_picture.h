// Pictures of the radio drawn by the program itself: the side with its two
// programmable keys (key-setting window) and the front and the radio-wave
// mark (about box). They are widgets of their own, not labels, so that
// language changes never touch them.
#pragma once

#include <QWidget>

namespace quelro {

class RadioPicture : public QWidget {
  public:
    enum class Kind { SideKeys, Front, Waves };

    RadioPicture(Kind kind, const char* objectName, QWidget* parent = nullptr);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void DrawSideKeys(class QPainter& painter) const;
    void DrawFront(class QPainter& painter) const;
    void DrawWaves(class QPainter& painter) const;

    Kind kind_;
};

} // namespace quelro
