// Generates the game data of the Zanto demo (levels, maps, sounds, default
// configuration). The content is synthesised from fixed seeds, so every build
// of the medium carries identical bytes, and its total size follows the
// budget the medium builder asks for.
//
// Usage: datagen OUTDIR BYTES
// Writes OUTDIR/data/... ; the total size lands within a few KiB of BYTES.

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

class Lcg {
public:
    explicit Lcg(uint32_t seed) : state_(seed) {}
    uint32_t next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    int range(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<uint32_t>(hi - lo + 1)); }

private:
    uint32_t state_;
};

void put16(Bytes& b, unsigned v) {
    b.push_back(v & 0xff);
    b.push_back((v >> 8) & 0xff);
}

void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}

void putText(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }

bool makeDirs(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            std::string part = path.substr(0, i);
            if (mkdir(part.c_str(), 0755) != 0) {
                struct stat st;
                if (stat(part.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
            }
        }
    }
    return true;
}

bool writeFile(const std::string& path, const Bytes& data) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror(path.c_str());
        return false;
    }
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    if (std::fclose(f) != 0) ok = false;
    if (!ok) std::perror(path.c_str());
    return ok;
}

// Level file: "ZLVL", version, width, height, entity count, then the tile
// grid column by column and the entity list (type, x, y).
enum Tile : unsigned char { kAir = 0, kGround = 1, kRock = 2, kPlatform = 3, kWater = 4, kLadder = 5 };
enum Entity : unsigned char { kCoin = 1, kBeetle = 2, kBat = 3, kChest = 4, kExit = 5 };

Bytes makeLevel(int number, size_t budget) {
    constexpr int kRows = 32;
    constexpr size_t kHeader = 14;
    // One entity per five columns: each column costs its tiles plus a fifth of a five-byte entity.
    int columns = static_cast<int>(std::max<size_t>(16, (budget - std::min(budget, kHeader)) / (kRows + 1)));
    int entities = std::max(1, columns / 5);

    Lcg rng(1000u + static_cast<uint32_t>(number));
    Bytes b;
    putText(b, "ZLVL");
    put16(b, 1);
    put16(b, static_cast<unsigned>(columns));
    put16(b, kRows);
    put16(b, static_cast<unsigned>(entities));
    put16(b, static_cast<unsigned>(number));

    std::vector<int> surface(columns);
    for (int x = 0; x < columns; ++x) {
        double h = 22 + 4 * std::sin(x / (7.0 + number)) + 2 * std::sin(x / 3.1 + number);
        surface[x] = std::clamp(static_cast<int>(h), 12, kRows - 2);
    }
    for (int x = 0; x < columns; ++x) {
        bool pool = (x / 23 + number) % 5 == 0;
        int platform = (x / 9 % 3 == 1) ? surface[x] - 6 : -1;
        for (int y = 0; y < kRows; ++y) {
            Tile t = kAir;
            if (y >= surface[x] + 3) t = kRock;
            else if (y >= surface[x]) t = pool && y == surface[x] ? kWater : kGround;
            else if (y == platform) t = kPlatform;
            else if (x % 41 == 17 && y > platform && y < surface[x] && platform > 0) t = kLadder;
            if (t == kRock && rng.range(0, 7) == 0) t = kGround;
            b.push_back(t);
        }
    }
    for (int i = 0; i < entities; ++i) {
        int x = (i * columns) / entities + rng.range(0, 3);
        x = std::min(x, columns - 1);
        int type = i == entities - 1 ? kExit : rng.range(kCoin, kChest);
        b.push_back(static_cast<unsigned char>(type));
        put16(b, static_cast<unsigned>(x));
        put16(b, static_cast<unsigned>(surface[x] - 1));
    }
    return b;
}

// Map files are plain text so level designers can edit them in any editor.
struct MapTheme {
    const char* file;
    const char* title;
    char filler;
    char feature;
    char hazard;
};

const MapTheme kMaps[] = {
    {"valley.map", "Sunrise Valley", '"', 'f', '~'}, {"forest.map", "Emerald Forest", '"', 'T', '%'},
    {"coast.map", "Moonlit Coast", ',', 'L', '~'},   {"desert.map", "Amber Desert", ':', 'Y', '^'},
    {"caves.map", "Lava Caves", '#', 'v', '*'},
};

Bytes makeMap(int index, size_t budget) {
    const MapTheme& theme = kMaps[index];
    constexpr int kColumns = 96;
    Bytes b;
    putText(b, "; Zanto map file\r\n");
    putText(b, std::string("title=") + theme.title + "\r\n");
    putText(b, "width=" + std::to_string(kColumns) + "\r\n");
    size_t rowBytes = kColumns + 2;
    int rows = static_cast<int>(std::max<size_t>(8, (budget > b.size() + 16 ? budget - b.size() - 16 : 0) / rowBytes));
    putText(b, "height=" + std::to_string(rows) + "\r\n");
    putText(b, "[tiles]\r\n");

    Lcg rng(500u + static_cast<uint32_t>(index));
    for (int y = 0; y < rows; ++y) {
        std::string row(kColumns, '.');
        int band = y % 24;
        for (int x = 0; x < kColumns; ++x) {
            double wave = 12 + 5 * std::sin((x + y / 24 * 13) / 9.0 + index);
            if (band >= static_cast<int>(wave)) row[x] = theme.filler;
            if (band == static_cast<int>(wave) && rng.range(0, 6) == 0) row[x] = theme.feature;
            if (band == 23 && rng.range(0, 4) == 0) row[x] = theme.hazard;
            if (band == static_cast<int>(wave) - 3 && rng.range(0, 11) == 0) row[x] = 'o';
        }
        if (y == 0) row[1] = 'S';
        if (y == rows - 1) row[kColumns - 2] = 'E';
        putText(b, row + "\r\n");
    }
    return b;
}

// 8-bit mono PCM at 22050 Hz, as the demo's sound mixer expects.
constexpr int kRate = 22050;

Bytes wavFromSamples(const std::vector<double>& samples) {
    Bytes b;
    uint32_t n = static_cast<uint32_t>(samples.size());
    putText(b, "RIFF");
    put32(b, 36 + n);
    putText(b, "WAVEfmt ");
    put32(b, 16);
    put16(b, 1);
    put16(b, 1);
    put32(b, kRate);
    put32(b, kRate);
    put16(b, 1);
    put16(b, 8);
    putText(b, "data");
    put32(b, n);
    for (double s : samples) b.push_back(static_cast<unsigned char>(std::lround(128 + 100 * std::clamp(s, -1.0, 1.0))));
    return b;
}

constexpr double kPi = 3.14159265358979323846;

double square(double phase) { return std::fmod(phase, 1.0) < 0.5 ? 1.0 : -1.0; }
double triangle(double phase) {
    double p = std::fmod(phase, 1.0);
    return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
}

// A frequency sweep: jumps rise, hits fall.
Bytes makeSweep(double from, double to, double seconds, bool noisy, uint32_t seed) {
    int n = std::max(64, static_cast<int>(seconds * kRate));
    std::vector<double> s(n);
    Lcg rng(seed);
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        double t = double(i) / n;
        phase += (from + (to - from) * t) / kRate;
        double v = square(phase) * 0.6;
        if (noisy) v = v * 0.5 + (rng.range(0, 2000) / 1000.0 - 1.0) * 0.5;
        s[i] = v * (1.0 - t);
    }
    return wavFromSamples(s);
}

Bytes makeCoin(double seconds) {
    int n = std::max(64, static_cast<int>(seconds * kRate));
    std::vector<double> s(n);
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        double t = double(i) / n;
        phase += (t < 0.25 ? 988.0 : 1319.0) / kRate;
        s[i] = square(phase) * 0.5 * (1.0 - t);
    }
    return wavFromSamples(s);
}

// The title theme: a looping melody over a bass line.
Bytes makeTheme(size_t budget) {
    static const int kMelody[] = {0, 4, 7, 12, 11, 7, 4, 2, 0, 4, 7, 9, 7, 4, 2, -1};
    static const int kBass[] = {-12, -12, -5, -5, -7, -7, -10, -10};
    int n = static_cast<int>(std::max<size_t>(1024, budget > 44 ? budget - 44 : 0));
    std::vector<double> s(n);
    const int noteLength = kRate / 5;
    double mel = 0, bass = 0;
    for (int i = 0; i < n; ++i) {
        int note = i / noteLength;
        double inNote = double(i % noteLength) / noteLength;
        double fm = 440.0 * std::pow(2.0, kMelody[note % 16] / 12.0);
        double fb = 220.0 * std::pow(2.0, kBass[(note / 2) % 8] / 12.0);
        mel += fm / kRate;
        bass += fb / kRate;
        double env = inNote < 0.05 ? inNote / 0.05 : 1.0 - 0.6 * inNote;
        s[i] = 0.45 * square(mel) * env + 0.4 * triangle(bass) + 0.05 * std::sin(2 * kPi * i / kRate * 3);
    }
    return wavFromSamples(s);
}

Bytes makeConfig() {
    Bytes b;
    putText(b,
            "; Zanto Demo default settings\r\n"
            "[video]\r\n"
            "width=640\r\n"
            "height=480\r\n"
            "fullscreen=0\r\n"
            "[audio]\r\n"
            "music=80\r\n"
            "effects=100\r\n"
            "[controls]\r\n"
            "left=Left\r\n"
            "right=Right\r\n"
            "jump=Space\r\n"
            "use=Ctrl\r\n"
            "pause=Esc\r\n");
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTDIR BYTES\n", argv[0]);
        return 2;
    }
    std::string root = std::string(argv[1]) + "/data";
    char* end = nullptr;
    unsigned long long total = std::strtoull(argv[2], &end, 10);
    if (*argv[2] == '\0' || *end != '\0' || total < 4096) {
        std::fprintf(stderr, "datagen: BYTES must be a number of at least 4096\n");
        return 2;
    }

    // Music dominates real game data, then levels and maps.
    size_t sounds = total * 45 / 100;
    size_t levels = total * 30 / 100;
    size_t maps = total - sounds - levels;
    constexpr int kLevels = 8;
    constexpr int kMapCount = sizeof(kMaps) / sizeof(kMaps[0]);

    for (const char* dir : {"/levels", "/maps", "/sounds", "/config"}) {
        if (!makeDirs(root + dir)) {
            std::perror((root + dir).c_str());
            return 1;
        }
    }

    bool ok = writeFile(root + "/config/default.cfg", makeConfig());
    for (int i = 1; i <= kLevels && ok; ++i)
        ok = writeFile(root + "/levels/level" + std::to_string(i) + ".dat", makeLevel(i, levels / kLevels));
    for (int i = 0; i < kMapCount && ok; ++i)
        ok = writeFile(root + "/maps/" + kMaps[i].file, makeMap(i, maps / kMapCount));

    // Effects take a fixed small share; the theme fills the rest.
    double fx = std::clamp(double(sounds) / 16 / kRate, 0.05, 0.6);
    Bytes jump = makeSweep(300, 900, fx, false, 1);
    Bytes hit = makeSweep(500, 80, fx, true, 2);
    Bytes coin = makeCoin(fx);
    Bytes door = makeSweep(120, 60, fx * 1.5, true, 3);
    size_t used = jump.size() + hit.size() + coin.size() + door.size();
    Bytes theme = makeTheme(sounds > used ? sounds - used : 0);
    ok = ok && writeFile(root + "/sounds/jump.wav", jump) && writeFile(root + "/sounds/hit.wav", hit) &&
         writeFile(root + "/sounds/coin.wav", coin) && writeFile(root + "/sounds/door.wav", door) &&
         writeFile(root + "/sounds/theme.wav", theme);
    return ok ? 0 : 1;
}
