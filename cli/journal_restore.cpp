#include "journal_restore.h"

#include <atomic>

#include "base/join_path.h"
#include "file_search.h"
#include "link/request_encoder.h"
#include "resources/definitions_texts.h"
#include "tool_session.h"

namespace tavir::cli {

namespace {

constexpr int kTries = 3;  // a Read and two more

// The controller's answers for one address at a time.
class AnswerCatcher : public BatchValueSink {
public:
    void expect(const ValueRecord& address) {
        address_ = address;
        answered_.store(false);
    }
    void OnBatchValue(const ValueRecord& record) override {
        if (answered_.load() || record.functionCode != address_.functionCode ||
            record.number != address_.number)
            return;
        const int category = address_.functionCode / 32;
        const bool hasBlock = category == 6 || category == 7 || category == 11 || category == 12;
        if (hasBlock && record.block != address_.block) return;
        value_.store(record.value);
        answered_.store(true);
    }
    bool answered() const { return answered_.load(); }
    int32_t value() const { return value_.load(); }

private:
    ValueRecord address_{};
    std::atomic<bool> answered_{false};
    std::atomic<int32_t> value_{0};
};

// What the controller holds after a Write of value: the flag categories keep 0 or 1.
int32_t expectedAnswer(const ValueRecord& address, int32_t value) {
    const int category = address.functionCode / 32;
    return category == 0 || category == 13 ? (value != 0 ? 1 : 0) : value;
}

}  // namespace

int loadJournalForRestore(const RestoreChoice& choice, Journal& journal, StderrReporter& reporter) {
    std::string error;
    if (!readJournal(choice.journal, journal, error)) {
        reporter.say(error + "; nothing was sent");
        return kExitUsage;
    }
    if (choice.otherApplication) return kExitDone;
    const std::string header = hostPath(JoinPath(choice.dir.c_str(), text::kHeaderFileName));
    const std::string digest = applicationDigest(header);
    if (journal.owner.digest.empty() || digest != journal.owner.digest) {
        reporter.say(choice.journal + ": the journal belongs to the application in '" + journal.owner.dir +
                     "' (link " + journal.owner.link + "), not to " + header +
                     " as it is now; --other-application restores it all the same");
        return kExitUsage;
    }
    return kExitDone;
}

int restoreOriginals(const std::string& path, Journal& journal, CliLink& link, Pacing& pacing,
                     StderrReporter& reporter) {
    AnswerCatcher catcher;
    link.routeValuesTo(&catcher);
    // The link outlives the catcher: its values go nowhere once the restore ends.
    struct Unroute {
        CliLink& link;
        ~Unroute() { link.routeValuesTo(nullptr); }
    } unroute{link};
    resetPacing(pacing);
    int left = 0;
    for (const JournalEntry& e : journal.entries) left += !e.restored;
    reporter.beginProgress(left);
    int code = kExitDone;
    for (JournalEntry& e : journal.entries) {
        if (e.restored) continue;
        ValueRecord record = e.address;
        record.value = e.original;
        SendRequest(link, record, kWrite);
        pace(pacing);
        catcher.expect(e.address);
        for (int tries = 0; tries < kTries && !catcher.answered(); ++tries) {
            SendRequest(link, e.address, kRead);
            pace(pacing);
            link.waitFor([&] { return catcher.answered(); }, link.timeoutMs());
        }
        if (!catcher.answered()) {
            reporter.finishProgress();
            reporter.say("link failure: " + e.kind + " " + e.name + " was not read back after " +
                         std::to_string(kTries) + " tries; it and the entries after it stay unrestored");
            return kExitLink;
        }
        if (catcher.value() != expectedAnswer(e.address, e.original)) {
            reporter.say(e.kind + " " + e.name + ": the controller holds " + std::to_string(catcher.value()) +
                         " after the write of " + std::to_string(e.original) + "; not marked restored");
            code = kExitDifferences;
        } else {
            e.restored = true;
            if (!rewriteJournal(path, journal)) {
                reporter.say(path + ": the journal cannot be rewritten");
                return kExitUsage;
            }
        }
        reporter.stepProgress();
    }
    reporter.finishProgress();
    return code;
}

}  // namespace tavir::cli
