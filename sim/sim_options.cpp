#include "sim_options.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <ctime>
#include <vector>

#include "calendar.h"
#include "control_commands.h"

#ifndef TAVIR_SIM_EXAMPLES_DIR
#define TAVIR_SIM_EXAMPLES_DIR "examples/demo"
#endif
#ifndef TAVIR_SIM_INSTALLED_EXAMPLES_DIR
#define TAVIR_SIM_INSTALLED_EXAMPLES_DIR "../share/tavir/examples/demo"
#endif

namespace tavir::sim {

namespace {

bool parseIpv4(const std::string& text, unsigned parts[4]) {
    int consumed = 0;
    if (std::sscanf(text.c_str(), "%3u.%3u.%3u.%3u%n", &parts[0], &parts[1], &parts[2], &parts[3],
                    &consumed) != 4) {
        return false;
    }
    if (consumed != static_cast<int>(text.size())) return false;
    for (int i = 0; i < 4; ++i) {
        if (parts[i] > 255) return false;
    }
    return true;
}

bool fileExists(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    std::fclose(file);
    return true;
}

}  // namespace

bool parseHostPort(const std::string& text, HostPort& result) {
    HostPort parsed;
    std::string portText = text;
    size_t colon = text.rfind(':');
    if (colon != std::string::npos) {
        parsed.host = text.substr(0, colon);
        portText = text.substr(colon + 1);
        if (parsed.host == "localhost") parsed.host = "127.0.0.1";
        unsigned parts[4];
        if (!parseIpv4(parsed.host, parts)) return false;
    }
    if (portText.empty() || portText.size() > 5 ||
        portText.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    parsed.port = std::stoi(portText);
    if (parsed.port > 65535) return false;
    result = parsed;
    return true;
}

bool isLoopbackHost(const std::string& host) {
    unsigned parts[4];
    return parseIpv4(host, parts) && parts[0] == 127;
}

bool parseSimOptions(int argc, const char* const* argv, SimOptions& options, int& exitCode) {
    CLI::App app{
        "tavir-sim: a simulated road-traffic signal controller for TAVIR.\n"
        "Without options it loads examples/demo and listens on TCP 127.0.0.1:7000."};
    app.footer(kControlHelp);
    std::string tcpText, controlText;
    app.add_option("--dir", options.dir, "directory of KVAPDEF.H and KVAPTAB.C (default: examples/demo)")
        ->option_text("DIR");
    app.add_option("--tcp", tcpText,
                   "listen on [HOST:]PORT (default 127.0.0.1:7000; port 0 picks a free one)")
        ->option_text("[HOST:]PORT");
#ifndef _WIN32
    app.add_flag("--pty", options.pty, "serve a new pseudo-terminal and print its path");
    app.add_option("--serial", options.serialDevice, "serve the serial port DEVICE (e.g. /dev/ttyS0)")
        ->option_text("DEVICE");
#else
    app.add_option("--serial", options.serialDevice, "serve the serial port DEVICE (e.g. COM2)")
        ->option_text("DEVICE");
#endif
    // The rates the serial line takes on every platform.
    app.add_option("--baud", options.baud, "baud rate of --serial (default 9600)")
        ->check(CLI::IsMember(std::vector<int>{1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400}))
        ->option_text("N");
    app.add_option("--log", options.logPath, "write every frame in and out to FILE as JSON Lines")
        ->option_text("FILE");
    app.add_option("--rate", options.rate,
                   "send monitored values again HZ times a second (default 1, 0 = only changes)")
        ->check(CLI::Range(0.0, 1000.0))
        ->option_text("HZ");
    app.add_option("--seed", options.seed, "seed of traffic and faults; also fixes the controller's clock")
        ->option_text("N");
    app.add_option("--control", controlText, "accept control commands on loopback [HOST:]PORT")
        ->option_text("[HOST:]PORT");
    app.add_option("--replay", options.replayPath,
                   "play the controller's side of a trace written by tavir-cli --trace back to each client")
        ->option_text("FILE");
    app.add_option("--fleet", options.fleet,
                   "serve N controllers of the application on N ports from --tcp's on (port 0: free ones); "
                   "--log then names a folder of one log per controller, 001.jsonl on")
        ->check(CLI::Range(1, 1000))
        ->option_text("N");
    app.add_option(
           "--plant", options.plant,
           "give the fleet's controllers LIST (from 1) a difference: the first VG time one step longer")
        ->delimiter(',')
        ->option_text("LIST");
    app.add_flag("--silent", options.faults.silent, "fault: never answer");
    app.add_option("--drop", options.faults.drop, "fault: drop a fraction P (0..1) of the value frames")
        ->check(CLI::Range(0.0, 1.0))
        ->option_text("P");
    app.add_option("--delay", options.faults.delayMs, "fault: send every answer MS milliseconds late")
        ->check(CLI::Range(0, 600000))
        ->option_text("MS");
    app.add_option("--garbage", options.faults.garbage,
                   "fault: put bytes that are no frame before a fraction P of the frames")
        ->check(CLI::Range(0.0, 1.0))
        ->option_text("P");
    app.add_option("--reset-after", options.faults.resetAfter,
                   "fault: reset the connection after N value frames")
        ->check(CLI::Range(0, 100000000))
        ->option_text("N");
    app.add_option("--close-after", options.faults.closeAfter,
                   "fault: close the connection after N value frames")
        ->check(CLI::Range(0, 100000000))
        ->option_text("N");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help ends with 0; every other parse error is bad usage.
        exitCode = app.exit(e) == 0 ? 0 : 2;
        return false;
    }
    options.seedGiven = app.count("--seed") > 0;
    bool serial = options.pty || !options.serialDevice.empty();
    options.tcp = !serial || !tcpText.empty();
    if (!tcpText.empty() && !parseHostPort(tcpText, options.tcpAddress)) {
        std::fprintf(stderr, "--tcp: expected [HOST:]PORT with an IPv4 host, got %s\n", tcpText.c_str());
        exitCode = 2;
        return false;
    }
    if (!controlText.empty()) {
        if (!parseHostPort(controlText, options.controlAddress) ||
            !isLoopbackHost(options.controlAddress.host)) {
            std::fprintf(stderr, "--control: expected [HOST:]PORT on a loopback address, got %s\n",
                         controlText.c_str());
            exitCode = 2;
            return false;
        }
        options.control = true;
    }
    if (options.fleet > 0 && (serial || options.control || !options.replayPath.empty())) {
        std::fprintf(stderr, "--fleet serves TCP only, without --pty, --serial, --control or --replay\n");
        exitCode = 2;
        return false;
    }
    for (int planted : options.plant) {
        if (planted < 1 || planted > options.fleet) {
            std::fprintf(stderr, "--plant: %d is not a controller of the fleet (1 to %d)\n", planted,
                         options.fleet);
            exitCode = 2;
            return false;
        }
    }
    if (options.pty && !options.serialDevice.empty()) {
        std::fprintf(stderr, "--pty and --serial cannot be used together\n");
        exitCode = 2;
        return false;
    }
    return true;
}

std::string defaultApplicationDir(const std::string& programDir) {
    std::vector<std::string> candidates = {"examples/demo"};
    if (!programDir.empty()) {
        candidates.push_back(programDir + "/examples/demo");
        candidates.push_back(programDir + "/" TAVIR_SIM_INSTALLED_EXAMPLES_DIR);
    }
    for (const std::string& dir : candidates)
        if (fileExists(dir + "/KVAPDEF.H")) return dir;
    return TAVIR_SIM_EXAMPLES_DIR;
}

int64_t startClockSeconds(bool seeded) {
    if (seeded) return secondsFromCalendar(2024, 6, 3, 7, 45, 0);
    std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (!local) return static_cast<int64_t>(now);
    return secondsFromCalendar(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour,
                               local->tm_min, local->tm_sec);
}

}  // namespace tavir::sim
