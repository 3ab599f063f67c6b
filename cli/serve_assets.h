#pragma once
// The pages of tavir-cli serve, built into the program from cli/serve_pages so that it works
// offline: each by its name, with its content type.

#include <string>

namespace tavir::cli {

struct Asset {
    const char* name;
    const char* type;
    const char* body;
};

// None for a name that is not one of the pages.
const Asset* findAsset(const std::string& name);

}  // namespace tavir::cli
