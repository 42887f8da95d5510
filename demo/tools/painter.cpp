// Paints the pictures of the Zanto demo medium: the title picture and the
// installation slideshow. Everything is drawn procedurally so the medium can
// be rebuilt from source, byte for byte, without any image assets.
//
// Usage: painter OUTDIR SLIDES
// Writes OUTDIR/zanto.ppm and OUTDIR/slideNN.ppm (NN = 01..SLIDES), 640x480.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Rgb {
    int r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {static_cast<int>(std::lround(a.r + (b.r - a.r) * t)),
            static_cast<int>(std::lround(a.g + (b.g - a.g) * t)),
            static_cast<int>(std::lround(a.b + (b.b - a.b) * t))};
}

// Fixed-seed generator: stars, trees and pebbles land at the same place on
// every build.
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

class Image {
public:
    Image() : px_(kWidth * kHeight) {}

    void set(int x, int y, Rgb c) {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return;
        px_[y * kWidth + x] = c;
    }
    Rgb get(int x, int y) const { return px_[y * kWidth + x]; }

    void blend(int x, int y, Rgb c, double alpha) {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return;
        px_[y * kWidth + x] = mix(px_[y * kWidth + x], c, alpha);
    }

    void verticalGradient(int y0, int y1, Rgb top, Rgb bottom) {
        for (int y = std::max(0, y0); y < std::min(kHeight, y1); ++y) {
            Rgb c = mix(top, bottom, (y1 - y0) > 1 ? double(y - y0) / (y1 - y0 - 1) : 0.0);
            for (int x = 0; x < kWidth; ++x) set(x, y, c);
        }
    }

    void rect(int x0, int y0, int w, int h, Rgb c) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) set(x, y, c);
    }

    void shade(int x0, int y0, int w, int h, Rgb c, double alpha) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) blend(x, y, c, alpha);
    }

    void circle(int cx, int cy, int r, Rgb c) {
        for (int y = cy - r; y <= cy + r; ++y)
            for (int x = cx - r; x <= cx + r; ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) set(x, y, c);
    }

    // A soft halo around suns, moons and lava glow.
    void glow(int cx, int cy, int r, Rgb c, double strength) {
        for (int y = cy - r; y <= cy + r; ++y)
            for (int x = cx - r; x <= cx + r; ++x) {
                double d = std::sqrt(double((x - cx) * (x - cx) + (y - cy) * (y - cy))) / r;
                if (d < 1.0) blend(x, y, c, strength * (1.0 - d) * (1.0 - d));
            }
    }

    void triangle(int ax, int ay, int bx, int by, int cx, int cy, Rgb c) {
        int minX = std::min({ax, bx, cx}), maxX = std::max({ax, bx, cx});
        int minY = std::min({ay, by, cy}), maxY = std::max({ay, by, cy});
        auto edge = [](int px, int py, int qx, int qy, int x, int y) {
            return static_cast<long>(qx - px) * (y - py) - static_cast<long>(qy - py) * (x - px);
        };
        for (int y = minY; y <= maxY; ++y)
            for (int x = minX; x <= maxX; ++x) {
                long e0 = edge(ax, ay, bx, by, x, y);
                long e1 = edge(bx, by, cx, cy, x, y);
                long e2 = edge(cx, cy, ax, ay, x, y);
                if ((e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0)) set(x, y, c);
            }
    }

    // Fills everything below the curve y = f(x) down to the bottom edge.
    template <typename F>
    void ground(F f, Rgb top, Rgb bottom) {
        for (int x = 0; x < kWidth; ++x) {
            int y0 = static_cast<int>(f(x));
            for (int y = std::max(0, y0); y < kHeight; ++y)
                set(x, y, mix(top, bottom, double(y - y0) / std::max(1, kHeight - y0)));
        }
    }

    // Swaps colour channels so repeated scenes in a long slideshow still
    // look clearly different from their first appearance.
    void rotateChannels(int times) {
        for (auto& p : px_)
            for (int i = 0; i < times; ++i) p = {p.g, p.b, p.r};
    }

    bool writePpm(const std::string& path) const {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return false;
        std::fprintf(f, "P6\n%d %d\n255\n", kWidth, kHeight);
        std::vector<unsigned char> row(kWidth * 3);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                Rgb c = px_[y * kWidth + x];
                row[x * 3] = static_cast<unsigned char>(std::clamp(c.r, 0, 255));
                row[x * 3 + 1] = static_cast<unsigned char>(std::clamp(c.g, 0, 255));
                row[x * 3 + 2] = static_cast<unsigned char>(std::clamp(c.b, 0, 255));
            }
            std::fwrite(row.data(), 1, row.size(), f);
        }
        return std::fclose(f) == 0;
    }

private:
    std::vector<Rgb> px_;
};

// 5x7 pixel font, drawn scaled up so every letter stays crisp and blocky.
struct Glyph {
    char ch;
    const char* rows[7];
};

const Glyph kFont[] = {
    {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'B', {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "}},
    {'C', {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "}},
    {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
    {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    {'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
    {'G', {" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"}},
    {'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'I', {" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'J', {"  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "}},
    {'K', {"#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"}},
    {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
    {'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
    {'N', {"#   #", "#   #", "##  #", "# # #", "#  ##", "#   #", "#   #"}},
    {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    {'Q', {" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"}},
    {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
    {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'V', {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "}},
    {'W', {"#   #", "#   #", "#   #", "# # #", "# # #", "# # #", " # # "}},
    {'X', {"#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"}},
    {'Y', {"#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'Z', {"#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"}},
    {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'3', {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "}},
    {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    {'6', {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    {'9', {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "}},
    {'/', {"    #", "    #", "   # ", "  #  ", " #   ", "#    ", "#    "}},
    {'-', {"     ", "     ", "     ", "#####", "     ", "     ", "     "}},
    {'.', {"     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "}},
    {'!', {"  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "     ", "  #  "}},
    {':', {"     ", " ##  ", " ##  ", "     ", " ##  ", " ##  ", "     "}},
};

const Glyph* findGlyph(char ch) {
    for (const Glyph& g : kFont)
        if (g.ch == ch) return &g;
    return nullptr;
}

int textWidth(const std::string& text, int scale) {
    return text.empty() ? 0 : static_cast<int>(text.size()) * 6 * scale - scale;
}

void drawText(Image& img, int x, int y, const std::string& text, int scale, Rgb c) {
    for (char ch : text) {
        if (const Glyph* g = findGlyph(ch)) {
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (g->rows[row][col] == '#') img.rect(x + col * scale, y + row * scale, scale, scale, c);
        }
        x += 6 * scale;
    }
}

// Text with a drop shadow, readable on any background.
void drawLabel(Image& img, int x, int y, const std::string& text, int scale, Rgb c, Rgb shadow) {
    int off = std::max(1, scale / 2);
    drawText(img, x + off, y + off, text, scale, shadow);
    drawText(img, x, y, text, scale, c);
}

void drawCentered(Image& img, int y, const std::string& text, int scale, Rgb c, Rgb shadow) {
    drawLabel(img, (kWidth - textWidth(text, scale)) / 2, y, text, scale, c, shadow);
}

void stars(Image& img, uint32_t seed, int count, int maxY) {
    Lcg rng(seed);
    for (int i = 0; i < count; ++i) {
        int x = rng.range(0, kWidth - 1), y = rng.range(0, maxY);
        int v = rng.range(150, 255);
        img.set(x, y, {v, v, std::min(255, v + 20)});
        if (rng.range(0, 9) == 0) {
            img.set(x + 1, y, {v, v, v});
            img.set(x, y + 1, {v, v, v});
        }
    }
}

// The demo's hero: a small blocky explorer with a red scarf.
void hero(Image& img, int x, int y, int s) {
    img.rect(x + 2 * s, y, 4 * s, 4 * s, {250, 214, 170});
    img.rect(x + 2 * s, y, 4 * s, s, {60, 40, 30});
    img.rect(x + 4 * s, y + 2 * s, s, s, {20, 20, 30});
    img.rect(x + s, y + 4 * s, 6 * s, s, {210, 40, 40});
    img.rect(x + 2 * s, y + 5 * s, 4 * s, 4 * s, {40, 90, 200});
    img.rect(x + 2 * s, y + 9 * s, s * 3 / 2, 3 * s, {50, 50, 70});
    img.rect(x + 4 * s + s / 2, y + 9 * s, s * 3 / 2, 3 * s, {50, 50, 70});
}

void sceneValley(Image& img) {
    img.verticalGradient(0, 330, {255, 120, 60}, {255, 214, 140});
    img.glow(460, 250, 170, {255, 250, 200}, 0.8);
    img.circle(460, 250, 62, {255, 236, 160});
    img.triangle(-60, 330, 150, 150, 360, 330, {150, 70, 110});
    img.triangle(220, 330, 420, 180, 640, 330, {120, 60, 100});
    img.triangle(420, 330, 600, 200, 760, 330, {140, 72, 108});
    img.ground([](int x) { return 318 + 14 * std::sin(x / 70.0); }, {120, 180, 60}, {50, 110, 40});
    Lcg rng(11);
    for (int i = 0; i < 40; ++i) img.rect(rng.range(0, 636), rng.range(350, 470), 4, 4, {250, 230, 90});
    hero(img, 120, 278, 4);
}

void sceneForest(Image& img) {
    img.verticalGradient(0, kHeight, {20, 70, 40}, {10, 30, 20});
    for (int i = 0; i < 5; ++i) {
        int x = 60 + i * 130;
        img.triangle(x, 0, x + 70, 0, x + 200, 420, {60, 140, 70});
    }
    img.shade(0, 0, kWidth, kHeight, {10, 40, 20}, 0.55);
    Lcg rng(23);
    for (int i = 0; i < 14; ++i) {
        int x = rng.range(-20, 620), base = rng.range(330, 420), h = rng.range(150, 260);
        Rgb leaf = mix({20, 110, 40}, {70, 170, 60}, rng.range(0, 100) / 100.0);
        img.rect(x + 26, base - 30, 12, 50, {80, 50, 30});
        for (int k = 0; k < 3; ++k)
            img.triangle(x - 10 + k * 8, base - 30 - k * h / 4, x + 32, base - 30 - h / 2 - k * h / 4,
                         x + 74 - k * 8, base - 30 - k * h / 4, leaf);
    }
    img.ground([](int x) { return 400 + 6 * std::sin(x / 40.0); }, {40, 100, 30}, {20, 50, 20});
    for (int i = 0; i < 30; ++i) img.glow(rng.range(0, 639), rng.range(120, 380), 6, {220, 255, 120}, 0.9);
    hero(img, 300, 352, 4);
}

void sceneCoast(Image& img) {
    img.verticalGradient(0, 300, {8, 16, 60}, {40, 70, 150});
    stars(img, 37, 260, 260);
    img.circle(150, 110, 42, {235, 240, 255});
    // The crescent: cover part of the moon with the sky behind it.
    for (int y = 62; y <= 138; ++y)
        for (int x = 130; x <= 206; ++x)
            if ((x - 168) * (x - 168) + (y - 100) * (y - 100) <= 38 * 38)
                img.set(x, y, mix({8, 16, 60}, {40, 70, 150}, y / 299.0));
    img.glow(150, 110, 110, {200, 220, 255}, 0.6);
    img.verticalGradient(300, kHeight, {20, 60, 130}, {5, 20, 60});
    for (int y = 306; y < kHeight; y += 12)
        for (int x = (y / 12 % 2) * 30; x < kWidth; x += 60) img.rect(x, y, 34, 2, {90, 150, 220});
    for (int y = 300; y < 470; y += 6) img.rect(130 + (y % 18) / 3, y, 40 - (y - 300) / 8, 3, {200, 220, 255});
    img.triangle(380, 360, 640, 230, 640, 480, {30, 40, 70});
    img.rect(540, 150, 30, 120, {230, 230, 240});
    img.rect(540, 190, 30, 20, {200, 40, 40});
    img.glow(555, 140, 90, {255, 255, 180}, 0.9);
    hero(img, 480, 266, 3);
}

void sceneDesert(Image& img) {
    img.verticalGradient(0, 280, {110, 190, 240}, {240, 230, 190});
    img.glow(120, 80, 120, {255, 255, 220}, 0.9);
    img.circle(120, 80, 40, {255, 250, 220});
    img.triangle(330, 280, 430, 150, 530, 280, {210, 160, 80});
    img.triangle(430, 150, 530, 280, 480, 280, {170, 120, 60});
    img.triangle(500, 280, 560, 205, 620, 280, {200, 150, 75});
    img.ground([](int x) { return 270 + 18 * std::sin(x / 90.0) + 8 * std::sin(x / 23.0); }, {250, 210, 110},
               {220, 160, 60});
    img.ground([](int x) { return 380 + 20 * std::sin(x / 60.0 + 1.3); }, {240, 190, 90}, {190, 130, 50});
    img.rect(100, 250, 18, 110, {60, 140, 60});
    img.rect(76, 280, 24, 14, {60, 140, 60});
    img.rect(76, 255, 14, 30, {60, 140, 60});
    img.rect(118, 300, 22, 14, {60, 140, 60});
    img.rect(128, 270, 12, 34, {60, 140, 60});
    hero(img, 250, 300, 4);
}

void sceneCaves(Image& img) {
    img.verticalGradient(0, kHeight, {40, 10, 40}, {90, 20, 30});
    Lcg rng(53);
    for (int i = 0; i < 18; ++i) {
        int x = rng.range(0, 620), w = rng.range(20, 50), h = rng.range(40, 140);
        img.triangle(x, 0, x + w, 0, x + w / 2, h, {70, 25, 60});
    }
    img.ground([](int x) { return 330 + 20 * std::sin(x / 50.0); }, {60, 25, 45}, {30, 10, 25});
    for (int x = 0; x < kWidth; ++x) {
        int y0 = static_cast<int>(400 + 8 * std::sin(x / 30.0));
        for (int y = y0; y < y0 + 34; ++y) img.set(x, y, mix({255, 230, 80}, {230, 60, 10}, double(y - y0) / 34));
    }
    img.glow(320, 410, 320, {255, 120, 30}, 0.5);
    for (int i = 0; i < 12; ++i) img.circle(rng.range(0, 639), rng.range(380, 440), rng.range(2, 5), {255, 240, 140});
    for (int i = 0; i < 6; ++i) {
        int x = 60 + i * 100, y = rng.range(200, 300);
        img.triangle(x, y, x + 14, y - 30, x + 28, y, {120, 220, 255});
        img.glow(x + 14, y - 12, 30, {120, 220, 255}, 0.6);
    }
    hero(img, 420, 276, 4);
}

struct Scene {
    void (*paint)(Image&);
    const char* caption;
};

const Scene kScenes[] = {
    {sceneValley, "SUNRISE VALLEY"}, {sceneForest, "EMERALD FOREST"}, {sceneCoast, "MOONLIT COAST"},
    {sceneDesert, "AMBER DESERT"},   {sceneCaves, "LAVA CAVES"},
};
constexpr int kSceneCount = sizeof(kScenes) / sizeof(kScenes[0]);

Image paintSlide(int number, int total) {
    Image img;
    const Scene& scene = kScenes[(number - 1) % kSceneCount];
    int round = (number - 1) / kSceneCount;
    scene.paint(img);
    img.rotateChannels(round % 3);
    if (round / 3 % 2 == 1) img.shade(0, 0, kWidth, kHeight, {10, 10, 60}, 0.35);

    drawLabel(img, 24, 20, "ZANTO", 6, {255, 255, 255}, {0, 0, 0});
    std::string counter = std::to_string(number) + "/" + std::to_string(total);
    drawLabel(img, kWidth - 24 - textWidth(counter, 6), 20, counter, 6, {255, 240, 120}, {0, 0, 0});

    img.shade(0, 422, kWidth, 58, {0, 0, 0}, 0.55);
    std::string caption = "LEVEL " + std::to_string(number) + ": " + scene.caption;
    if (round > 0) caption += " " + std::to_string(round + 1);
    int scale = textWidth(caption, 4) <= kWidth - 16 ? 4 : 3;
    drawCentered(img, 436 + (4 - scale) * 4, caption, scale, {255, 255, 255}, {0, 0, 0});
    return img;
}

Image paintTitle() {
    Image img;
    img.verticalGradient(0, kHeight, {30, 10, 70}, {200, 70, 90});
    stars(img, 5, 320, 300);
    img.glow(320, 330, 260, {255, 170, 90}, 0.7);
    img.circle(320, 360, 110, {255, 190, 110});
    // Retro horizon stripes across the lower half of the sun.
    for (int y = 300; y < 470; y += 14)
        for (int dy = 0; dy < 5; ++dy)
            for (int x = 210; x <= 430; ++x)
                if ((x - 320) * (x - 320) + (y + dy - 360) * (y + dy - 360) <= 110 * 110)
                    img.blend(x, y + dy, {200, 70, 90}, 0.7);
    img.triangle(-40, 480, 180, 300, 400, 480, {40, 15, 60});
    img.triangle(260, 480, 480, 320, 700, 480, {55, 20, 70});
    hero(img, 296, 382, 5);

    drawCentered(img, 70, "ZANTO", 16, {255, 215, 70}, {90, 20, 40});
    drawCentered(img, 210, "DEMO", 6, {255, 255, 255}, {60, 10, 40});
    drawCentered(img, 448, "GRINDLOW SOFTWARE", 3, {240, 230, 255}, {20, 0, 30});
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTDIR SLIDES\n", argv[0]);
        return 2;
    }
    std::string dir = argv[1];
    char* end = nullptr;
    long slides = std::strtol(argv[2], &end, 10);
    if (*argv[2] == '\0' || *end != '\0' || slides < 0 || slides > 99) {
        std::fprintf(stderr, "painter: slide count must be 0..99\n");
        return 2;
    }
    if (!paintTitle().writePpm(dir + "/zanto.ppm")) {
        std::perror("painter: zanto.ppm");
        return 1;
    }
    for (int i = 1; i <= slides; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/slide%02d.ppm", i);
        if (!paintSlide(i, static_cast<int>(slides)).writePpm(dir + name)) {
            std::perror(name + 1);
            return 1;
        }
    }
    return 0;
}
