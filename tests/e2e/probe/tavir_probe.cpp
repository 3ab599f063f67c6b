// The end-to-end tests' eyes and hands inside the Wine desktop. Reads one command per line on
// standard input and answers each with one line of JSON on standard output:
//   top                         top-level windows: handle, class, title, process, state, rectangle
//   children HWND               every descendant window of HWND, with its control id and check state
//   classes HWND                how many descendants of HWND each class has, and the first of each
//   lines HWND                  the lines and the selection of a list box
//   menu HWND                   the menu of HWND: every item with its id, text, separator, grey
//                               and inactive (shown but not selectable) marks
//   watch HWND                  from now on, records in HWND's thread every control's new text,
//                               every window shown or hidden and every window enabled or disabled
//   events HWND                 takes what watch recorded: [time in us, window, message, wParam, text]
//   hold HWND MS                HWND's thread (watched) sleeps MS milliseconds from its answer on
//   now                         the performance counter in us, the clock of events
//   focus HWND                  active, focus and capture windows of HWND's thread
//   text HWND                   the window's text
//   settext HWND TEXT...        sets the window's text (the rest of the line)
//   select HWND INDEX           selects this entry of a list box
//   command HWND ID             posts WM_COMMAND ID to HWND
//   click HWND                  clicks the button HWND (BM_CLICK)
//   close HWND                  posts WM_CLOSE
//   move HWND X Y W H           moves and sizes HWND
//   show HWND N                 ShowWindow with command N (6 minimise, 9 restore)
//   activate HWND               makes HWND the foreground window
//   keys KEY...                 types keys into the active window: a, 1, f5, tab, pgdn, end, ctrl+l, ...
//   mouse X Y                   clicks the left button at screen position X, Y
//   quit
// Every answer has "ok"; failures carry "error".
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

namespace {

std::string utf8(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return "";
    std::string out(static_cast<size_t>(size - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

// A JSON string: control characters as \u escapes, which every reader of JSON takes.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped,
                      c < 0x20                ? "\\u%04x"
                      : c == '"' || c == '\\' ? "\\%c"
                                              : "%c",
                      c);
        out += escaped;
    }
    return out + "\"";
}

std::string quoted(const wchar_t* text) {
    return quoted(utf8(text));
}

std::string handleText(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "%llu",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    return text;
}

HWND parseHandle(const char* text) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(text, nullptr, 10)));
}

std::string windowText(HWND window) {
    wchar_t text[2048] = L"";
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &result);
    return quoted(text);
}

std::string className(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return quoted(name);
}

std::string rectText(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    char text[96];
    std::snprintf(text, sizeof text, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right, r.bottom);
    return text;
}

std::string describe(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    std::string out = "{\"hwnd\":" + handleText(window) + ",\"class\":" + className(window) +
                      ",\"text\":" + windowText(window) + ",\"pid\":" + std::to_string(process) +
                      ",\"visible\":" + (IsWindowVisible(window) ? "true" : "false") +
                      ",\"enabled\":" + (IsWindowEnabled(window) ? "true" : "false") +
                      ",\"rect\":" + rectText(window) + ",\"id\":" + std::to_string(GetDlgCtrlID(window)) +
                      ",\"parent\":" + handleText(GetAncestor(window, GA_PARENT)) +
                      ",\"owner\":" + handleText(GetWindow(window, GW_OWNER)) + ",\"style\":" +
                      std::to_string(static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)));
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    // Our own item class is a button too.
    if (_wcsicmp(name, L"Button") == 0 || _wcsicmp(name, L"TVRCHECKBOXITEMCLASS") == 0) {
        DWORD_PTR check = 0;
        SendMessageTimeoutW(window, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &check);
        out += ",\"check\":" + std::to_string(check);
    }
    return out + "}";
}

BOOL CALLBACK collect(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::string listOf(const std::vector<HWND>& windows) {
    std::string out = "[";
    for (size_t i = 0; i < windows.size(); ++i) {
        if (i > 0) out += ",";
        out += describe(windows[i]);
    }
    return out + "]";
}

std::string listLines(HWND list) {
    DWORD_PTR count = 0, selected = 0;
    if (!SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count)) {
        return "{\"ok\":false,\"error\":\"no answer\"}";
    }
    SendMessageTimeoutW(list, LB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &selected);
    std::string out = "{\"ok\":true,\"selected\":" +
                      std::to_string(static_cast<long long>(static_cast<LONG_PTR>(selected))) +
                      ",\"lines\":[";
    for (DWORD_PTR i = 0; i<count&& static_cast<LONG_PTR>(count)> 0; ++i) {
        DWORD_PTR length = 0;
        SendMessageTimeoutW(list, LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 2000, &length);
        std::vector<wchar_t> text(length + 2, L'\0');
        DWORD_PTR ignored = 0;
        // The wide call: across processes the ANSI one hands back UTF-16 under Wine.
        SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                            2000, &ignored);
        if (i > 0) out += ",";
        out += quoted(text.data());
    }
    return out + "]}";
}

// The menu and the recorded events are read inside the program under test by the hook library,
// which sends them back here.
std::wstring hookAnswer;
bool hookAnswered = false;

LRESULT CALLBACK answerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        hookAnswer.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
        if (!hookAnswer.empty() && hookAnswer.back() == L'\0') hookAnswer.pop_back();
        hookAnswered = true;
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HMODULE hookLibrary() {
    static HMODULE library = LoadLibraryW(L"tavir_probe_hook.dll");
    return library;
}

HOOKPROC hookProcedure(const char* name) {
    // Through void (*)(): the address is of the hook procedure, whatever type GetProcAddress gives it.
    return reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(GetProcAddress(hookLibrary(), name)));
}

// Asks the hook library inside target's thread (question "menu" or "events"); the answer in
// hookAnswer. Without a watch on that thread the question's hook is set for this one question.
bool askTarget(HWND target, const wchar_t* question, bool watched, LPARAM hold = 0) {
    static HWND answerWindow = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = answerProc;
        windowClass.lpszClassName = L"TavirProbeAnswer";
        RegisterClassW(&windowClass);
        return CreateWindowW(L"TavirProbeAnswer", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                             nullptr);
    }();
    if (hookLibrary() == nullptr) return false;
    DWORD thread = GetWindowThreadProcessId(target, nullptr);
    HHOOK hook = watched ? nullptr
                         : SetWindowsHookExW(WH_GETMESSAGE, hookProcedure("ProbeGetMessageHook"),
                                             hookLibrary(), thread);
    if (!watched && hook == nullptr) return false;
    hookAnswered = false;
    LPARAM asked = question[0] == L'm' ? 1 : 2;
    if (hold != 0) asked = hold;
    PostMessageW(target, RegisterWindowMessageW(L"TavirProbeQuestion"),
                 reinterpret_cast<WPARAM>(answerWindow), asked);
    DWORD start = GetTickCount();
    while (!hookAnswered && GetTickCount() - start < 5000) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        if (!hookAnswered) MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    if (hook != nullptr) UnhookWindowsHookEx(hook);
    return hookAnswered;
}

std::vector<DWORD> watchedThreads;

bool isWatched(HWND target) {
    DWORD thread = GetWindowThreadProcessId(target, nullptr);
    for (DWORD t : watchedThreads) {
        if (t == thread) return true;
    }
    return false;
}

std::string watch(HWND target) {
    if (isWatched(target)) return "{\"ok\":true}";
    DWORD thread = GetWindowThreadProcessId(target, nullptr);
    // Both stay for the probe's life: the events are kept in the library, which stays loaded in the
    // program as long as a hook of it is set.
    if (hookLibrary() == nullptr ||
        SetWindowsHookExW(WH_CALLWNDPROCRET, hookProcedure("ProbeCallWndRetHook"), hookLibrary(), thread) ==
            nullptr ||
        SetWindowsHookExW(WH_GETMESSAGE, hookProcedure("ProbeGetMessageHook"), hookLibrary(), thread) ==
            nullptr) {
        return "{\"ok\":false,\"error\":\"no hook\"}";
    }
    watchedThreads.push_back(thread);
    return "{\"ok\":true}";
}

std::vector<std::wstring> answerLines() {
    std::vector<std::wstring> lines;
    for (size_t at = 0, end = 0; at < hookAnswer.size(); at = end + 1) {
        end = std::min(hookAnswer.find(L'\n', at), hookAnswer.size());
        lines.push_back(hookAnswer.substr(at, end - at));
    }
    return lines;
}

// Each line of the answer: time, window, message, wParam, text, separated by tabs.
std::string readEvents(HWND target) {
    if (!isWatched(target)) return "{\"ok\":false,\"error\":\"not watched\"}";
    if (!askTarget(target, L"events", true)) return "{\"ok\":false,\"error\":\"no answer\"}";
    std::string out = "{\"ok\":true,\"events\":[";
    bool first = true;
    for (const std::wstring& line : answerLines()) {
        long long time = 0;
        unsigned long long window = 0, wParam = 0;
        unsigned message = 0;
        int consumed = 0;
        if (swscanf(line.c_str(), L"%lld\t%llu\t%u\t%llu\t%n", &time, &window, &message, &wParam, &consumed) <
            4) {
            continue;
        }
        out += std::string(first ? "" : ",") + "[" + std::to_string(time) + "," + std::to_string(window) +
               "," + std::to_string(message) + "," + std::to_string(wParam) + "," +
               quoted(line.c_str() + consumed) + "]";
        first = false;
    }
    return out + "]}";
}

std::string readMenu(HWND target) {
    if (!askTarget(target, L"menu", isWatched(target))) return "{\"ok\":false,\"error\":\"no answer\"}";
    std::string out = "{\"ok\":true,\"items\":[";
    bool first = true;
    for (const std::wstring& line : answerLines()) {
        int popup = 0, position = 0, id = 0;
        unsigned type = 0, state = 0;
        int consumed = 0;
        if (swscanf(line.c_str(), L"%d\t%d\t%d\t%u\t%u\t%n", &popup, &position, &id, &type, &state,
                    &consumed) < 5)
            continue;
        if (!first) out += ",";
        first = false;
        out += "{\"popup\":" + std::to_string(popup) + ",\"position\":" + std::to_string(position) +
               ",\"id\":" + std::to_string(id) +
               ",\"separator\":" + ((type & MFT_SEPARATOR) ? "true" : "false") +
               ",\"grayed\":" + ((state & MF_GRAYED) ? "true" : "false") +
               ",\"inactive\":" + ((state & MF_DISABLED) ? "true" : "false") +
               ",\"state\":" + std::to_string(state) + ",\"text\":" + quoted(line.c_str() + consumed) + "}";
    }
    return out + "]}";
}

std::string threadFocus(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        return "{\"ok\":false,\"error\":\"no thread info\"}";
    }
    return "{\"ok\":true,\"active\":" + handleText(info.hwndActive) +
           ",\"focus\":" + handleText(info.hwndFocus) + ",\"capture\":" + handleText(info.hwndCapture) +
           ",\"menuOwner\":" + handleText(info.hwndMenuOwner) +
           ",\"foreground\":" + handleText(GetForegroundWindow()) + "}";
}

WORD virtualKey(const std::string& name) {
    struct Named {
        const char* name;
        WORD key;
    };
    static const Named keys[] = {
        {"tab", VK_TAB},        {"enter", VK_RETURN},  {"escape", VK_ESCAPE}, {"space", VK_SPACE},
        {"pgup", VK_PRIOR},     {"pgdn", VK_NEXT},     {"left", VK_LEFT},     {"right", VK_RIGHT},
        {"up", VK_UP},          {"down", VK_DOWN},     {"f1", VK_F1},         {"f2", VK_F2},
        {"f3", VK_F3},          {"f4", VK_F4},         {"f5", VK_F5},         {"f6", VK_F6},
        {"f7", VK_F7},          {"alt", VK_MENU},      {"home", VK_HOME},     {"end", VK_END},
        {"backspace", VK_BACK}, {"delete", VK_DELETE},
    };
    for (const Named& k : keys) {
        if (name == k.name) return k.key;
    }
    if (name.size() == 1) {
        char c = name[0];
        if (c >= 'a' && c <= 'z') return static_cast<WORD>(c - 'a' + 'A');
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<WORD>(c);
    }
    return 0;
}

INPUT keyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

std::string typeKeys(const std::vector<std::string>& words) {
    for (size_t i = 1; i < words.size(); ++i) {
        std::string word = words[i];
        bool ctrl = word.rfind("ctrl+", 0) == 0;
        if (ctrl) word = word.substr(5);
        WORD key = virtualKey(word);
        if (key == 0) return "{\"ok\":false,\"error\":" + quoted("unknown key " + word) + "}";
        std::vector<INPUT> inputs;
        if (ctrl) inputs.push_back(keyInput(VK_CONTROL, false));
        inputs.push_back(keyInput(key, false));
        inputs.push_back(keyInput(key, true));
        if (ctrl) inputs.push_back(keyInput(VK_CONTROL, true));
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        Sleep(30);
    }
    return "{\"ok\":true}";
}

std::string clickAt(int x, int y) {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = static_cast<LONG>((x * 65535LL) / (width - 1));
        input.mi.dy = static_cast<LONG>((y * 65535LL) / (height - 1));
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    // The button goes down only once the cursor has stayed at its place for 100 ms: under Wine
    // the display's pointer may report an older place after the move and take the cursor back
    // there for a moment, and a program that asks where the cursor is when the button goes down
    // would get that place.
    SendInput(1, inputs, sizeof(INPUT));
    for (int still = 0, tries = 0; still < 20 && tries < 400; ++tries) {
        POINT at{};
        GetCursorPos(&at);
        still = std::abs(at.x - x) <= 1 && std::abs(at.y - y) <= 1 ? still + 1 : 0;
        if (still == 0 && tries % 10 == 9) SendInput(1, inputs, sizeof(INPUT));
        Sleep(5);
    }
    SendInput(2, inputs + 1, sizeof(INPUT));
    return "{\"ok\":true}";
}

std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> words;
    size_t at = 0;
    while (at < line.size()) {
        size_t start = line.find_first_not_of(" \t\r\n", at);
        if (start == std::string::npos) break;
        size_t end = line.find_first_of(" \t\r\n", start);
        if (end == std::string::npos) end = line.size();
        words.push_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

std::wstring wide(const std::string& text) {
    int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), size);
    out.resize(std::wcslen(out.c_str()));
    return out;
}

long long microseconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<long long>(static_cast<double>(counter.QuadPart) * 1e6 /
                                  static_cast<double>(frequency.QuadPart));
}

// The rest of line after its first two words and the one blank after them (so that a text may
// begin with blanks).
std::string restOf(const std::string& line) {
    size_t at = line.find_first_not_of(" \t");
    at = at == std::string::npos ? at : line.find_first_of(" \t", at);
    at = at == std::string::npos ? at : line.find_first_not_of(" \t", at);
    at = at == std::string::npos ? at : line.find_first_of(" \t", at);
    if (at == std::string::npos) return "";
    size_t end = line.find_last_not_of("\r\n");
    return end > at ? line.substr(at + 1, end - at) : "";
}

std::string run(const std::string& line, const std::vector<std::string>& words) {
    const std::string& verb = words[0];
    HWND target = words.size() > 1 ? parseHandle(words[1].c_str()) : nullptr;
    if (verb == "top") {
        std::vector<HWND> windows;
        EnumWindows(collect, reinterpret_cast<LPARAM>(&windows));
        return "{\"ok\":true,\"windows\":" + listOf(windows) + "}";
    }
    if (verb == "now") return "{\"ok\":true,\"us\":" + std::to_string(microseconds()) + "}";
    if (words.size() < 2 && verb != "keys") return "{\"ok\":false,\"error\":\"missing argument\"}";
    if (verb == "children") {
        if (!IsWindow(target)) return "{\"ok\":false,\"error\":\"no window\"}";
        std::vector<HWND> windows;
        EnumChildWindows(target, collect, reinterpret_cast<LPARAM>(&windows));
        return "{\"ok\":true,\"windows\":" + listOf(windows) + "}";
    }
    if (verb == "classes") {
        // Without a message to any of them: fast for many thousands of windows.
        std::vector<HWND> windows;
        EnumChildWindows(target, collect, reinterpret_cast<LPARAM>(&windows));
        std::map<std::string, std::pair<size_t, HWND>> counts;  // the count and the first of each class
        for (HWND window : windows) ++counts.try_emplace(className(window), 0, window).first->second.first;
        std::string out = "{\"ok\":true,\"classes\":{";
        for (const auto& [name, count] : counts) {
            out += (out.back() == '{' ? "" : ",") + name + ":[" + std::to_string(count.first) + "," +
                   handleText(count.second) + "]";
        }
        return out + "}}";
    }
    if (verb == "enabled") {
        // How many windows below target are enabled, asked cheaply enough to be polled.
        std::vector<HWND> windows;
        EnumChildWindows(target, collect, reinterpret_cast<LPARAM>(&windows));
        size_t enabled = 0;
        for (HWND window : windows) enabled += IsWindowEnabled(window) ? 1 : 0;
        return "{\"ok\":true,\"windows\":" + std::to_string(windows.size()) +
               ",\"enabled\":" + std::to_string(enabled) + "}";
    }
    if (verb == "lines") return listLines(target);
    if (verb == "menu") return readMenu(target);
    if (verb == "focus") return threadFocus(target);
    if (verb == "text") return "{\"ok\":true,\"text\":" + windowText(target) + "}";
    if (verb == "settext") {
        std::wstring text = wide(restOf(line));
        DWORD_PTR result = 0;
        SendMessageTimeoutW(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                            2000, &result);
        return "{\"ok\":true}";
    }
    if (verb == "select" && words.size() >= 3) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(target, LB_SETCURSEL, static_cast<WPARAM>(std::atoi(words[2].c_str())), 0,
                            SMTO_ABORTIFHUNG, 2000, &result);
        return "{\"ok\":true}";
    }
    if (verb == "watch") return watch(target);
    if (verb == "events") return readEvents(target);
    if (verb == "hold" && words.size() >= 3) {
        const LPARAM hold = std::max(16, std::atoi(words[2].c_str()));
        if (!isWatched(target)) return "{\"ok\":false,\"error\":\"not watched\"}";
        return askTarget(target, L"hold", true, hold) ? "{\"ok\":true}"
                                                      : "{\"ok\":false,\"error\":\"no answer\"}";
    }
    if (verb == "command" && words.size() >= 3) {
        BOOL posted = PostMessageW(target, WM_COMMAND, static_cast<WPARAM>(std::atoi(words[2].c_str())), 0);
        return posted ? "{\"ok\":true}" : "{\"ok\":false,\"error\":\"not posted\"}";
    }
    if (verb == "click") {
        // Posted, so that the probe never waits for a dialog that the click ends.
        PostMessageW(target, BM_CLICK, 0, 0);
        return "{\"ok\":true}";
    }
    if (verb == "close") {
        PostMessageW(target, WM_CLOSE, 0, 0);
        return "{\"ok\":true}";
    }
    if (verb == "move" && words.size() >= 6) {
        BOOL moved = SetWindowPos(target, nullptr, std::atoi(words[2].c_str()), std::atoi(words[3].c_str()),
                                  std::atoi(words[4].c_str()), std::atoi(words[5].c_str()),
                                  SWP_NOZORDER | SWP_NOACTIVATE);
        return moved ? "{\"ok\":true}" : "{\"ok\":false,\"error\":\"not moved\"}";
    }
    if (verb == "show" && words.size() >= 3) {
        ShowWindowAsync(target, std::atoi(words[2].c_str()));
        return "{\"ok\":true}";
    }
    if (verb == "activate") {
        SetForegroundWindow(target);
        return "{\"ok\":true}";
    }
    if (verb == "keys") return typeKeys(words);
    if (verb == "mouse" && words.size() >= 3)
        return clickAt(std::atoi(words[1].c_str()), std::atoi(words[2].c_str()));
    return "{\"ok\":false,\"error\":" + quoted("unknown command " + verb) + "}";
}

}  // namespace

int main() {
    char line[4096];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        std::vector<std::string> words = splitWords(line);
        if (words.empty()) continue;
        if (words[0] == "quit") break;
        std::string answer = run(line, words);
        std::fputs(answer.c_str(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    return 0;
}
