// The full-width digit filter of the numeric editors.
#include "i18n/full_width_digits_qt.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace quelro {
namespace {

constexpr char16_t kFullWidthZero = u'０';
constexpr char16_t kFullWidthNine = u'９';
constexpr char16_t kFullWidthStop = u'．';
constexpr char16_t kIdeographicStop = u'。';

class FullWidthDigitFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const QString narrow = NarrowDigits(key->text());
            if (narrow == key->text()) return false;
            // The key goes again, as the ASCII key, through every filter.
            QKeyEvent ascii(QEvent::KeyPress, AsciiKey(narrow, key->key()), key->modifiers(),
                            narrow, key->isAutoRepeat(), static_cast<quint16>(key->count()));
            QCoreApplication::sendEvent(watched, &ascii);
            return true;
        }
        if (event->type() == QEvent::InputMethod) {
            auto* input = static_cast<QInputMethodEvent*>(event);
            const QString narrow = NarrowDigits(input->commitString());
            if (narrow != input->commitString())
                input->setCommitString(narrow, input->replacementStart(),
                                       input->replacementLength());
        }
        return false;
    }

  private:
    static int AsciiKey(const QString& text, int key) {
        if (text.size() != 1) return key;
        const char16_t c = text.front().unicode();
        return c == u'.' ? Qt::Key_Period : Qt::Key_0 + (c - u'0');
    }
};

} // namespace

QString NarrowDigits(const QString& text) {
    QString narrow = text;
    for (QChar& c : narrow) {
        const char16_t u = c.unicode();
        if (u >= kFullWidthZero && u <= kFullWidthNine)
            c = QChar(u'0' + (u - kFullWidthZero));
        else if (u == kFullWidthStop || u == kIdeographicStop)
            c = QChar(u'.');
    }
    return narrow;
}

void TakeFullWidthDigits(QWidget* editor) {
    static QPointer<FullWidthDigitFilter> filter;
    if (filter == nullptr) filter = new FullWidthDigitFilter(QCoreApplication::instance());
    editor->installEventFilter(filter);
}

} // namespace quelro
