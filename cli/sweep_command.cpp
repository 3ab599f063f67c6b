// tavir-cli sweep: the automatic acceptance sweep, with its journal of originals; and restore,
// which writes a journal's originals back.
#include <map>
#include <tuple>

#include "commands.h"
#include "link/request_encoder.h"
#include "resources/tools_texts.h"
#include "sweep_journal.h"
#include "tool_session.h"
#include "tools/parameter_field.h"
#include "tools/sweep_tool.h"

namespace tavir::cli {

namespace {

using AddressKey = std::tuple<int32_t, int32_t, int32_t>;

AddressKey keyOf(const ValueRecord& r) {
    return {r.functionCode, r.number, r.block};
}

// Between the sweep and the link: before the first Write to a parameter goes out, its original
// (the answer to the sweep's Read of it) is in the journal on the disk. An original that does not
// come within the time-out stops the sweep before that write.
class JournalingTransport : public Transport, ValueDelivery {
public:
    JournalingTransport(CliLink& link, SweepJournal& journal, ApplicationTables& tables)
        : link_(link), journal_(journal) {
        decoder_.delivery = this;
        for (int k = 0; k < kParameterKindCount; ++k)
            for (const ParameterField& f : kindFields(tables, kindAt(k), FieldOrder::kWalk))
                fields_.emplace(keyOf(f.address), f);
    }

    void write(const uint8_t* bytes, size_t count) override {
        // The frame is decoded again to see what it asks: a Write frame is laid out as a value frame.
        written_ = false;
        for (size_t i = 0; i < count; ++i) decoder_.FeedByte(bytes[i]);
        if (written_) journalOriginal();
        link_.write(bytes, count);
    }

private:
    void deliver(uint8_t kind, const ValueRecord& record) override {
        written_ = kind == kWrite;
        last_ = record;
    }

    void journalOriginal() {
        const AddressKey key = keyOf(last_);
        auto found = fields_.find(key);
        if (found == fields_.end() || journaled_.count(key) != 0) return;
        const ParameterField& field = found->second;
        if (!link_.waitFor([&] { return field.isReceived(); }, link_.timeoutMs()))
            throw LinkFailure("no original value came for " + std::string(field.name));
        JournalEntry entry;
        entry.kind = text::kKindFileSuffix[kindIndex(field.kind)] + 1;
        entry.name = field.name;
        entry.address = field.address;
        entry.original = field.controller();
        if (!journal_.append(entry)) throw LinkFailure("the journal cannot be written");
        journaled_.insert({key, true});
    }

    CliLink& link_;
    SweepJournal& journal_;
    std::map<AddressKey, ParameterField> fields_;
    std::map<AddressKey, bool> journaled_;
    FrameDecoder decoder_;
    bool written_ = false;
    ValueRecord last_{};
};

}  // namespace

Command addSweepCommand(CLI::App& app) {
    auto options = std::make_shared<ToolOptions>();
    auto sweep = std::make_shared<SweepOptions>();
    auto journal = std::make_shared<std::string>();
    sweep->separateFiles = false;
    sweep->rememberOriginals = false;
    CLI::App* command = app.add_subcommand(
        "sweep", "Write a distinct test value into every selected parameter and record each write");
    addToolOptions(*command, *options, false);
    command->add_option("--start", sweep->startValue, "First test value")->capture_default_str();
    command->add_flag("--remember", sweep->rememberOriginals, "Read each original before it is overwritten");
    command->add_flag("--separate", sweep->separateFiles, "One actions file per kind (name_VG.txt, ...)");
    command->add_flag("--switches-on", sweep->switchesOn, "Switch every switch on (default: off)");
    command->add_option(
        "--journal", *journal,
        "Record each original on the disk before its write, for 'restore' (implies --remember)");
    return {command, [options, sweep, journal] {
                return runToolSession(*options, [&](ToolSession& session, ToolContext& context) {
                    SweepOptions run = *sweep;
                    run.kinds = session.kinds;
                    if (!options->out.empty()) run.fileName = options->out;
                    SweepState state{run.startValue, run.resetPerKind, 0};
                    if (journal->empty()) {
                        runSweep(context, run, state);
                        session.link->awaitAnswers();
                        return kExitDone;
                    }
                    SweepJournal file;
                    if (!file.create(*journal)) {
                        session.reporter.say(*journal + ": the journal cannot be created");
                        return kExitUsage;
                    }
                    run.rememberOriginals = true;
                    JournalingTransport journaling(*session.link, file, *session.tables);
                    ToolContext journaled{context.tables, journaling, context.pacing, context.reporter};
                    runSweep(journaled, run, state);
                    session.link->awaitAnswers();
                    return kExitDone;
                });
            }};
}

Command addRestoreCommand(CLI::App& app) {
    auto link = std::make_shared<LinkChoice>();
    auto journal = std::make_shared<std::string>();
    auto interval = std::make_shared<uint32_t>(1000);
    CLI::App* command = app.add_subcommand("restore", "Write the originals of a sweep's journal back");
    command->add_option("--journal", *journal, "The sweep's journal")->required();
    command->add_option("--interval", *interval, "Pause between requests, 100 to 2000 ms")
        ->capture_default_str()
        ->check(CLI::Range(100, 2000));
    addLinkOptions(*command, *link);
    return {command, [link, journal, interval] {
                StderrReporter reporter;
                std::vector<JournalEntry> entries;
                std::string error;
                if (!readJournal(*journal, entries, error)) {
                    reporter.say(error);
                    return kExitUsage;
                }
                std::unique_ptr<CliLink> open = CliLink::open(*link, error);
                if (!open) {
                    reporter.say("the link does not open: " + error);
                    return kExitLink;
                }
                SteadyClock clock;
                SleepingWaiter waiter;
                Pacing pacing{&clock, &waiter, *interval, 0};
                resetPacing(pacing);
                int left = 0;
                for (const JournalEntry& e : entries) left += !e.restored;
                reporter.beginProgress(left);
                try {
                    for (JournalEntry& e : entries) {
                        if (e.restored) continue;
                        ValueRecord record = e.address;
                        record.value = e.original;
                        SendRequest(*open, record, kWrite);
                        e.restored = true;
                        if (!rewriteJournal(*journal, entries)) {
                            reporter.say(*journal + ": the journal cannot be rewritten");
                            return kExitUsage;
                        }
                        reporter.stepProgress();
                        pace(pacing);
                    }
                } catch (const LinkFailure& failure) {
                    reporter.say(std::string("link failure: ") + failure.what());
                    return kExitLink;
                }
                reporter.finishProgress();
                return kExitDone;
            }};
}

}  // namespace tavir::cli
