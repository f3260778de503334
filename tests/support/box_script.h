// The one message-box answerer of the tests: every box the program asks for
// is recorded and answered instead of shown, by queued answers first, then
// by Yes to a Yes/No question and OK to anything else.
#pragma once

#include <deque>
#include <vector>

#include "i18n/local_msgbox_qt.h"

namespace quelro::test {

class BoxScript {
  public:
    BoxScript() {
        SetMessageBoxAnswerer([this](const AskedBox& box) {
            asked_.push_back(box);
            if (!answers_.empty()) {
                const int answer = answers_.front();
                answers_.pop_front();
                return answer;
            }
            const int buttons = box.style & 0xF;
            return buttons == 3 || buttons == 4 ? 6 : 1;
        });
    }
    ~BoxScript() { SetMessageBoxAnswerer({}); }
    BoxScript(const BoxScript&) = delete;
    BoxScript& operator=(const BoxScript&) = delete;

    void Queue(int buttonId) { answers_.push_back(buttonId); }
    const std::vector<AskedBox>& Asked() const { return asked_; }
    void Clear() { asked_.clear(); }

  private:
    std::deque<int> answers_;
    std::vector<AskedBox> asked_;
};

} // namespace quelro::test
