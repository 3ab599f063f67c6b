#pragma once
// In-memory fakes of the seams, shared by the unit tests.
#include <string>
#include <vector>

#include "base/message_boxes.h"
#include "base/message_sink.h"

namespace tavir::testing {

struct RecordedLines : MessageSink {
    std::vector<std::string> lines;
    bool refuse = false;
    int addLine(const char* text) override {
        if (refuse) return -1;
        lines.emplace_back(text);
        return static_cast<int>(lines.size()) - 1;
    }
};

struct RecordedBox {
    std::string text, caption;
    unsigned style;
};

struct RecordedBoxes : MessageBoxes {
    std::vector<RecordedBox> boxes;
    void show(const char* text, const char* caption, unsigned style) override {
        boxes.push_back({text, caption, style});
    }
};

}  // namespace tavir::testing
