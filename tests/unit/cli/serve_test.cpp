// tavir-cli serve without sockets: which requests are answered and which refused, and the hub's
// promise that one request per item reaches the controller however many pages show it.
#include <gtest/gtest.h>

#include <memory>

#include "definitions/builtin_macros.h"
#include "scratch_folder.h"
#include "serve_hub.h"

namespace tavir::cli {
namespace {

struct RequestCase {
    const char* name;
    ServePolicy policy;
    ServeRequest request;
    int status;
    Route route = Route::kPage;
    int window = 0;
};

const ServePolicy kLocal{false, false, "secret-token-1234", {}};
const ServePolicy kWrites{true, false, "secret-token-1234", {}};
const ServePolicy kLoopback{false, false, "", {"127.0.0.1:8080", "localhost:8080"}};
const ServePolicy kRemote{false, true, "secret-token-1234", {}};

class RequestCases : public ::testing::TestWithParam<RequestCase> {};

TEST_P(RequestCases, AreAnsweredOrRefused) {
    const RequestCase& c = GetParam();
    RouteMatch match;
    EXPECT_EQ(matchRequest(c.policy, c.request, match), c.status);
    if (c.status != 200) return;
    EXPECT_EQ(match.route, c.route);
    EXPECT_EQ(match.window, c.window);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, RequestCases,
    ::testing::Values(
        RequestCase{"Index", kLocal, {"GET", "/", "", 0, ""}, 200},
        RequestCase{"Script", kLocal, {"GET", "/serve.js", "", 0, ""}, 200},
        RequestCase{"WindowPage", kLocal, {"GET", "/window/12", "", 0, ""}, 200, Route::kPage, 12},
        RequestCase{"WindowData", kLocal, {"GET", "/api/window/3", "", 0, ""}, 200, Route::kWindowData, 3},
        RequestCase{
            "TimelineEvents", kLocal, {"GET", "/api/events/timeline", "", 0, ""}, 200, Route::kEvents, -1},
        RequestCase{"AFileOfTheApplication", kLocal, {"GET", "/KVAPDEF.H", "", 0, ""}, 404},
        RequestCase{"APathUpwards", kLocal, {"GET", "/window/../KVAPTAB.C", "", 0, ""}, 404},
        RequestCase{"ANumberTooLong", kLocal, {"GET", "/api/window/12345", "", 0, ""}, 404},
        RequestCase{"ANegativeNumber", kLocal, {"GET", "/api/events/-2", "", 0, ""}, 404},
        RequestCase{"APathTooLong", kLocal, {"GET", "/" + std::string(300, 'a'), "", 0, ""}, 414},
        RequestCase{"PostOfAPage", kLocal, {"POST", "/api/index", "", 0, ""}, 405},
        RequestCase{"GetOfAWrite", kWrites, {"GET", "/api/write/1/2", "secret-token-1234", 0, ""}, 405},
        RequestCase{"DeleteOfAWindow", kLocal, {"DELETE", "/api/window/1", "", 0, ""}, 405},
        RequestCase{
            "WriteWhileWritesAreOff", kLocal, {"POST", "/api/write/1/2", "secret-token-1234", 3, ""}, 403},
        RequestCase{"WriteWithoutToken", kWrites, {"POST", "/api/write/1/2", "", 3, ""}, 401},
        RequestCase{
            "WriteWithAWrongToken", kWrites, {"POST", "/api/write/1/2", "secret-token-1235", 3, ""}, 401},
        RequestCase{"WriteWithAShortToken", kWrites, {"POST", "/api/write/1/2", "secret", 3, ""}, 401},
        RequestCase{"WriteTooLarge", kWrites, {"POST", "/api/write/1/2", "secret-token-1234", 65, ""}, 413},
        RequestCase{
            "Write", kWrites, {"POST", "/api/write/1/2", "secret-token-1234", 3, ""}, 200, Route::kWrite, 1},
        RequestCase{"RemoteDataWithoutToken", kRemote, {"GET", "/api/index", "", 0, ""}, 401},
        RequestCase{"RemoteDataWithToken",
                    kRemote,
                    {"GET", "/api/index", "secret-token-1234", 0, ""},
                    200,
                    Route::kIndexData},
        RequestCase{"RemotePageShell", kRemote, {"GET", "/timeline", "", 0, ""}, 200},
        RequestCase{"LoopbackByName",
                    kLoopback,
                    {"GET", "/api/index", "", 0, "localhost:8080"},
                    200,
                    Route::kIndexData},
        RequestCase{"AnotherSitesName", kLoopback, {"GET", "/api/index", "", 0, "evil.example:8080"}, 421}),
    [](const auto& param) { return std::string(param.param.name); });

// Two items in a window: what the hub asks of the controller as two pages open and close.
TEST(ServeHub, AsksOncePerItemAndKeepsTheLatestValueOfEach) {
    testing::ScratchFolder folder{"tavir-cli-serve"};
    const std::string path = folder.write(
        "DEBUG_001.TXT", "~~~01 ~~~02\n" + std::string(23, '\n') + "01 inst_VG_TIJD 2\n02 inst_GL_TIJD 2\n");
    auto macros = std::make_unique<MacroTable>();
    clearMacroTable(*macros);
    MessageLog log;
    ASSERT_EQ(loadBuiltInMacros(*macros, log), 0);
    std::vector<ServedWindow> windows;
    windows.push_back({path, {}, loadTextWindow(path.c_str(), log, *macros)});
    ASSERT_TRUE(windows[0].window);
    const ValueRecord first = requestKey(windows[0].window->data.items[0]);
    const ValueRecord second = requestKey(windows[0].window->data.items[1]);
    ServeHub hub(std::move(windows), Timeline(), RecordedAddresses(), "down");
    using Sent = std::vector<std::pair<int32_t, uint8_t>>;
    auto sent = [&] {
        Sent kinds;
        for (const OutgoingRequest& out : hub.takeOutgoing(0))
            kinds.emplace_back(out.request.functionCode, out.kind);
        return kinds;
    };
    const int32_t vg = first.functionCode, gl = second.functionCode;

    const int a = hub.open(0), b = hub.open(0);
    EXPECT_EQ(hub.open(1), -1);
    EXPECT_EQ(sent(), (Sent{{vg, kRead}, {vg, kMonitor}, {gl, kRead}, {gl, kMonitor}}));
    std::string events;
    ASSERT_TRUE(hub.take(b, events, 0));  // the link's state
    // A viewer that takes late gets each item once, with its latest value, in the order they changed.
    for (auto [record, value] : {std::pair{second, 7}, {second, 8}, {first, 123}}) {
        record.value = value;
        hub.OnBatchValue(record);
    }
    ASSERT_TRUE(hub.take(b, events, 0));
    EXPECT_EQ(events,
              "data: {\"c\":false,\"i\":1,\"t\":\"8\"}\n\ndata: {\"c\":false,\"i\":0,\"t\":\"123\"}\n\n");
    hub.close(a);
    EXPECT_EQ(sent(), Sent{});
    hub.close(b);
    EXPECT_EQ(sent(), (Sent{{vg, kStop}, {gl, kStop}}));
    EXPECT_FALSE(hub.take(b, events, 0));
}

}  // namespace
}  // namespace tavir::cli
