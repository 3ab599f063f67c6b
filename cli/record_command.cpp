// tavir-cli record: every signal group's state and every detector monitored for a while, each
// change kept with its time, then the CSV of the changes and the SVG of the signal timeline.
#include <chrono>
#include <fstream>
#include <utility>

#include "commands.h"
#include "link/item_index.h"
#include "link/request_encoder.h"
#include "output_files.h"
#include "received_values.h"
#include "timeline.h"
#include "tool_session.h"

namespace tavir::cli {

namespace {

struct RecordOptions {
    double durationSeconds = 0;
    std::string csvFile;
    std::string svgFile;
    ToolOptions tool;
};

double secondsBetween(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Keeps what arrived in the timeline; values of addresses not asked for are passed over.
void keep(ReceivedValues& values, const RecordedAddresses& addresses, Timeline& timeline,
          std::chrono::steady_clock::time_point started) {
    for (const ReceivedValue& value : values.take()) {
        auto found = addresses.byKey.find(RecordKey(value.record));
        if (found == addresses.byKey.end()) continue;
        addChange(timeline, secondsBetween(started, value.at), found->second.kind, found->second.index,
                  value.record.value);
    }
}

// 0, or 2 when a file could not be written whole.
int writeFiles(const RecordOptions& options, const Timeline& timeline, StderrReporter& reporter) {
    int code = kExitDone;
    for (bool svg : {false, true}) {
        const std::string& path = svg ? options.svgFile : options.csvFile;
        if (path.empty()) continue;
        std::ofstream out(path, std::ios::binary);
        if (svg) {
            writeTimelineSvg(timeline, out);
        } else {
            writeTimelineCsv(timeline, out);
        }
        out.close();
        if (!out.fail()) continue;
        reporter.say(path + ": cannot be written");
        code = kExitUsage;
    }
    return code;
}

int record(const RecordOptions& options, ReceivedValues& values) {
    Timeline timeline;
    RecordedAddresses addresses;
    std::chrono::steady_clock::time_point started;  // the first request: time 0 of the timeline
    bool asked = false;
    return runToolSession(
        options.tool,
        [&](ToolSession& session, ToolContext&) {
            addresses = addressesOf(*session.tables, timeline);
            CliLink& link = *session.link;
            link.routeValuesTo(&values);
            installInterruptHandler();
            started = std::chrono::steady_clock::now();
            // All at once, as a debug window's display start asks for its items.
            for (const ValueRecord& request : addresses.requests) {
                SendRequest(link, request, kRead);
                SendRequest(link, request, kMonitor);
            }
            asked = true;
            const auto until = started + std::chrono::duration<double>(options.durationSeconds);
            link.awaitAnswers();
            for (;;) {
                keep(values, addresses, timeline, started);
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    until - std::chrono::steady_clock::now());
                if (left.count() <= 0 || interrupted()) break;
                link.waitFor([&] { return values.pending() || interrupted(); },
                             static_cast<int>(left.count()));
            }
            for (const ValueRecord& request : addresses.requests) SendRequest(link, request, kStop);
            return kExitDone;
        },
        // Also after a link failure: what was recorded up to then is written.
        [&](ToolSession& session) {
            if (!asked) return kExitDone;
            keep(values, addresses, timeline, started);
            const double end = secondsBetween(started, std::chrono::steady_clock::now());
            if (end > timeline.endSeconds) timeline.endSeconds = end;
            return writeFiles(options, timeline, session.reporter);
        },
        [&](ToolSession& session) {
            return outputsWritable({options.csvFile, options.svgFile}, session.reporter) ? kExitDone
                                                                                         : kExitUsage;
        });
}

}  // namespace

Command addRecordCommand(CLI::App& app) {
    auto options = std::make_shared<RecordOptions>();
    CLI::App* command = app.add_subcommand(
        "record",
        "Monitor every signal group's state and every detector; write the changes (CSV) and a signal "
        "timeline (SVG)");
    command->add_option("--duration", options->durationSeconds, "Seconds to record (Ctrl+C ends sooner)")
        ->required()
        ->check(CLI::Range(0.1, 86400.0));
    command->add_option("--csv", options->csvFile, "Changes with their times, one per line");
    command->add_option("--svg", options->svgFile, "The signal timeline");
    command->add_option("--dir", options->tool.dir, "Directory of KVAPDEF.H and KVAPTAB.C")
        ->capture_default_str();
    addLinkOptions(*command, options->tool.link);
    return {command, [options] {
                ReceivedValues values;  // outlives the link and its reader
                return record(*options, values);
            }};
}

}  // namespace tavir::cli
