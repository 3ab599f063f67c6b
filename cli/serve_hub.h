#pragma once
// What tavir-cli serve shares among its browsers: the debug windows as the debugger finds them,
// how many open pages show each controller value, the requests still to go to the controller,
// and each viewer's queue of what changed. One link serves every viewer: a value is asked for
// (Read, then Monitor) when the first page that shows it opens and stopped when the last closes.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "link/value_sinks.h"
#include "serve_requests.h"
#include "text_window.h"
#include "timeline.h"

namespace tavir::cli {

struct ServedWindow {
    std::string path;                    // as the search built it
    std::vector<std::string> lines;      // the loader's message lines, as check prints them
    std::unique_ptr<TextWindow> window;  // none when the loader refused the file
};

constexpr int kMostViewers = 64;  // open event streams at once
constexpr double kTimelineKeptSeconds = 600;

struct OutgoingRequest {
    ValueRecord request;
    uint8_t kind;
};

// What a write from a browser did, for its answer and the audit log.
struct WriteOutcome {
    int status = 0;      // HTTP: 200 sent, 404 no such item, 409 no value yet, 503 the link is down
    std::string window;  // the file's path
    int32_t itemNumber = -1;
    ValueRecord request;  // the item's address
    int32_t oldValue = -1;
    int32_t newValue = -1;
};

class ServeHub : public BatchValueSink {
public:
    // windows in the order the index shows them; timeline the names of its groups and detectors.
    ServeHub(std::vector<ServedWindow> windows, Timeline timeline, const RecordedAddresses& timelineAddresses,
             std::string noConnectionText);

    const std::vector<ServedWindow>& windows() const { return windows_; }
    // Whether page is a window whose file loaded.
    bool loaded(int page) const;

    // A viewer of page (a window's number or kTimelinePage) opens: its values are asked for where
    // no other page asks already, and what is known is queued for it. -1 for a page that does not
    // exist or when kMostViewers are open.
    int open(int page);
    // The viewer's page closed or its browser went away; the values no other page shows are stopped.
    void close(int viewer);
    // Waits at most timeoutMs for what changed for the viewer: Server-Sent Events, one per changed
    // item in the order they changed, each with its latest text. False once the viewer is closed
    // or the hub stops.
    bool take(int viewer, std::string& events, int timeoutMs);

    // Reader thread: a value from the controller, queued for the viewers; they are woken once for
    // all the values of one read.
    void OnBatchValue(const ValueRecord& record) override;
    void OnBatchEnd() override;

    // The link's side: what to send, waiting at most timeoutMs for something.
    std::vector<OutgoingRequest> takeOutgoing(int timeoutMs);
    // The link went down: the viewers show the banner. Up again: everything shown is asked again.
    void linkDown();
    void linkUp();
    bool isLinkUp();
    // The end: every shown value is stopped (queued), every viewer ends.
    void stop();

    // Enter in a value item's field with text, or a click on a checkbox item: the writes the
    // debugger makes for them.
    WriteOutcome write(int page, int item, const std::string& text);

    // The signal timeline of the last seconds, as record draws it.
    std::string timelineSvg(double seconds);

private:
    struct Place {
        int window;
        int item;
    };
    struct Asked {
        ValueRecord request;
        int pages = 0;              // open pages that show it
        std::vector<Place> places;  // the items that take its values
        const Recorded* timeline = nullptr;
    };
    struct Viewer {
        int page = 0;
        bool open = false;
        std::vector<std::string> pending;  // by slot: the latest event not yet taken
        std::vector<char> queued;          // by slot
        std::deque<int> order;             // slots in the order they first changed
        std::condition_variable changed;
    };

    const std::vector<int32_t>& keysOf(int page) const;
    // wake: the viewer's stream is woken at once, else at the end of the batch.
    void queue(Viewer& viewer, int slot, std::string event, bool wake = true);
    void queueItem(int window, int item);
    void queueStatus(Viewer& viewer);
    bool timelineWatched() const;
    void send(const ValueRecord& request, uint8_t kind);
    // Read, then Monitor.
    void ask(const ValueRecord& request);
    double now() const;

    std::vector<ServedWindow> windows_;
    std::vector<std::vector<char>> shown_;  // by window and item: a value arrived since it was asked
    std::unordered_map<int32_t, Asked> asked_;
    std::vector<std::vector<int32_t>> windowKeys_;  // by window: the keys its items are asked by
    std::map<int32_t, Recorded> timelineKeys_;
    std::vector<int32_t> timelineOrder_;
    Timeline timeline_;  // the changes of the last kTimelineKeptSeconds while a timeline is open
    std::map<std::pair<ObjectKind, int>, TimelineChange> baseline_;  // the last change let go, by object
    std::string noConnection_;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    double timelineSince_ = 0;  // when the first of the open timeline pages opened

    std::mutex mutex_;
    std::condition_variable outgoingChanged_;
    std::deque<OutgoingRequest> outgoing_;
    std::vector<std::unique_ptr<Viewer>> viewers_;
    bool linkUp_ = true;
    bool stopping_ = false;
};

}  // namespace tavir::cli
