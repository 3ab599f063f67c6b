#include "dump_stream.h"

#include <cstdio>

#include "sim_texts.h"

namespace tavir::sim {

std::string buildDumpText(const ControllerMemory& memory, int32_t datum, int32_t tijd) {
    std::string text;
    char line[128];
    std::snprintf(line, sizeof line, text::kDumpHeader, static_cast<int>(datum), static_cast<int>(tijd),
                  static_cast<int>(memory.size()));
    text += line;
    text += text::kDumpColumns;
    for (const auto& [key, value] : memory.entries()) {
        SimAddress a = addressFromKey(key);
        std::snprintf(line, sizeof line, text::kDumpLine, static_cast<int>(a.functionCode),
                      static_cast<int>(a.number), static_cast<int>(a.block), static_cast<int>(value));
        text += line;
    }
    return text;
}

}  // namespace tavir::sim
