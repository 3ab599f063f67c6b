#include "serve_hub.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/parse_decimal.h"
#include "debugwin/item_value_text.h"
#include "link/item_index.h"
#include "link/wire_format.h"

namespace tavir::cli {

namespace {

std::string event(const nlohmann::json& data) {
    return "data: " + data.dump() + "\n\n";
}

// What a page shows of item number index: its text, or its check.
std::string itemEvent(const DebugItem& item, int index) {
    return event(
        {{"i", index}, {"t", item.isCheckbox ? "" : item.text}, {"c", item.isCheckbox && item.value == 1}});
}

}  // namespace

ServeHub::ServeHub(std::vector<ServedWindow> windows, Timeline timeline,
                   const RecordedAddresses& timelineAddresses, std::string noConnectionText)
    : windows_(std::move(windows)),
      timelineKeys_(timelineAddresses.byKey),
      timeline_(std::move(timeline)),
      noConnection_(std::move(noConnectionText)) {
    shown_.resize(windows_.size());
    windowKeys_.resize(windows_.size());
    for (size_t w = 0; w < windows_.size(); ++w) {
        if (!windows_[w].window) continue;
        ChildWindowData& data = windows_[w].window->data;
        shown_[w].assign(static_cast<size_t>(data.itemCount), 0);
        for (int i = 0; i < data.itemCount; ++i) {
            DebugItem& item = data.items[i];
            if (item.window == nullptr || (item.flags & kItemMonitored) == 0) continue;
            const ValueRecord request = requestKey(item);
            // As in the debugger, an item whose key an earlier item of its window holds gets no value.
            if (FindItem(data.itemIndex, request) != &item) continue;
            const int32_t key = RecordKey(request);
            Asked& asked = asked_.try_emplace(key).first->second;
            if (asked.places.empty() && !asked.timeline) asked.request = request;
            asked.places.push_back({static_cast<int>(w), i});
            windowKeys_[w].push_back(key);
        }
    }
    for (const ValueRecord& request : timelineAddresses.requests) {
        const int32_t key = RecordKey(request);
        Asked& asked = asked_.try_emplace(key).first->second;
        if (asked.places.empty()) asked.request = request;
        asked.timeline = &timelineKeys_.at(key);
        timelineOrder_.push_back(key);
    }
}

double ServeHub::now() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
}

const std::vector<int32_t>& ServeHub::keysOf(int page) const {
    return page == kTimelinePage ? timelineOrder_ : windowKeys_[static_cast<size_t>(page)];
}

bool ServeHub::loaded(int page) const {
    return page >= 0 && static_cast<size_t>(page) < windows_.size() &&
           windows_[static_cast<size_t>(page)].window;
}

void ServeHub::ask(const ValueRecord& request) {
    send(request, kRead);
    send(request, kMonitor);
}

void ServeHub::send(const ValueRecord& request, uint8_t kind) {
    if (!linkUp_ || stopping_) return;
    outgoing_.push_back({request, kind});
    outgoingChanged_.notify_one();
}

void ServeHub::queue(Viewer& viewer, int slot, std::string text, bool wake) {
    auto at = static_cast<size_t>(slot);
    viewer.pending[at] = std::move(text);
    if (!viewer.queued[at]) {
        viewer.queued[at] = 1;
        viewer.order.push_back(slot);
    }
    if (wake) viewer.changed.notify_one();
}

void ServeHub::queueStatus(Viewer& viewer) {
    const int slot = static_cast<int>(viewer.pending.size()) - 1;
    queue(viewer, slot, event({{"link", linkUp_}, {"banner", linkUp_ ? "" : noConnection_}}));
}

void ServeHub::queueItem(int window, int item) {
    const std::string text = itemEvent(windows_[static_cast<size_t>(window)].window->data.items[item], item);
    for (auto& viewer : viewers_)
        if (viewer->open && viewer->page == window) queue(*viewer, item, text, false);
}

int ServeHub::open(int page) {
    std::lock_guard<std::mutex> lock(mutex_);
    const bool window = loaded(page);
    if ((!window && page != kTimelinePage) || stopping_) return -1;
    int free = -1;
    int count = 0;
    for (size_t v = 0; v < viewers_.size(); ++v) {
        if (viewers_[v]->open) {
            ++count;
        } else if (free < 0) {
            free = static_cast<int>(v);
        }
    }
    if (count >= kMostViewers) return -1;
    if (page == kTimelinePage && !timelineWatched()) timelineSince_ = now();
    if (free < 0) {
        free = static_cast<int>(viewers_.size());
        viewers_.push_back(std::make_unique<Viewer>());
    }
    Viewer& viewer = *viewers_[static_cast<size_t>(free)];
    const size_t slots = (window ? static_cast<size_t>(windows_[page].window->data.itemCount) : 0) + 1;
    viewer.page = page;
    viewer.open = true;
    viewer.pending.assign(slots, std::string());
    viewer.queued.assign(slots, 0);
    viewer.order.clear();
    queueStatus(viewer);
    for (int32_t key : keysOf(page)) {
        Asked& asked = asked_.at(key);
        if (asked.pages++ == 0) ask(asked.request);
    }
    if (window) {
        const std::vector<char>& shown = shown_[static_cast<size_t>(page)];
        const ChildWindowData& data = windows_[page].window->data;
        for (int i = 0; i < data.itemCount; ++i) {
            if (shown[static_cast<size_t>(i)]) queue(viewer, i, itemEvent(data.items[i], i));
        }
    }
    return free;
}

void ServeHub::close(int id) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (id < 0 || static_cast<size_t>(id) >= viewers_.size() || !viewers_[id]->open) return;
    Viewer& viewer = *viewers_[static_cast<size_t>(id)];
    viewer.open = false;
    viewer.changed.notify_all();
    for (int32_t key : keysOf(viewer.page)) {
        Asked& asked = asked_.at(key);
        if (--asked.pages > 0) continue;
        send(asked.request, kStop);
        for (const Place& place : asked.places) shown_[place.window][place.item] = 0;
    }
    if (viewer.page == kTimelinePage) {
        if (!timelineWatched()) {
            timeline_.changes.clear();
            baseline_.clear();
        }
    }
}

bool ServeHub::timelineWatched() const {
    for (const auto& viewer : viewers_)
        if (viewer->open && viewer->page == kTimelinePage) return true;
    return false;
}

bool ServeHub::take(int id, std::string& events, int timeoutMs) {
    events.clear();
    std::unique_lock<std::mutex> lock(mutex_);
    Viewer& viewer = *viewers_.at(static_cast<size_t>(id));
    viewer.changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                            [&] { return !viewer.order.empty() || !viewer.open || stopping_; });
    if (!viewer.open || stopping_) return false;
    for (int slot : viewer.order) {
        events += viewer.pending[static_cast<size_t>(slot)];
        viewer.pending[static_cast<size_t>(slot)].clear();
        viewer.queued[static_cast<size_t>(slot)] = 0;
    }
    viewer.order.clear();
    return true;
}

void ServeHub::OnBatchValue(const ValueRecord& record) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = asked_.find(RecordKey(record));
    // A value still on its way after its Stop changes nothing.
    if (found == asked_.end() || found->second.pages == 0) return;
    Asked& asked = found->second;
    for (const Place& place : asked.places) {
        takeItemValue(windows_[place.window].window->data.items[place.item], record.value);
        shown_[place.window][place.item] = 1;
        queueItem(place.window, place.item);
    }
    if (asked.timeline != nullptr) {
        const double at = now();
        addChange(timeline_, at, asked.timeline->kind, asked.timeline->index, record.value);
        // The oldest changes make way, each remembered as its object's state from then on.
        while (!timeline_.changes.empty() && timeline_.changes.front().seconds < at - kTimelineKeptSeconds) {
            const TimelineChange& old = timeline_.changes.front();
            baseline_[{old.kind, old.index}] = old;
            timeline_.changes.erase(timeline_.changes.begin());
        }
    }
}

void ServeHub::OnBatchEnd() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& viewer : viewers_)
        if (viewer->open && !viewer->order.empty()) viewer->changed.notify_one();
}

std::vector<OutgoingRequest> ServeHub::takeOutgoing(int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    outgoingChanged_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return !outgoing_.empty(); });
    std::vector<OutgoingRequest> taken(outgoing_.begin(), outgoing_.end());
    outgoing_.clear();
    return taken;
}

void ServeHub::linkDown() {
    std::lock_guard<std::mutex> lock(mutex_);
    linkUp_ = false;
    outgoing_.clear();
    for (auto& viewer : viewers_)
        if (viewer->open) queueStatus(*viewer);
}

void ServeHub::linkUp() {
    std::lock_guard<std::mutex> lock(mutex_);
    linkUp_ = true;
    for (auto& [key, asked] : asked_) {
        if (asked.pages > 0) ask(asked.request);
    }
    for (auto& viewer : viewers_)
        if (viewer->open) queueStatus(*viewer);
}

bool ServeHub::isLinkUp() {
    std::lock_guard<std::mutex> lock(mutex_);
    return linkUp_;
}

void ServeHub::stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& [key, asked] : asked_) {
        if (asked.pages > 0) send(asked.request, kStop);
    }
    stopping_ = true;
    for (auto& viewer : viewers_) viewer->changed.notify_all();
    outgoingChanged_.notify_all();
}

WriteOutcome ServeHub::write(int page, int index, const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    WriteOutcome outcome;
    outcome.status = 404;
    if (!loaded(page)) return outcome;
    ChildWindowData& data = windows_[page].window->data;
    if (index < 0 || index >= data.itemCount || data.items[index].window == nullptr) return outcome;
    DebugItem& item = data.items[index];
    outcome.window = windows_[page].path;
    outcome.itemNumber = item.itemNumber;
    outcome.oldValue = item.value;
    // Its control is disabled until the item's first value, in the debugger as here.
    if (!linkUp_ || !shown_[page][index]) {
        outcome.status = linkUp_ ? 409 : 503;
        return outcome;
    }
    outcome.status = 200;
    if (item.isCheckbox) {
        item.value ^= 1;
        send(requestKey(item), kWrite);
    } else {
        if (!text.empty()) {
            item.value = decimalValue(text.c_str());
            send(requestKey(item), kWrite);
        }
        send(requestKey(item), kRead);
    }
    outcome.request = requestKey(item);
    outcome.newValue = item.value;
    return outcome;
}

std::string ServeHub::timelineSvg(double seconds) {
    Timeline shown;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const double end = now();
        const double from = std::max(timelineSince_, end - seconds);
        shown.groupNames = timeline_.groupNames;
        shown.detectorNames = timeline_.detectorNames;
        // Each object's state at the start of the picture, then what changed since.
        std::map<std::pair<ObjectKind, int>, TimelineChange> first = baseline_;
        size_t c = 0;
        for (; c < timeline_.changes.size() && timeline_.changes[c].seconds < from; ++c) {
            const TimelineChange& change = timeline_.changes[c];
            first[{change.kind, change.index}] = change;
        }
        for (const auto& [object, change] : first)
            addChange(shown, 0, change.kind, change.index, change.value);
        for (; c < timeline_.changes.size(); ++c) {
            const TimelineChange& change = timeline_.changes[c];
            addChange(shown, change.seconds - from, change.kind, change.index, change.value);
        }
        shown.endSeconds = end - from;
    }
    std::ostringstream out;
    writeTimelineSvg(shown, out);
    return out.str();
}

}  // namespace tavir::cli
