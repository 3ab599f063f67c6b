// tavir-cli serve: every debug window of the application and the signal timeline, live in any
// number of browsers over one link to the controller. The link is this thread's: the pages ask
// the hub, the hub queues the requests, and this thread sends them and tries the link again
// with a growing pause when it fails.
#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>

#include "base/message_log.h"
#include "commands.h"
#include "debugwin/debug_file_search.h"
#include "debugwin/window_list.h"
#include "file_search.h"
#include "link/request_encoder.h"
#include "received_values.h"
#include "resources/debugwin_texts.h"
#include "resources/shell_texts.h"
#include "serve_assets.h"
#include "serve_hub.h"
#include "tool_session.h"

namespace tavir::cli {

namespace {

struct ServeOptions {
    std::string listen = "127.0.0.1:8080";
    bool allowWrite = false;
    bool allowRemote = false;
    std::string tokenFile;
    std::string auditFile = "tavir-serve-audit.jsonl";
    ToolOptions tool;
};

// The debugger's search for its debug window files, each file's message lines kept with it and
// the files in the order of the debugger's window list.
class Catalog : public DebugWindowHost, public MessageSink {
public:
    Catalog(MessageLog& log, const MacroTable& macros) : log_(log), macros_(macros) {}
    int childCount() const override { return loaded_; }
    int openDebugWindowFile(const char* path) override {
        ServedWindow served{path, {}, nullptr};
        target_ = &served.lines;
        ReportMessage(log_, kPlain, path);
        served.window = loadTextWindow(path, log_, macros_);
        target_ = &lines;
        const bool made = served.window != nullptr;
        loaded_ += made ? 1 : 0;
        found_.push_back(std::move(served));
        order_.push_back(static_cast<int>(found_.size()) - 1);
        sortInLast(order_.data(), static_cast<int>(order_.size()), path,
                   [this](int at) { return found_[static_cast<size_t>(at)].path.c_str(); });
        return made ? 0 : -1;
    }
    void repaint() override {}
    int addLine(const char* text) override {
        target_->emplace_back(text);
        return 0;
    }
    // The files in the order of the window list.
    std::vector<ServedWindow> windows() {
        std::vector<ServedWindow> sorted;
        for (int at : order_) sorted.push_back(std::move(found_[static_cast<size_t>(at)]));
        return sorted;
    }

    std::vector<std::string> lines;  // the search's own lines

private:
    MessageLog& log_;
    const MacroTable& macros_;
    std::vector<std::string>* target_ = &lines;
    std::vector<ServedWindow> found_;
    std::vector<int> order_;
    int loaded_ = 0;
};

std::vector<std::string> utf8Lines(const std::vector<std::string>& lines) {
    std::vector<std::string> converted;
    for (const std::string& line : lines) converted.push_back(utf8Text(line.c_str()));
    return converted;
}

std::string fileName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// What the index page shows.
nlohmann::json indexData(const std::string& dir, const std::vector<std::string>& searchLines,
                         const std::vector<ServedWindow>& windows, bool writes) {
    nlohmann::json list = nlohmann::json::array();
    std::FILE* listFile = std::fopen(hostPath(dir + "mkdebfls.txt").c_str(), "rb");
    for (const ServedWindow& window : windows) {
        std::vector<char> entry(kChildTitleCapacity);
        windowListEntry(window.path.c_str(), listFile, entry.data());
        list.push_back({{"name", fileName(window.path)},
                        {"path", utf8Text(window.path.c_str())},
                        {"entry", utf8Text(entry.data())},
                        {"lines", utf8Lines(window.lines)},
                        {"loaded", window.window != nullptr}});
    }
    if (listFile != nullptr) std::fclose(listFile);
    return {{"lines", utf8Lines(searchLines)}, {"windows", list}, {"writes", writes}};
}

// What a window page lays out: the grid, the labels and the items at their places.
nlohmann::json windowData(const std::vector<ServedWindow>& windows, int number, bool writes) {
    const ServedWindow& served = windows[static_cast<size_t>(number)];
    const ChildWindowData& data = served.window->data;
    nlohmann::json labels = nlohmann::json::array();
    for (int l = 0; l < data.labelCount; ++l)
        labels.push_back({data.labels[l].column, data.labels[l].row, utf8Text(labelText(data, l))});
    nlohmann::json items = nlohmann::json::array();
    for (int i = 0; i < data.itemCount; ++i) {
        const DebugItem& item = data.items[i];
        if (item.window != nullptr)
            items.push_back({i, item.column, item.row, item.width, item.isCheckbox != 0});
    }
    return {{"number", number},        {"name", fileName(served.path)},
            {"count", windows.size()}, {"columns", data.columns},
            {"rows", data.rows},       {"labels", labels},
            {"items", items},          {"writes", writes}};
}

// The audit log: one JSON line per write sent, flushed at once.
class AuditLog {
public:
    bool open(const std::string& path) {
        out_.open(path, std::ios::binary | std::ios::app);
        return out_.good();
    }
    void add(const std::string& address, const WriteOutcome& write) {
        char time[32];
        const std::time_t now = std::time(nullptr);
        std::strftime(time, sizeof time, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&now));
        const nlohmann::ordered_json line = {{"time", time},
                                             {"address", address},
                                             {"window", fileName(write.window)},
                                             {"item", write.itemNumber},
                                             {"functionCode", write.request.functionCode},
                                             {"number", write.request.number},
                                             {"block", write.request.block},
                                             {"old", write.oldValue},
                                             {"new", write.newValue}};
        std::lock_guard<std::mutex> lock(mutex_);
        out_ << line.dump() << '\n' << std::flush;
    }

private:
    std::mutex mutex_;
    std::ofstream out_;
};

struct Listen {
    std::string host;
    int port = 0;
    bool loopback = false;
};

bool parseListen(const std::string& text, Listen& listen) {
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos) return false;
    listen.host = text.substr(0, colon);
    if (listen.host.size() > 2 && listen.host.front() == '[' && listen.host.back() == ']')
        listen.host = listen.host.substr(1, listen.host.size() - 2);
    const std::string port = text.substr(colon + 1);
    if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    listen.port = std::stoi(port);
    listen.loopback = listen.host.rfind("127.", 0) == 0 || listen.host == "::1" || listen.host == "localhost";
    return !listen.host.empty() && listen.port <= 65535;
}

const char* statusText(int status) {
    switch (status) {
        case 401:
            return "a token is needed";
        case 403:
            return "writes are off";
        case 404:
            return "not found";
        case 405:
            return "method not allowed";
        case 409:
            return "the item has no value yet";
        case 421:
            return "not this server's name";
        case 413:
            return "body too large";
        case 414:
            return "path too long";
        case 503:
            return "the link is down";
        default:
            return "ok";
    }
}

void answer(httplib::Response& response, int status, const std::string& body, const char* type) {
    response.status = status;
    response.set_content(body, type);
}

// Every request: matched, refused or answered.
void handle(const ServePolicy& policy, ServeHub& hub, const nlohmann::json& index, AuditLog& audit,
            const httplib::Request& request, httplib::Response& response) {
    RouteMatch match;
    const ServeRequest asked{request.method, request.path, request.get_header_value(kTokenHeader),
                             request.body.size(), request.get_header_value("Host")};
    const int status = matchRequest(policy, asked, match);
    if (status != 200) return answer(response, status, statusText(status), "text/plain");
    const bool window = hub.loaded(match.window);
    switch (match.route) {
        case Route::kPage:
            if (const Asset* asset = findAsset(match.page))
                return answer(response, 200, asset->body, asset->type);
            return answer(response, 404, statusText(404), "text/plain");
        case Route::kIndexData:
            return answer(response, 200, index.dump(), "application/json");
        case Route::kWindowData:
            if (!window) return answer(response, 404, statusText(404), "text/plain");
            return answer(response, 200, windowData(hub.windows(), match.window, policy.writes).dump(),
                          "application/json");
        case Route::kTimelineSvg:
            return answer(response, 200, hub.timelineSvg(300), "image/svg+xml");
        case Route::kWrite: {
            const WriteOutcome outcome = hub.write(match.window, match.item, request.body);
            if (outcome.status == 200) audit.add(request.remote_addr, outcome);
            return answer(response, outcome.status, statusText(outcome.status), "text/plain");
        }
        case Route::kEvents:
            break;
    }
    const int viewer = hub.open(match.window);
    if (viewer < 0)
        return window || match.window == kTimelinePage
                   ? answer(response, 503, "too many pages are open", "text/plain")
                   : answer(response, 404, statusText(404), "text/plain");
    response.set_chunked_content_provider(
        "text/event-stream",
        [&hub, viewer](size_t, httplib::DataSink& sink) {
            std::string events;
            if (!hub.take(viewer, events, 1000)) {
                sink.done();
                return true;
            }
            // A comment line when nothing changed: a browser that went away shows up as a failed write.
            if (events.empty()) events = ":\n\n";
            return sink.write(events.data(), events.size());
        },
        [&hub, viewer](bool) { hub.close(viewer); });
}

// Sends what the hub queued until Ctrl+C; a link that fails is opened again with a pause that
// doubles up to eight seconds, and the hub asks again for everything shown once it is back.
void runLink(ToolSession& session, const LinkChoice& choice, ServeHub& hub) {
    auto pause = std::chrono::milliseconds(500);
    while (!interrupted()) {
        try {
            if (!session.link) {
                const auto until = std::chrono::steady_clock::now() + pause;
                while (!interrupted() && std::chrono::steady_clock::now() < until)
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                std::string error;
                session.link = CliLink::open(choice, error);
                if (!session.link) {
                    pause = std::min(pause * 2, std::chrono::milliseconds(8000));
                    continue;
                }
                session.reporter.say("the link is back");
                session.link->routeValuesTo(&hub);
                pause = std::chrono::milliseconds(500);
                hub.linkUp();
            }
            for (const OutgoingRequest& out : hub.takeOutgoing(100))
                SendRequest(*session.link, out.request, out.kind);
            if (session.link->failed()) throw LinkFailure("the link is down");
        } catch (const LinkFailure& failure) {
            session.reporter.say(std::string("link failure: ") + failure.what() + "; trying again");
            hub.linkDown();
            session.link.reset();
        }
    }
    hub.stop();
    if (session.link)
        for (const OutgoingRequest& out : hub.takeOutgoing(0))
            SendRequest(*session.link, out.request, out.kind);
}

int serve(const ServeOptions& options) {
    Listen listen;
    StderrReporter reporter;
    if (!parseListen(options.listen, listen)) {
        reporter.say("--listen takes ADDRESS:PORT, not '" + options.listen + "'");
        return kExitUsage;
    }
    if (!listen.loopback && !options.allowRemote) {
        reporter.say(listen.host + " is not a loopback address: add --allow-remote to listen there");
        return kExitUsage;
    }
    ServePolicy policy{options.allowWrite, !listen.loopback, makeToken(), {}};
    if (!options.tokenFile.empty()) {
        std::ifstream in(options.tokenFile, std::ios::binary);
        std::getline(in, policy.token);
        policy.token.erase(policy.token.find_last_not_of(" \r\n\t") + 1);
        if (policy.token.size() < 16) {
            reporter.say(options.tokenFile + ": no token of at least 16 characters");
            return kExitUsage;
        }
    }
    AuditLog audit;
    if (options.allowWrite && !audit.open(options.auditFile)) {
        reporter.say(options.auditFile + ": cannot be written");
        return kExitUsage;
    }
    std::unique_ptr<ServeHub> hub;  // outlives the link and its reader
    nlohmann::json index;
    std::string dir = options.tool.dir;
    if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += '/';
    auto prepare = [&](ToolSession& session) {
        MessageLog log;
        Catalog catalog(log, *session.macros);
        log.sink = &catalog;
        for (const char* pattern : {text::kDebugFilePattern, text::kDebugFileAltPattern}) {
            ListedSearch search;
            searchDebugWindowFiles(catalog, log, search, dir.c_str(), pattern);
        }
        std::vector<ServedWindow> windows = catalog.windows();
        index = indexData(dir, catalog.lines, windows, options.allowWrite);
        Timeline timeline;
        const RecordedAddresses addresses = addressesOf(*session.tables, timeline);
        hub = std::make_unique<ServeHub>(std::move(windows), std::move(timeline), addresses,
                                         utf8Text(text::kNoConnection));
        return kExitDone;
    };
    return runToolSession(
        options.tool,
        [&](ToolSession& session, ToolContext&) {
            httplib::Server server;
            // A thread for every event stream a viewer may hold open, and some for the other requests.
            server.new_task_queue = [] { return new httplib::ThreadPool(kMostViewers + 8); };
            server.set_payload_max_length(kLargestBody);
            server.set_read_timeout(5, 0);
            server.set_write_timeout(5, 0);
            server.set_keep_alive_max_count(100);
            server.set_default_headers({{"Content-Security-Policy",
                                         "default-src 'none'; script-src 'self'; style-src 'self'; img-src "
                                         "'self'; connect-src 'self'; "
                                         "frame-ancestors 'none'; base-uri 'none'; form-action 'none'"},
                                        {"X-Content-Type-Options", "nosniff"},
                                        {"Referrer-Policy", "no-referrer"},
                                        {"Cache-Control", "no-store"}});
            auto handler = [&](const httplib::Request& request, httplib::Response& response) {
                handle(policy, *hub, index, audit, request, response);
            };
            for (auto method : {&httplib::Server::Get, &httplib::Server::Post, &httplib::Server::Put,
                                &httplib::Server::Delete, &httplib::Server::Patch, &httplib::Server::Options})
                (server.*method)(".*", handler);
            const int port = listen.port == 0
                                 ? server.bind_to_any_port(listen.host)
                                 : (server.bind_to_port(listen.host, listen.port) ? listen.port : -1);
            if (port < 0) {
                session.reporter.say(options.listen + ": cannot listen there");
                return kExitUsage;
            }
            if (listen.loopback) {
                for (const char* name : {"127.0.0.1", "localhost", "[::1]"})
                    policy.hosts.push_back(name + (":" + std::to_string(port)));
                if (listen.host.rfind("127.", 0) == 0)
                    policy.hosts.push_back(listen.host + ":" + std::to_string(port));
            }
            session.link->routeValuesTo(hub.get());
            installInterruptHandler();
            const std::string host =
                listen.host.find(':') != std::string::npos ? "[" + listen.host + "]" : listen.host;
            const bool token = policy.remote || policy.writes;
            std::printf("serving http://%s:%d/%s\n", host.c_str(), port,
                        token ? ("#token=" + policy.token).c_str() : "");
            if (token) std::printf("token %s\n", policy.token.c_str());
            std::fflush(stdout);
            std::thread http([&server] { server.listen_after_bind(); });
            runLink(session, options.tool.link, *hub);
            server.stop();
            http.join();
            return kExitDone;
        },
        nullptr, prepare);
}

}  // namespace

Command addServeCommand(CLI::App& app) {
    auto options = std::make_shared<ServeOptions>();
    CLI::App* command = app.add_subcommand(
        "serve",
        "Show the application's debug windows and the signal timeline live in browsers; Ctrl+C ends");
    command
        ->add_option("--dir", options->tool.dir,
                     "Directory of KVAPDEF.H, KVAPTAB.C and the debug window files")
        ->capture_default_str();
    command->add_option("--listen", options->listen, "Address and port to listen on (port 0: a free one)")
        ->capture_default_str();
    command->add_flag("--allow-write", options->allowWrite, "Let the pages write values, with the token");
    command->add_flag("--allow-remote", options->allowRemote,
                      "Listen on an address other than loopback; every request for data needs the token");
    command->add_option("--token-file", options->tokenFile, "Take the token from this file's first line");
    command->add_option("--audit", options->auditFile, "The log of the writes (JSON Lines)")
        ->capture_default_str();
    addLinkOptions(*command, options->tool.link);
    return {command, [options] { return serve(*options); }};
}

}  // namespace tavir::cli
