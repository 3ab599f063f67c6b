#pragma once
// What a dialog would show, on standard error: the progress bar (only on a terminal) and the
// message boxes' texts.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "tools/tool_context.h"

namespace tavir::cli {

// The program's texts are CP1252; a POSIX terminal expects UTF-8. Windows gets the bytes as they are.
std::string terminalText(const char* cp1252);

// Whether stream goes to a terminal (a progress bar or a screen is drawn only there).
bool isTerminal(std::FILE* stream);
// Whether stream goes to a terminal that takes cursor sequences (on Windows they are switched on).
bool takesCursorSequences(std::FILE* stream);
// The same conversion for the reports, which are UTF-8 everywhere.
std::string utf8Text(const char* cp1252);

// Where a run among others (a controller of an audit) sends its progress and its lines instead.
class ReporterOutlet {
public:
    virtual ~ReporterOutlet() = default;
    virtual void progress(int steps, int total) = 0;
    virtual void line(const std::string& text) = 0;
};

class StderrReporter : public ToolReporter {
public:
    StderrReporter();
    void beginProgress(int total) override;
    void stepProgress() override;
    void showMessage(const char* text, const char* caption, ToolIcon icon) override;
    // Ends the bar's line, so what follows starts on a line of its own.
    void finishProgress();
    // A line of the program's own (a failure), behind the bar.
    void say(const std::string& line);
    // From now on the message boxes' texts are kept instead of shown: a run that asks again for
    // lost answers decides afterwards what it reports.
    void holdMessages() { holding_ = true; }
    // Shows the texts kept, or forgets them, and shows texts again as they come.
    void releaseMessages();
    void dropMessages();
    // From now on the progress and the lines go to outlet; the message boxes' texts are dropped
    // (the outlet's owner reports the run's result itself).
    void divertTo(ReporterOutlet* outlet) { outlet_ = outlet; }

private:
    void draw();
    bool terminal_;
    bool drawn_ = false;
    int total_ = 0;
    int steps_ = 0;
    int shownPermille_ = -1;
    bool holding_ = false;
    ReporterOutlet* outlet_ = nullptr;
    std::vector<std::pair<std::string, std::string>> held_;  // caption, text
};

}  // namespace tavir::cli
