// The one message-box answerer of the tests: every box the program asks for
// is recorded and answered instead of shown, by queued answers first, then
// by Yes to a Yes/No question and OK to anything else (or by a rule of the
// test's own).
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "i18n/local_msgbox_qt.h"

namespace quelro::test {

class BoxScript {
  public:
    BoxScript() {
        SetMessageBoxAnswerer([this](const AskedBox& box) {
            asked_.push_back(box);
            if (watch_) watch_(box);
            if (!answers_.empty()) {
                const BoxAnswer answer = answers_.front();
                answers_.pop_front();
                return ButtonIdOf(answer);
            }
            if (rule_) return ButtonIdOf(rule_(box));
            const int buttons = box.style & 0xF;
            return ButtonIdOf(buttons == 3 || buttons == 4 ? BoxAnswer::kYes : BoxAnswer::kOk);
        });
    }
    ~BoxScript() { SetMessageBoxAnswerer({}); }
    BoxScript(const BoxScript&) = delete;
    BoxScript& operator=(const BoxScript&) = delete;

    void Queue(BoxAnswer answer) { answers_.push_back(answer); }
    // Answers the boxes no queued answer is left for.
    void AnswerWith(std::function<BoxAnswer(const AskedBox&)> rule) { rule_ = std::move(rule); }
    // Sees every box as it is asked, before it is answered.
    void OnAsk(std::function<void(const AskedBox&)> watch) { watch_ = std::move(watch); }
    const std::vector<AskedBox>& Asked() const { return asked_; }
    int Count() const { return static_cast<int>(asked_.size()); }
    void Clear() { asked_.clear(); }

  private:
    std::deque<BoxAnswer> answers_;
    std::function<BoxAnswer(const AskedBox&)> rule_;
    std::function<void(const AskedBox&)> watch_;
    std::vector<AskedBox> asked_;
};

} // namespace quelro::test
