// The desktop program's load, headless: from a confirmed file choice to the
// preview shown (load, decode, map, full-size drawing, the stretched
// preview), beside the converter's load and decode of the same file, so the
// two can be compared in one run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

#include "bench_pictures.h"
#include "file_chooser.h"
#include "iff/picture_context.h"
#include "message_service.h"
#include "planora_main.h"

namespace {

using namespace planora;
using namespace planora::bench;

class SilentMessages : public MessageService {
public:
    MessageAnswer Show(const QString&, const QString&, MessageButtons) override {
        ++shown;
        return MessageAnswer::Ok;
    }
    int shown = 0;
};

class NoFiles : public FileChooser {
public:
    QString Choose(const FileRequest&) override { return {}; }
};

// The sample written to a file once, removed at exit.
const std::string& SampleFile(Kind kind) {
    static std::map<Kind, std::string> files;
    auto found = files.find(kind);
    if (found != files.end()) return found->second;
    std::string path = "/tmp/planora-bench-" + std::to_string(int(kind)) + ".iff";
    WriteBytes(path, SampleFor(kind).file);
    std::atexit([] {
        for (const auto& entry : files) std::remove(entry.second.c_str());
    });
    return files.emplace(kind, path).first->second;
}

void ConverterLoadFile(benchmark::State& state, const std::string& path) {
    PictureContext pic;
    for (auto _ : state) {
        if (pic.Load_IFF_To_Array(path) != 1) state.SkipWithError("picture did not load");
        benchmark::DoNotOptimize(pic.ColourImage.data());
    }
}

void ProgramLoadFile(benchmark::State& state, const std::string& path) {
    SilentMessages messages;
    NoFiles files;
    AppServices services;
    services.Messages = &messages;
    services.Files = &files;
    services.OpenUrl = [](const QUrl&) {};
    services.EndProcess = [] {};
    services.AppFolder = QString::fromStdString("/tmp");
    PlanoraMain window(services);
    window.Timer1()->stop();
    for (auto _ : state) {
        window.OpenPictureFile(QString::fromStdString(path));
        if (window.Picture().PictureLoaded != 1 || messages.shown != 0) state.SkipWithError("picture did not load");
    }
}

void ConverterLoad(benchmark::State& state, Kind kind) { ConverterLoadFile(state, SampleFile(kind)); }
void ProgramLoad(benchmark::State& state, Kind kind) { ProgramLoadFile(state, SampleFile(kind)); }

// PLANORA_BENCH_FILES (paths separated by ':') adds both benchmarks for each
// of those files, as bench/compare.sh does with its pictures.
void RegisterFiles() {
    const char* list = std::getenv("PLANORA_BENCH_FILES");
    if (!list) return;
    const QStringList paths = QString::fromLocal8Bit(list).split(':', Qt::SkipEmptyParts);
    for (const QString& path : paths) {
        const std::string file = path.toStdString();
        const std::string name = QFileInfo(path).completeBaseName().toStdString();
        benchmark::RegisterBenchmark(("ConverterLoad/" + name).c_str(), ConverterLoadFile, file)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("ProgramLoad/" + name).c_str(), ProgramLoadFile, file)
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace

BENCHMARK_CAPTURE(ConverterLoad, planes8_byterun1, Kind::Planes8Packed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProgramLoad, planes8_byterun1, Kind::Planes8Packed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ConverterLoad, ham8_byterun1, Kind::Ham8Packed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProgramLoad, ham8_byterun1, Kind::Ham8Packed)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    RegisterFiles();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
