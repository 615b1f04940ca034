// The generated pictures against the manifest: every image row is there with the size or
// frame grid its row requires, and the card atlases follow the documented layout.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>
#pragma GCC diagnostic pop

#include "canvas.h"

namespace fs = std::filesystem;

namespace {

struct Row {
    std::string path;  // under Resources
    std::string kind;
    std::string size;  // the checks column: "WxH", "strip of 5", "frame ...", "atlas CxR", "1x1 opaque"
};

std::vector<Row> imageRows() {
    std::vector<Row> rows;
    std::ifstream in(fs::path(PINDRAKE_TEST_DATA) / "resources.tsv");
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        std::vector<std::string> col;
        size_t start = 0;
        for (;;) {
            size_t tab = line.find('\t', start);
            col.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        if (col.size() < 4 || col[0] == "(executable .rc)") continue;
        if (col[2].find("image") == std::string::npos) continue;
        rows.push_back({col[0] == "(Resources root)" ? col[1] : col[0] + "/" + col[1], col[2], col[3]});
    }
    return rows;
}

const fs::path kResources(PINDRAKE_RESOURCES_DIR);

struct Image {
    int w = 0, h = 0;
    std::vector<unsigned char> rgba;
    bool ok() const { return w > 0; }
    const unsigned char* at(int x, int y) const { return &rgba[(size_t(y) * w + x) * 4]; }
};

Image load(const fs::path& file) {
    Image img;
    int n = 0;
    unsigned char* data = stbi_load(file.c_str(), &img.w, &img.h, &n, 4);
    if (!data) {
        img.w = img.h = 0;
        return img;
    }
    img.rgba.assign(data, data + size_t(img.w) * img.h * 4);
    stbi_image_free(data);
    return img;
}

bool sizeOf(const fs::path& file, int& w, int& h) {
    int n;
    return stbi_info(file.c_str(), &w, &h, &n) != 0;
}

}  // namespace

TEST(GeneratedImages, EveryImageRowIsAReadablePng) {
    auto rows = imageRows();
    ASSERT_GT(rows.size(), 390u) << "the manifest copy in tests/data is incomplete";
    for (const auto& r : rows) {
        int w, h;
        EXPECT_TRUE(sizeOf(kResources / r.path, w, h)) << r.path << " is missing or not a PNG";
    }
}

TEST(GeneratedImages, SizesAndFrameGridsFollowTheManifest) {
    const std::regex fixed(R"(^(\d+)x(\d+)(;|$))");         // the whole picture
    const std::regex frameExact(R"(frame (\d+)x(\d+))");       // one frame of a strip, or the picture
    const std::regex frameMax(R"(frame <= (\d+)x(\d+))");
    const std::regex frameMaxW(R"(frame <= (\d+) wide)");
    const std::regex frameMaxH(R"(frame height <= (\d+))");
    const std::regex atlas(R"(atlas (\d+)x(\d+))");            // columns x rows of card frames
    for (const auto& r : imageRows()) {
        int w = 0, h = 0;
        if (!sizeOf(kResources / r.path, w, h)) continue;  // reported by the test above
        SCOPED_TRACE(r.path + ": " + r.size.substr(0, 120));
        std::smatch m;
        bool strip = r.size.find("strip of 5") != std::string::npos;
        int fw = strip ? w / 5 : w;
        if (strip) {
            EXPECT_EQ(w % 5, 0) << "a five-frame strip must split into equal frames";
        }
        if (r.size.find("1x1 opaque") != std::string::npos) {
            EXPECT_EQ(w, 1);
            EXPECT_EQ(h, 1);
            Image img = load(kResources / r.path);
            ASSERT_TRUE(img.ok());
            EXPECT_EQ(img.at(0, 0)[3], 255) << "the shadow square must be opaque";
        }
        if (std::regex_search(r.size, m, fixed)) {
            EXPECT_EQ(w, std::stoi(m[1]));
            EXPECT_EQ(h, std::stoi(m[2]));
        }
        if (std::regex_search(r.size, m, frameExact)) {
            EXPECT_EQ(fw, std::stoi(m[1]));
            EXPECT_EQ(h, std::stoi(m[2]));
        }
        if (std::regex_search(r.size, m, frameMax)) {
            EXPECT_LE(fw, std::stoi(m[1]));
            EXPECT_LE(h, std::stoi(m[2]));
        }
        if (std::regex_search(r.size, m, frameMaxW)) {
            EXPECT_LE(fw, std::stoi(m[1]));
        }
        if (std::regex_search(r.size, m, frameMaxH)) {
            EXPECT_LE(h, std::stoi(m[1]));
        }
        if (std::regex_search(r.size, m, atlas)) {
            EXPECT_EQ(w, std::stoi(m[1]) * 75);
            EXPECT_EQ(h, std::stoi(m[2]) * 116);
        }
        if (r.path.rfind("splash/spl", 0) == 0) {
            EXPECT_LE(w, 1024);
            EXPECT_LE(h, 768);
        }
    }
}

TEST(GeneratedImages, PicturesThatMustMatchShareTheirSize) {
    auto same = [](const std::string& a, const std::string& b) {
        int aw = 0, ah = 0, bw = 0, bh = 0;
        ASSERT_TRUE(sizeOf(kResources / a, aw, ah)) << a;
        ASSERT_TRUE(sizeOf(kResources / b, bw, bh)) << b;
        EXPECT_EQ(aw, bw) << a << " vs " << b;
        EXPECT_EQ(ah, bh) << a << " vs " << b;
    };
    same("interface/options/button_fullscreen_mute.png", "interface/options/button_fullscreen_mute_with_tick.png");
    // The tenth frame's card is as high as the others' and wider, for its third ball.
    for (int k = 1; k <= 12; ++k) {
        int w = 0, h = 0, tenthW = 0, tenthH = 0;
        ASSERT_TRUE(sizeOf(kResources / ("frames_selection/buttons/" + std::to_string(k) + ".png"), w, h));
        ASSERT_TRUE(sizeOf(kResources / ("frames_selection/buttons_10th_frame/" + std::to_string(k) + ".png"),
                           tenthW, tenthH));
        EXPECT_EQ(tenthH, h) << "pack " << k;
        EXPECT_GE(tenthW, w) << "pack " << k;
    }
    for (int k = 1; k <= 6; ++k)
        same("interface/options/skittles/white_" + std::to_string(k) + ".png",
             "interface/options/skittles/green_" + std::to_string(k) + ".png");
    // The editor's card size comes from its pictures: all of them the game's 75 x 116.
    for (const char* folder : {"cards", "special_cards"})
        for (const char* suit : {"diamonds", "clubs", "spades", "hearts"})
            for (int rank = 2; rank <= 14; ++rank) {
                int w = 0, h = 0;
                fs::path p = kResources / "cards/editor" / folder / suit / (std::to_string(rank) + ".png");
                ASSERT_TRUE(sizeOf(p, w, h)) << p;
                EXPECT_EQ(w, 75) << p;
                EXPECT_EQ(h, 116) << p;
            }
    same("cards/editor/cards/back/1.png", "bonusCover.png");
}

TEST(GeneratedImages, VolumeSkittlesGrowFromLeftToRight) {
    // Skittle 6 (left, lit first) is the smallest, skittle 1 (right) the largest.
    int prev = 0;
    for (int k = 6; k >= 1; --k) {
        int w = 0, h = 0;
        ASSERT_TRUE(sizeOf(kResources / ("interface/options/skittles/white_" + std::to_string(k) + ".png"), w, h));
        EXPECT_GT(h, prev) << "skittle " << k;
        prev = h;
    }
}

namespace {

// Maximum channel difference between a frame of the atlas and a whole picture.
int frameDifference(const Image& atlas, int col, int row, const Image& pic) {
    int worst = 0;
    for (int y = 0; y < 116; ++y)
        for (int x = 0; x < 75; ++x) {
            const unsigned char* a = atlas.at(col * 75 + x, row * 116 + y);
            const unsigned char* b = pic.at(x, y);
            for (int ch = 0; ch < 4; ++ch) worst = std::max(worst, std::abs(int(a[ch]) - int(b[ch])));
        }
    return worst;
}

bool frameEmpty(const Image& atlas, int col, int row) {
    for (int y = 0; y < 116; ++y)
        for (int x = 0; x < 75; ++x)
            if (atlas.at(col * 75 + x, row * 116 + y)[3] != 0) return false;
    return true;
}

}  // namespace

TEST(GeneratedImages, AtlasFollowsTheDocumentedLayout) {
    // The documented layout, written out independently of the generator:
    // columns 0-4 hold 10 J Q K A, 5-12 hold 2..9; rows 0-3 special faces and rows 5-8 plain
    // faces for suit index 1, 0, 3, 2; row 4 the backs (back b in frame table[b]) and the joker.
    const int rowOfSuit[4] = {1, 0, 3, 2};  // suit index -> row among the four
    const int backFrame[12] = {67, 56, 60, 61, 63, 64, 65, 66, 57, 58, 59, 62};
    const char* suitName[4] = {"diamonds", "clubs", "spades", "hearts"};
    Image atlas = load(kResources / "cards/cardsLibrary1.png");
    ASSERT_TRUE(atlas.ok());
    ASSERT_EQ(atlas.w, 1050);
    ASSERT_EQ(atlas.h, 1044);
    for (int suit = 0; suit < 4; ++suit) {
        for (int rank = 2; rank <= 14; ++rank) {
            int col = rank >= 10 ? rank - 10 : rank + 3;
            for (bool special : {false, true}) {
                Image pic = load(kResources / "cards/editor" / (special ? "special_cards" : "cards") /
                                 suitName[suit] / (std::to_string(rank) + ".png"));
                ASSERT_TRUE(pic.ok());
                int row = rowOfSuit[suit] + (special ? 0 : 5);
                EXPECT_LE(frameDifference(atlas, col, row, pic), 3)
                    << suitName[suit] << " " << rank << (special ? " special" : "");
            }
        }
    }
    for (int back = 0; back < 12; ++back) {
        Image pic = load(kResources / "cards/editor/cards/back" / (std::to_string(back + 1) + ".png"));
        ASSERT_TRUE(pic.ok());
        EXPECT_LE(frameDifference(atlas, backFrame[back] % 14, backFrame[back] / 14, pic), 3) << "back " << back;
    }
    EXPECT_FALSE(frameEmpty(atlas, 68 % 14, 68 / 14)) << "the joker";
    for (int row = 0; row < 9; ++row) EXPECT_TRUE(frameEmpty(atlas, 13, row)) << "column 13 is unused";
}

TEST(GeneratedImages, SpecialFacesLookDifferentFromPlainFaces) {
    for (int k = 1; k <= 3; ++k) {
        Image atlas = load(kResources / ("cards/cardsLibrary" + std::to_string(k) + ".png"));
        ASSERT_TRUE(atlas.ok());
        for (int row = 0; row < 4; ++row) {
            for (int col = 0; col < 13; ++col) {
                // Compare each special face with the same card's plain face.
                long diff = 0;
                for (int y = 0; y < 116; y += 2)
                    for (int x = 0; x < 75; x += 2) {
                        const unsigned char* a = atlas.at(col * 75 + x, row * 116 + y);
                        const unsigned char* b = atlas.at(col * 75 + x, (row + 5) * 116 + y);
                        diff += std::abs(int(a[0]) - int(b[0])) + std::abs(int(a[2]) - int(b[2]));
                    }
                EXPECT_GT(diff / (58 * 38), 20) << "atlas " << k << " row " << row << " col " << col;
            }
        }
    }
}

TEST(GeneratedImages, ContactSheetIsWritten) {
    int w = 0, h = 0;
    ASSERT_TRUE(sizeOf(fs::path(PINDRAKE_BUILD_DIR) / "resources-sheet.png", w, h));
    EXPECT_GT(w, 1000);
    EXPECT_GT(h, 1000);
}

TEST(AtomicWrite, ReplacesTheFileAndLeavesNoTemporary) {
    fs::path dir = fs::temp_directory_path() / ("resgen_atomic_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::path file = dir / "sub" / "a.txt";
    ASSERT_TRUE(resgen::writeFileAtomic(file, "first", 5));
    ASSERT_TRUE(resgen::writeFileAtomic(file, "second", 6));
    std::ifstream in(file);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "second");
    EXPECT_FALSE(fs::exists(dir / "sub" / "a.txt.tmp"));
    fs::remove_all(dir);
}

TEST(AtomicWrite, FailsCleanlyWhenTheFolderCannotBeMade) {
    fs::path dir = fs::temp_directory_path() / ("resgen_blocked_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    { std::ofstream(dir / "plain_file") << "x"; }
    // A regular file stands where the folder should be.
    fs::path file = dir / "plain_file" / "a.png";
    EXPECT_FALSE(resgen::writeFileAtomic(file, "data", 4));
    EXPECT_FALSE(fs::exists(file));
    fs::remove_all(dir);
}
