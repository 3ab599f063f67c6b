// The end-to-end tests' eyes and hands inside the Wine desktop. Reads one command per line on
// standard input and answers each with one line of JSON on standard output:
//   top                         top-level windows: handle, class, title, state, rectangle
//   children HWND               every descendant window of HWND, with its control id and check state
//   classes HWND                how many descendants of HWND each class has, and the first of each
//   enabled HWND                how many descendants of HWND there are and how many are enabled
//   lines HWND                  the lines and the selection of a list box
//   menu HWND                   the menu of HWND: every item with its id, text, separator, grey
//                               and inactive (shown but not selectable) marks
//   watch HWND                  from now on, records in HWND's thread every control's new text,
//                               every window shown or hidden and every window enabled or disabled
//   events HWND                 takes what watch recorded: [time in us, window, message, wParam, text]
//   hold HWND MS                HWND's thread (watched) sleeps MS milliseconds from its answer on
//   now                         the performance counter in us, the clock of events
//   focus HWND                  the focus window of HWND's thread
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
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

namespace {

const std::string kOk = "{\"ok\":true}";

std::string failure(const std::string& error) {
    return "{\"ok\":false,\"error\":\"" + error + "\"}";
}

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

const char* boolean(bool value) {
    return value ? "true" : "false";
}

std::string handleText(HWND window) {
    return std::to_string(static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
}

// A message that gives up when the window's thread hangs.
DWORD_PTR ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, bool* answered = nullptr) {
    DWORD_PTR result = 0;
    LRESULT sent = SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result);
    if (answered != nullptr) *answered = sent != 0;
    return result;
}

std::string windowText(HWND window) {
    wchar_t text[2048] = L"";
    ask(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text));
    return quoted(text);
}

std::wstring classOf(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

std::string describe(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    const std::wstring name = classOf(window);
    std::string out = "{\"hwnd\":" + handleText(window) + ",\"class\":" + quoted(name.c_str()) +
                      ",\"text\":" + windowText(window) + ",\"visible\":" + boolean(IsWindowVisible(window)) +
                      ",\"enabled\":" + boolean(IsWindowEnabled(window)) + ",\"rect\":[" +
                      std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
                      "," + std::to_string(r.bottom) + "],\"id\":" + std::to_string(GetDlgCtrlID(window)) +
                      ",\"parent\":" + handleText(GetAncestor(window, GA_PARENT)) +
                      ",\"owner\":" + handleText(GetWindow(window, GW_OWNER)) + ",\"style\":" +
                      std::to_string(static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)));
    // Our own item class is a button too.
    if (_wcsicmp(name.c_str(), L"Button") == 0 || _wcsicmp(name.c_str(), L"TVRCHECKBOXITEMCLASS") == 0)
        out += ",\"check\":" + std::to_string(ask(window, BM_GETCHECK));
    return out + "}";
}

BOOL CALLBACK collect(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// The top-level windows (without a parent), or every descendant of parent.
std::vector<HWND> windowsBelow(HWND parent) {
    std::vector<HWND> windows;
    if (parent == nullptr)
        EnumWindows(collect, reinterpret_cast<LPARAM>(&windows));
    else
        EnumChildWindows(parent, collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string listOf(const std::vector<HWND>& windows) {
    std::string out = "{\"ok\":true,\"windows\":[";
    for (HWND window : windows) out += (out.back() == '[' ? "" : ",") + describe(window);
    return out + "]}";
}

std::string listLines(HWND list) {
    bool answered = false;
    const auto count = static_cast<LONG_PTR>(ask(list, LB_GETCOUNT, 0, 0, &answered));
    if (!answered) return failure("no answer");
    std::string out = "{\"ok\":true,\"selected\":" +
                      std::to_string(static_cast<long long>(static_cast<LONG_PTR>(ask(list, LB_GETCURSEL)))) +
                      ",\"lines\":[";
    for (LONG_PTR i = 0; i < count; ++i) {
        std::vector<wchar_t> text(ask(list, LB_GETTEXTLEN, static_cast<WPARAM>(i)) + 2, L'\0');
        // The wide call: across processes the ANSI one hands back UTF-16 under Wine.
        ask(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        out += (i > 0 ? "," : "") + quoted(text.data());
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

HHOOK setHook(int kind, const char* name, DWORD thread) {
    if (hookLibrary() == nullptr) return nullptr;
    // Through void (*)(): the address is of the hook procedure, whatever type GetProcAddress gives it.
    const auto procedure =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(GetProcAddress(hookLibrary(), name)));
    return SetWindowsHookExW(kind, procedure, hookLibrary(), thread);
}

std::vector<DWORD> watchedThreads;

bool isWatched(HWND target) {
    const DWORD thread = GetWindowThreadProcessId(target, nullptr);
    return std::find(watchedThreads.begin(), watchedThreads.end(), thread) != watchedThreads.end();
}

// Asks the hook library inside target's thread: 1 the menu, 2 the events, 16 or more a hold of
// that many milliseconds; the answer in hookAnswer. Without a watch on that thread the question's
// hook is set for this one question.
bool askTarget(HWND target, LPARAM question) {
    static HWND answerWindow = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = answerProc;
        windowClass.lpszClassName = L"TavirProbeAnswer";
        RegisterClassW(&windowClass);
        return CreateWindowW(L"TavirProbeAnswer", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                             nullptr);
    }();
    HHOOK hook = nullptr;
    if (!isWatched(target)) {
        hook = setHook(WH_GETMESSAGE, "ProbeGetMessageHook", GetWindowThreadProcessId(target, nullptr));
        if (hook == nullptr) return false;
    }
    hookAnswered = false;
    PostMessageW(target, RegisterWindowMessageW(L"TavirProbeQuestion"),
                 reinterpret_cast<WPARAM>(answerWindow), question);
    for (DWORD start = GetTickCount(); !hookAnswered && GetTickCount() - start < 5000;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        if (!hookAnswered) MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    if (hook != nullptr) UnhookWindowsHookEx(hook);
    return hookAnswered;
}

std::string watch(HWND target) {
    if (isWatched(target)) return kOk;
    const DWORD thread = GetWindowThreadProcessId(target, nullptr);
    // Both stay for the probe's life: the events are kept in the library, which stays loaded in the
    // program as long as a hook of it is set.
    if (setHook(WH_CALLWNDPROCRET, "ProbeCallWndRetHook", thread) == nullptr ||
        setHook(WH_GETMESSAGE, "ProbeGetMessageHook", thread) == nullptr)
        return failure("no hook");
    watchedThreads.push_back(thread);
    return kOk;
}

// The JSON list named name of what entry makes of each line of the hook's answer (fields separated
// by tabs: numbers, then a text); entry gives "" for a line it cannot read.
template <typename Entry>
std::string answerList(const char* name, Entry entry) {
    std::string out = "{\"ok\":true,\"" + std::string(name) + "\":[";
    for (size_t at = 0, end = 0; at < hookAnswer.size(); at = end + 1) {
        end = std::min(hookAnswer.find(L'\n', at), hookAnswer.size());
        const std::string item = entry(hookAnswer.substr(at, end - at));
        if (!item.empty()) out += (out.back() == '[' ? "" : ",") + item;
    }
    return out + "]}";
}

std::string readEvents(HWND target) {
    if (!isWatched(target)) return failure("not watched");
    if (!askTarget(target, 2)) return failure("no answer");
    return answerList("events", [](const std::wstring& line) -> std::string {
        long long time = 0;
        unsigned long long window = 0, wParam = 0;
        unsigned message = 0;
        int consumed = 0;
        if (swscanf(line.c_str(), L"%lld\t%llu\t%u\t%llu\t%n", &time, &window, &message, &wParam, &consumed) <
            4)
            return "";
        return "[" + std::to_string(time) + "," + std::to_string(window) + "," + std::to_string(message) +
               "," + std::to_string(wParam) + "," + quoted(line.c_str() + consumed) + "]";
    });
}

std::string readMenu(HWND target) {
    if (!askTarget(target, 1)) return failure("no answer");
    return answerList("items", [](const std::wstring& line) -> std::string {
        int popup = 0, position = 0, id = 0, consumed = 0;
        unsigned type = 0, state = 0;
        if (swscanf(line.c_str(), L"%d\t%d\t%d\t%u\t%u\t%n", &popup, &position, &id, &type, &state,
                    &consumed) < 5)
            return "";
        return "{\"popup\":" + std::to_string(popup) + ",\"id\":" + std::to_string(id) +
               ",\"separator\":" + boolean(type & MFT_SEPARATOR) +
               ",\"grayed\":" + boolean(state & MF_GRAYED) + ",\"inactive\":" + boolean(state & MF_DISABLED) +
               ",\"text\":" + quoted(line.c_str() + consumed) + "}";
    });
}

WORD virtualKey(const std::string& name) {
    static const std::map<std::string, WORD> keys = {
        {"tab", VK_TAB},        {"enter", VK_RETURN},  {"escape", VK_ESCAPE}, {"space", VK_SPACE},
        {"pgup", VK_PRIOR},     {"pgdn", VK_NEXT},     {"right", VK_RIGHT},   {"f3", VK_F3},
        {"f4", VK_F4},          {"f5", VK_F5},         {"f6", VK_F6},         {"end", VK_END},
        {"backspace", VK_BACK}, {"delete", VK_DELETE},
    };
    if (auto found = keys.find(name); found != keys.end()) return found->second;
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
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
        const bool ctrl = words[i].rfind("ctrl+", 0) == 0;
        const std::string word = ctrl ? words[i].substr(5) : words[i];
        const WORD key = virtualKey(word);
        if (key == 0) return failure("unknown key " + word);
        std::vector<INPUT> inputs;
        if (ctrl) inputs.push_back(keyInput(VK_CONTROL, false));
        inputs.push_back(keyInput(key, false));
        inputs.push_back(keyInput(key, true));
        if (ctrl) inputs.push_back(keyInput(VK_CONTROL, true));
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        Sleep(30);
    }
    return kOk;
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
    return kOk;
}

std::wstring wide(const std::string& text) {
    int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), size);
    out.resize(std::wcslen(out.c_str()));
    return out;
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
    auto number = [&](size_t i) { return i < words.size() ? std::atoi(words[i].c_str()) : 0; };
    HWND target = reinterpret_cast<HWND>(
        static_cast<uintptr_t>(words.size() > 1 ? std::strtoull(words[1].c_str(), nullptr, 10) : 0));
    if (verb == "top") return listOf(windowsBelow(nullptr));
    if (verb == "keys") return typeKeys(words);
    if (verb == "now") {
        LARGE_INTEGER counter, frequency;
        QueryPerformanceCounter(&counter);
        QueryPerformanceFrequency(&frequency);
        return "{\"ok\":true,\"us\":" +
               std::to_string(static_cast<long long>(static_cast<double>(counter.QuadPart) * 1e6 /
                                                     static_cast<double>(frequency.QuadPart))) +
               "}";
    }
    if (words.size() < 2) return failure("missing argument");
    if (verb == "mouse") return clickAt(number(1), number(2));
    if (verb == "children") return IsWindow(target) ? listOf(windowsBelow(target)) : failure("no window");
    if (verb == "shown") {
        // The visible windows of a class below target, found without a message to any of them:
        // describing hundreds of windows keeps a starting program busy answering.
        const std::string wanted = words.size() > 2 ? words[2] : "";
        std::vector<HWND> shown;
        for (HWND window : windowsBelow(target)) {
            if (IsWindowVisible(window) && classOf(window) == std::wstring(wanted.begin(), wanted.end()))
                shown.push_back(window);
        }
        return listOf(shown);
    }
    if (verb == "classes") {
        // Without a message to any of them: fast for many thousands of windows.
        std::map<std::wstring, std::pair<size_t, HWND>> counts;  // the count and the first of each class
        for (HWND window : windowsBelow(target))
            ++counts.try_emplace(classOf(window), 0, window).first->second.first;
        std::string out = "{\"ok\":true,\"classes\":{";
        for (const auto& [name, count] : counts) {
            out += (out.back() == '{' ? "" : ",") + quoted(name.c_str()) + ":[" +
                   std::to_string(count.first) + "," + handleText(count.second) + "]";
        }
        return out + "}}";
    }
    if (verb == "enabled") {
        // Asked cheaply enough to be polled.
        const std::vector<HWND> windows = windowsBelow(target);
        return "{\"ok\":true,\"windows\":" + std::to_string(windows.size()) + ",\"enabled\":" +
               std::to_string(std::count_if(windows.begin(), windows.end(), IsWindowEnabled)) + "}";
    }
    if (verb == "lines") return listLines(target);
    if (verb == "menu") return readMenu(target);
    if (verb == "watch") return watch(target);
    if (verb == "events") return readEvents(target);
    if (verb == "focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(target, nullptr), &info))
            return failure("no thread info");
        return "{\"ok\":true,\"focus\":" + handleText(info.hwndFocus) + "}";
    }
    if (verb == "text") return "{\"ok\":true,\"text\":" + windowText(target) + "}";
    if (verb == "settext") {
        const std::wstring text = wide(restOf(line));
        ask(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        return kOk;
    }
    if (verb == "select") {
        ask(target, LB_SETCURSEL, static_cast<WPARAM>(number(2)));
        return kOk;
    }
    if (verb == "hold") {
        if (!isWatched(target)) return failure("not watched");
        return askTarget(target, std::max(16, number(2))) ? kOk : failure("no answer");
    }
    // Posted, so that the probe never waits for a dialog that the message ends.
    if (verb == "command")
        return PostMessageW(target, WM_COMMAND, static_cast<WPARAM>(number(2)), 0) ? kOk
                                                                                   : failure("not posted");
    if (verb == "click" || verb == "close")
        return PostMessageW(target, verb == "click" ? BM_CLICK : WM_CLOSE, 0, 0) ? kOk
                                                                                 : failure("not posted");
    if (verb == "move") {
        return SetWindowPos(target, nullptr, number(2), number(3), number(4), number(5),
                            SWP_NOZORDER | SWP_NOACTIVATE)
                   ? kOk
                   : failure("not moved");
    }
    if (verb == "show") ShowWindowAsync(target, number(2));
    if (verb == "activate") SetForegroundWindow(target);
    if (verb == "show" || verb == "activate") return kOk;
    return failure("unknown command");
}

}  // namespace

int main() {
    char line[4096];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        char copy[sizeof line];
        std::vector<std::string> words;
        for (char* word = std::strtok(std::strcpy(copy, line), " \t\r\n"); word != nullptr;
             word = std::strtok(nullptr, " \t\r\n"))
            words.push_back(word);
        if (words.empty()) continue;
        if (words[0] == "quit") break;
        std::fputs((run(line, words) + "\n").c_str(), stdout);
        std::fflush(stdout);
    }
    return 0;
}
