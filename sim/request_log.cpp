#include "request_log.h"

#include <nlohmann/json.hpp>

namespace tavir::sim {

FileLogWriter::~FileLogWriter() {
    if (file_) std::fclose(file_);
}

bool FileLogWriter::open(const char* path) {
    if (file_) std::fclose(file_);
    file_ = std::fopen(path, "wb");
    return file_ != nullptr;
}

void FileLogWriter::writeLine(const std::string& line) {
    if (!file_) return;
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

std::string hexBytes(const uint8_t* data, size_t count) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        text.push_back(kDigits[data[i] >> 4]);
        text.push_back(kDigits[data[i] & 0x0F]);
    }
    return text;
}

void RequestLog::frame(int64_t timeUs, const char* direction, const char* link, const char* kind,
                       const SimAddress& address, int32_t value, const uint8_t* bytes, size_t count,
                       bool dropped) {
    if (!writer_) return;
    nlohmann::ordered_json entry = {{"timeUs", timeUs},
                                    {"dir", direction},
                                    {"link", link},
                                    {"kind", kind},
                                    {"functionCode", address.functionCode},
                                    {"number", address.number},
                                    {"block", address.block},
                                    {"value", value},
                                    {"hex", hexBytes(bytes, count)}};
    if (dropped) entry["dropped"] = true;
    writer_->writeLine(entry.dump());
}

void RequestLog::bytes(int64_t timeUs, const char* direction, const char* link, const char* kind,
                       const uint8_t* data, size_t count) {
    if (!writer_) return;
    nlohmann::ordered_json entry = {{"timeUs", timeUs}, {"dir", direction}, {"link", link},
                                    {"kind", kind},     {"count", count},   {"hex", hexBytes(data, count)}};
    writer_->writeLine(entry.dump());
}

void RequestLog::dumpCommand(int64_t timeUs, const char* link, uint8_t command) {
    if (!writer_) return;
    nlohmann::ordered_json entry = {{"timeUs", timeUs},
                                    {"dir", "in"},
                                    {"link", link},
                                    {"kind", "dumpCommand"},
                                    {"command", std::string(1, static_cast<char>(command))},
                                    {"hex", hexBytes(&command, 1)}};
    writer_->writeLine(entry.dump());
}

void RequestLog::event(int64_t timeUs, const char* link, const char* what) {
    if (!writer_) return;
    nlohmann::ordered_json entry = {{"timeUs", timeUs}, {"dir", "event"}, {"link", link}, {"kind", what}};
    writer_->writeLine(entry.dump());
}

}  // namespace tavir::sim
