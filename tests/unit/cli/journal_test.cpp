// The sweep journal read strictly, and restore against a controller in memory: an entry is marked
// only once the controller holds its original.
#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

#include "journal_restore.h"
#include "link/frame_decoder.h"
#include "link/request_encoder.h"
#include "scratch_folder.h"
#include "sweep_journal.h"
#include "tools/steady_pacing.h"

namespace tavir::cli {
namespace {

const std::string kFirst =
    "{\"tavirSweepJournal\":2,\"dir\":\"demo\",\"digest\":\"d\",\"link\":\"127.0.0.1:7000\"}\n";
const std::string kEntryA =
    "{\"kind\":\"TIJD\",\"name\":\"T_A\",\"functionCode\":34,\"number\":0,\"block\":0,\"original\":20,"
    "\"restored\":false}\n";
const std::string kEntryB =
    "{\"kind\":\"TIJD\",\"name\":\"T_B\",\"functionCode\":34,\"number\":1,\"block\":0,\"original\":35,"
    "\"restored\":false}\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

TEST(Journal, ReadsWholeLinesOrRefusesWithTheLine) {
    struct Case {
        const char* name;
        std::string text;
        int entries;        // -1: refused
        const char* error;  // part of the reason
    } cases[] = {
        {"two entries", kFirst + kEntryA + kEntryB, 2, ""},
        {"last line cut off by a kill", kFirst + kEntryA + kEntryB.substr(0, 30), 1, ""},
        {"first version, no owner", "{\"tavirSweepJournal\":1}\n" + kEntryA, 1, ""},
        {"empty file", "", -1, ":1: not a sweep journal"},
        {"another file", "hello\n" + kEntryA, -1, ":1: not a sweep journal"},
        {"bad middle line", kFirst + "{\"kind\":\n" + kEntryB, -1, ":2: not a JSON object"},
        {"text for a number", kFirst + replaced(kEntryA, "20", "\"20\""), -1,
         ":2: \"original\" is not a 32-bit integer"},
        {"beyond 32 bits", kFirst + kEntryA + replaced(kEntryB, "35", "4294967296"), -1,
         ":3: \"original\" is not a 32-bit integer"},
        {"beyond 64 bits", kFirst + replaced(kEntryA, "20", "99999999999999999999999"), -1,
         ":2: \"original\" is not a 32-bit integer"},
        {"fraction", kFirst + replaced(kEntryA, "20", "2.5"), -1, ":2: \"original\" is not a 32-bit integer"},
        {"missing name", kFirst + replaced(kEntryA, "\"name\"", "\"nam\""), -1, ":2: \"name\" is not a text"},
        {"restored not a flag", kFirst + replaced(kEntryA, "false", "0"), -1,
         ":2: \"restored\" is not true or false"},
        {"number beyond one group",
         kFirst + replaced(replaced(kEntryA, "34", "320"), "\"number\":0", "\"number\":64"), -1,
         ":2: the address is beyond what a request can carry"},
        {"function code beyond 511", kFirst + replaced(kEntryA, "34", "512"), -1,
         ":2: the address is beyond what a request can carry"},
    };
    for (const Case& c : cases) {
        Journal journal;
        std::string error;
        const bool read = parseJournal(c.text, journal, error);
        EXPECT_EQ(read, c.entries >= 0) << c.name << ": " << error;
        if (read) {
            EXPECT_EQ(static_cast<int>(journal.entries.size()), c.entries) << c.name;
        }
        EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
    }
}

// A controller on the other side of the link: Writes are stored, Reads answered with what it holds.
class MemoryController : public LinkEndpoint, ValueDelivery {
public:
    bool silent = false;
    bool keepsOld = false;  // takes no Write
    int dropFirst = 0;      // answers lost on the way back

    std::map<int32_t, int32_t> values;  // by number

    MemoryController() { decoder_.delivery = this; }
    int writeFrame(const uint8_t* bytes, size_t count) override {
        for (size_t i = 0; i < count; ++i) decoder_.FeedByte(bytes[i]);
        return 0;
    }
    int receive(uint8_t* buffer, int capacity, int timeoutMs) override {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return !out_.empty(); });
        int n = 0;
        for (; n < capacity && !out_.empty(); ++n) {
            buffer[n] = out_.front();
            out_.pop_front();
        }
        return n;
    }

private:
    void deliver(uint8_t kind, const ValueRecord& record) override {
        if (kind == kWrite && !keepsOld) values[record.number] = record.value;
        if (kind != kRead || silent || dropFirst-- > 0) return;
        ValueRecord answer = record;
        answer.value = values[record.number];
        uint8_t frame[kRequestBufferSize];
        const int length = encodeRequest(answer, kWrite, frame);
        std::lock_guard<std::mutex> lock(mutex_);
        out_.insert(out_.end(), frame, frame + length);
        changed_.notify_all();
    }
    FrameDecoder decoder_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<uint8_t> out_;
};

TEST(Restore, MarksOnlyWhatTheControllerHolds) {
    struct Case {
        const char* name;
        bool silent, keepsOld;
        int dropFirst;
        int exitCode;
        int restored;
    } cases[] = {
        {"answers", false, false, 0, 0, 2},
        {"loses two answers, asked again", false, false, 2, 0, 2},
        {"silent", true, false, 0, 3, 0},
        {"keeps its values", false, true, 0, 1, 0},
    };
    for (const Case& c : cases) {
        testing::ScratchFolder folder{"tavir-cli-restore"};
        const std::string path = folder.write("journal.jsonl", kFirst + kEntryA + kEntryB);
        Journal journal;
        std::string error;
        ASSERT_TRUE(readJournal(path, journal, error)) << error;
        auto controller = std::make_unique<MemoryController>();
        controller->silent = c.silent;
        controller->keepsOld = c.keepsOld;
        controller->dropFirst = c.dropFirst;
        LinkChoice choice;
        choice.timeoutMs = 100;
        std::unique_ptr<CliLink> link = CliLink::over(choice, std::move(controller), error);
        SteadyClock clock;
        SleepingWaiter waiter;
        Pacing pacing{&clock, &waiter, 0, 0};
        StderrReporter reporter;
        EXPECT_EQ(restoreOriginals(path, journal, *link, pacing, reporter), c.exitCode) << c.name;
        Journal after;
        ASSERT_TRUE(readJournal(path, after, error)) << error;
        int restored = 0;
        for (const JournalEntry& e : after.entries) restored += e.restored;
        EXPECT_EQ(restored, c.restored) << c.name;
    }
}

TEST(Restore, RefusesAnotherApplicationsJournalUnlessTold) {
    testing::ScratchFolder folder{"tavir-cli-owner"};
    folder.write("KVAPDEF.H", "#define SG02 0\n");
    folder.write("KVAPTAB.C", "\n");
    const std::string digest = applicationDigest(folder.file("KVAPDEF.H"));
    ASSERT_FALSE(digest.empty());
    struct Case {
        std::string journalDigest;
        bool otherApplication;
        int exitCode;
    } cases[] = {{digest, false, 0}, {"0123", false, 2}, {"0123", true, 0}, {"", false, 2}};
    for (const Case& c : cases) {
        folder.write("journal.jsonl", replaced(kFirst, "\"d\"", "\"" + c.journalDigest + "\"") + kEntryA);
        RestoreChoice choice{folder.file("journal.jsonl"), folder.dir(), c.otherApplication};
        Journal journal;
        StderrReporter reporter;
        EXPECT_EQ(loadJournalForRestore(choice, journal, reporter), c.exitCode) << c.journalDigest;
    }
}

}  // namespace
}  // namespace tavir::cli
