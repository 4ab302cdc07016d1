// Listing a folder of 10,000 entries (files, folders, symbolic links and web
// bookmarks; and one of plain files) into sorted shortcuts, beside the floor any listing pays:
// reading the folder, one lstat per entry and a sort of the names.
#include "bar/QVFileListCache.h"
#include "bar/QVFolderListing.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int entryCount = 10000;

struct ListedFolder {
    QTemporaryDir dir;
    QString path;

    // `mixed`: a quarter each of files, folders, links and web bookmarks; else plain files.
    explicit ListedFolder(bool mixed) {
        path = dir.filePath(QStringLiteral("listed"));
        QDir().mkpath(path);
        const QString targets = dir.filePath(QStringLiteral("targets"));
        QDir().mkpath(targets);
        const QByteArray webloc = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>URL</key><string>https://example.org/</string></dict></plist>)";
        for (int i = 0; i < entryCount; ++i) {
            const QString name = path + QStringLiteral("/Item %1").arg(i * 7919 % entryCount);
            switch (mixed ? i % 4 : 0) {
            case 0:
                write(name + QStringLiteral(".txt"), "x");
                break;
            case 1:
                QDir().mkdir(name);
                break;
            case 2: {
                const QString target = targets + QStringLiteral("/Target %1.txt").arg(i);
                write(target, "x");
                ::symlink(QFile::encodeName(target).constData(),
                          QFile::encodeName(name + QStringLiteral(" link")).constData());
                break;
            }
            default:
                write(name + QStringLiteral(".webloc"), webloc);
            }
        }
    }

    static void write(const QString& path, const QByteArray& contents) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(contents);
    }

    // What no listing can do without: the names from the kernel, one lstat each,
    // and putting the names in order.
    double floorSeconds() const {
        const auto start = std::chrono::steady_clock::now();
        const std::string folder = QFile::encodeName(path).toStdString() + '/';
        std::vector<std::string> names;
        DIR* listing = ::opendir(folder.c_str());
        std::string full = folder;
        struct stat info;
        while (const dirent* entry = ::readdir(listing)) {
            if (entry->d_name[0] == '.')
                continue;
            full.resize(folder.size());
            full += entry->d_name;
            if (::lstat(full.c_str(), &info) == 0)
                names.emplace_back(entry->d_name);
        }
        ::closedir(listing);
        std::sort(names.begin(), names.end());
        benchmark::DoNotOptimize(names.data());
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
};

// The mixed folder for an argument of 1, the plain one for 0.
ListedFolder& listedFolder(const benchmark::State& state) {
    static ListedFolder plain(false);
    static ListedFolder mixed(true);
    return state.range(0) ? mixed : plain;
}

void ReportAgainstFloor(benchmark::State& state, double listingSeconds, double floorSeconds) {
    state.SetItemsProcessed(state.iterations() * entryCount);
    state.counters["floor_ms"] =
        benchmark::Counter(floorSeconds * 1e3 / double(state.iterations()));
    state.counters["ratio_to_floor"] = benchmark::Counter(listingSeconds / floorSeconds);
}

void ListingFloor(benchmark::State& state) {
    ListedFolder& folder = listedFolder(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(folder.floorSeconds());
    state.SetItemsProcessed(state.iterations() * entryCount);
}

using Files = QVFolderListing::Files;

// Times `list` on each iteration against the floor of the same run; checking and
// letting the entries go is no part of listing them.
template <class List> void RunAgainstFloor(benchmark::State& state, List list) {
    ListedFolder& folder = listedFolder(state);
    QVFolderListing listing(folder.path);
    double listingSeconds = 0;
    double floorSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::optional<Files> files = list(listing);
        listingSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        if (!files || files->size() != size_t(entryCount))
            state.SkipWithError("the listing lost entries");
        files.reset();
        QVFileListCache::sharedInstance().invalidateCache();
        QCoreApplication::processEvents();
        floorSeconds += folder.floorSeconds();
        state.ResumeTiming();
    }
    ReportAgainstFloor(state, listingSeconds, floorSeconds);
}

// The listing on the calling thread, as the worker runs it.
void ListFolder(benchmark::State& state) {
    RunAgainstFloor(state,
                    [](QVFolderListing& listing) { return listing.actuallyIndexRootPath(); });
}

// The whole way a popup asks: on a worker, until the completion has run on the
// main thread with the entries.
void ListFolderInBackground(benchmark::State& state) {
    RunAgainstFloor(state, [](QVFolderListing& listing) {
        std::optional<Files> files;
        bool done = false;
        listing.indexRootPathWithCompletionBlock([&](std::optional<Files> listed) {
            files = std::move(listed);
            done = true;
        });
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        // The work the entries queued for the main thread belongs to the listing.
        QCoreApplication::processEvents();
        return files;
    });
}

BENCHMARK(ListingFloor)->ArgName("mixed")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(ListFolder)->ArgName("mixed")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(ListFolderInBackground)->ArgName("mixed")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
