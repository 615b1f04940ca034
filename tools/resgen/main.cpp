// resgen: writes the game's default Resources folder (pictures, fonts, sounds, texts, levels).
//   resgen --out <Resources folder> [--manifest <resources.tsv>] [--sheet <contact sheet.png>]
//          [--threads N] [--art-only]
//   resgen --window-icon <source.cpp>    the window's icon as a C++ source for the program
// Every file is written under a temporary name and renamed into place, so an interrupted run
// never leaves a half file behind.
#include "art.h"
#include "content.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Options {
    fs::path out;
    fs::path manifest;
    fs::path sheet;
    fs::path windowIcon;
    unsigned threads = 0;
    bool artOnly = false;
};

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char* what) -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "resgen: %s needs a value\n", what);
                return nullptr;
            }
            return argv[++i];
        };
        if (a == "--out") {
            const char* v = value("--out");
            if (!v) return false;
            o.out = v;
        } else if (a == "--manifest") {
            const char* v = value("--manifest");
            if (!v) return false;
            o.manifest = v;
        } else if (a == "--sheet") {
            const char* v = value("--sheet");
            if (!v) return false;
            o.sheet = v;
        } else if (a == "--threads") {
            const char* v = value("--threads");
            if (!v) return false;
            o.threads = unsigned(std::max(1, std::atoi(v)));
        } else if (a == "--window-icon") {
            const char* v = value("--window-icon");
            if (!v) return false;
            o.windowIcon = v;
        } else if (a == "--art-only") {
            o.artOnly = true;
        } else {
            std::fprintf(stderr, "resgen: unknown argument %s\n", a.c_str());
            return false;
        }
    }
    if (o.out.empty() && o.windowIcon.empty()) {
        std::fprintf(stderr, "usage: resgen --out <Resources folder> [--manifest <resources.tsv>] "
                             "[--sheet <png>] [--threads N] [--art-only]\n"
                             "       resgen --window-icon <source.cpp>\n");
        return false;
    }
    return true;
}

// The manifest's rows as paths under Resources (executable resources left out).
std::vector<std::pair<std::string, std::string>> manifestFiles(const fs::path& tsv) {
    std::vector<std::pair<std::string, std::string>> rows;  // path, kind
    std::ifstream in(tsv);
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (header) {
            header = false;
            continue;
        }
        size_t t1 = line.find('\t');
        if (t1 == std::string::npos) continue;
        size_t t2 = line.find('\t', t1 + 1);
        size_t t3 = t2 == std::string::npos ? t2 : line.find('\t', t2 + 1);
        std::string pack = line.substr(0, t1);
        std::string file = line.substr(t1 + 1, t2 - t1 - 1);
        std::string kind = t2 == std::string::npos ? "" : line.substr(t2 + 1, t3 - t2 - 1);
        if (pack == "(executable .rc)") continue;
        rows.emplace_back(pack == "(Resources root)" ? file : pack + "/" + file, kind);
    }
    return rows;
}

std::uintmax_t folderSize(const fs::path& dir, std::size_t& files) {
    std::uintmax_t total = 0;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        if (it->is_regular_file(ec)) {
            total += it->file_size(ec);
            ++files;
        }
    }
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    if (!parse(argc, argv, opt)) return 2;
    auto start = std::chrono::steady_clock::now();

    if (!resgen::fontsAvailable()) return 1;
    if (!opt.windowIcon.empty() && !resgen::writeWindowIcon(opt.windowIcon)) return 1;
    if (opt.out.empty()) return 0;
    std::error_code ec;
    fs::create_directories(opt.out, ec);
    if (ec) {
        std::fprintf(stderr, "resgen: cannot create %s: %s\n", opt.out.c_str(), ec.message().c_str());
        return 1;
    }

    // The texts come first: the fonts take every character they use.
    if (!opt.artOnly && !resgen::generateTexts(opt.out)) {
        std::fprintf(stderr, "resgen: the texts could not be generated\n");
        return 1;
    }

    std::vector<resgen::Job> jobs;
    if (!opt.artOnly) {
        jobs.push_back({"sounds", [](resgen::Output& o) { return resgen::generateSounds(o.root()); }});
        jobs.push_back({"levels", [](resgen::Output& o) { return resgen::generateLevels(o.root()); }});
    }
    resgen::addFontJobs(jobs);
    resgen::addCardJobs(jobs);
    resgen::addSceneJobs(jobs);
    resgen::addWindowJobs(jobs);
    resgen::addInterfaceJobs(jobs);
    resgen::addTrophyJobs(jobs);

    resgen::Output output(opt.out, !opt.sheet.empty());
    unsigned threads = opt.threads ? opt.threads
                                   : std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::atomic<size_t> next{0};
    std::atomic<int> failures{0};
    auto worker = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++) {
            if (!jobs[i].run(output)) {
                std::fprintf(stderr, "resgen: %s failed\n", jobs[i].name.c_str());
                ++failures;
            }
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t) pool.emplace_back(worker);
    worker();
    for (auto& t : pool) t.join();
    if (failures > 0) {
        std::fprintf(stderr, "resgen: %d generator job(s) failed\n", failures.load());
        return 1;
    }

    if (!opt.manifest.empty()) {
        auto rows = manifestFiles(opt.manifest);
        if (rows.empty()) {
            std::fprintf(stderr, "resgen: cannot read the manifest %s\n", opt.manifest.c_str());
            return 1;
        }
        int missing = 0;
        for (auto& [path, kind] : rows) {
            if (opt.artOnly && kind.find("image") == std::string::npos &&
                kind.find("font") == std::string::npos)
                continue;
            if (!fs::is_regular_file(opt.out / path, ec)) {
                std::fprintf(stderr, "resgen: missing %s\n", path.c_str());
                ++missing;
            }
        }
        if (missing > 0) {
            std::fprintf(stderr, "resgen: %d file(s) of the manifest were not generated\n", missing);
            return 1;
        }
    }

    if (!opt.sheet.empty()) {
        auto thumbs = output.takeThumbnails();
        if (!resgen::writeContactSheet(thumbs, opt.sheet)) return 1;
    }

    std::size_t files = 0;
    double mb = folderSize(opt.out, files) / (1024.0 * 1024.0);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("resgen: %zu files, %.1f MB in %s, %.1f s on %u thread(s)\n", files, mb,
                opt.out.c_str(), seconds, threads);
    return 0;
}
