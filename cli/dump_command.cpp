// tavir-cli dump: the memory dump tool. Sends its command bytes one after the other and stores
// every byte that comes back in the dump file, as the dump dialog does.
#include <atomic>

#include "commands.h"
#include "output_files.h"
#include "resources/tools_texts.h"
#include "tool_session.h"
#include "tools/dump_tool.h"

namespace tavir::cli {

namespace {

constexpr int kQuietMs = 200;  // the pause that ends a one-line answer

// What the dialog would show, kept for the waits between the commands.
struct WaitingView : DumpView {
    std::atomic<int32_t> count{0};
    std::atomic<bool> ended{false};  // "EINDE DUMP"
    CliLink* link = nullptr;

    void showByteCount(int32_t c) override { count.store(c); }
    void showDataLine(const char*) override {}
    void showStatus(const char* text) override {
        if (std::string(text) == text::kDumpEnded) ended.store(true);
        if (link != nullptr) link->notify();
    }
    void restartNoAnswerTimer() override {}
    void stopNoAnswerTimer() override {}
};

}  // namespace

Command addDumpCommand(CLI::App& app) {
    auto link = std::make_shared<LinkChoice>();
    auto out = std::make_shared<std::string>("dpcom.dmp");
    auto commands = std::make_shared<std::string>("MO");
    CLI::App* command =
        app.add_subcommand("dump", "Send the dump commands and store every byte the controller sends back");
    command->add_option("--out", *out, "Dump file")->capture_default_str();
    command
        ->add_option(
            "--commands", *commands,
            "Command letters in order: V verify, M make, O fetch (up to the end of the dump), A abort")
        ->capture_default_str();
    addLinkOptions(*command, *link);
    return {command, [link, out, commands] {
                StderrReporter reporter;
                for (char c : *commands) {
                    if (c != 'V' && c != 'M' && c != 'O' && c != 'A') {
                        reporter.say(std::string("unknown dump command '") + c + "'");
                        return kExitUsage;
                    }
                }
                if (!outputsWritable({*out, link->traceFile}, reporter)) return kExitUsage;
                std::string error;
                // Declared before the link, so the link's reader has ended before they go.
                OutputWatch watch;
                DumpTool tool;
                WaitingView view;
                tool.watchFile(&watch);
                std::unique_ptr<CliLink> open = CliLink::open(*link, error);
                if (!open) {
                    reporter.say("the link does not open: " + error);
                    return kExitLink;
                }
                view.link = open.get();
                tool.open(view, out->c_str());
                open->routeBytesTo(tool);
                int code = kExitDone;
                try {
                    for (char c : *commands) {
                        const int32_t before = tool.receivedByteCount();
                        view.ended.store(false);
                        tool.sendCommand(static_cast<DumpCommand>(c), *open);
                        // A fetch is answered up to the end of the dump, which keeps coming for a
                        // while: the time-out counts from the last byte. The others are answered by
                        // a line: the answer is complete when the bytes stop for a moment.
                        int32_t seen = before;
                        auto moved = [&] { return tool.receivedByteCount() != seen; };
                        if (c == 'O') {
                            while (!open->waitFor([&] { return view.ended.load(); }, open->timeoutMs())) {
                                if (!moved()) throw LinkFailure("the dump stopped before its end");
                                seen = tool.receivedByteCount();
                            }
                            continue;
                        }
                        if (!open->waitFor(moved, open->timeoutMs()))
                            throw LinkFailure("the controller did not answer within " +
                                              std::to_string(open->timeoutMs()) + " ms");
                        do seen = tool.receivedByteCount();
                        while (open->waitFor(moved, kQuietMs));
                    }
                } catch (const LinkFailure& failure) {
                    reporter.say(std::string("link failure: ") + failure.what());
                    code = kExitLink;
                }
                // The reader may still be storing the byte that ended the dump: it ends first.
                open.reset();
                tool.close();
                std::fprintf(stderr, "%d bytes received\n", tool.receivedByteCount());
                if (watch.failed) {
                    reporter.say(*out + ": a write failed; the dump file is not complete");
                    return kExitUsage;
                }
                return code;
            }};
}

}  // namespace tavir::cli
