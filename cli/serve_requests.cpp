#include "serve_requests.h"

#include <algorithm>
#include <cstdio>
#include <random>
namespace tavir::cli {

namespace {

// A window's or an item's number: one to four digits.
bool parseNumber(const std::string& text, int& number) {
    if (text.empty() || text.size() > 4) return false;
    number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + (c - '0');
    }
    return true;
}

// The path's parts between its slashes; "/" has none.
std::vector<std::string> partsOf(const std::string& path) {
    std::vector<std::string> parts;
    size_t at = 1;
    while (at <= path.size()) {
        size_t slash = path.find('/', at);
        if (slash == std::string::npos) slash = path.size();
        parts.push_back(path.substr(at, slash - at));
        at = slash + 1;
    }
    if (!parts.empty() && parts.back().empty()) parts.pop_back();
    return parts;
}

bool sameToken(const std::string& given, const std::string& token) {
    // Every character is compared, so the time taken tells nothing of how much was right.
    unsigned difference = given.size() == token.size() ? 0 : 1;
    for (size_t i = 0; i < given.size() && i < token.size(); ++i)
        difference |= static_cast<unsigned char>(given[i] ^ token[i]);
    return difference == 0 && !token.empty();
}

// The route of path for method, or 404 / 405.
int route(const std::string& method, const std::string& path, RouteMatch& match) {
    static const char* const kPages[] = {"serve.js", "serve.css"};
    const std::vector<std::string> parts = partsOf(path);
    const size_t n = parts.size();
    const bool api = n >= 2 && parts[0] == "api";
    bool found = true;
    match = RouteMatch();
    if (n == 0) {
        match.page = "page.html";
    } else if (n == 1 && parts[0] == "timeline") {
        match.page = "page.html";
    } else if (n == 2 && parts[0] == "window" && parseNumber(parts[1], match.window)) {
        match.page = "page.html";
    } else if (api && n == 2 && parts[1] == "index") {
        match.route = Route::kIndexData;
    } else if (api && n == 2 && parts[1] == "timeline.svg") {
        match.route = Route::kTimelineSvg;
    } else if (api && n == 3 && parts[1] == "window" && parseNumber(parts[2], match.window)) {
        match.route = Route::kWindowData;
    } else if (api && n == 3 && parts[1] == "events" && parts[2] == "timeline") {
        match.route = Route::kEvents;
        match.window = kTimelinePage;
    } else if (api && n == 3 && parts[1] == "events" && parseNumber(parts[2], match.window)) {
        match.route = Route::kEvents;
    } else if (api && n == 4 && parts[1] == "write" && parseNumber(parts[2], match.window) &&
               parseNumber(parts[3], match.item)) {
        match.route = Route::kWrite;
    } else if (n == 1) {
        found = false;
        for (const char* page : kPages) found = found || parts[0] == page;
        match.page = parts[0];
    } else {
        found = false;
    }
    if (!found) return 404;
    return method == (match.route == Route::kWrite ? "POST" : "GET") ? 200 : 405;
}

}  // namespace

int matchRequest(const ServePolicy& policy, const ServeRequest& request, RouteMatch& match) {
    if (!policy.hosts.empty() &&
        std::find(policy.hosts.begin(), policy.hosts.end(), request.host) == policy.hosts.end())
        return 421;
    if (request.path.size() > kLongestPath) return 414;
    if (int status = route(request.method, request.path, match); status != 200) return status;
    if (request.bodySize > kLargestBody) return 413;
    if (match.route == Route::kWrite && !policy.writes) return 403;
    const bool needsToken = match.route == Route::kWrite || (policy.remote && match.route != Route::kPage);
    if (needsToken && !sameToken(request.token, policy.token)) return 401;
    return 200;
}

std::string makeToken() {
    std::random_device source;
    std::string token;
    char digits[9];
    for (int i = 0; i < 4; ++i) {
        std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(source()));
        token += digits;
    }
    return token;
}

}  // namespace tavir::cli
