// Decoding and resolving a library of 10,000 shortcuts on real files, encoding it,
// and a plain stat of the same paths for comparison.
#include "app/WIUserDefaults.h"
#include "library/LibraryArchive.h"
#include "library/QVGroup.h"
#include "platform/KeyedArchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <sys/stat.h>

namespace {

constexpr int shortcutCount = 10000;
constexpr int folderCount = 100;
constexpr int groupCount = 10;

struct Library {
    QTemporaryDir dir;
    std::vector<QByteArray> paths;
    std::vector<QVGroupPtr> groups;
    QByteArray archive;

    Library() {
        registerLibraryArchiveClasses();
        std::vector<std::vector<QVFilePtr>> files(groupCount);
        for (int i = 0; i < shortcutCount; ++i) {
            const QString folder = dir.filePath(QStringLiteral("folder-%1").arg(i % folderCount));
            QDir().mkpath(folder);
            const QString path = folder + QStringLiteral("/Document %1.txt").arg(i);
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            paths.push_back(QFile::encodeName(path));
            auto shortcut = std::make_shared<QVFile>();
            shortcut->setUrl(QUrl::fromLocalFile(path));
            files[i % groupCount].push_back(shortcut);
        }
        for (int g = 0; g < groupCount; ++g) {
            groups.push_back(std::make_shared<QVGroup>());
            groups.back()->setName(QStringLiteral("Group %1").arg(g));
            groups.back()->updateFiles(files[g]);
        }
        archive = encode();
    }

    QByteArray encode() const {
        return KeyedArchiver::archivedData(std::vector<ArchivablePtr>(groups.begin(), groups.end()),
                                           ArchiveFormat::Binary);
    }

    double statLoopSeconds() const {
        const auto start = std::chrono::steady_clock::now();
        struct stat info;
        for (const QByteArray& path : paths)
            benchmark::DoNotOptimize(::stat(path.constData(), &info));
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
};

Library& library() {
    static Library shared;
    return shared;
}

void StatLoop(benchmark::State& state) {
    Library& lib = library();
    for (auto _ : state)
        benchmark::DoNotOptimize(lib.statLoopSeconds());
    state.SetItemsProcessed(state.iterations() * shortcutCount);
}

void DecodeAndResolve(benchmark::State& state) {
    Library& lib = library();
    double decodeSeconds = 0;
    double statSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::vector<QVGroupPtr> groups =
            KeyedUnarchiver::castAll<QVGroup>(KeyedUnarchiver::unarchiveArray(lib.archive));
        decodeSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(groups.data());
        state.PauseTiming();
        groups.clear(); // tearing the library down is not part of loading it
        statSeconds += lib.statLoopSeconds();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * shortcutCount);
    state.counters["stat_ms"] = benchmark::Counter(statSeconds * 1e3 / double(state.iterations()));
    state.counters["ratio_to_stat"] = benchmark::Counter(decodeSeconds / statSeconds);
}

void Encode(benchmark::State& state) {
    Library& lib = library();
    for (auto _ : state)
        benchmark::DoNotOptimize(lib.encode());
    state.SetItemsProcessed(state.iterations() * shortcutCount);
    state.counters["archive_kB"] = benchmark::Counter(double(lib.archive.size()) / 1024.0);
}

BENCHMARK(StatLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeAndResolve)->Unit(benchmark::kMillisecond);
BENCHMARK(Encode)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
