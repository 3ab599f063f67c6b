#pragma once
// Which requests tavir-cli serve answers, and which it refuses before anything is done: only the
// embedded pages and the application's windows by their number, never a path taken from the
// request; GET, and POST only for a write; small bodies; the token where one is needed.
#include <cstddef>
#include <string>
#include <vector>

namespace tavir::cli {

constexpr int kTimelinePage = -1;  // the page number of the signal timeline
constexpr size_t kLongestPath = 256;
constexpr size_t kLargestBody = 64;  // a write's text: an item shows at most 15 characters
constexpr char kTokenHeader[] = "X-Tavir-Token";

enum class Route { kPage, kIndexData, kWindowData, kEvents, kTimelineSvg, kWrite };

struct RouteMatch {
    Route route = Route::kPage;
    std::string page;  // kPage: the embedded file's name
    int window = 0;    // kWindowData, kEvents (kTimelinePage for the timeline's), kWrite
    int item = 0;      // kWrite
};

struct ServePolicy {
    bool writes = false;  // --allow-write
    bool remote = false;  // listening beyond loopback: every data request needs the token
    std::string token;
    // The Host headers taken ("127.0.0.1:8080", ...); any when empty. On loopback a page of another
    // site whose name was pointed at this machine names its own host and is refused.
    std::vector<std::string> hosts;
};

struct ServeRequest {
    std::string method;
    std::string path;   // without the query
    std::string token;  // the kTokenHeader header, empty without one
    size_t bodySize = 0;
    std::string host;  // the Host header
};

// 200 with what the request asks in match, or the HTTP status of its refusal: 421 a host not
// taken, 404 an unknown path, 405 a method the path does not take, 414 a path too long, 413 a body too large,
// 403 a write while writes are off, 401 a missing or wrong token.
int matchRequest(const ServePolicy& policy, const ServeRequest& request, RouteMatch& match);

// A new token: 32 hexadecimal digits from the system's random source.
std::string makeToken();

}  // namespace tavir::cli
