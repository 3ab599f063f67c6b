// Throughput of the frame decoder over a realistic value stream, and the cost of building the
// item index of a full child window.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "link/frame_decoder.h"
#include "link/item_index.h"
#include "link/request_encoder.h"

namespace {

using tavir::ValueRecord;

struct CountingDelivery : tavir::ValueDelivery {
    int64_t records = 0;
    int64_t sum = 0;
    void deliver(uint8_t, const ValueRecord& record) override {
        ++records;
        sum += record.value;
    }
};

ValueRecord record(int32_t functionCode, int32_t number, int32_t block, int32_t value) {
    ValueRecord r;
    r.functionCode = functionCode;
    r.number = number;
    r.block = block;
    r.value = value;
    return r;
}

// Value frames as a controller sends them for a busy window: states (flags), times, counters and
// parameters of every category, about 4 MB in all.
std::vector<uint8_t> buildStream() {
    std::mt19937 random(3);
    std::vector<uint8_t> stream;
    stream.reserve(4u << 20);
    uint8_t frame[tavir::kRequestBufferSize];
    while (stream.size() < (4u << 20) - tavir::kLongestFrame) {
        const int category = static_cast<int>(random() % 16);
        const int32_t functionCode = category * 32 + static_cast<int32_t>(random() % 32);
        const int32_t number = static_cast<int32_t>(random() % 64);
        const int32_t block = static_cast<int32_t>(random() % 48);
        int32_t value = 0;
        switch (random() % 4) {
            case 0:
                value = static_cast<int32_t>(random() % 2);
                break;  // a state
            case 1:
                value = static_cast<int32_t>(random() % 1000);
                break;  // a running time
            case 2:
                value = static_cast<int32_t>(random() % 100000);
                break;  // a counter
            default:
                value = static_cast<int32_t>(random());
                break;
        }
        const bool numbered = category == 2 || category == 3 || category == 6 || category == 7 ||
                              (category >= 8 && category <= 12);
        const bool blocked = category == 4 || category == 5 || category == 6 || category == 7 ||
                             category == 11 || category == 12;
        const ValueRecord r = record(functionCode, numbered || category < 2 || category > 12 ? number : -1,
                                     blocked ? block : -1, value);
        const int length = tavir::encodeRequest(r, tavir::kWrite, frame);
        stream.insert(stream.end(), frame, frame + length);
    }
    return stream;
}

void BM_FeedByte(benchmark::State& state) {
    static const std::vector<uint8_t> stream = buildStream();
    CountingDelivery delivery;
    tavir::FrameDecoder decoder;
    decoder.delivery = &delivery;
    for (auto _ : state) {
        for (uint8_t byte : stream) decoder.FeedByte(byte);
        benchmark::DoNotOptimize(delivery.sum);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(stream.size()));
    state.counters["frames"] =
        benchmark::Counter(static_cast<double>(delivery.records), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FeedByte)->Unit(benchmark::kMillisecond);

// A loader inserts every defined item of the window in list order, each insertion checking for
// a duplicate first, which sorts the entries again.
void BM_BuildItemIndex(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::vector<ValueRecord> records;
    for (int fc = 0; static_cast<int>(records.size()) < count; fc = (fc + 37) % 512) {
        for (int number = 1; number <= 16 && static_cast<int>(records.size()) < count; number += 3)
            records.push_back(record(fc, number, fc % 3 == 0 ? number % 48 : -1, 0));
    }
    std::mt19937 random(5);
    std::shuffle(records.begin(), records.end(), random);
    std::vector<int> items(static_cast<size_t>(count));

    for (auto _ : state) {
        tavir::ItemIndex* index = tavir::CreateItemIndex(count);
        for (size_t i = 0; i < records.size(); ++i) {
            const int position =
                tavir::InsertItem(index, records[i], reinterpret_cast<tavir::DebugItem*>(&items[i]));
            if (position < 0) state.SkipWithError("duplicate key in the benchmark window");
        }
        benchmark::DoNotOptimize(tavir::FindItem(index, records[0]));
        tavir::DestroyItemIndex(index);
    }
}
BENCHMARK(BM_BuildItemIndex)->Arg(500)->Unit(benchmark::kMicrosecond);

}  // namespace
