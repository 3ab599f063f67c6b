#pragma once
// The one scratch folder of the tests. CTest runs every case as a process of its own, many at
// once, so a name must be unique across processes: it holds the process id and a counter, and a
// name is only taken when this call created the folder (an existing one, left by an earlier
// process with the same id, is passed over).
#include <unistd.h>  // getpid, in mingw-w64 as well

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

namespace tavir::testing {

class ScratchFolder {
public:
    explicit ScratchFolder(const char* name = "tavir-test",
                           const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
        static std::atomic<unsigned> counter{0};
        const std::string prefix = std::string(name) + "-" + std::to_string(getpid()) + "-";
        do {
            path_ = base / (prefix + std::to_string(counter++));
        } while (!std::filesystem::create_directory(path_));  // throws when the base is unusable
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder with a separator at its end, as the program joins its paths.
    std::string dir() const { return (path_ / "").string(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    // Writes bytes as they are into the file name and gives its path.
    std::string write(const std::string& name, const std::string& bytes) const {
        std::string at = file(name);
        std::ofstream(at, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return at;
    }

private:
    std::filesystem::path path_;
};

}  // namespace tavir::testing
