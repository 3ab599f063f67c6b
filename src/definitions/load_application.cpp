#include "definitions/load_application.h"

#include <cstring>

#include "definitions/application_header.h"
#include "definitions/builtin_macros.h"
#include "resources/definitions_texts.h"

namespace tavir {

namespace {

// Counts the lines the readers add on their way to the log's own sink.
struct CountedLines : MessageSink {
    MessageSink* next = nullptr;
    int count = 0;
    int addLine(const char* text) override {
        ++count;
        // Without a sink of its own the log drops its lines; dropped is not refused.
        return next ? next->addLine(text) : 0;
    }
};

}  // namespace

ApplicationLoad LoadApplication(MacroTable& macros, ApplicationTables& tables, MessageLog& log,
                                const char* applicationDirectory) {
    ApplicationLoad load;
    CountedLines counted;
    counted.next = log.sink;

    log.sink = &counted;
    int macroResult = loadBuiltInMacros(macros, log);
    log.sink = counted.next;
    ReportMessage(log, kPlain, text::kMacroFileName, text::kReadingMacroFile);
    if (macroResult != 0) {
        load.result = ApplicationLoadResult::kMacrosIncorrect;
        load.reportedLines = counted.count;
        return load;
    }

    const char* joined = JoinPath(applicationDirectory, text::kHeaderFileName);
    if (joined == nullptr) {
        ReportMessage(log, kError, text::kHeaderFileName, text::kHeaderPathTooLong, applicationDirectory);
        load.result = ApplicationLoadResult::kHeaderPathTooLong;
        load.reportedLines = counted.count;
        return load;
    }
    std::memcpy(load.headerPath, joined, std::strlen(joined) + 1);
    ReportMessage(log, kPlain, load.headerPath, text::kReadingHeaderFile);

    log.sink = &counted;
    int headerResult = loadApplicationHeader(macros, tables, log, load.headerPath);
    log.sink = counted.next;
    load.reportedLines = counted.count;
    load.result = headerResult == 0 ? ApplicationLoadResult::kLoaded : ApplicationLoadResult::kHeaderRefused;
    return load;
}

}  // namespace tavir
