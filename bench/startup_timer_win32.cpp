// Times the start of a Windows program to its first message-loop iteration: from CreateProcess to
// the moment the program first waits for input with nothing in its queue (WaitForInputIdle).
// Usage: startup_timer RUNS PROGRAM [ARGUMENTS...]; prints one time in milliseconds per line.
// The program is ended after each run.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

double now(const LARGE_INTEGER& frequency) {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_timer RUNS PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    int runs = std::atoi(argv[1]);
    std::string commandLine = std::string("\"") + argv[2] + "\"";
    for (int i = 3; i < argc; ++i) commandLine += std::string(" ") + argv[i];
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int run = 0; run < runs; ++run) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::string line = commandLine;
        double start = now(frequency);
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process)) {
            std::fprintf(stderr, "cannot start %s (%lu)\n", argv[2], GetLastError());
            return 1;
        }
        DWORD waited = WaitForInputIdle(process.hProcess, 60000);
        double elapsed = now(frequency) - start;
        if (waited != 0) {
            std::fprintf(stderr, "%s did not reach its message loop (%lu)\n", argv[2], waited);
            TerminateProcess(process.hProcess, 1);
            return 1;
        }
        std::printf("%.1f\n", elapsed);
        std::fflush(stdout);
        TerminateProcess(process.hProcess, 0);
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return 0;
}
