// WindowSlot: the place of one auxiliary window in the language machinery,
// holding the window once it exists. The windows are built after the main
// window's first paint (or when something needs one earlier), while start-up
// applies the language to every window before that paint: the slot keeps the
// language steps meant for a window not built yet and runs them, in their
// order, on the new window, which then looks as if it had taken them when
// they happened.
#pragma once

#include <functional>
#include <vector>

#include "i18n/language_window_qt.h"

namespace quelro {

template <typename W> class WindowSlot : public LanguageWindow {
  public:
    using Step = std::function<void(W&)>;

    explicit WindowSlot(std::function<W*()> create) : create_(std::move(create)) {}

    bool Created() const { return window_ != nullptr; }

    // The window, built now if it does not exist yet.
    W& Get() {
        if (window_ == nullptr) {
            window_ = create_();
            for (const Step& step : pending_) step(*window_);
            pending_.clear();
        }
        return *window_;
    }

    // Runs a language step on the window, or keeps it for when the window is
    // built. Start-up takes at most three steps (the Simplified texts, their
    // conversion and the about box's own Traditional texts); a window that is
    // asked for more is built at once, so that nothing piles up.
    void Run(Step step) {
        if (window_ == nullptr && pending_.size() < kMaxPending) {
            pending_.push_back(std::move(step));
            return;
        }
        step(Get());
    }

    // Runs a step on the window only if it exists.
    void IfCreated(const Step& step) {
        if (window_ != nullptr) step(*window_);
    }

    QWidget* Window() override { return Get().Window(); }
    void ApplyLanguage(int languageMode) override {
        Run([languageMode](W& window) { window.ApplyLanguage(languageMode); });
    }
    void Translate() override {
        Run([](W& window) { window.Translate(); });
    }

  private:
    static constexpr std::size_t kMaxPending = 3;

    std::function<W*()> create_;
    W* window_ = nullptr;
    std::vector<Step> pending_;
};

} // namespace quelro
