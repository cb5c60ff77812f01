// The desktop program's load, headless: from a confirmed file choice to the
// preview shown (load, decode, map, full-size drawing, the stretched
// preview), beside the converter's load and decode of the same file, so the
// two can be compared in one run.
#include <benchmark/benchmark.h>

#include <QApplication>

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

void ConverterLoad(benchmark::State& state, Kind kind) {
    const std::string& path = SampleFile(kind);
    PictureContext pic;
    for (auto _ : state) {
        if (pic.Load_IFF_To_Array(path) != 1) state.SkipWithError("picture did not load");
        benchmark::DoNotOptimize(pic.ColourImage.data());
    }
}

void ProgramLoad(benchmark::State& state, Kind kind) {
    const std::string& path = SampleFile(kind);
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

}  // namespace

BENCHMARK_CAPTURE(ConverterLoad, planes8_byterun1, Kind::Planes8Packed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProgramLoad, planes8_byterun1, Kind::Planes8Packed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ConverterLoad, ham8_byterun1, Kind::Ham8Packed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProgramLoad, ham8_byterun1, Kind::Ham8Packed)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
