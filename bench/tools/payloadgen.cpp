// Generates the benchmark's payloads: the files that each contender installs.
//
// Usage: payloadgen PAYLOAD DATA OUTDIR
//
//   PAYLOAD  big    one file of 256 MiB
//            many   5,000 files of 4 KiB in 50 folders
//            mixed  300 files in 10 folders, 200 MiB in all, sizes spread evenly on a log scale
//                   from 1 KiB to 6 MiB (then scaled to the exact total)
//   DATA     random pseudo-random bytes: no compressor shrinks them, so MSZIP stores them and
//                   extraction is a copy, as with media, textures and sounds that come compressed
//          game   bytes that compress as raw game data does (MSZIP keeps about 70 %): runs of
//                   literals from a skewed alphabet, and now and then a copy of something seen
//                   shortly before, so that the decompressor has real work
//
// The bytes come from fixed seeds, so every run installs the same data.
#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint64_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }
    double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }

private:
    uint64_t state_;
};

// Copies reach back at most this far, well inside deflate's 32 KiB window.
constexpr size_t kWindow = 16384;

void fillRandom(std::vector<unsigned char>& data, uint64_t seed) {
    Rng rng(seed);
    size_t pos = 0;
    for (; pos + 8 <= data.size(); pos += 8) {
        const uint64_t r = rng.next();
        std::memcpy(&data[pos], &r, 8);
    }
    for (; pos < data.size(); ++pos) data[pos] = static_cast<unsigned char>(rng.next());
}

void fillGame(std::vector<unsigned char>& data, uint64_t seed) {
    Rng rng(seed);
    size_t pos = 0;
    while (pos < data.size()) {
        const uint64_t r = rng.next();
        size_t len = 16 + (r & 63);
        if (len > data.size() - pos) len = data.size() - pos;
        if (pos >= 1024 && ((r >> 8) & 3) == 0) {
            const size_t reach = pos < kWindow ? pos : kWindow;
            const size_t dist = 1 + static_cast<size_t>((r >> 16) % reach);
            for (size_t i = 0; i < len; ++i, ++pos) data[pos] = data[pos - dist];
        } else {
            for (size_t i = 0; i < len; ++i, ++pos) {
                const uint64_t b = rng.next();
                data[pos] = static_cast<unsigned char>((b & 63) + ((b >> 8) & 63));
            }
        }
    }
}

bool makeDirs(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            const std::string part = path.substr(0, i);
            if (mkdir(part.c_str(), 0755) != 0) {
                struct stat st;
                if (stat(part.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
            }
        }
    }
    return true;
}

bool writeFile(const std::string& outdir, const std::string& name, size_t size, bool game, uint64_t seed) {
    const std::string path = outdir + "/" + name;
    if (!makeDirs(path.substr(0, path.rfind('/')))) {
        std::perror(path.c_str());
        return false;
    }
    std::vector<unsigned char> data(size);
    if (game)
        fillGame(data, seed);
    else
        fillRandom(data, seed);
    FILE* f = std::fopen(path.c_str(), "wb");
    bool ok = f != nullptr && std::fwrite(data.data(), 1, size, f) == size;
    if (f != nullptr && std::fclose(f) != 0) ok = false;
    if (!ok) std::perror(path.c_str());
    return ok;
}

struct File {
    std::string name;
    size_t size;
};

std::vector<File> big() { return {{"world.pak", 256u << 20}}; }

std::vector<File> many() {
    std::vector<File> files;
    char name[32];
    for (int folder = 0; folder < 50; ++folder)
        for (int file = 0; file < 100; ++file) {
            std::snprintf(name, sizeof(name), "d%02d/f%04d.dat", folder, folder * 100 + file);
            files.push_back({name, 4096});
        }
    return files;
}

std::vector<File> mixed() {
    static const char* const folders[10] = {"levels", "maps",   "models", "music", "scripts",
                                            "sound",  "sprites", "textures", "ui", "video"};
    constexpr size_t kTotal = 200u << 20;
    Rng rng(300);
    std::vector<double> raw(300);
    double sum = 0;
    for (double& size : raw) {
        size = 1024.0 * std::exp(rng.unit() * std::log(6.0 * 1024));
        sum += size;
    }
    std::vector<File> files;
    size_t total = 0, largest = 0;
    char name[48];
    for (size_t i = 0; i < raw.size(); ++i) {
        std::snprintf(name, sizeof(name), "%s/%s%03zu.bin", folders[i / 30], folders[i / 30], i);
        const size_t size = static_cast<size_t>(raw[i] * kTotal / sum);
        files.push_back({name, size});
        total += size;
        if (size > files[largest].size) largest = i;
    }
    files[largest].size += kTotal - total;
    return files;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4 || (std::strcmp(argv[2], "random") != 0 && std::strcmp(argv[2], "game") != 0)) {
        std::fprintf(stderr, "usage: payloadgen big|many|mixed random|game OUTDIR\n");
        return 2;
    }
    const bool game = std::strcmp(argv[2], "game") == 0;
    const std::string kind = argv[1];
    std::vector<File> files;
    if (kind == "big")
        files = big();
    else if (kind == "many")
        files = many();
    else if (kind == "mixed")
        files = mixed();
    else {
        std::fprintf(stderr, "payloadgen: unknown payload %s\n", argv[1]);
        return 2;
    }
    uint64_t seed = 1;
    for (const File& file : files)
        if (!writeFile(argv[3], file.name, file.size, game, seed++)) return 1;
    return 0;
}
