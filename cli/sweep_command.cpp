// tavir-cli sweep: the automatic acceptance sweep, with its journal of originals; and restore,
// which writes a journal's originals back.
#include <fstream>
#include <map>
#include <tuple>

#include "commands.h"
#include "journal_restore.h"
#include "link/request_encoder.h"
#include "output_files.h"
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
// come within the time-out is asked for twice more, paced; then the sweep stops before that write.
class JournalingTransport : public Transport, ValueDelivery {
public:
    JournalingTransport(CliLink& link, SweepJournal& journal, ApplicationTables& tables, Pacing& pacing)
        : link_(link), journal_(journal), pacing_(pacing) {
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
        for (int again = 0; !link_.waitFor([&] { return field.isReceived(); }, link_.timeoutMs()); ++again) {
            if (again == 2) throw LinkFailure("no original value came for " + std::string(field.name));
            SendRequest(link_, field.address, kRead);
            pace(pacing_);
        }
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
    Pacing& pacing_;
    std::map<AddressKey, ParameterField> fields_;
    std::map<AddressKey, bool> journaled_;
    FrameDecoder decoder_;
    bool written_ = false;
    ValueRecord last_{};
};

}  // namespace

Command addSweepCommand(CLI::App& app) {
    auto options = std::make_shared<ToolOptions>();
    options->out = text::kSweepFileDefault;
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
                // A journal that still holds originals is never overwritten.
                auto prepare = [&](ToolSession& session) {
                    if (int code = refuseUnreadSource(session)) return code;
                    if (journal->empty() || !std::ifstream(*journal)) return kExitDone;
                    Journal earlier;
                    std::string error;
                    if (!readJournal(*journal, earlier, error)) {
                        session.reporter.say(error + "; it is not overwritten");
                        return kExitUsage;
                    }
                    if (earlier.allRestored()) return kExitDone;
                    session.reporter.say(*journal +
                                         ": the journal holds originals not yet restored; run restore first");
                    return kExitUsage;
                };
                auto body = [&](ToolSession& session, ToolContext& context) {
                    SweepOptions run = *sweep;
                    run.kinds = session.kinds;
                    run.fileName = options->out;
                    run.watch = &session.actions;
                    SweepState state{run.startValue, run.resetPerKind, 0};
                    if (journal->empty()) {
                        runSweep(context, run, state);
                        session.link->awaitAnswers();
                        return kExitDone;
                    }
                    SweepJournal file;
                    const JournalOwner owner{options->dir, applicationDigest(session.headerPath),
                                             linkName(options->link)};
                    if (!file.create(*journal, owner)) {
                        session.reporter.say(*journal + ": the journal cannot be created");
                        return kExitUsage;
                    }
                    run.rememberOriginals = true;
                    JournalingTransport journaling(*session.link, file, *session.tables, session.pacing);
                    ToolContext journaled{context.tables, journaling, context.pacing, context.reporter};
                    runSweep(journaled, run, state);
                    session.link->awaitAnswers();
                    return kExitDone;
                };
                return runToolSession(*options, body, nullptr, prepare);
            }};
}

Command addRestoreCommand(CLI::App& app) {
    auto link = std::make_shared<LinkChoice>();
    auto choice = std::make_shared<RestoreChoice>();
    auto interval = std::make_shared<uint32_t>(1000);
    CLI::App* command = app.add_subcommand(
        "restore",
        "Write the originals of a sweep's journal back; each is marked once the controller holds it");
    command->add_option("--journal", choice->journal, "The sweep's journal")->required();
    command->add_option("--dir", choice->dir, "Directory of the application the journal belongs to")
        ->capture_default_str();
    command->add_flag("--other-application", choice->otherApplication,
                      "Restore a journal written for another application (or another version of it)");
    command->add_option("--interval", *interval, "Pause between requests, 100 to 2000 ms")
        ->capture_default_str()
        ->check(CLI::Range(100, 2000));
    addLinkOptions(*command, *link);
    return {command, [link, choice, interval] {
                StderrReporter reporter;
                Journal journal;
                if (int code = loadJournalForRestore(*choice, journal, reporter)) return code;
                if (!outputsWritable({link->traceFile}, reporter)) return kExitUsage;
                std::string error;
                std::unique_ptr<CliLink> open = CliLink::open(*link, error);
                if (!open) {
                    reporter.say("the link does not open: " + error);
                    return kExitLink;
                }
                SteadyClock clock;
                SleepingWaiter waiter;
                Pacing pacing{&clock, &waiter, *interval, 0};
                try {
                    return restoreOriginals(choice->journal, journal, *open, pacing, reporter);
                } catch (const LinkFailure& failure) {
                    reporter.finishProgress();
                    reporter.say(std::string("link failure: ") + failure.what());
                    return kExitLink;
                }
            }};
}

}  // namespace tavir::cli
