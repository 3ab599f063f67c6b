#include "shell/settings_ini.h"

#include <cstdio>
#include <cstring>

namespace tavir {

namespace {

// Blanks that the profile functions strip around names and values; 0x1A is the old end-of-file
// mark that editors of the DOS era left behind.
bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A';
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

std::string_view trimmed(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

// One line of the text: its content [begin, end) and where the next line starts.
struct Line {
    size_t begin = 0;
    size_t end = 0;
    size_t next = 0;
};

bool readLine(std::string_view text, size_t at, Line& line) {
    if (at >= text.size()) return false;
    size_t end = at;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    size_t next = end;
    if (next < text.size())
        next += text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n' ? 2 : 1;
    line = {at, end, next};
    return true;
}

enum class LineKind { kBlank, kSection, kKey, kIgnored };

// What a line holds: the name of a section or of a key, and for a key the position of its "="
// (npos when the line has none).
struct ParsedLine {
    LineKind kind = LineKind::kBlank;
    std::string_view name;
    size_t equals = std::string_view::npos;
};

ParsedLine parseLine(std::string_view text, const Line& line) {
    ParsedLine parsed;
    size_t begin = line.begin;
    while (begin < line.end && isBlank(text[begin])) ++begin;
    if (begin == line.end) return parsed;
    std::string_view content = text.substr(begin, line.end - begin);
    if (content[0] == '[') {
        size_t close = content.rfind(']');
        // An opening bracket without a closing one makes no section and no key.
        parsed.kind = close == std::string_view::npos ? LineKind::kIgnored : LineKind::kSection;
        if (close != std::string_view::npos) parsed.name = trimmed(content.substr(1, close - 1));
        return parsed;
    }
    parsed.kind = LineKind::kKey;
    size_t equals = content.find('=');
    parsed.name = trimmed(content.substr(0, equals));
    if (equals != std::string_view::npos) parsed.equals = begin + equals;
    return parsed;
}

// Where the first section of a name is: the line after its header, and the end of the last line
// that is not blank before the next section (the header itself when there is none).
struct SectionSpan {
    bool found = false;
    size_t firstLine = 0;
    size_t lastContentEnd = 0;   // end of that line's content
    size_t lastContentNext = 0;  // start of the line after it
};

SectionSpan findSection(std::string_view text, std::string_view section, size_t start) {
    SectionSpan span;
    Line line;
    for (size_t at = start; readLine(text, at, line); at = line.next) {
        ParsedLine parsed = parseLine(text, line);
        if (!span.found) {
            if (parsed.kind == LineKind::kSection && sameName(parsed.name, section)) {
                span = {true, line.next, line.end, line.next};
            }
            continue;
        }
        if (parsed.kind == LineKind::kSection) break;
        if (parsed.kind != LineKind::kBlank) {
            span.lastContentEnd = line.end;
            span.lastContentNext = line.next;
        }
    }
    return span;
}

// The first key line of a name inside the section that starts at firstLine.
bool findKeyLine(std::string_view text, size_t firstLine, std::string_view key, Line& keyLine,
                 ParsedLine& keyParsed) {
    for (size_t at = firstLine; readLine(text, at, keyLine); at = keyLine.next) {
        keyParsed = parseLine(text, keyLine);
        if (keyParsed.kind == LineKind::kSection) return false;
        if (keyParsed.kind == LineKind::kKey && sameName(keyParsed.name, key)) return true;
    }
    return false;
}

// A file saved as UTF-8 with a byte order mark still reads; its bytes are taken as they are.
size_t textStart(std::string_view text) {
    return text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

bool loadFile(const std::string& path, std::string& text) {
    text.clear();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    char chunk[4096];
    size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, count);
    std::fclose(file);
    return true;
}

int saveFile(const std::string& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return -1;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0) written = false;
    return written ? 0 : -1;
}

// The integer reader looks at no more than this many characters of a value.
constexpr size_t kIntegerTextSize = 30;

}  // namespace

IniValue findIniValue(std::string_view text, std::string_view section, std::string_view key) {
    IniValue value;
    SectionSpan span = findSection(text, trimmed(section), textStart(text));
    if (!span.found) return value;
    Line line;
    ParsedLine parsed;
    if (!findKeyLine(text, span.firstLine, trimmed(key), line, parsed)) return value;
    // A key without "=" hides later keys of its name, yet has no value: readers get their default.
    if (parsed.equals == std::string_view::npos) return value;
    size_t begin = parsed.equals + 1, end = line.end;
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return {true, begin, end};
}

void setIniValue(std::string& text, std::string_view section, std::string_view key, std::string_view value) {
    section = trimmed(section);
    key = trimmed(key);
    // Blanks before the value are dropped, blanks after it are written as given: the readers
    // ignore both.
    while (!value.empty() && isBlank(value.front())) value.remove_prefix(1);
    SectionSpan span = findSection(text, section, textStart(text));
    if (!span.found) {
        if (text.size() > textStart(text) && text.back() != '\n' && text.back() != '\r') text += "\r\n";
        text.append("[").append(section).append("]\r\n");
        text.append(key).append("=").append(value).append("\r\n");
        return;
    }
    Line line;
    ParsedLine parsed;
    if (findKeyLine(text, span.firstLine, key, line, parsed)) {
        if (parsed.equals != std::string_view::npos) {
            text.replace(parsed.equals + 1, line.end - parsed.equals - 1, value);
        } else {
            // The line is the name alone: it gets its "=" right after the name.
            size_t nameEnd = line.end;
            while (nameEnd > line.begin && isBlank(text[nameEnd - 1])) --nameEnd;
            std::string tail = "=";
            tail.append(value);
            text.replace(nameEnd, line.end - nameEnd, tail);
        }
        return;
    }
    std::string added;
    size_t at = span.lastContentNext;
    if (at == span.lastContentEnd) added = "\r\n";  // the section's last line ends the file unbroken
    added.append(key).append("=").append(value).append("\r\n");
    text.insert(at, added);
}

size_t copyIniValue(std::string_view value, char* buffer, size_t size) {
    if (buffer == nullptr || size == 0) return 0;
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
        value = value.substr(1, value.size() - 2);
    }
    size_t count = value.size() < size - 1 ? value.size() : size - 1;
    std::memcpy(buffer, value.data(), count);
    buffer[count] = '\0';
    return count;
}

int32_t iniInteger(const char* text) {
    const char* p = text;
    while (*p != '\0' && static_cast<unsigned char>(*p) <= ' ') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    uint32_t base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'o' || p[1] == 'b')) {
        base = p[1] == 'x' ? 16 : p[1] == 'o' ? 8 : 2;
        p += 2;
    }
    uint32_t value = 0;
    for (;; ++p) {
        uint32_t digit;
        if (*p >= '0' && *p <= '9')
            digit = static_cast<uint32_t>(*p - '0');
        else if (*p >= 'a' && *p <= 'f')
            digit = static_cast<uint32_t>(*p - 'a' + 10);
        else if (*p >= 'A' && *p <= 'F')
            digit = static_cast<uint32_t>(*p - 'A' + 10);
        else
            break;
        if (digit >= base) break;
        value = value * base + digit;  // unsigned: wraps at 32 bits like the platform's reader
    }
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

size_t readIniString(std::string_view text, std::string_view section, const char* key,
                     const char* defaultValue, char* buffer, size_t size) {
    IniValue value = findIniValue(text, section, key != nullptr ? key : "");
    if (value.found) return copyIniValue(text.substr(value.begin, value.end - value.begin), buffer, size);
    if (buffer == nullptr || size == 0) return 0;
    // A default loses its trailing spaces, then is handed out like a value.
    std::string_view fallback = defaultValue != nullptr ? defaultValue : "";
    while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
    return copyIniValue(fallback, buffer, size);
}

int32_t readIniInt(std::string_view text, std::string_view section, const char* key, int32_t defaultValue) {
    // An empty value counts as missing.
    char digits[kIntegerTextSize];
    if (readIniString(text, section, key, "", digits, sizeof digits) == 0) return defaultValue;
    return iniInteger(digits);
}

IniFileSettings::IniFileSettings(const char* path, const char* section) : path_(path), section_(section) {}

size_t IniFileSettings::readString(const char* key, const char* defaultValue, char* buffer, size_t size) {
    std::string text;
    loadFile(path_, text);
    return readIniString(text, section_, key, defaultValue, buffer, size);
}

int32_t IniFileSettings::readInt(const char* key, int32_t defaultValue) {
    std::string text;
    loadFile(path_, text);
    return readIniInt(text, section_, key, defaultValue);
}

int IniFileSettings::writeString(const char* key, const char* value) {
    if (key == nullptr) return -1;
    std::string text;
    loadFile(path_, text);
    setIniValue(text, section_, key, value != nullptr ? value : "");
    return saveFile(path_, text);
}

}  // namespace tavir
