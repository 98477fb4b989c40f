// Runs a fuzz target's LLVMFuzzerTestOneInput without libFuzzer: first on the
// empty input, then on every regular file named on the command line or found
// under a directory named there, in path order. A crash or a failed check in
// the target ends the program; the input being replayed was printed just before.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fs = std::filesystem;

namespace {

bool CollectInputs(const fs::path& argument, std::vector<fs::path>& inputs)
{
    std::error_code error;
    if (fs::is_regular_file(argument, error)) {
        inputs.push_back(argument);
        return true;
    }
    if (!fs::is_directory(argument, error)) {
        std::fprintf(stderr, "replay: %s: no such file or directory\n", argument.c_str());
        return false;
    }
    for (fs::recursive_directory_iterator it(argument, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_regular_file(error))
            inputs.push_back(it->path());
    }
    if (error) {
        std::fprintf(stderr, "replay: %s: %s\n", argument.c_str(), error.message().c_str());
        return false;
    }
    return true;
}

// Runs one input from a buffer of exactly its size, so that a read past the
// end reaches memory the sanitizer watches.
bool Replay(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::error_code error;
    const auto size = static_cast<std::size_t>(fs::file_size(path, error));
    if (!file || error) {
        std::fprintf(stderr, "replay: cannot read %s\n", path.c_str());
        return false;
    }
    std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[size]);
    if (!file.read(reinterpret_cast<char*>(data.get()), static_cast<std::streamsize>(size))) {
        std::fprintf(stderr, "replay: cannot read %s\n", path.c_str());
        return false;
    }
    std::fprintf(stderr, "replay: %s (%zu bytes)\n", path.c_str(), size);
    std::fflush(stderr);
    LLVMFuzzerTestOneInput(data.get(), size);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR_OR_FILE...\n", argv[0]);
        return 2;
    }

    std::vector<fs::path> inputs;
    bool ok = true;
    for (int i = 1; i < argc; ++i)
        ok = CollectInputs(argv[i], inputs) && ok;
    std::sort(inputs.begin(), inputs.end());

    static const std::uint8_t empty[1] = {};
    LLVMFuzzerTestOneInput(empty, 0);

    for (const fs::path& input : inputs)
        ok = Replay(input) && ok;

    std::fprintf(stderr, "replay: %zu inputs%s\n", inputs.size(), ok ? "" : ", with errors");
    return ok ? 0 : 1;
}
